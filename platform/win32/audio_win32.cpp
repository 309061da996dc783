// Sound output through DirectSound: a device is an IDirectSound, a buffer a
// secondary IDirectSoundBuffer, and every call is the interface method of the
// same name.
//
// The mixer is the system's, out of the host's sight: there is no capture
// file, no offline mixing and no play log here. A host built for Windows
// hears the module's clicks on the sound card and lists none of them.
// The shared header comes first: the system's headers define some of its
// names (WAVE_FORMAT_PCM) as macros.
#include "platform/audio.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstring>

namespace ardelvine::platform {

static_assert(sizeof(DSBUFFERDESC) == kAudioBufferDescSize);
static_assert(AUDIO_CTRL_FREQUENCY == DSBCAPS_CTRLFREQUENCY && AUDIO_CTRL_PAN == DSBCAPS_CTRLPAN &&
              AUDIO_CTRL_VOLUME == DSBCAPS_CTRLVOLUME && AUDIO_GLOBAL_FOCUS == DSBCAPS_GLOBALFOCUS);
static_assert(AUDIO_LEVEL_NORMAL == DSSCL_NORMAL && AUDIO_PLAY_LOOPING == DSBPLAY_LOOPING);
static_assert(AUDIO_STATUS_PLAYING == DSBSTATUS_PLAYING && AUDIO_STATUS_BUFFER_LOST == DSBSTATUS_BUFFERLOST &&
              AUDIO_STATUS_LOOPING == DSBSTATUS_LOOPING);

namespace {

IDirectSound* device_of(AudioDevice* device) { return reinterpret_cast<IDirectSound*>(device); }
IDirectSoundBuffer* buffer_of(AudioBuffer* buffer) { return reinterpret_cast<IDirectSoundBuffer*>(buffer); }

}  // namespace

AudioDevice* audio_create_device() {
    IDirectSound* device = nullptr;
    if (FAILED(DirectSoundCreate(nullptr, &device, nullptr))) return nullptr;
    return reinterpret_cast<AudioDevice*>(device);
}

bool audio_set_cooperative_level(AudioDevice* device, WindowHandle window, std::uint32_t level) {
    if (device == nullptr) return false;
    return SUCCEEDED(device_of(device)->SetCooperativeLevel(static_cast<HWND>(window), level));
}

void audio_release_device(AudioDevice* device) {
    if (device != nullptr) device_of(device)->Release();
}

AudioBuffer* audio_create_buffer(AudioDevice* device, const AudioBufferDesc* desc) {
    if (device == nullptr || desc == nullptr || desc->format == nullptr) return nullptr;
    const WaveFormat& f = *desc->format;
    WAVEFORMATEX format{};
    format.wFormatTag = f.format_tag;
    format.nChannels = f.channels;
    format.nSamplesPerSec = f.samples_per_second;
    format.nAvgBytesPerSec = f.average_bytes_per_second;
    format.nBlockAlign = f.block_align;
    format.wBitsPerSample = f.bits_per_sample;
    format.cbSize = f.extra_size;
    DSBUFFERDESC system{};
    system.dwSize = desc->size;
    system.dwFlags = desc->flags;
    system.dwBufferBytes = desc->bytes;
    system.lpwfxFormat = &format;
    std::memcpy(&system.guid3DAlgorithm, desc->algorithm_3d, sizeof system.guid3DAlgorithm);
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(device_of(device)->CreateSoundBuffer(&system, &buffer, nullptr))) return nullptr;
    return reinterpret_cast<AudioBuffer*>(buffer);
}

void audio_release_buffer(AudioBuffer* buffer) {
    if (buffer != nullptr) buffer_of(buffer)->Release();
}

void audio_set_origin(AudioBuffer*, std::uint32_t) {}

