// Arbitrary bytes as a WAVE resource: the in-memory RIFF reader, the chunk
// walk, the format record and the buffer it makes. A load that succeeds is
// played for a moment and released, so the mixer sees the buffer too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/audio.h"
#include "platform/host_window.h"
#include "sound/sound.h"

namespace {

using namespace ardelvine;

sound::SoundDevice device = nullptr;

void set_up() {
    platform::audio_capture_begin(nullptr);
    const platform::WindowHandle window = platform::create_host_main_window();
    sound::sound_create_device(window, device);
    std::atexit(platform::audio_shutdown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (set_up(), true);
    (void)ready;
    sound::sound_enabled = 1;
    sound::SoundBuffer buffer = nullptr;
    if (sound::sound_load_wave_memory(device, buffer, data, size) != 0) {
        sound::sound_play(buffer, sound::SOUND_PLAY_ONCE);
        platform::audio_advance(0.001);
        sound::sound_get_position(buffer);
        sound::sound_release_buffer(buffer);
    }
    platform::audio_clear_play_log();
    return 0;
}
