// Which installed font draws a STRING element's face name. Gauges name
// Windows faces; this machine has others. A face the machine has, itself or
// through fontconfig's metric-compatible stand-ins ("Arial" is drawn in
// Liberation Sans, "Courier New" in Liberation Mono, "Times New Roman" in
// Liberation Serif), is drawn in that font; "Quartz", the readouts'
// seven-segment face, in DSEG7 Classic. Any other name falls back to
// Liberation Sans, the same on every machine, rather than to whatever this
// machine's fontconfig would pick for an unknown name.
#pragma once

#include <string>

namespace ardelvine::hostapp {

inline constexpr const char* kFallbackFont = "Liberation Sans";

// The family to ask Cairo for. Answers are remembered per face name.
const std::string& font_for_face(const std::string& face);

}  // namespace ardelvine::hostapp
