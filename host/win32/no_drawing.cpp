// The Windows host runs panels and reports their state; it has no renderer.
// The drawing commands are refused as bad usage.
#include "host/cli/cli_options.h"
#include "host/load/error.h"

namespace ardelvine::hostapp {

namespace {

[[noreturn]] void no_renderer(const std::string& what) {
    throw InputError(what + " needs the renderer, which this build of gaugehost does not have (state and list work)");
}

}  // namespace

int cmd_render(const Options&, std::ostream&, std::ostream&) { no_renderer("render"); }

int cmd_default(const Options&, std::ostream&, std::ostream&) { no_renderer("the built-in run"); }

int cmd_catalogue(const Options&, std::ostream&, std::ostream&) { no_renderer("catalogue"); }

int cmd_serve(const Options&, std::ostream&, std::ostream&) { no_renderer("serve"); }

}  // namespace ardelvine::hostapp
