// The sound library as gauges use it. A sound-owning gauge keeps one
// GaugeSound (module-wide, shared by every placed copy of the gauge), hands
// its lifecycle calls to gauge_sound_service and plays its click with
// gauge_sound_click. Sound never changes what a gauge does: results are not
// looked at and a failure only leaves the module silent.
//
// Because the record is one per gauge name, it counts the placed copies: the
// first install sets the sound up and the last removal releases it. Setting
// it up again for a second copy would lose the first copy's device, and
// releasing it with the first removal would silence the copy still placed.
#pragma once

#include <cstdint>

#include "sound/sound.h"

namespace ardelvine::sound {

struct GaugeSound {
    ModuleHandle module;
    WindowHandle host_window;
    SoundDevice device;
    SoundBuffer buffer;
    std::int32_t placed;  // copies installed and not yet removed
};

// Service 2, first copy: remember the module handle, find the host window,
// open a device and load WAVE `wave_id`, in that order whatever each step
// returns. Service 12, last copy (or a removal with none counted): release
// the buffer, then the device. Other codes, and the copies between: nothing.
void gauge_sound_service(GaugeSound& sound, std::int32_t service, std::uintptr_t data,
                         std::uint16_t wave_id);

// One click: the whole sound once from its current position.
void gauge_sound_click(GaugeSound& sound);

}  // namespace ardelvine::sound
