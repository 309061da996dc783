// The host's main window, by which the module finds its owner window for
// sound. The window class depends on the host executable's file name; the host
// creates its window under that class and the module looks it up by the same
// rule, so the rule lives here, once.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace ardelvine::platform {

inline constexpr const char* kHostClassCurrent = "MSCFSMAIN";
inline constexpr const char* kHostClassClassic = "FS98MAIN";

// Bytes of the buffer the executable path is read into (terminator included).
inline constexpr std::size_t kMaxPath = 260;

// The class for a host whose executable has this full path: looking at the
// file name without directory and extension, "MSCFSMAIN" when its fourth
// character is '2' or its first is 'C' (exact case), else "FS98MAIN".
const char* host_window_class(const char* executable_path);

// Where the file name of a path begins (after the last '/' or '\\', or a
// drive's ':'), and its length without the extension (from the last '.').
std::size_t path_name_offset(const char* path);
std::size_t path_stem_length(const char* name);

// Called by the host at start-up: creates its main window under the class the
// rule gives for the running executable. Null when the path is unknown.
WindowHandle create_host_main_window();

}  // namespace ardelvine::platform
