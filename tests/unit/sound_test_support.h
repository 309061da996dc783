// Support for the sound tests: RIFF/WAVE byte images built chunk by chunk
// (any order, with the padding byte after odd-length chunks), and a fixture
// with an offline mixer, the host's main window and a device.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/audio.h"
#include "platform/fault.h"
#include "platform/host_window.h"
#include "sound/sound.h"

namespace ardelvine::test {

using Bytes = std::vector<unsigned char>;

inline void put_le(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// One chunk: id, length, payload, pad byte when the length is odd. A chunk may
// claim a length other than its payload's (`claimed`), to make truncated files.
inline Bytes chunk(std::string_view id, const Bytes& payload, std::int64_t claimed = -1) {
    Bytes out(id.begin(), id.end());
    put_le(out, claimed < 0 ? static_cast<std::uint32_t>(payload.size()) : static_cast<std::uint32_t>(claimed), 4);
    out.insert(out.end(), payload.begin(), payload.end());
    if (payload.size() % 2 != 0) out.push_back(0);
    return out;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A RIFF chunk of form `form` around `body`.
inline Bytes riff(std::string_view form, const Bytes& body) {
    Bytes payload(form.begin(), form.end());
    payload.insert(payload.end(), body.begin(), body.end());
    return chunk("RIFF", payload);
}

struct Format {
    std::uint16_t tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 16;
    bool with_extra_size = false;  // 18-byte chunk instead of 16
};

inline Bytes fmt(const Format& f) {
    Bytes p;
    const std::uint16_t align = static_cast<std::uint16_t>(f.channels * f.bits / 8);
    put_le(p, f.tag, 2);
    put_le(p, f.channels, 2);
    put_le(p, f.rate, 4);
    put_le(p, f.rate * align, 4);
    put_le(p, align, 2);
    put_le(p, f.bits, 2);
    if (f.with_extra_size) put_le(p, 0, 2);
    return chunk("fmt ", p);
}

// `frames` of a sine of `hz` at `amplitude` (of full scale), in the format's
// own sample width, every channel alike.
inline Bytes samples(const Format& f, std::uint32_t frames, double hz = 441.0, double amplitude = 0.25) {
    Bytes p;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2.0 * M_PI * hz * i / f.rate);
        for (int c = 0; c < f.channels; ++c) {
            if (f.bits == 8) p.push_back(static_cast<unsigned char>(std::lround(128.0 + 127.0 * v)));
            else put_le(p, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(32767.0 * v))), 2);
        }
    }
    return p;
}

inline Bytes list_chunk() { return chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 3, 0, 0, 0, 'a', 'b', 0, 0}); }

// The usual click: PCM mono with a 16-byte "fmt " and nothing else.
inline Bytes simple_wave(const Format& f, std::uint32_t frames) {
    return riff("WAVE", concat({fmt(f), chunk("data", samples(f, frames))}));
}

// Every test starts with sound available, an offline mixer (no sound card
// needed; time moves only by audio_advance), the host's main window and one
// open device; it ends with everything released.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::audio_shutdown();  // whatever an earlier test left open
        sound::sound_enabled = 1;
        platform::fault_reset();
        ASSERT_TRUE(platform::audio_capture_begin(nullptr));
        window = platform::create_host_main_window();
        ASSERT_EQ(sound::sound_create_device(window, device), 1);
    }

    void TearDown() override {
        platform::audio_shutdown();
        platform::audio_clear_play_log();
        platform::destroy_window(window);
        platform::fault_reset();
        sound::sound_enabled = 1;
    }

    // Everything released, a fresh offline mixer, sound available again.
    void restart() {
        platform::audio_shutdown();
        platform::audio_clear_play_log();
        platform::fault_reset();
        sound::sound_enabled = 1;
        ASSERT_TRUE(platform::audio_capture_begin(nullptr));
    }

    sound::SoundBuffer load(const Bytes& wave, std::uint32_t wave_id = 0) {
        sound::SoundBuffer buffer = nullptr;
        sound::sound_load_wave_memory(device, buffer, wave.data(), wave.size(), wave_id);
        return buffer;
    }

    platform::WindowHandle window = nullptr;
    sound::SoundDevice device = nullptr;
};

}  // namespace ardelvine::test
