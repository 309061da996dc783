// The module's sound library: devices, WAVE loading, buffers and their
// controls, and the module-wide failure latch.
//
// Every operation takes the caller's handle by reference, because a failing
// operation sets it to none. The first failing step anywhere clears
// sound_enabled, and from then on every operation except sound_create_device,
// find_host_window and path_next_to_host returns its failure result at once:
// the module is silent, and gauges never look at sound results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/audio.h"
#include "platform/platform.h"

namespace ardelvine::sound {

using ModuleHandle = platform::ModuleHandle;
using WindowHandle = platform::WindowHandle;
using SoundDevice = platform::AudioDevice*;  // null = none
using SoundBuffer = platform::AudioBuffer*;  // null = none

// 1 while sound is available; cleared by the first failing step, never set again.
extern std::int32_t sound_enabled;

// The host's main window, by the class its executable name calls for.
WindowHandle find_host_window();

// Opens an output device that mixes with other applications, owned by
// `window`. 1/0. Does not consult the latch, and success does not set it.
std::int32_t sound_create_device(WindowHandle window, SoundDevice& device);

// Loads a whole WAVE into a new buffer at position 0: from the module's WAVE
// resource `id`, from a file, or from bytes already in memory (the path a
// resource takes once found). Returns the bytes of sample data, 0 on failure.
// With the latch cleared the buffer handle is left as it was.
std::uint32_t sound_load_wave_resource(WindowHandle window, SoundDevice device, SoundBuffer& buffer,
                                       std::uint16_t id, ModuleHandle module);
std::uint32_t sound_load_wave_file(WindowHandle window, SoundDevice device, SoundBuffer& buffer,
                                   const char* file_name);
std::uint32_t sound_load_wave_memory(SoundDevice device, SoundBuffer& buffer, const unsigned char* bytes,
                                     std::size_t size, std::uint32_t wave_id = 0);

inline constexpr std::uint32_t SOUND_PLAY_ONCE = 0;
inline constexpr std::uint32_t SOUND_PLAY_LOOPING = platform::AUDIO_PLAY_LOOPING;

// Buffer controls. 1/0 for actions; the value read (0 on failure) for getters.
std::int32_t sound_play(SoundBuffer& buffer, std::uint32_t flags);
std::int32_t sound_stop(SoundBuffer& buffer);
std::int32_t sound_is_playing(SoundBuffer& buffer);
std::uint32_t sound_get_position(SoundBuffer& buffer);  // bytes
std::int32_t sound_set_position(SoundBuffer& buffer, std::uint32_t offset);
std::int32_t sound_get_volume(SoundBuffer& buffer);  // hundredths of a dB, 0 = full
std::int32_t sound_set_volume(SoundBuffer& buffer, std::int32_t volume);
std::int32_t sound_get_pan(SoundBuffer& buffer);  // hundredths of a dB, 0 = centre
std::int32_t sound_set_pan(SoundBuffer& buffer, std::int32_t pan);
std::uint32_t sound_get_frequency(SoundBuffer& buffer);  // samples per second
std::int32_t sound_set_frequency(SoundBuffer& buffer, std::uint32_t frequency);

// Let go of a buffer or device and set the handle to none; nothing when the
// handle is none or the module is silenced.
void sound_release_buffer(SoundBuffer& buffer);
void sound_release_device(SoundDevice& device);

// Bytes of the string path_next_to_host allocates, terminator included.
inline constexpr std::size_t kPathBytes = 260;

// The host executable's drive and directory followed by `file_name`, in a new
// kPathBytes string owned by the caller. Null when there is no name, the
// executable's path is unknown, or the whole path would not fit: a cut path
// would name some other file.
std::unique_ptr<char[]> path_next_to_host(const char* file_name);

}  // namespace ardelvine::sound
