#include "sound/gauge_sound.h"

#include "model/records.h"

namespace ardelvine::sound {

void gauge_sound_service(GaugeSound& sound, std::int32_t service, std::uintptr_t data, std::uint16_t wave_id) {
    switch (service) {
        case PANEL_SERVICE_PRE_INSTALL:
            if (sound.placed++ > 0) break;
            // Each step runs whatever the one before returned: a failure only
            // leaves the gauge silent.
            sound.module = reinterpret_cast<ModuleHandle>(data);
            sound.host_window = find_host_window();
            sound_create_device(sound.host_window, sound.device);
            sound_load_wave_resource(sound.host_window, sound.device, sound.buffer, wave_id, sound.module);
            break;
        case PANEL_SERVICE_PRE_KILL:
            if (sound.placed > 0 && --sound.placed > 0) break;
            sound_release_buffer(sound.buffer);
            sound_release_device(sound.device);
            break;
        default:
            break;
    }
}

void gauge_sound_click(GaugeSound& sound) { sound_play(sound.buffer, SOUND_PLAY_ONCE); }

}  // namespace ardelvine::sound
