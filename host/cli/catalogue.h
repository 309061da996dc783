// The gauge catalogue for panel designers: static HTML pages, readable
// without scripts, one per gauge of the module and an index grouping them as
// a cockpit does. Each page is made from the module's records and from what
// the gauge does when the host places and runs it alone: its pictures by day
// and at night with its mouse areas over a copy, its sizes, a panel line
// ready to paste, the tokens it reads, the key events it sends and what the
// host's aircraft does with them, its tooltips as shown, the parameter-string
// options it takes, its failure keys and its sounds. Only the one-sentence
// description comes from a table written by hand (module/gauge_descriptions.h).
#pragma once

#include <cstddef>
#include <string>

namespace ardelvine::hostapp {

// Writes the catalogue of the module at `module_path` into `out_dir`:
// index.html, style.css, one NAME.html per gauge and its pictures in
// pictures/. Returns the number of gauge pages; throws InputError when a file
// cannot be written.
std::size_t write_catalogue(const std::string& module_path, const std::string& out_dir);

}  // namespace ardelvine::hostapp
