// The module's sound library: devices, WAVE loading, buffers and their
// controls, and the module-wide failure latch. (Declarations only for now; the
// implementation arrives with the sound change, which may refine this file.)
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace ardelvine::sound {

using ModuleHandle = platform::ModuleHandle;
using WindowHandle = platform::WindowHandle;

struct DeviceObject;  // an opened output device
struct BufferObject;  // one loaded sound
using SoundDevice = DeviceObject*;  // null = none
using SoundBuffer = BufferObject*;  // null = none

// 1 while sound is available; cleared by the first failing step, never set again.
extern std::int32_t sound_enabled;

}  // namespace ardelvine::sound
