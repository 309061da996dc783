// The host's side of the window rule: the module only looks its host's
// window up (host_window.cpp), the host makes it.
#include "platform/host_window.h"

namespace ardelvine::platform {

WindowHandle create_host_main_window() {
    char path[kMaxPath];
    if (executable_path(path, sizeof path) == 0) return nullptr;
    return create_window(host_window_class(path));
}

}  // namespace ardelvine::platform
