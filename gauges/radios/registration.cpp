// The registration plate: the aircraft's identifier as air traffic control
// knows it, on a small plate. The host is asked for it at every update; a
// panel line may instead fix the text and choose the font and text colour:
//
//   tTEXT    (only as the very first option) show TEXT instead
//   rN gN bN red, green and blue of the text, 0 to 255 (more counts as 255)
//   fFONT    the font, all the rest of the line: it must come last
//
// The plate shows at most seven characters: the text up to its first space,
// with underscores shown as spaces, so "D_EABC" reads "D EABC".
#include <cstring>

#include "gauges/gauge.h"
#include "module/host.h"
#include "params/params.h"

namespace ardelvine::gauges {
namespace {

inline constexpr std::uint32_t kPlateChars = 7;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;  // 0x00BBGGRR
inline constexpr const char* kIdentifierExpression = "(A:ATC ID,string)";

// Module-wide: the host's answer at the last update. The host owns the
// characters and keeps them until it is asked again; null until then.
const char* identifier = nullptr;

StringElement* plate_text(GaugeHeader* gauge) {
    if (gauge == nullptr || gauge->elements == nullptr || gauge->elements[0] == nullptr) return nullptr;
    ElementHeader* first = gauge->elements[0]->children != nullptr ? gauge->elements[0]->children[0] : nullptr;
    if (first == nullptr || first->kind != ElementKind::STRING) return nullptr;
    return reinterpret_cast<StringElement*>(first);
}

// One colour part: what is written after its key, where anything beyond 255
// (negative numbers too, read as unsigned) is full intensity.
std::uint32_t colour_part(const char* parameters, char key, std::uint32_t current) {
    const char* at = params::find_key(parameters, key);
    if (at == nullptr) return current;
    const auto value = static_cast<std::uint32_t>(params::read_number(at + 1));
    return value > 255 ? 255 : value;
}

// The font takes the rest of the line and the line ends where the font
// began, so the colour keys and the fixed text never see the font's letters.
void apply_plate_options(GaugeHeader* gauge) {
    StringElement* text = plate_text(gauge);
    if (text == nullptr || gauge->parameters == nullptr || gauge->parameters[0] == '\0') return;
    char* parameters = gauge->parameters;
    if (char* font = params::find_key(parameters, 'f')) {
        std::strncpy(text->font, font + 1, kFontNameLength - 1);
        text->font[kFontNameLength - 1] = '\0';
        *font = '\0';
    }
    const std::uint32_t red = colour_part(parameters, 'r', text->foreground & 0xFF);
    const std::uint32_t green = colour_part(parameters, 'g', (text->foreground >> 8) & 0xFF);
    const std::uint32_t blue = colour_part(parameters, 'b', (text->foreground >> 16) & 0xFF);
    text->foreground = red | (green << 8) | (blue << 16);
}

void ARD_CALL registration_service(GaugeHeader* gauge, std::int32_t service, std::uintptr_t) {
    if (service == PANEL_SERVICE_PRE_INSTALL)
        apply_plate_options(gauge);
    else if (service == PANEL_SERVICE_PRE_UPDATE)
        panel_services::evaluate_expression(kIdentifierExpression, nullptr, nullptr, &identifier);
}

double ARD_CALL registration_text(ElementHeader* element) {
    if (element == nullptr) return 0.0;
    auto* text = reinterpret_cast<StringElement*>(element);
    if (text->text == nullptr) return text->sources[0].value;
    const char* parameters = element->gauge != nullptr ? element->gauge->parameters : nullptr;
    const char* shown = parameters != nullptr && parameters[0] == 't' ? parameters + 1 : identifier;
    std::uint32_t n = 0;
    for (; shown != nullptr && n < kPlateChars && shown[n] != '\0' && shown[n] != ' '; ++n)
        text->text[n] = shown[n] == '_' ? ' ' : shown[n];
    text->text[n] = '\0';
    return text->sources[0].value;
}

// ------------------------------------------------------------ records

extern ElementHeader* chain[2 * 2];

constinit StaticImage plate = {
    .header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmaps::REGISTRATION_PLATE, .x = 0, .y = 0, .gauge = &Registration,
               .children = chain_link(chain, 1), .image_flags = kPlainFlags}};

constinit StringElement text = {
    .header = {.kind = ElementKind::STRING, .bitmap = kNoBitmap, .x = 0, .y = 0, .gauge = &Registration,
               .image_flags = kPlainFlags},
    .sources = {},  // no variable: the callback writes the text
    .box_width = 150,
    .box_height = 25,
    .foreground = kWhite,
    .background = 0x000000,
    .highlight = 0x5C5C5C,
    .font = "Arial",
    .weight = 400,
    .charset = 1,
    .draw_flags = kCentredLine,
    .chars = kPlateChars,
    .update = &registration_text,
};

constinit ElementHeader* chain[2 * 2] = {&plate.header, nullptr, &text.header, nullptr};

MouseRect mouse[] = {mouse_parent(), mouse_tooltip("Registration number"), mouse_end_parent(), mouse_end()};

}  // namespace

constinit GaugeHeader Registration = make_gauge(registry::Registration, chain, mouse, &registration_service);

}  // namespace ardelvine::gauges
