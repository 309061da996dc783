// The built-in panel (every gauge of the module: the main panel and five
// subpanels) and the scenario the program runs on it when called without
// arguments.
#pragma once

namespace ardelvine::hostapp {

extern const char* const kDefaultPanel;
extern const char* const kDefaultScenario;

}  // namespace ardelvine::hostapp
