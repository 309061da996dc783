// Arbitrary bytes as a panel line's parameter string, through the gauges that
// read one: a configurable window button (installed twice, then clicked) and
// the registration plate (installed, updated, drawn), each on its own copy of
// the records as a placed gauge has. Bytes after the first zero are what the
// host answers for the aircraft's identifier. Whatever the bytes, the button
// keeps a face it owns, the click stays bounded, the plate's text stays within
// seven characters and its font within its field.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "module/exports.h"
#include "module/gauge_list.h"
#include "params/params.h"

namespace {

using namespace ardelvine;

std::size_t events_sent = 0;
std::size_t windows_toggled = 0;
const char* identifier = nullptr;

std::int32_t ARD_CALL count_event(std::uint32_t, std::uint32_t) {
    ++events_sent;
    return 1;
}
std::int32_t ARD_CALL count_toggle(std::uint32_t) {
    ++windows_toggled;
    return 1;
}
std::int32_t ARD_CALL answer_identifier(const char*, double*, std::int32_t*, const char** text) {
    *text = identifier;
    return 1;
}

PanelServices services = [] {
    PanelServices table{};
    table.entry[ENTRY_TRIGGER_KEY_EVENT - 1] = reinterpret_cast<ServiceEntry>(&count_event);
    table.entry[ENTRY_PANEL_WINDOW_TOGGLE - 1] = reinterpret_cast<ServiceEntry>(&count_toggle);
    table.entry[ENTRY_EVALUATE_EXPRESSION - 1] = reinterpret_cast<ServiceEntry>(&answer_identifier);
    return table;
}();

void check(bool holds) {
    if (!holds) std::abort();
}

// A placed copy of a gauge whose chain is a root and at most one child.
struct Placed {
    GaugeHeader header;
    StaticImage root;
    StringElement text{};
    ElementHeader* chain[4] = {};
    MouseRect mouse[8];
    char text_buffer[7 + 64] = {};

    Placed(const GaugeHeader& gauge, char* parameters) : header(gauge) {
        std::memcpy(static_cast<void*>(&root), gauge.elements[0], sizeof root);
        chain[0] = &root.header;
        root.header.gauge = &header;
        if (gauge.elements[0]->children != nullptr) {
            std::memcpy(static_cast<void*>(&text), gauge.elements[0]->children[0], sizeof text);
            text.header.gauge = &header;
            text.text = text_buffer;
            chain[2] = &text.header;
            root.header.children = &chain[2];
        }
        header.elements = chain;
        std::size_t n = 0;
        for (; gauge.mouse[n].kind != MouseKind::END; ++n) mouse[n] = gauge.mouse[n];
        mouse[n] = gauge.mouse[n];
        header.mouse = mouse;
        header.parameters = parameters;
    }
};

std::size_t count_keys(const char* text) {
    std::size_t keys = 0;
    for (; *text != '\0'; ++text) keys += *text == 'o' || *text == 'c' || *text == 't' || *text == 'a';
    return keys;
}

void button(const char* original, std::vector<char>& scratch, GaugeHeader& gauge) {
    scratch.assign(original, original + std::strlen(original) + 1);
    Placed placed(gauge, scratch.data());
    events_sent = windows_toggled = 0;
    placed.header.callback(&placed.header, PANEL_SERVICE_PRE_INSTALL, 0);
    placed.header.callback(&placed.header, PANEL_SERVICE_PRE_INSTALL, 0);
    MouseClick click{6, 6, &placed.header};
    for (const MouseRect* r = placed.mouse; r->kind != MouseKind::END; ++r)
        if (r->kind == MouseKind::CHILD) r->handler(&click, MOUSE_LEFT);

    const std::uint32_t face = placed.root.header.bitmap;
    check(face == gauge.elements[0]->bitmap || (face >= 100 && face <= 180 && face % 10 == 0));
    const std::uint32_t help = placed.mouse[0].help_id;
    check(help == gauge.mouse[0].help_id || help == 0 || help >= params::kFirstHostHelpId);
    check(events_sent <= count_keys(original) + params::kMaxViewSteps);
    check(windows_toggled == (original[0] == '\0' ? 1u : 0u));
    check(std::strcmp(scratch.data(), original) == 0);
}

void plate(const char* original, std::vector<char>& scratch) {
    scratch.assign(original, original + std::strlen(original) + 1);
    Placed placed(gauges::Registration, scratch.data());
    placed.header.callback(&placed.header, PANEL_SERVICE_PRE_INSTALL, 0);
    placed.header.callback(&placed.header, PANEL_SERVICE_PRE_UPDATE, 0);
    std::memset(placed.text_buffer, '#', sizeof placed.text_buffer);
    placed.text.update(&placed.text.header);

    const std::size_t shown = strnlen(placed.text_buffer, sizeof placed.text_buffer);
    check(shown <= 7 && placed.text_buffer[8] == '#');
    check(std::memchr(placed.text_buffer, '_', shown) == nullptr);
    check(strnlen(placed.text.font, kFontNameLength) < kFontNameLength);
    // The install only ever cuts the string.
    check(std::strncmp(scratch.data(), original, std::strlen(scratch.data())) == 0);
}

void readings(const char* original, std::vector<char>& scratch) {
    scratch.assign(original, original + std::strlen(original) + 1);
    Placed placed(gauges::Invisible_Toggle, scratch.data());
    double number = 0.0;
    std::int32_t integer = 0;
    for (char key : {'x', 'n'}) {
        params::read_float_after(&placed.header, key, &number);
        params::read_number_after(&placed.header, key, &integer);
    }
    params::cut_comment_upper(&placed.header);
    check(std::strpbrk(scratch.data(), "/#'abcdefghijklmnopqrstuvwxyz") == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ImportTable.panel.table = &services;
    // The string ends at the first zero byte; what follows is the identifier.
    std::vector<char> input(data, data + size);
    input.push_back('\0');
    const char* parameters = input.data();
    const std::size_t length = std::strlen(parameters);
    identifier = length < size ? parameters + length + 1 : nullptr;

    std::vector<char> scratch;
    button(parameters, scratch, size % 2 == 0 ? gauges::Radios_Toggle : gauges::Invisible_Toggle);
    plate(parameters, scratch);
    readings(parameters, scratch);
    return 0;
}
