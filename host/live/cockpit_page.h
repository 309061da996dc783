// The cockpit page served by `gaugehost serve`: plain HTML, CSS and
// JavaScript, nothing fetched from anywhere else. The files are kept in
// host/live/page/ and built into the program (cmake/embed_page.cmake).
#pragma once

#include <string_view>

namespace ardelvine::hostapp {

extern const std::string_view kCockpitPage;     // index.html
extern const std::string_view kCockpitStyle;    // cockpit.css
extern const std::string_view kCockpitScript;   // cockpit.js
extern const std::string_view kDrawerScript;    // drawer.js: the Controls drawer
extern const std::string_view kDesignerScript;  // designer.js: the designer's tools (serve --edit)

}  // namespace ardelvine::hostapp
