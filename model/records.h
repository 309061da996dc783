// The records that the host and the module share: gauge headers, the element
// chain, variables, nonlinearity tables, failure records, mouse areas and
// tooltip arguments.
//
// Every record is laid out field by field in the order the host reads it. On
// the 32-bit target, where the host reads them, records use 4-byte packing so
// that a 64-bit float may start on any 4-byte boundary, every pointer and host
// word is 32 bits wide, and the sizes asserted at the bottom of this file hold.
// On 64-bit the same declarations hold native pointers with natural alignment
// (packing them there would only misalign pointers and doubles).
//
// Host words. Fields the host fills or uses at run time are zero in the
// module's data. Their number per kind is fixed here, in one place:
//   common header   previous position (2), previous element (1)
//   STATIC_IMAGE    host[4]
//   NEEDLE          after the source 2, after the swing limit 2, after the callback 2
//   STRING          text buffer block 3 (the middle one is the text buffer),
//                   after the colours 2, after the character count 2
//   SLIDER          per axis 2, after the axes 2, after the callbacks 2
//   ICON            after the source 1, after the scale 1, after the image count 1,
//                   after the callback 1
//   MOVING_IMAGE    per axis 2, after the axes 2, after the callbacks 2
//   SPRITE          per axis 1, after the texture scale 2, after the callbacks 2
//   GaugeHeader     host[4] at the end
// Our host keeps its own per-element state outside the records and uses only
// the STRING text buffer pointer.
#pragma once

#include <cstddef>
#include <cstdint>

// Every function that the host calls (or that the module calls in the host)
// uses this convention, so a 32-bit Windows build can match the host's.
#if defined(_WIN32) && !defined(_WIN64)
#define ARD_CALL __stdcall
#else
#define ARD_CALL
#endif

