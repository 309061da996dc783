#include "params/params.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "model/events.h"
#include "module/host.h"

namespace ardelvine::params {

namespace {

constexpr char kCommentCharacters[] = {'/', '#', '\''};

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool empty(const char* text) { return text == nullptr || text[0] == '\0'; }

bool starts_with(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The text after the first `key` of a gauge's string, or null.
const char* argument_of(const GaugeHeader* gauge, char key) {
    if (gauge == nullptr || empty(gauge->parameters)) return nullptr;
    const char* at = find_key(gauge->parameters, key);
    return at != nullptr ? at + 1 : nullptr;
}

// Sends `event` with the window ident after every `key` of the string, in
// string order; a negative ident skips that one.
void send_for_each(const char* parameters, char key, std::uint32_t event) {
    for (const char* at = find_key(parameters, key); at != nullptr; at = find_key(at + 1, key)) {
        const std::int32_t ident = window_ident(at + 1);
        if (ident >= 0) panel_services::trigger_key_event(event, static_cast<std::uint32_t>(ident));
    }
}

void send_view_steps(std::int32_t steps) {
    if (steps == 0) {
        panel_services::trigger_key_event(events::VIEW_RESET, 0);
        return;
    }
    // Widened before negating: the most negative number has no positive twin.
    const std::int64_t count = std::min<std::int64_t>(steps > 0 ? steps : -static_cast<std::int64_t>(steps),
                                                      kMaxViewSteps);
    const std::uint32_t event = steps > 0 ? events::VIEW_MODE_NEXT : events::VIEW_MODE_PREVIOUS;
    for (std::int64_t n = 0; n < count; ++n) panel_services::trigger_key_event(event, 0);
}

// Cuts at the first comment character; the string is known to be present.
void cut_at_comment(char* text) { text[std::strcspn(text, "/#'")] = '\0'; }

}  // namespace

const char* find_key(const char* text, char key) {
    if (text == nullptr || key == '\0') return nullptr;
    const char* at = std::strchr(text, key);
    if (at == nullptr) return nullptr;
    // Only the stretch before the key is searched, so a long string with
    // many keys is read once, not once per key.
    const std::size_t before = static_cast<std::size_t>(at - text);
    for (char comment : kCommentCharacters)
        if (std::memchr(text, comment, before) != nullptr) return nullptr;
    return at;
}

char* find_key(char* text, char key) {
    return const_cast<char*>(find_key(static_cast<const char*>(text), key));
}

std::int32_t read_number(const char* text) {
    if (text == nullptr) return 0;
    while (is_space(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    // One past the largest magnitude either sign can hold; reading stops
    // growing there, so a run of a thousand digits costs nothing extra.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; is_digit(*text); ++text) magnitude = std::min(magnitude * 10 + (*text - '0'), kLimit);
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<std::int32_t>(value);
}

std::int32_t window_ident(const char* text) {
    if (empty(text)) return -1;
    for (const WindowName& w : kWindowNames)
        if (starts_with(text, w.name)) return w.ident;
    return read_number(text);
}

std::uint32_t tooltip_id(const char* text) {
    if (empty(text)) return 0;
    for (const TooltipName& t : kTooltipNames)
        if (starts_with(text, t.name)) return t.help_id;
    const std::int32_t id = read_number(text);
    return id >= static_cast<std::int32_t>(kFirstHostHelpId) ? static_cast<std::uint32_t>(id) : 0;
}

bool run_click_commands(const char* parameters) {
    if (empty(parameters)) return false;
    send_for_each(parameters, 'o', events::PANEL_WINDOW_OPEN);
    send_for_each(parameters, 'c', events::PANEL_WINDOW_CLOSE);
    send_for_each(parameters, 't', events::PANEL_WINDOW_TOGGLE);
    if (const char* at = find_key(parameters, 'p')) send_view_steps(read_number(at + 1));
    return true;
}

void apply_install_options(GaugeHeader* gauge) {
    if (gauge == nullptr || empty(gauge->parameters)) return;
    if (const char* face = argument_of(gauge, 'b')) {
        ElementHeader* root = gauge->elements != nullptr ? gauge->elements[0] : nullptr;
        if (root == nullptr) return;
        const std::int32_t id = read_number(face);
        if (id % kFaceStep != 0 || id < kFirstFace || id > kLastFace) return;
        root->bitmap = static_cast<std::uint32_t>(id);
    }
    if (const char* help = argument_of(gauge, 'h')) {
        if (gauge->mouse != nullptr) gauge->mouse[0].help_id = tooltip_id(help);
    }
}

void apply_close_at_install(GaugeHeader* gauge) {
    const char* window = argument_of(gauge, 'a');
    if (window == nullptr) return;
    const std::int32_t ident = window_ident(window);
    if (ident >= 0) panel_services::trigger_key_event(events::PANEL_WINDOW_CLOSE, static_cast<std::uint32_t>(ident));
}

void read_float_after(const GaugeHeader* gauge, char key, double* out) {
    if (out == nullptr) return;
    if (const char* text = argument_of(gauge, key)) *out = std::strtod(text, nullptr);
}

void read_number_after(const GaugeHeader* gauge, char key, std::int32_t* out) {
    if (out == nullptr) return;
    if (const char* text = argument_of(gauge, key)) *out = read_number(text);
}

void cut_comment(GaugeHeader* gauge) {
    if (gauge == nullptr || empty(gauge->parameters)) return;
    cut_at_comment(gauge->parameters);
}

void cut_comment_upper(GaugeHeader* gauge) {
    if (gauge == nullptr || empty(gauge->parameters)) return;
    cut_at_comment(gauge->parameters);
    for (char* c = gauge->parameters; *c != '\0'; ++c)
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
}

}  // namespace ardelvine::params
