// The sound library on the platform's mixer, RIFF reader and resource and
// memory services. Loading follows one fixed sequence for resources, files
// and memory alike; each step that fails silences the module.
#include "sound/sound.h"

#include <cstring>
#include <new>

#include "platform/host_window.h"
#include "platform/memory.h"
#include "platform/riff.h"

namespace ardelvine::sound {

std::int32_t sound_enabled = 1;

namespace {

using platform::RiffChunk;
using platform::RiffFile;
using platform::RiffFind;

// Buffers are made able to change frequency, pan and volume after loading,
// and are heard whichever window has the focus.
constexpr std::uint32_t kBufferFlags = platform::AUDIO_CTRL_FREQUENCY | platform::AUDIO_CTRL_PAN |
                                       platform::AUDIO_CTRL_VOLUME | platform::AUDIO_GLOBAL_FOCUS;
static_assert(kBufferFlags == 0x80E0);

// The format record: the first 18 bytes of "fmt ", whatever the chunk's own
// length (a 16-byte PCM chunk lends its two extra bytes from what follows).
constexpr std::size_t kFormatRecordBytes = 18;

void silence() { sound_enabled = 0; }

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(le16(p)) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}

platform::WaveFormat decode_format(const unsigned char* raw) {
    return platform::WaveFormat{le16(raw),      le16(raw + 2),  le32(raw + 4), le32(raw + 8),
                                le16(raw + 12), le16(raw + 14), le16(raw + 16)};
}

struct SampleData {
    platform::WaveFormat format;
    unsigned char* bytes;  // memory_alloc'd, N bytes
    std::uint32_t size;    // N
};

// Reads the WAVE's format record and its whole "data" chunk. Closing the
// reader is the caller's.
bool read_wave(RiffFile* riff, SampleData& out) {
    RiffChunk wave{.form = platform::fourcc('W', 'A', 'V', 'E')};
    if (!platform::riff_descend(riff, &wave, nullptr, RiffFind::RIFF)) return false;

    RiffChunk fmt{.id = platform::fourcc('f', 'm', 't', ' ')};
    if (!platform::riff_descend(riff, &fmt, &wave, RiffFind::CHUNK)) return false;
    unsigned char raw[kFormatRecordBytes];
    if (platform::riff_read(riff, raw, sizeof raw) != static_cast<std::int64_t>(sizeof raw)) return false;
    out.format = decode_format(raw);
    if (!platform::riff_ascend(riff, &fmt)) return false;

    RiffChunk data{.id = platform::fourcc('d', 'a', 't', 'a')};
    if (!platform::riff_descend(riff, &data, &wave, RiffFind::CHUNK)) return false;
    out.bytes = platform::memory_alloc(data.size);
    if (out.bytes == nullptr) return false;
    out.size = data.size;
    return platform::riff_read(riff, out.bytes, data.size) == static_cast<std::int64_t>(data.size);
}

// A buffer on the device holding the sample data, at position 0.
SoundBuffer make_buffer(SoundDevice device, const SampleData& wave) {
    const platform::AudioBufferDesc desc{.size = platform::kAudioBufferDescSize,
                                         .flags = kBufferFlags,
                                         .bytes = wave.size,
                                         .format = &wave.format};
    SoundBuffer buffer = platform::audio_create_buffer(device, &desc);
    if (buffer == nullptr) return nullptr;
    void* first = nullptr;
    void* second = nullptr;
    std::uint32_t first_bytes = 0;
    std::uint32_t second_bytes = 0;
    bool ok = platform::audio_lock(buffer, 0, wave.size, &first, &first_bytes, &second, &second_bytes);
    if (ok) {
        std::memcpy(first, wave.bytes, first_bytes < wave.size ? first_bytes : wave.size);
        ok = platform::audio_unlock(buffer, first, first_bytes, second, second_bytes);
    }
    ok = ok && platform::audio_set_position(buffer, 0);
    if (!ok) {
        platform::audio_release_buffer(buffer);
        return nullptr;
    }
    return buffer;
}

// Reads the WAVE from an opened reader (closed here) into a new buffer on
// `device`; the sample data's size, or 0 with the module silenced. `resource`
// is freed once the reader is closed.
std::uint32_t load_opened(RiffFile* riff, const unsigned char* resource, SoundDevice device,
                          SoundBuffer& buffer, std::uint32_t wave_id) {
    SampleData wave{};
    const bool read = read_wave(riff, wave);
    platform::riff_close(riff);
    if (resource != nullptr) platform::free_resource(resource);
    if (read) buffer = make_buffer(device, wave);
    platform::memory_free(wave.bytes);
    if (buffer == nullptr) {
        silence();
        return 0;
    }
    platform::audio_set_origin(buffer, wave_id);
    return wave.size;
}

// The common shape of the buffer controls: nothing while silenced; a refused
// call silences the module and costs the caller its buffer.
void refused(SoundBuffer& buffer) {
    silence();
    platform::audio_release_buffer(buffer);
    buffer = nullptr;
}

// An action: 1, or 0 when silenced or refused.
template <typename Call>
std::int32_t action(SoundBuffer& buffer, Call call) {
    if (sound_enabled == 0) return 0;
    if (call(buffer)) return 1;
    refused(buffer);
    return 0;
}

// A value read from the buffer: 0 when silenced or refused.
template <typename Value, typename Get>
Value reading(SoundBuffer& buffer, Get get) {
    Value value{};
    if (sound_enabled == 0) return value;
    if (get(buffer, &value)) return value;
    refused(buffer);
    return Value{};
}

}  // namespace

