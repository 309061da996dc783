// The module's three sounds: RIFF WAVE files of mono 22050 Hz PCM with a
// 16-byte "fmt " chunk, synthesised to the exact sample format, data length
// and chunk order of their catalogue rows.
#pragma once

#include <vector>

#include "resources/catalogue.h"

namespace ardelvine::tools {

std::vector<unsigned char> make_wave(const resources::WaveRecord& record);

}  // namespace ardelvine::tools
