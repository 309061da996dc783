// Writes every bitmap and sound of a loaded module into a folder, one file per
// resource named by its id (bitmap-1400.bmp, wave-10.wav): the names the build
// accepts as replacement art.
#pragma once

#include <cstddef>
#include <string>

namespace ardelvine::hostapp {

// Creates `dir` if needed and returns the number of files written. Throws
// InputError when the module has no resource directory or a file cannot be
// written.
std::size_t export_resources(void* module_handle, const std::string& dir);

}  // namespace ardelvine::hostapp