WindowHandle find_host_window() {
    char path[platform::kMaxPath];
    if (platform::executable_path(path, sizeof path) == 0) return nullptr;
    return platform::find_window(platform::host_window_class(path));
}

std::int32_t sound_create_device(WindowHandle window, SoundDevice& device) {
    device = nullptr;
    SoundDevice created = platform::audio_create_device();
    if (created == nullptr) {
        silence();
        return 0;
    }
    if (!platform::audio_set_cooperative_level(created, window, platform::AUDIO_LEVEL_NORMAL)) {
        platform::audio_release_device(created);
        silence();
        return 0;
    }
    device = created;
    return 1;
}

std::uint32_t sound_load_wave_resource(WindowHandle, SoundDevice device, SoundBuffer& buffer,
                                       std::uint16_t id, ModuleHandle module) {
    if (sound_enabled == 0) return 0;
    buffer = nullptr;
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    if (!platform::lock_resource(module, ResourceType::WAVE, id, &bytes, &size)) {
        silence();
        return 0;
    }
    RiffFile* riff = platform::riff_open_memory(bytes, size);
    if (riff == nullptr) {
        platform::free_resource(bytes);
        silence();
        return 0;
    }
    return load_opened(riff, bytes, device, buffer, id);
}

std::uint32_t sound_load_wave_file(WindowHandle, SoundDevice device, SoundBuffer& buffer,
                                   const char* file_name) {
    if (sound_enabled == 0) return 0;
    buffer = nullptr;
    RiffFile* riff = platform::riff_open_file(file_name);
    if (riff == nullptr) {
        silence();
        return 0;
    }
    return load_opened(riff, nullptr, device, buffer, 0);
}

std::uint32_t sound_load_wave_memory(SoundDevice device, SoundBuffer& buffer, const unsigned char* bytes,
                                     std::size_t size, std::uint32_t wave_id) {
    if (sound_enabled == 0) return 0;
    buffer = nullptr;
    RiffFile* riff = platform::riff_open_memory(bytes, size);
    if (riff == nullptr) {
        silence();
        return 0;
    }
    return load_opened(riff, nullptr, device, buffer, wave_id);
}

std::int32_t sound_play(SoundBuffer& buffer, std::uint32_t flags) {
    return action(buffer, [flags](SoundBuffer b) { return platform::audio_play(b, flags); });
}

std::int32_t sound_stop(SoundBuffer& buffer) { return action(buffer, platform::audio_stop); }

std::int32_t sound_is_playing(SoundBuffer& buffer) {
    const std::uint32_t status = reading<std::uint32_t>(buffer, platform::audio_get_status);
    return static_cast<std::int32_t>(status & platform::AUDIO_STATUS_PLAYING);
}

std::uint32_t sound_get_position(SoundBuffer& buffer) {
    return reading<std::uint32_t>(
        buffer, [](SoundBuffer b, std::uint32_t* play) { return platform::audio_get_position(b, play, nullptr); });
}

std::int32_t sound_set_position(SoundBuffer& buffer, std::uint32_t offset) {
    return action(buffer, [offset](SoundBuffer b) { return platform::audio_set_position(b, offset); });
}

std::int32_t sound_get_volume(SoundBuffer& buffer) {
    return reading<std::int32_t>(buffer, platform::audio_get_volume);
}

std::int32_t sound_set_volume(SoundBuffer& buffer, std::int32_t volume) {
    return action(buffer, [volume](SoundBuffer b) { return platform::audio_set_volume(b, volume); });
}

std::int32_t sound_get_pan(SoundBuffer& buffer) { return reading<std::int32_t>(buffer, platform::audio_get_pan); }

std::int32_t sound_set_pan(SoundBuffer& buffer, std::int32_t pan) {
    return action(buffer, [pan](SoundBuffer b) { return platform::audio_set_pan(b, pan); });
}

std::uint32_t sound_get_frequency(SoundBuffer& buffer) {
    return reading<std::uint32_t>(buffer, platform::audio_get_frequency);
}

std::int32_t sound_set_frequency(SoundBuffer& buffer, std::uint32_t frequency) {
    return action(buffer, [frequency](SoundBuffer b) { return platform::audio_set_frequency(b, frequency); });
}

void sound_release_buffer(SoundBuffer& buffer) {
    if (sound_enabled == 0 || buffer == nullptr) return;
    platform::audio_release_buffer(buffer);
    buffer = nullptr;
}

void sound_release_device(SoundDevice& device) {
    if (sound_enabled == 0 || device == nullptr) return;
    platform::audio_release_device(device);
    device = nullptr;
}

std::unique_ptr<char[]> path_next_to_host(const char* file_name) {
    if (file_name == nullptr) return nullptr;
    char host[platform::kMaxPath];
    const std::size_t length = platform::executable_path(host, sizeof host);
    // A path that filled the buffer may have been cut short.
    if (length == 0 || length + 1 >= sizeof host) return nullptr;
    const std::size_t directory = platform::path_name_offset(host);
    const std::size_t name = std::strlen(file_name);
    if (directory + name + 1 > kPathBytes) return nullptr;
    std::unique_ptr<char[]> path(new (std::nothrow) char[kPathBytes]);
    if (!path) return nullptr;
    std::memcpy(path.get(), host, directory);
    std::memcpy(path.get() + directory, file_name, name + 1);
    return path;
}

}  // namespace ardelvine::sound