namespace ardelvine {

#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(push, 4)
#endif

using HostWord = std::uintptr_t;

struct GaugeHeader;
struct ElementHeader;

// ---------------------------------------------------------------- variables

struct ModuleVar {
    std::uint32_t token;       // 0 = no host variable
    void* host_pointer;        // host
    std::uint32_t value_type;  // host
    double value;              // refreshed by the host before any callback runs
    double previous;           // host
};

// ---------------------------------------------------------------- elements

enum class ElementKind : std::uint32_t {
    STATIC_IMAGE = 0,
    NEEDLE = 1,
    STRING = 2,
    SLIDER = 3,
    ICON = 4,
    MOVING_IMAGE = 5,
    SPRITE = 6,
};

inline constexpr std::uint32_t kNoBitmap = 0xFFFFFFFFu;

// Image flag bits.
inline constexpr std::uint32_t IMAGE_TRANSPARENT = 0x1;
inline constexpr std::uint32_t IMAGE_RESTORE = 0x2;
inline constexpr std::uint32_t IMAGE_BRIGHT = 0x4;
inline constexpr std::uint32_t IMAGE_SMOOTH = 0x80;
inline constexpr std::uint32_t IMAGE_LIT = 0x4000;
inline constexpr std::uint32_t IMAGE_HIDDEN = 0x40000000;
inline constexpr std::uint32_t IMAGE_DRAWN = 0x80000000u;  // host: cleared to ask for a redraw

// String draw flag bits: where the text sits in its box.
inline constexpr std::uint32_t TEXT_CENTRE = 0x1;    // across
inline constexpr std::uint32_t TEXT_RIGHT = 0x2;
inline constexpr std::uint32_t TEXT_MIDDLE = 0x4;    // down
inline constexpr std::uint32_t TEXT_BOTTOM = 0x8;
inline constexpr std::uint32_t TEXT_ONE_LINE = 0x20;

struct FailureRecord {
    std::uint32_t key;       // 0 ends a list
    std::uint32_t action;    // FailureAction
    std::uint32_t reserved;  // 0
};

enum FailureAction : std::uint32_t {
    FAIL_NONE = 0,     // no visible effect
    FAIL_FREEZE = 1,   // the element keeps its last value
    FAIL_ZERO = 2,     // the element shows the value 0
    FAIL_HIDE = 3,     // the element is not drawn
};

struct NonlinearityEntry {
    std::int32_t x;  // a pixel of the background that the needle points through
    std::int32_t y;
    double value;
    double angle;  // host: 0 in the data
};

using ElementCallback = double(ARD_CALL*)(ElementHeader* element);

struct ElementHeader {
    ElementKind kind;
    std::uint32_t bitmap;  // kNoBitmap for STRING
    std::int32_t x, y;     // on the background; a needle's pivot
    std::int32_t previous_x, previous_y;  // host
    std::int32_t offset_x, offset_y;      // inside the element's bitmap: pivot or centre
    GaugeHeader* gauge;
    ElementHeader* previous;  // host
    ElementHeader** children;  // null-terminated, or null
    FailureRecord* failures;   // ends with key 0, or null
    std::uint32_t image_flags;
    std::uint32_t special_flags;  // 0
    std::uint32_t reserved;       // 0
};

struct StaticImage {
    ElementHeader header;
    HostWord host[4];
};

struct Needle {
    ElementHeader header;
    ModuleVar source;
    HostWord host_a[2];
    NonlinearityEntry* table;
    std::uint32_t table_entries;
    std::uint32_t max_swing;  // degrees per update, 0 = unlimited
    HostWord host_b[2];
    ElementCallback update;
    HostWord host_c[2];
};

inline constexpr std::size_t kFontNameLength = 32;

struct StringElement {
    ElementHeader header;
    ModuleVar sources[3];
    HostWord host_a;
    char* text;  // host: a buffer of at least `chars` + 1 bytes
    HostWord host_b;
    std::uint32_t box_width, box_height;
    std::uint32_t foreground, background, highlight;  // 0x00BBGGRR
    HostWord host_c[2];
    char font[kFontNameLength];
    std::uint32_t weight;      // 400 normal, 700 bold
    std::uint32_t charset;     // 1
    std::uint32_t draw_flags;  // TEXT_ bits
    std::uint32_t chars;       // number of characters shown
    HostWord host_d[2];
    ElementCallback update;
};

struct SliderAxis {
    ModuleVar source;
    HostWord host_a;
    double scale;  // pixels per unit
    HostWord host_b;
};

struct Slider {
    ElementHeader header;
    SliderAxis x, y;
    HostWord host_a[2];
    ElementCallback x_update, y_update;
    HostWord host_b[2];
};

struct Icon {
    ElementHeader header;
    ModuleVar source;
    HostWord host_a;
    double scale;
    HostWord host_b;
    std::uint32_t images;
    HostWord host_c;
    ElementCallback update;
    HostWord host_d;
};

struct MovingAxis {
    ModuleVar source;
    HostWord host_a;
    double minimum, maximum;
    HostWord host_b;
};

struct MovingImage {
    ElementHeader header;
    MovingAxis x, y;
    HostWord host_a[2];
    ElementCallback x_update, y_update;
    HostWord host_b[2];
};

struct SpriteAxis {
    ModuleVar source;
    HostWord host;
    double scale;
};

struct Sprite {
    ElementHeader header;
    SpriteAxis x, y, rotation;
    float texture_x, texture_y;
    HostWord host_a[2];
    ElementCallback x_update, y_update, rotation_update;
    HostWord host_b[2];
};

// ---------------------------------------------------------------- mouse

enum class MouseKind : std::uint32_t {
    END = 0,
    PARENT = 1,
    CHILD = 2,
    END_PARENT = 3,
    TOOLTIP = 4,
};

enum Cursor : std::int32_t {
    CURSOR_NONE = -1,
    CURSOR_UP = 1,    // increase arrow
    CURSOR_DOWN = 2,  // decrease arrow
    CURSOR_HAND = 5,
};

inline constexpr std::uint32_t MOUSE_LEFT = 0x20000000u;
inline constexpr std::uint32_t MOUSE_RIGHT = 0x80000000u;
inline constexpr std::uint32_t MOUSE_REPEAT = 0x00200000u;
inline constexpr std::uint32_t MOUSE_DRAG = 0x00800000u;

// What the host hands a mouse handler: the point relative to the area, then
// the clicked gauge.
struct MouseClick {
    std::int32_t x, y;
    GaugeHeader* gauge;
};

using MouseHandler = std::int32_t(ARD_CALL*)(MouseClick* click, std::uint32_t flags);

// Tooltip argument producers take six words that this module never reads.
using TooltipNumberFn = double(ARD_CALL*)(std::uint32_t, std::uint32_t, std::uint32_t,
                                          std::uint32_t, std::uint32_t, std::uint32_t);
using TooltipTextFn = const char*(ARD_CALL*)(std::uint32_t, std::uint32_t, std::uint32_t,
                                             std::uint32_t, std::uint32_t, std::uint32_t);

struct TooltipArg {
    std::uint32_t host_source[15];  // the host's own ways to produce an argument; unused
    TooltipNumberFn number;         // word 16
    std::uint32_t reserved;         // word 17
    TooltipTextFn text;             // word 18
};

struct MouseRect {
    MouseKind kind;
    std::int32_t x, y, width, height;
    std::int32_t cursor;
    std::uint32_t help_id;
    std::uint32_t click_flags;
    std::uint32_t event_id;  // CHILD without handler: key event; TOOLTIP: argument count
    union {
        MouseHandler handler;      // CHILD
        const char* tooltip_text;  // TOOLTIP
    };
    TooltipArg* args;  // TOOLTIP
};

// ---------------------------------------------------------------- gauge

enum ServiceCode : std::int32_t {
    PANEL_SERVICE_PRE_INSTALL = 2,
    PANEL_SERVICE_PRE_UPDATE = 6,
    PANEL_SERVICE_PRE_KILL = 12,
    PANEL_SERVICE_PANEL_READY = 14,  // sent once the panel is laid out
};

using GaugeCallback = void(ARD_CALL*)(GaugeHeader* gauge, std::int32_t service, std::uintptr_t data);

inline constexpr std::uint32_t kGaugeHeaderVersion = 0x320;

struct GaugeHeader {
    std::uint32_t version;
    const char* name;
    ElementHeader** elements;  // one root: the background
    void* routines[7];
    void* reserved_a;
    std::uint32_t default_width;  // millimetres
    std::uint32_t default_height;
    float adjust_x, adjust_y;
    void* reserved_b[2];
    std::int32_t x, y;  // host
    void* reserved_c;
    MouseRect* mouse;
    GaugeCallback callback;
    std::uint32_t user_data;
    char* parameters;  // host: writable, or null
    HostWord host[4];
};

#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(pop)
#endif

// The record widths the host relies on. Pointers are 32-bit there, so the
// assertions only mean something on a 32-bit target; CI compiles this header
// with -m32 to check them.
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ModuleVar) == 28);
static_assert(sizeof(NonlinearityEntry) == 24);
static_assert(sizeof(FailureRecord) == 12);
static_assert(sizeof(MouseRect) == 44);
static_assert(sizeof(TooltipArg) == 72);
static_assert(offsetof(TooltipArg, number) == 15 * 4);
static_assert(offsetof(TooltipArg, text) == 17 * 4);
static_assert(sizeof(ElementHeader) == 60);
static_assert(offsetof(ModuleVar, value) == 12);
static_assert(offsetof(NonlinearityEntry, value) == 8);
static_assert(offsetof(MouseRect, handler) == 36);
static_assert(offsetof(GaugeHeader, default_width) == 44);
static_assert(offsetof(GaugeHeader, mouse) == 80);
static_assert(offsetof(GaugeHeader, parameters) == 92);
static_assert(offsetof(StringElement, font) == sizeof(ElementHeader) + 3 * 28 + 12 + 8 + 12 + 8);
static_assert(alignof(ModuleVar) == 4 && alignof(NonlinearityEntry) == 4, "4-byte packing");
#endif

}  // namespace ardelvine
