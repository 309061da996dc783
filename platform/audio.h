// Sound output: devices and secondary buffers with the controls the module's
// sound library expects (play once or looping, stop, status, position in
// bytes, volume and pan in hundredths of a decibel, frequency in samples per
// second), on top of OpenAL Soft.
//
// Every device handle is a reference to one shared mixer per process: the
// first device opens it, and it stays open while any device handle is alive or
// capture is selected. Buffers hold the whole sound in the WAVE's own format
// (8- or 16-bit PCM, mono or stereo).
//
// Units: volume v (-10000..0) is a gain of 10^(v/2000), so -600 is 6 dB down;
// pan p (-10000..10000) attenuates the left channel by p/100 dB when positive
// and the right by -p/100 dB when negative; frequency f (100..200000, or 0 for
// the WAVE's own rate) plays at f/rate times normal speed.
//
// Capture. Before any device is opened, audio_capture_begin(path) makes the
// mixer a loopback device that renders only when told: audio_advance(seconds)
// renders that much of the mix (44100 Hz, 16-bit stereo) into the WAV file,
// once per host update; audio_capture_finish() plays out what is still
// sounding (at most kDrainSeconds) and completes the file. Without capture
// the mixer plays on the default output device in real time, and if none
// can be opened, device creation fails.
//
// Play log. Every play request that the mixer accepted is recorded with the
// WAVE resource id its buffer was loaded from, in order, with the mixer time
// (seconds advanced so far) at which it came.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace ardelvine::platform {

struct AudioDevice;
struct AudioBuffer;

// The format record at the start of a WAVE's "fmt " chunk.
struct WaveFormat {
    std::uint16_t format_tag;
    std::uint16_t channels;
    std::uint32_t samples_per_second;
    std::uint32_t average_bytes_per_second;
    std::uint16_t block_align;
    std::uint16_t bits_per_sample;
    std::uint16_t extra_size;
};

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

// Buffer capability flags.
inline constexpr std::uint32_t AUDIO_CTRL_FREQUENCY = 0x20;
inline constexpr std::uint32_t AUDIO_CTRL_PAN = 0x40;
inline constexpr std::uint32_t AUDIO_CTRL_VOLUME = 0x80;
inline constexpr std::uint32_t AUDIO_GLOBAL_FOCUS = 0x8000;

inline constexpr std::uint32_t kAudioBufferDescSize = 36;  // as laid out on the 32-bit system

struct AudioBufferDesc {
    std::uint32_t size;  // kAudioBufferDescSize
    std::uint32_t flags;
    std::uint32_t bytes;  // buffer size: 4 .. 0x0FFFFFFF
    std::uint32_t reserved;
    const WaveFormat* format;
    std::uint8_t algorithm_3d[16];
};

// Cooperative levels; every caller here asks for normal.
inline constexpr std::uint32_t AUDIO_LEVEL_NORMAL = 1;
inline constexpr std::uint32_t AUDIO_LEVEL_WRITE_PRIMARY = 4;

inline constexpr std::uint32_t AUDIO_PLAY_LOOPING = 1;

// Status bits.
inline constexpr std::uint32_t AUDIO_STATUS_PLAYING = 1;
inline constexpr std::uint32_t AUDIO_STATUS_BUFFER_LOST = 2;
inline constexpr std::uint32_t AUDIO_STATUS_LOOPING = 4;

inline constexpr std::int32_t AUDIO_VOLUME_MIN = -10000;
inline constexpr std::int32_t AUDIO_PAN_LEFT = -10000;
inline constexpr std::int32_t AUDIO_PAN_RIGHT = 10000;
inline constexpr std::uint32_t AUDIO_FREQUENCY_MIN = 100;
inline constexpr std::uint32_t AUDIO_FREQUENCY_MAX = 200000;

inline constexpr std::uint32_t kCaptureRate = 44100;
inline constexpr double kDrainSeconds = 2.0;

// ---------------------------------------------------------------- devices

AudioDevice* audio_create_device();  // null on failure
bool audio_set_cooperative_level(AudioDevice* device, WindowHandle window, std::uint32_t level);
// Releases the device and every buffer created on it.
void audio_release_device(AudioDevice* device);

// ---------------------------------------------------------------- buffers
// Every buffer call checks its handle: one that is unknown or released fails.

AudioBuffer* audio_create_buffer(AudioDevice* device, const AudioBufferDesc* desc);  // null on failure
void audio_release_buffer(AudioBuffer* buffer);

// Names the WAVE resource the buffer's data came from, for the play log
// (0 for sounds read from files or memory).
void audio_set_origin(AudioBuffer* buffer, std::uint32_t wave_id);

// Lock `bytes` from `offset` for writing: up to two regions (the second when
// the range wraps past the end). Unlock with the regions exactly as locked;
// the data reaches the mixer at unlock.
bool audio_lock(AudioBuffer* buffer, std::uint32_t offset, std::uint32_t bytes, void** first,
                std::uint32_t* first_bytes, void** second, std::uint32_t* second_bytes);
bool audio_unlock(AudioBuffer* buffer, void* first, std::uint32_t first_bytes, void* second,
                  std::uint32_t second_bytes);

// Plays from the current position; a buffer already playing goes on (only its
// looping changes). A sound that played to its end is back at position 0.
bool audio_play(AudioBuffer* buffer, std::uint32_t flags);
// Stops, keeping the position.
bool audio_stop(AudioBuffer* buffer);
bool audio_get_status(AudioBuffer* buffer, std::uint32_t* status);
bool audio_get_position(AudioBuffer* buffer, std::uint32_t* play, std::uint32_t* write);
bool audio_set_position(AudioBuffer* buffer, std::uint32_t offset);
bool audio_get_volume(AudioBuffer* buffer, std::int32_t* volume);
bool audio_set_volume(AudioBuffer* buffer, std::int32_t volume);
bool audio_get_pan(AudioBuffer* buffer, std::int32_t* pan);
bool audio_set_pan(AudioBuffer* buffer, std::int32_t pan);
bool audio_get_frequency(AudioBuffer* buffer, std::uint32_t* frequency);
bool audio_set_frequency(AudioBuffer* buffer, std::uint32_t frequency);

// ---------------------------------------------------------------- mixer, capture, log

// Selects capture into `wav_path` (null: mix offline and write nothing, which
// keeps the play log without touching a sound card). False when a device is
// already open or the file cannot be created.
bool audio_capture_begin(const char* wav_path);
bool audio_capturing();
// True once the default output device was asked for and could not be opened
// (a machine without a sound card): the module then falls silent.
bool audio_output_missing();
// Moves the mixer's clock on; while capturing, renders that stretch into the
// file. Fractions add up exactly across calls.
void audio_advance(double seconds);
// Renders what is still sounding (at most kDrainSeconds), completes the file
// and ends capture. False on a write error. Nothing when not capturing.
bool audio_capture_finish();
// Frames written to the capture file so far (for tests and reports).
std::uint64_t audio_captured_frames();

// Finishes capture, releases every device and buffer still open (whether or
// not its owner let go of it) and sets the mixer clock back to 0; the play
// log stays. The host calls it once at exit.
void audio_shutdown();

struct AudioPlayRecord {
    std::uint32_t wave;  // resource id, 0 when not loaded from a resource
    double seconds;      // mixer time of the request
};

std::size_t audio_play_count();
// Where the count of logged plays is kept, for a caller that asks after every
// gauge of every update: a read there costs no call.
const std::size_t* audio_play_count_address();
AudioPlayRecord audio_play_entry(std::size_t index);  // {0, 0} past the end
void audio_clear_play_log();

}  // namespace ardelvine::platform
