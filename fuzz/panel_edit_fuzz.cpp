// The designer's panel editor on any file and any edits: a panel text, a line
// "%%", then one edit a line:
//   place SECTION KEY X Y [W H]
//   add SECTION GAUGE X Y
//   remove SECTION KEY
//   set SECTION KEY VALUE
//   window SECTION
// An edit either changes the text or is refused with nothing changed. Read
// unedited, the file is written back byte for byte with an empty diff; after
// the edits, the text reads back as itself and the panel reader either reads
// it or names its fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "host/load/error.h"
#include "host/load/panel_config.h"
#include "host/load/panel_edit.h"

namespace {

using namespace ardelvine::hostapp;

void must(bool condition) {
    if (!condition) std::abort();
}

void edit(PanelText& text, const std::string& line) {
    std::istringstream in(line);
    std::string verb, section, key;
    in >> verb >> section >> key;
    if (verb == "place") {
        GaugePlace place;
        in >> place.x >> place.y;
        int w = 0, h = 0;
        if (in >> w >> h) place.w = w, place.h = h;
        text.place_gauge(section, key, place);
    } else if (verb == "add") {
        GaugePlace place;
        in >> place.x >> place.y;
        text.add_gauge(section, key, place);
    } else if (verb == "remove") {
        text.remove_gauge(section, key);
    } else if (verb == "set") {
        std::string value;
        std::getline(in >> std::ws, value);
        text.set_window_key(section, key, value);
    } else if (verb == "window") {
        text.add_window(section);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 65536) return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find("\n%%\n");
    const std::string file = input.substr(0, cut);
    const std::string edits = cut == std::string::npos ? std::string() : input.substr(cut + 4);

    PanelText text(file);
    must(text.bytes() == file && !text.changed() && text.diff("panel.cfg").empty());

    std::istringstream lines(edits);
    std::string line;
    for (int n = 0; n < 16 && std::getline(lines, line); ++n) {
        const std::string before = text.bytes();
        try {
            edit(text, line);
        } catch (const PanelEditError&) {
            must(text.bytes() == before);
        }
    }
    const std::string after = text.bytes();
    must(PanelText(after).bytes() == after);
    must(text.changed() == !text.diff("panel.cfg").empty() || after == file);
    try {
        (void)parse_panel_config(after, "panel.cfg");
    } catch (const InputError&) {
    }
    return 0;
}