bool audio_lock(AudioBuffer* buffer, std::uint32_t offset, std::uint32_t bytes, void** first,
                std::uint32_t* first_bytes, void** second, std::uint32_t* second_bytes) {
    if (buffer == nullptr) return false;
    DWORD n1 = 0, n2 = 0;
    void* p1 = nullptr;
    void* p2 = nullptr;
    if (FAILED(buffer_of(buffer)->Lock(offset, bytes, &p1, &n1, &p2, &n2, 0))) return false;
    if (first != nullptr) *first = p1;
    if (first_bytes != nullptr) *first_bytes = n1;
    if (second != nullptr) *second = p2;
    if (second_bytes != nullptr) *second_bytes = n2;
    return true;
}

bool audio_unlock(AudioBuffer* buffer, void* first, std::uint32_t first_bytes, void* second,
                  std::uint32_t second_bytes) {
    if (buffer == nullptr) return false;
    return SUCCEEDED(buffer_of(buffer)->Unlock(first, first_bytes, second, second_bytes));
}

bool audio_play(AudioBuffer* buffer, std::uint32_t flags) {
    return buffer != nullptr && SUCCEEDED(buffer_of(buffer)->Play(0, 0, flags));
}

bool audio_stop(AudioBuffer* buffer) { return buffer != nullptr && SUCCEEDED(buffer_of(buffer)->Stop()); }

bool audio_get_status(AudioBuffer* buffer, std::uint32_t* status) {
    DWORD value = 0;
    if (buffer == nullptr || FAILED(buffer_of(buffer)->GetStatus(&value))) return false;
    if (status != nullptr) *status = value;
    return true;
}

bool audio_get_position(AudioBuffer* buffer, std::uint32_t* play, std::uint32_t* write) {
    DWORD p = 0, w = 0;
    if (buffer == nullptr || FAILED(buffer_of(buffer)->GetCurrentPosition(&p, &w))) return false;
    if (play != nullptr) *play = p;
    if (write != nullptr) *write = w;
    return true;
}

bool audio_set_position(AudioBuffer* buffer, std::uint32_t offset) {
    return buffer != nullptr && SUCCEEDED(buffer_of(buffer)->SetCurrentPosition(offset));
}

bool audio_get_volume(AudioBuffer* buffer, std::int32_t* volume) {
    LONG value = 0;
    if (buffer == nullptr || FAILED(buffer_of(buffer)->GetVolume(&value))) return false;
    if (volume != nullptr) *volume = value;
    return true;
}

bool audio_set_volume(AudioBuffer* buffer, std::int32_t volume) {
    return buffer != nullptr && SUCCEEDED(buffer_of(buffer)->SetVolume(volume));
}

bool audio_get_pan(AudioBuffer* buffer, std::int32_t* pan) {
    LONG value = 0;
    if (buffer == nullptr || FAILED(buffer_of(buffer)->GetPan(&value))) return false;
    if (pan != nullptr) *pan = value;
    return true;
}

bool audio_set_pan(AudioBuffer* buffer, std::int32_t pan) {
    return buffer != nullptr && SUCCEEDED(buffer_of(buffer)->SetPan(pan));
}

bool audio_get_frequency(AudioBuffer* buffer, std::uint32_t* frequency) {
    DWORD value = 0;
    if (buffer == nullptr || FAILED(buffer_of(buffer)->GetFrequency(&value))) return false;
    if (frequency != nullptr) *frequency = value;
    return true;
}

bool audio_set_frequency(AudioBuffer* buffer, std::uint32_t frequency) {
    return buffer != nullptr && SUCCEEDED(buffer_of(buffer)->SetFrequency(frequency));
}

// ---------------------------------------------------------------- the host's side
// Offline mixing asks for nothing; a capture file cannot be had.

bool audio_capture_begin(const char* wav_path) { return wav_path == nullptr; }
bool audio_capturing() { return false; }
void audio_advance(double) {}
bool audio_capture_finish() { return true; }
std::uint64_t audio_captured_frames() { return 0; }
void audio_shutdown() {}
std::size_t audio_play_count() { return 0; }
const std::size_t* audio_play_count_address() {
    static const std::size_t none = 0;
    return &none;
}
AudioPlayRecord audio_play_entry(std::size_t) { return AudioPlayRecord{0, 0.0}; }
void audio_clear_play_log() {}

}  // namespace ardelvine::platform
