// What the mixer makes of the buffer controls, heard through a capture file:
// -600 is 6 dB down, pan attenuates one side by its hundredths of a decibel,
// twice the WAVE's rate plays in half the time, 8-bit sounds as loud as
// 16-bit, and the capture holds exactly the time the host advanced.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sound_test_support.h"

namespace ardelvine::test {
namespace {

using namespace ardelvine::sound;

constexpr std::uint32_t kSegmentFrames = platform::kCaptureRate / 5;  // 0.2 s per played click

struct Heard {
    double left_rms;
    double right_rms;
    std::uint32_t sounding_frames;  // first to last frame above the noise floor
};

// Reads the capture: 16-bit stereo frames after a 44-byte header.
std::vector<std::int16_t> read_capture(const std::string& path, std::uint32_t* header_bytes) {
    std::ifstream in(path, std::ios::binary);
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < 44) return {};
    std::memcpy(header_bytes, &file[40], 4);
    std::vector<std::int16_t> pcm((file.size() - 44) / 2);
    std::memcpy(pcm.data(), &file[44], pcm.size() * 2);
    return pcm;
}

Heard listen(const std::vector<std::int16_t>& pcm, std::uint32_t segment) {
    const std::size_t begin = std::size_t{segment} * kSegmentFrames;
    std::size_t first = 0, last = 0;
    bool any = false;
    for (std::size_t f = begin; f < begin + kSegmentFrames && f * 2 + 1 < pcm.size(); ++f) {
        if (std::abs(pcm[f * 2]) > 300 || std::abs(pcm[f * 2 + 1]) > 300) {
            if (!any) first = f;
            last = f;
            any = true;
        }
    }
    if (!any) return {0, 0, 0};
    // Level from the middle half of the sound, clear of onset and tail.
    const std::size_t span = last - first + 1;
    double l = 0, r = 0;
    for (std::size_t f = first + span / 4; f < first + span * 3 / 4; ++f) {
        l += double(pcm[f * 2]) * pcm[f * 2];
        r += double(pcm[f * 2 + 1]) * pcm[f * 2 + 1];
    }
    const double n = static_cast<double>(span / 2) * 32767.0 * 32767.0;
    return {std::sqrt(l / n), std::sqrt(r / n), static_cast<std::uint32_t>(span)};
}

TEST_F(SoundTest, CaptureHearsTheControlsInTheirUnits) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("ard_capture_" + std::to_string(::getpid()) + ".wav")).string();
    platform::audio_shutdown();
    ASSERT_TRUE(platform::audio_capture_begin(path.c_str()));
    ASSERT_EQ(sound_create_device(window, device), 1);

    const Format mono16{};
    const Format mono8{.bits = 8};
    SoundBuffer click = load(simple_wave(mono16, 2205));  // 0.1 s
    SoundBuffer click8 = load(simple_wave(mono8, 2205));
    ASSERT_NE(click, nullptr);
    ASSERT_NE(click8, nullptr);

    const auto play_segment = [&](SoundBuffer& b) {
        EXPECT_EQ(sound_play(b, SOUND_PLAY_ONCE), 1);
        for (int update = 0; update < 18; ++update) platform::audio_advance(0.2 / 18);
    };
    play_segment(click);                  // 0: reference
    sound_set_volume(click, -600);
    play_segment(click);                  // 1: 6 dB down
    sound_set_volume(click, 0);
    sound_set_pan(click, 600);
    play_segment(click);                  // 2: left 6 dB down
    sound_set_pan(click, 0);
    sound_set_frequency(click, 44100);
    play_segment(click);                  // 3: an octave up, half as long
    play_segment(click8);                 // 4: 8-bit
    sound_play(click, SOUND_PLAY_ONCE);   // 5: cut by the end of capture, then drained
    platform::audio_advance(0.01);
    EXPECT_EQ(sound_enabled, 1);
    ASSERT_TRUE(platform::audio_capture_finish());

    std::uint32_t data_bytes = 0;
    const std::vector<std::int16_t> pcm = read_capture(path, &data_bytes);
    std::filesystem::remove(path);
    EXPECT_EQ(data_bytes, pcm.size() * 2);
    EXPECT_EQ(platform::audio_captured_frames(), pcm.size() / 2);
    // Five segments, the last click's 0.01 s, then the drain until it ended.
    EXPECT_NEAR(static_cast<double>(pcm.size() / 2), 5.0 * kSegmentFrames + 0.05 * platform::kCaptureRate, 500.0);

    const Heard reference = listen(pcm, 0);
    const double expected_rms = 0.25 / std::sqrt(2.0);
    EXPECT_NEAR(reference.left_rms, expected_rms, 0.01);
    EXPECT_NEAR(reference.right_rms, expected_rms, 0.01);
    EXPECT_NEAR(reference.sounding_frames, 4410.0, 50.0);

    const double six_db = std::pow(10.0, -600.0 / 2000.0);
    const Heard quieter = listen(pcm, 1);
    EXPECT_NEAR(quieter.left_rms / reference.left_rms, six_db, 0.02);
    EXPECT_NEAR(quieter.right_rms / reference.right_rms, six_db, 0.02);

    const Heard panned = listen(pcm, 2);
    EXPECT_NEAR(panned.left_rms / reference.left_rms, six_db, 0.02);
    EXPECT_NEAR(panned.right_rms / reference.right_rms, 1.0, 0.02);

    const Heard octave = listen(pcm, 3);
    EXPECT_NEAR(octave.sounding_frames, 2205.0, 50.0);
    EXPECT_NEAR(octave.left_rms / reference.left_rms, 1.0, 0.05);

    const Heard eight_bit = listen(pcm, 4);
    EXPECT_NEAR(eight_bit.left_rms / reference.left_rms, 1.0, 0.03);
    EXPECT_NEAR(eight_bit.sounding_frames, 4410.0, 50.0);
}

TEST(AudioCapture, RefusedOnceAMixerIsOpenOrWhereNoFileCanBeMade) {
    EXPECT_FALSE(platform::audio_capture_begin("/nonexistent-dir/capture.wav"));
    EXPECT_FALSE(platform::audio_capturing());
    ASSERT_TRUE(platform::audio_capture_begin(nullptr));
    EXPECT_FALSE(platform::audio_capture_begin(nullptr));
    platform::audio_advance(-1.0);  // time never runs backwards
    platform::audio_advance(NAN);
    EXPECT_TRUE(platform::audio_capture_finish());
    EXPECT_FALSE(platform::audio_capturing());
    platform::audio_shutdown();
}

}  // namespace
}  // namespace ardelvine::test
