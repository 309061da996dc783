// The sound library's operations and the failure latch, as gauges meet them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>

#include "sound/gauge_sound.h"
#include "sound_test_support.h"

namespace ardelvine::test {
namespace {

using namespace ardelvine::sound;

const Bytes kClick = simple_wave(Format{}, 2205);  // 0.1 s

TEST(HostWindowClass, FollowsTheExecutableName) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"/opt/sim/Cockpit", "MSCFSMAIN"},       {"/opt/sim/C", "MSCFSMAIN"},
        {"/opt/sim/xxx2host.exe", "MSCFSMAIN"},  {"/opt/sim/abc2", "MSCFSMAIN"},
        {"/opt/sim/xx2host.exe", "FS98MAIN"},
        {"/opt/sim/x2host", "FS98MAIN"},         {"/opt/sim/cockpit", "FS98MAIN"},
        {"/opt/sim/ab2", "FS98MAIN"},            {"/opt/sim/abc.2x", "FS98MAIN"},
        {"C:\\sim\\fs92.exe", "MSCFSMAIN"},      {"C:\\sim\\fs9x2.exe", "FS98MAIN"},
        {"/C/gaugehost", "FS98MAIN"},            {"/opt/sim/.C", "FS98MAIN"},
        {"", "FS98MAIN"},                        {nullptr, "FS98MAIN"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(platform::host_window_class(c.path), c.expected) << (c.path ? c.path : "null");
}

TEST(HostWindow, FoundOnlyOnceTheHostCreatedIt) {
    EXPECT_EQ(find_host_window(), nullptr);
    platform::WindowHandle window = platform::create_host_main_window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(find_host_window(), window);
    platform::destroy_window(window);
    EXPECT_EQ(find_host_window(), nullptr);
}

TEST(PathNextToHost, JoinsTheHostDirectoryAndTheName) {
    char exe[512] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    const std::string directory(exe, std::strrchr(exe, '/') + 1);

    auto path = path_next_to_host("click.wav");
    ASSERT_TRUE(path);
    EXPECT_EQ(std::string(path.get()), directory + "click.wav");

    const std::string fits(kPathBytes - 1 - directory.size(), 'a');
    ASSERT_TRUE(path_next_to_host(fits.c_str()));
    EXPECT_EQ(std::string(path_next_to_host(fits.c_str()).get()), directory + fits);
    EXPECT_FALSE(path_next_to_host((fits + "a").c_str()));  // one byte too many
    EXPECT_FALSE(path_next_to_host(nullptr));
}

TEST_F(SoundTest, DeviceNeedsTheHostWindowButNotTheLatch) {
    SoundDevice other = reinterpret_cast<SoundDevice>(&other);  // stale value: must be overwritten
    EXPECT_EQ(sound_create_device(nullptr, other), 0);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(sound_enabled, 0);

    EXPECT_EQ(sound_create_device(window, other), 1);  // silenced, still opens
    EXPECT_NE(other, nullptr);
    EXPECT_EQ(sound_enabled, 0);  // and success does not bring sound back
}

TEST_F(SoundTest, SilencedLoadLeavesTheBufferHandleAlone) {
    SoundBuffer buffer = load(kClick);
    ASSERT_NE(buffer, nullptr);
    SoundBuffer kept = buffer;
    sound_enabled = 0;
    EXPECT_EQ(sound_load_wave_memory(device, buffer, kClick.data(), kClick.size()), 0u);
    EXPECT_EQ(sound_load_wave_resource(window, device, buffer, 10, nullptr), 0u);
    EXPECT_EQ(sound_load_wave_file(window, device, buffer, "/nonexistent.wav"), 0u);
    EXPECT_EQ(buffer, kept);
}

TEST_F(SoundTest, MissingResourceSilencesAndClearsTheBuffer) {
    SoundBuffer buffer = load(kClick);
    EXPECT_EQ(sound_load_wave_resource(window, device, buffer, 10, nullptr), 0u);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(sound_enabled, 0);
}

TEST_F(SoundTest, ControlsKeepWhatTheyAreGiven) {
    SoundBuffer buffer = load(kClick);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(sound_get_volume(buffer), 0);
    EXPECT_EQ(sound_get_pan(buffer), 0);
    EXPECT_EQ(sound_set_volume(buffer, -600), 1);
    EXPECT_EQ(sound_get_volume(buffer), -600);
    EXPECT_EQ(sound_set_pan(buffer, -2500), 1);
    EXPECT_EQ(sound_get_pan(buffer), -2500);
    EXPECT_EQ(sound_set_frequency(buffer, 44100), 1);
    EXPECT_EQ(sound_get_frequency(buffer), 44100u);
    EXPECT_EQ(sound_set_frequency(buffer, 0), 1);  // back to the WAVE's own rate
    EXPECT_EQ(sound_get_frequency(buffer), 22050u);
    EXPECT_EQ(sound_set_position(buffer, 1001), 1);
    EXPECT_EQ(sound_get_position(buffer), 1000u);  // whole samples
    EXPECT_EQ(sound_enabled, 1);
}

// Values the mixer refuses count as failures like any other.
TEST_F(SoundTest, RefusedValuesSilence) {
    const std::function<std::int32_t(SoundBuffer&)> refused[] = {
        [](SoundBuffer& b) { return sound_set_volume(b, 1); },
        [](SoundBuffer& b) { return sound_set_volume(b, -10001); },
        [](SoundBuffer& b) { return sound_set_pan(b, 10001); },
        [](SoundBuffer& b) { return sound_set_frequency(b, 99); },
        [](SoundBuffer& b) { return sound_set_frequency(b, 200001); },
        [](SoundBuffer& b) { return sound_set_position(b, 4410); },  // one past the end
    };
    for (const auto& call : refused) {
        sound_enabled = 1;
        SoundBuffer buffer = load(kClick);
        EXPECT_EQ(call(buffer), 0);
        EXPECT_EQ(buffer, nullptr);
        EXPECT_EQ(sound_enabled, 0);
    }
}

TEST_F(SoundTest, OperationsOnNoBufferFailAndSilence) {
    SoundBuffer none = nullptr;
    EXPECT_EQ(sound_play(none, 0), 0);
    EXPECT_EQ(sound_enabled, 0);
    sound_enabled = 1;
    EXPECT_EQ(sound_get_frequency(none), 0u);
    EXPECT_EQ(sound_enabled, 0);
}

TEST_F(SoundTest, IsPlayingLooksAtThePlayingBitOnly) {
    SoundBuffer buffer = load(kClick);
    const std::pair<std::uint32_t, std::int32_t> cases[] = {
        {0, 0}, {1, 1}, {2, 0}, {4, 0}, {6, 0}, {5, 1}, {7, 1}, {0x100, 0}, {0xFFFFFFFE, 0}, {0xFFFFFFFF, 1}};
    for (auto [status, playing] : cases) {
        platform::fault_force_status(status);
        EXPECT_EQ(sound_is_playing(buffer), playing) << status;
    }
}

TEST_F(SoundTest, PlaysOnceThenRestsAtTheStart) {
    SoundBuffer buffer = load(kClick);
    EXPECT_EQ(sound_play(buffer, SOUND_PLAY_ONCE), 1);
    EXPECT_EQ(sound_is_playing(buffer), 1);
    platform::audio_advance(0.05);
    const std::uint32_t halfway = sound_get_position(buffer);
    EXPECT_NEAR(halfway, 2205.0, 16.0);  // bytes: 0.05 s of 16-bit mono at 22050

    EXPECT_EQ(sound_play(buffer, SOUND_PLAY_ONCE), 1);  // still sounding: goes on, not from the start
    EXPECT_GE(sound_get_position(buffer), halfway);

    EXPECT_EQ(sound_stop(buffer), 1);
    platform::audio_advance(0.2);
    EXPECT_EQ(sound_is_playing(buffer), 0);
    EXPECT_EQ(sound_get_position(buffer), halfway);  // stop keeps the place
    sound_play(buffer, SOUND_PLAY_ONCE);
    platform::audio_advance(0.2);
    EXPECT_EQ(sound_is_playing(buffer), 0);
    EXPECT_EQ(sound_get_position(buffer), 0u);
}

TEST_F(SoundTest, LoopingPlaysOnUntilStopped) {
    SoundBuffer buffer = load(kClick);
    EXPECT_EQ(sound_play(buffer, SOUND_PLAY_LOOPING), 1);
    platform::audio_advance(0.35);
    EXPECT_EQ(sound_is_playing(buffer), 1);
    EXPECT_NEAR(sound_get_position(buffer), 2205.0, 16.0);  // 3.5 times round
    EXPECT_EQ(sound_play(buffer, SOUND_PLAY_ONCE), 1);  // finish this round, then rest
    platform::audio_advance(0.2);
    EXPECT_EQ(sound_is_playing(buffer), 0);
}

TEST_F(SoundTest, ReleasesDoNothingOnceSilenced) {
    SoundBuffer buffer = load(kClick);
    SoundDevice kept_device = device;
    SoundBuffer kept_buffer = buffer;
    sound_enabled = 0;
    sound_release_buffer(buffer);
    sound_release_device(device);
    EXPECT_EQ(buffer, kept_buffer);
    EXPECT_EQ(device, kept_device);

    sound_enabled = 1;
    sound_release_buffer(buffer);
    sound_release_device(device);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(device, nullptr);
    sound_release_device(device);  // none: nothing
    EXPECT_EQ(sound_enabled, 1);
}

TEST_F(SoundTest, BufferOfAReleasedDeviceIsGone) {
    SoundBuffer buffer = load(kClick);
    sound_release_device(device);
    EXPECT_EQ(sound_play(buffer, 0), 0);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(sound_enabled, 0);
}

TEST_F(SoundTest, PlayLogNamesTheWave) {
    SoundBuffer ten = load(kClick, 10);
    SoundBuffer thirty = load(kClick, 30);
    sound_play(ten, 0);
    platform::audio_advance(1.0 / 18);
    sound_play(thirty, 0);
    sound_play(ten, 0);  // accepted while still sounding
    sound_enabled = 0;
    sound_play(thirty, 0);  // silenced: not a play
    ASSERT_EQ(platform::audio_play_count(), 3u);
    EXPECT_EQ(platform::audio_play_entry(0).wave, 10u);
    EXPECT_EQ(platform::audio_play_entry(1).wave, 30u);
    EXPECT_DOUBLE_EQ(platform::audio_play_entry(1).seconds, 1.0 / 18);
    EXPECT_EQ(platform::audio_play_entry(2).wave, 10u);
    EXPECT_EQ(platform::audio_play_entry(3).wave, 0u);
}

// The gauge pattern with a module that has no WAVEs: the first gauge's
// install silences the module; later gauges still open devices but load
// nothing, clicks are silent and kills release nothing.
TEST_F(SoundTest, FirstFailingInstallSilencesEveryGauge) {
    GaugeSound first{}, second{};
    gauge_sound_service(first, PANEL_SERVICE_PRE_INSTALL, 0, 10);
    EXPECT_EQ(first.host_window, window);
    EXPECT_NE(first.device, nullptr);
    EXPECT_EQ(first.buffer, nullptr);
    EXPECT_EQ(sound_enabled, 0);

    gauge_sound_service(second, PANEL_SERVICE_PRE_INSTALL, 0, 30);
    EXPECT_NE(second.device, nullptr);
    gauge_sound_click(first);
    gauge_sound_click(second);
    EXPECT_EQ(platform::audio_play_count(), 0u);

    gauge_sound_service(first, PANEL_SERVICE_PRE_UPDATE, 0, 10);
    gauge_sound_service(first, PANEL_SERVICE_PRE_KILL, 0, 10);
    EXPECT_NE(first.device, nullptr);
}

TEST_F(SoundTest, GaugeClicksAndReleasesWhileSoundWorks) {
    GaugeSound gauge{.host_window = window, .device = device};
    gauge.buffer = load(kClick, 10);
    gauge_sound_click(gauge);
    EXPECT_EQ(platform::audio_play_count(), 1u);
    gauge_sound_service(gauge, PANEL_SERVICE_PRE_KILL, 0, 10);
    EXPECT_EQ(gauge.buffer, nullptr);
    EXPECT_EQ(gauge.device, nullptr);
    EXPECT_EQ(sound_enabled, 1);
}

}  // namespace
}  // namespace ardelvine::test
