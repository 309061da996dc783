// A test hook of the Windows host. When the environment variable
// ARD_IMPORT_TRACE names a file, every library the host loads has its calls
// to the system's window, resource, memory, multimedia-file and DirectSound
// services recorded in that file, one line per call with its result, as the
// calls happen. The library itself is not changed: its import table is
// pointed at recording wrappers that call the real functions, and the
// DirectSound objects it creates have their methods wrapped the same way.
// Without the variable nothing is touched.
#pragma once

namespace ardelvine::platform::win32 {

void trace_imports(void* library);

}  // namespace ardelvine::platform::win32
