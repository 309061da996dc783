// Every platform step refused in turn: the latch rules hold, the gauge goes on
// silently, and nothing is left behind (LeakSanitizer watches the release).
#include <gtest/gtest.h>

#include "sound/gauge_sound.h"
#include "sound_test_support.h"

namespace ardelvine::test {
namespace {

using namespace ardelvine::sound;
using platform::FaultStep;

const Bytes kClick = riff("WAVE", concat({list_chunk(), fmt(Format{.bits = 8}), chunk("data", samples(Format{.bits = 8}, 999))}));

// A gauge's whole life with every operation the library offers. Returns the
// play-log length at the moment sound was lost (or at the end).
struct LifeResult {
    std::int32_t latch_after;
    std::size_t plays;
};

LifeResult gauge_life(platform::WindowHandle window) {
    GaugeSound gauge{.host_window = window};
    sound_create_device(window, gauge.device);
    sound_load_wave_memory(gauge.device, gauge.buffer, kClick.data(), kClick.size(), 20);
    sound_set_volume(gauge.buffer, -600);
    sound_set_pan(gauge.buffer, 300);
    sound_set_frequency(gauge.buffer, 11025);
    sound_get_volume(gauge.buffer);
    sound_get_pan(gauge.buffer);
    sound_get_frequency(gauge.buffer);
    sound_set_position(gauge.buffer, 10);
    gauge_sound_click(gauge);
    sound_is_playing(gauge.buffer);
    platform::audio_advance(0.01);
    sound_get_position(gauge.buffer);
    sound_stop(gauge.buffer);
    gauge_sound_click(gauge);

    const bool silenced = sound_enabled == 0;
    const SoundDevice device = gauge.device;
    const SoundBuffer buffer = gauge.buffer;
    gauge_sound_service(gauge, PANEL_SERVICE_PRE_KILL, 0, 20);
    if (silenced) {
        // Once silent, a kill keeps both handles as they were.
        EXPECT_EQ(gauge.device, device);
        EXPECT_EQ(gauge.buffer, buffer);
    } else {
        EXPECT_EQ(gauge.device, nullptr);
        EXPECT_EQ(gauge.buffer, nullptr);
    }
    return {sound_enabled, platform::audio_play_count()};
}

TEST_F(SoundTest, EveryRefusedStepSilencesForGood) {
    const LifeResult clean = gauge_life(window);
    ASSERT_EQ(clean.latch_after, 1);
    ASSERT_EQ(clean.plays, 2u);

    std::uint32_t walked = 0;
    for (std::uint32_t n = 1;; ++n) {
        restart();
        platform::fault_inject(FaultStep::ANY, n);
        const LifeResult run = gauge_life(window);
        if (!platform::fault_fired()) break;
        walked = n;
        EXPECT_EQ(run.latch_after, 0) << "step " << n;
        EXPECT_LT(run.plays, 2u) << "step " << n;

        // Still silent for every later gauge: loads leave handles alone.
        SoundDevice later_device = nullptr;
        SoundBuffer later_buffer = reinterpret_cast<SoundBuffer>(&later_device);
        platform::fault_reset();
        EXPECT_EQ(sound_create_device(window, later_device), 1);
        EXPECT_EQ(sound_load_wave_memory(later_device, later_buffer, kClick.data(), kClick.size()), 0u);
        EXPECT_EQ(later_buffer, reinterpret_cast<SoundBuffer>(&later_device));
        EXPECT_EQ(sound_enabled, 0);
    }
    EXPECT_GE(walked, 20u);
}

// Each kind of step is reached by the life above (or by a resource load), so
// the walk covers them all.
TEST_F(SoundTest, EveryKindOfStepCanBeRefused) {
    for (auto step = static_cast<std::uint32_t>(FaultStep::DEVICE_CREATE);
         step < static_cast<std::uint32_t>(FaultStep::COUNT); ++step) {
        restart();
        platform::fault_inject(static_cast<FaultStep>(step));
        gauge_life(window);
        SoundDevice device_for_resource = nullptr;
        SoundBuffer buffer = nullptr;
        sound_enabled = 1;
        sound_load_wave_resource(window, device_for_resource, buffer, 20, nullptr);
        EXPECT_TRUE(platform::fault_fired()) << "step kind " << step;
    }
}

}  // namespace
}  // namespace ardelvine::test
