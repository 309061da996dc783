// The renderer on hand-made bitmaps, where the exact pixels matter: element
// pictures placed by their kind's rule, redraws that only touch changed
// gauges, lighting, and finer drawings landing where their bitmaps do.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cairo.h>
#include <dlfcn.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include "host/cli/cli.h"
#include "host/run/host.h"
#include "host/load/needle.h"
#include "host/draw/render.h"
#include "host/load/default_panel.h"
#include "host/run/window_files.h"
#include "model/tokens.h"
#include "tests/pictures.h"

using namespace ardelvine;
using namespace ardelvine::hostapp;

namespace {

// Cairo and fontconfig keep their font caches for the life of the process;
// hand them back when the tests end, so the leak checker reports only ours.
class ReleaseFontCaches : public ::testing::Environment {
    void TearDown() override {
        cairo_debug_reset_static_data();
        if (auto fini = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "FcFini"))) fini();
    }
};
[[maybe_unused]] ::testing::Environment* const kReleaseFontCaches =
    ::testing::AddGlobalTestEnvironment(new ReleaseFontCaches);

void apply(double x, double y, const cairo_matrix_t& m, double& ox, double& oy) {
    ox = x, oy = y;
    cairo_matrix_transform_point(&m, &ox, &oy);
}

// ---------------------------------------------------------------- transforms

TEST(RenderTransform, NeedlePivotSitsOnPositionAndPointsAlongItsAngle) {
    ElementHeader e{};
    e.x = 150, e.y = 150, e.offset_x = 40, e.offset_y = 18;
    struct Case {
        double angle, dir_x, dir_y;
    } cases[] = {{0, 0, -1}, {90, 1, 0}, {180, 0, 1}, {270, -1, 0}, {450, 1, 0}, {-90, -1, 0}};
    for (const Case& c : cases) {
        const cairo_matrix_t m = needle_matrix(e, c.angle);
        double x, y;
        apply(40, 18, m, x, y);
        EXPECT_NEAR(x, 150, 1e-9) << c.angle;
        EXPECT_NEAR(y, 150, 1e-9) << c.angle;
        apply(40 + 100, 18, m, x, y);  // 100 pixels out along the bitmap's +x
        EXPECT_NEAR(x, 150 + 100 * c.dir_x, 1e-9) << c.angle;
        EXPECT_NEAR(y, 150 + 100 * c.dir_y, 1e-9) << c.angle;
    }
}

TEST(RenderTransform, SpriteTurnsAboutItsCentreAndShiftsAlongItsOwnAxes) {
    Sprite s{};
    s.header.offset_x = 125, s.header.offset_y = 122;
    s.texture_x = 1.0f, s.texture_y = 0.5f;
    double x, y;
    // Unturned: the picture's centre on the offset point, shifted right by dx and up by dy.
    apply(95, 170, sprite_matrix(s, 3, 7, 0, 190, 340), x, y);
    EXPECT_NEAR(x, 128, 1e-9);
    EXPECT_NEAR(y, 115, 1e-9);
    // Texture scale squeezes about the centre: 20 picture rows above it are 10 pixels.
    apply(95, 150, sprite_matrix(s, 0, 0, 0, 190, 340), x, y);
    EXPECT_NEAR(y, 112, 1e-9);
    // A positive rotation turns counter-clockwise: the picture's right goes up...
    apply(95 + 20, 170, sprite_matrix(s, 0, 0, 90, 190, 340), x, y);
    EXPECT_NEAR(x, 125, 1e-9);
    EXPECT_NEAR(y, 102, 1e-9);
    // ...and a shift up the turned picture goes left.
    apply(95, 170, sprite_matrix(s, 0, 10, 90, 190, 340), x, y);
    EXPECT_NEAR(x, 115, 1e-9);
    EXPECT_NEAR(y, 122, 1e-9);
}

TEST(RenderLighting, TintFollowsFlagsAndPanelLights) {
    const Lighting day{false, false}, night{true, false}, night_lit{true, true};
    struct Case {
        std::uint32_t flags;
        Lighting lighting;
        Tint tint;
    } cases[] = {
        {0x3, day, Tint::NONE},           {0x4003, day, Tint::NONE},      {0x3, night, Tint::DARK},
        {0x7, night, Tint::NONE},         {0x4003, night, Tint::DARK},    {0x4003, night_lit, Tint::LIT},
        {0x4007, night_lit, Tint::NONE},  {0x83, night_lit, Tint::DARK},
    };
    for (const Case& c : cases) EXPECT_EQ(element_tint(c.flags, c.lighting), c.tint) << std::hex << c.flags;
}

TEST(RenderFiles, WindowNames) {
    struct Case {
        int index;
        const char* title;
        const char* name;
    } cases[] = {{0, "Main Panel", "window-00-main-panel.png"},
                 {12, "Radio Stack / COM", "window-12-radio-stack-com.png"},
                 {3, "", "window-03.png"},
                 {1, "  GPS!! ", "window-01-gps.png"}};
    for (const Case& c : cases) {
        WindowConfig w;
        w.index = c.index;
        w.title = c.title;
        EXPECT_EQ(window_file_name(w), c.name);
    }
}

// ---------------------------------------------------------------- hand-made gauge

constexpr std::uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00,
                        kMagenta = 0xFFFF00FF, kBackdrop = 0xFF000010;

// A 40 by 40 gauge: a grey background (1), a moving image whose strip (10) is
// red then blue, seen through a window (11) open only in its columns 5 to 14,
// a sprite (20) green above red through a full window (21), an icon (30, 31),
// and a centred white string on black (transparent) in the lower half.
class HandMadeGauge : public ::testing::Test {
protected:
    void SetUp() override {
        bitmaps_[1] = solid(40, 40, 0.5, 0.5, 0.5);
        cairo_surface_t* strip = solid(40, 10, 1, 0, 0);
        paint_rect(strip, 20, 0, 20, 10, 0, 0, 1);
        bitmaps_[10] = strip;
        cairo_surface_t* window = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 10);
        paint_rect(window, 5, 0, 10, 10, 1, 1, 1);
        bitmaps_[11] = window;
        cairo_surface_t* ball = solid(10, 10, 0, 1, 0);
        paint_rect(ball, 0, 5, 10, 5, 1, 0, 0);
        bitmaps_[20] = ball;
        bitmaps_[21] = solid(10, 10, 1, 1, 1);
        bitmaps_[30] = solid(4, 4, 0, 1, 0);
        bitmaps_[31] = solid(4, 4, 1, 0, 1);

        background_ = make(ElementKind::STATIC_IMAGE, 1, 0, 0);
        moving_ = make(ElementKind::MOVING_IMAGE, 10, 0, 5);
        sprite_ = make(ElementKind::SPRITE, 20, 25, 5);
        sprite_.sprite.header.offset_x = 30, sprite_.sprite.header.offset_y = 10;
        sprite_.sprite.texture_x = sprite_.sprite.texture_y = 1.0f;
        icon_ = make(ElementKind::ICON, 30, 36, 0);
        icon_.icon.images = 2;
        text_ = make(ElementKind::STRING, kNoBitmap, 0, 20);
        text_.string.box_width = 40, text_.string.box_height = 20;
        text_.string.foreground = 0xFFFFFF;
        text_.string.weight = 700;
        text_.string.draw_flags = TEXT_CENTRE | TEXT_MIDDLE | TEXT_ONE_LINE;
        text_.string.chars = 2;
        std::strcpy(text_.string.font, "Arial");
        link(background_, moving_, 0);
        link(moving_, sprite_, 1);
        link(sprite_, icon_, 2);
        link(icon_, text_, 3);
        mouse_[0].kind = MouseKind::END;
        header_.version = kGaugeHeaderVersion;
        header_.name = "Hand_Made";
        header_.elements = root_;
        root_[0] = &background_.header;
        header_.mouse = mouse_;
        placements_.push_back(std::make_unique<Placement>(header_, "", 0, 0, 0, 40, 40));
        std::strcpy(any_text().text, "888");  // one character more than it shows
        window_.size_w = 40, window_.size_h = 40;
        window_.background[2] = 0x10;
    }
    void TearDown() override {
        for (auto& [id, s] : bitmaps_) cairo_surface_destroy(s);
    }

    static AnyElement make(ElementKind kind, std::uint32_t bitmap, int x, int y) {
        AnyElement e;
        std::memset(&e, 0, sizeof e);  // braces would clear only the header
        e.header.kind = kind;
        e.header.bitmap = bitmap;
        e.header.x = x, e.header.y = y;
        e.header.image_flags = IMAGE_TRANSPARENT | IMAGE_RESTORE;
        return e;
    }
    void link(AnyElement& parent, AnyElement& child, int slot) {
        lists_[slot][0] = &child.header;
        parent.header.children = lists_[slot];
    }

    BitmapSource source() {
        return [this](std::uint32_t id) -> cairo_surface_t* {
            auto it = bitmaps_.find(id);
            return it == bitmaps_.end() ? nullptr : it->second;
        };
    }
    std::vector<ElementState>& states() { return placements_[0]->elements(); }
    StringElement& any_text() { return reinterpret_cast<StringElement&>(*states()[4].element); }

    // Columns of the string box's middle row that are not background grey.
    std::pair<int, int> inked_columns(cairo_surface_t* pic) {
        int first = -1, last = -1;
        for (int x = 0; x < 40; ++x)
            for (int y = 22; y < 38; ++y)
                if (pixel(pic, x, y) != kGrey) {
                    if (first < 0) first = x;
                    last = x;
                }
        return {first, last};
    }

    std::map<std::uint32_t, cairo_surface_t*> bitmaps_;
    AnyElement background_, moving_, sprite_, icon_, text_;
    ElementHeader* lists_[4][2] = {};
    ElementHeader* root_[2] = {};
    MouseRect mouse_[1] = {};
    GaugeHeader header_{};
    std::vector<std::unique_ptr<Placement>> placements_;
    WindowConfig window_;
};

TEST_F(HandMadeGauge, EachKindDrawsByItsRule) {
    Renderer renderer(source());
    cairo_surface_t* pic = renderer.draw(window_, placements_, {});
    EXPECT_EQ(pixel(pic, 2, 8), kGrey) << "closed part of the moving image's window";
    EXPECT_EQ(pixel(pic, 8, 8), kRed) << "open part shows the strip";
    EXPECT_EQ(pixel(pic, 30, 7), kGreen) << "sprite top half";
    EXPECT_EQ(pixel(pic, 30, 13), kRed) << "sprite bottom half";
    EXPECT_EQ(pixel(pic, 37, 1), kGreen) << "icon image 0";

    states()[1].dx = -20;      // the strip slides under its window
    states()[2].rotation = 180;  // the ball turns upside down
    states()[3].image = 1;
    pic = renderer.draw(window_, placements_, {});
    EXPECT_EQ(renderer.gauges_redrawn(), 1u);
    EXPECT_EQ(pixel(pic, 2, 8), kGrey);
    EXPECT_EQ(pixel(pic, 8, 8), kBlue);
    EXPECT_EQ(pixel(pic, 30, 7), kRed);
    EXPECT_EQ(pixel(pic, 30, 13), kGreen);
    EXPECT_EQ(pixel(pic, 37, 1), kMagenta) << "icon image 1 is the next bitmap";
}

TEST_F(HandMadeGauge, WildValuesSkipTheirElementOnly) {
    Renderer renderer(source());
    states()[1].dx = std::numeric_limits<double>::infinity();
    states()[2].rotation = std::numeric_limits<double>::quiet_NaN();
    cairo_surface_t* pic = renderer.draw(window_, placements_, {});
    EXPECT_EQ(pixel(pic, 8, 8), kGrey);
    EXPECT_EQ(pixel(pic, 30, 7), kGrey);
    EXPECT_EQ(pixel(pic, 37, 1), kGreen) << "elements after them still drawn";
    EXPECT_GE(inked_columns(pic).first, 0);
}

TEST_F(HandMadeGauge, StringShowsItsCharactersCentredOnATransparentBox) {
    Renderer renderer(source());
    cairo_surface_t* pic = renderer.draw(window_, placements_, {});
    const auto [first, last] = inked_columns(pic);
    ASSERT_GE(first, 0) << "no text drawn";
    EXPECT_EQ(pixel(pic, 0, 21), kGrey) << "a black box background is transparent";
    EXPECT_NEAR((first + last) / 2.0, 20.0, 2.0) << "centred";
    std::strcpy(any_text().text, "88");
    Renderer fresh(source());
    EXPECT_EQ(inked_columns(fresh.draw(window_, placements_, {})), std::pair(first, last))
        << "only as many characters as the element shows";
    std::strcpy(any_text().text, "8");
    const auto [one_first, one_last] = inked_columns(renderer.draw(window_, placements_, {}));
    EXPECT_LT(one_last - one_first, (last - first) * 2 / 3) << "a changed text is drawn again";
}

TEST_F(HandMadeGauge, TextInCodePageBytesIsDrawn) {
    Renderer renderer(source());
    std::strcpy(any_text().text, "\xB0\xFF");  // not UTF-8
    EXPECT_GE(inked_columns(renderer.draw(window_, placements_, {})).first, 0) << "no text drawn";
}

TEST_F(HandMadeGauge, HiddenElementsLeaveWhatIsBelow) {
    Renderer renderer(source());
    for (std::size_t i = 1; i < states().size(); ++i) states()[i].visible = false;
    cairo_surface_t* pic = renderer.draw(window_, placements_, {});
    for (auto [x, y] : {std::pair{8, 8}, {30, 7}, {30, 13}, {37, 1}}) EXPECT_EQ(pixel(pic, x, y), kGrey);
    EXPECT_EQ(inked_columns(pic).first, -1) << "hidden string";
    states()[0].visible = false;
    pic = renderer.draw(window_, placements_, {});
    EXPECT_EQ(pixel(pic, 8, 8), kBackdrop) << "a hidden background shows the window colour";
}

TEST_F(HandMadeGauge, UnchangedFrameRedrawsNothingAndNightDarkens) {
    Renderer renderer(source());
    renderer.draw(window_, placements_, {});
    renderer.draw(window_, placements_, {});
    EXPECT_EQ(renderer.gauges_redrawn(), 0u);
    cairo_surface_t* pic = renderer.draw(window_, placements_, {true, false});
    EXPECT_EQ(renderer.gauges_redrawn(), 1u);
    const std::uint32_t dark = pixel(pic, 2, 8);
    EXPECT_LT(dark & 0xFF, 0x40u);
    states()[0].element->image_flags |= IMAGE_BRIGHT;  // the placement's own copy
    pic = renderer.draw(window_, placements_, {true, false});
    EXPECT_EQ(pixel(pic, 2, 8), kGrey) << "bright elements ignore the dark";
}

// A 40 by 40 gauge: a face (bitmap 1) and one smoothed moving part (bitmap
// 2, its window 3) for the test to place; placed() lays it out once set.
struct OneMovingPart {
    AnyElement face{}, part{};
    ElementHeader* link[2] = {&part.header, nullptr};
    ElementHeader* root[2] = {&face.header, nullptr};
    MouseRect mouse[1] = {};
    GaugeHeader header{};
    std::vector<std::unique_ptr<Placement>> placements;

    OneMovingPart(const char* name, ElementKind kind) {
        // Braces set only a union's first member; the needle's table and the
        // sprite's scales must start empty too.
        std::memset(&face, 0, sizeof face), std::memset(&part, 0, sizeof part);
        face.header.kind = ElementKind::STATIC_IMAGE, face.header.bitmap = 1;
        face.header.image_flags = IMAGE_TRANSPARENT;
        face.header.children = link;
        part.header.kind = kind, part.header.bitmap = 2;
        part.header.image_flags = IMAGE_TRANSPARENT | IMAGE_SMOOTH;
        mouse[0].kind = MouseKind::END;
        header.version = kGaugeHeaderVersion, header.name = name, header.elements = root, header.mouse = mouse;
    }
    OneMovingPart(const OneMovingPart&) = delete;
    OneMovingPart& operator=(const OneMovingPart&) = delete;

    std::vector<std::unique_ptr<Placement>>& placed() {
        if (placements.empty()) placements.push_back(std::make_unique<Placement>(header, "", 0, 0, 0, 40, 40));
        return placements;
    }
};

// The renderer hands each smoothed moving kind to the painter placed by that
// kind's own rule, a sprite's window where the element stands: the picture is
// what Cairo paints by the same rule (the painter itself is held to Cairo's
// pixels in turned_test.cpp).
TEST(RenderSmoothed, EachMovingKindLandsWhereItsRulePutsIt) {
    cairo_surface_t* face = solid(40, 40, 0.5, 0.5, 0.5);
    cairo_surface_t* part = solid(16, 10, 0.9, 0.3, 0.1);
    paint_rect(part, 0, 5, 16, 5, 0.1, 0.4, 0.9);
    cairo_surface_t* round = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20);
    {
        cairo_t* cr = cairo_create(round);
        cairo_arc(cr, 10, 10, 8, 0, 2 * std::numbers::pi);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
        cairo_destroy(cr);
    }
    constexpr double kScale = 1.3;
    for (const ElementKind kind : {ElementKind::NEEDLE, ElementKind::SLIDER, ElementKind::SPRITE}) {
        OneMovingPart gauge("Moving", kind);
        const bool sprite = kind == ElementKind::SPRITE;
        ElementHeader& e = gauge.part.header;
        e.x = 9, e.y = 12, e.offset_x = 3, e.offset_y = 5;  // a needle's pivot
        if (sprite) {  // the card's axle, in the middle of its window
            e.offset_x = 20, e.offset_y = 21;
            gauge.part.sprite.texture_x = 1.0f, gauge.part.sprite.texture_y = 0.8f;
        }
        ElementState& s = gauge.placed()[0]->elements()[1];
        s.angle = 118, s.dx = 2.5, s.dy = -3.25, s.rotation = 33;
        cairo_matrix_t place;
        if (kind == ElementKind::NEEDLE) place = needle_matrix(e, s.angle);
        else if (sprite) place = sprite_matrix(gauge.part.sprite, s.dx, s.dy, s.rotation, 16, 10);
        else cairo_matrix_init_translate(&place, e.x + s.dx, e.y + s.dy);
        Renderer renderer([&](std::uint32_t id) { return id == 1 ? face : id == 2 ? part : id == 3 && sprite ? round : nullptr; },
                          kScale);
        WindowConfig window;
        window.size_w = 40, window.size_h = 40;
        cairo_surface_t* drawn = renderer.draw(window, gauge.placed(), {});

        cairo_surface_t* expected = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 52, 52);
        cairo_t* cr = cairo_create(expected);
        cairo_scale(cr, kScale, kScale);
        cairo_set_source_surface(cr, face, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        if (sprite) cairo_push_group(cr);
        cairo_save(cr);
        cairo_transform(cr, &place);
        cairo_set_source_surface(cr, part, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
        cairo_paint(cr);
        cairo_restore(cr);
        if (sprite) {
            cairo_pop_group_to_source(cr);
            cairo_mask_surface(cr, round, e.x, e.y);
        }
        cairo_destroy(cr);
        int worst = 0, inked = 0;
        for (int y = 0; y < 52; ++y)
            for (int x = 0; x < 52; ++x) {
                const std::uint32_t a = pixel(drawn, x, y), b = pixel(expected, x, y);
                inked += b != kGrey;
                for (int shift = 0; shift < 32; shift += 8)
                    worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            }
        EXPECT_LE(worst, 6) << static_cast<int>(kind);
        EXPECT_GT(inked, 60) << static_cast<int>(kind);
        cairo_surface_destroy(expected);
    }
    cairo_surface_destroy(round);
    cairo_surface_destroy(part);
    cairo_surface_destroy(face);
}

// Bitmaps tinted for one night colour are made again for another; a turned
// needle must not keep the pixels it was first painted with.
TEST(RenderNeedle, NightColourChangeRepaintsTheTurnedNeedle) {
    cairo_surface_t* face = solid(40, 40, 0.5, 0.5, 0.5);
    cairo_surface_t* pointer = solid(24, 6, 1.0, 1.0, 1.0);
    OneMovingPart gauge("Pointer", ElementKind::NEEDLE);
    gauge.part.header.x = 20, gauge.part.header.y = 20, gauge.part.header.offset_x = 3, gauge.part.header.offset_y = 3;
    gauge.part.header.image_flags |= IMAGE_LIT;
    std::vector<std::unique_ptr<Placement>>& placements = gauge.placed();
    placements[0]->elements()[1].angle = 60;
    WindowConfig window;
    window.size_w = 40, window.size_h = 40;
    const BitmapSource bitmaps = [&](std::uint32_t id) { return id == 1 ? face : id == 2 ? pointer : nullptr; };
    const Lighting red{true, true, RgbBytes{255, 40, 40}}, green{true, true, RgbBytes{40, 255, 40}};
    Renderer renderer(bitmaps);
    renderer.draw(window, placements, red);
    const std::vector<unsigned char> seen = pixels_of(renderer.draw(window, placements, green));
    Renderer fresh(bitmaps);
    EXPECT_EQ(seen, pixels_of(fresh.draw(window, placements, green)));
    EXPECT_NE(seen, pixels_of(fresh.draw(window, placements, red)));
    cairo_surface_destroy(pointer);
    cairo_surface_destroy(face);
}

// ---------------------------------------------------------------- finer drawings

// A bitmap drawn twice as fine with each pixel doubled, carrying its factor
// as a finer drawing does: painted at scale 2 it must land exactly where the
// bitmap itself lands enlarged.
cairo_surface_t* doubled(cairo_surface_t* s) {
    cairo_surface_t* fine = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2 * cairo_image_surface_get_width(s),
                                                       2 * cairo_image_surface_get_height(s));
    cairo_t* cr = cairo_create(fine);
    cairo_scale(cr, 2, 2);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_set_device_scale(fine, 2, 2);
    return fine;
}

// Every kind of element (the sprite and the moving image through their
// windows, by day and at night) painted from doubled bitmaps at scale 2 comes
// out as the 1x bitmaps enlarged, pixel for pixel; at a scale under 1.5 the
// finer drawings are not asked for.
TEST_F(HandMadeGauge, FinerDrawingsLandWhereTheirBitmapsDo) {
    std::map<std::uint32_t, cairo_surface_t*> fine;
    for (const auto& [id, s] : bitmaps_) fine[id] = doubled(s);
    int asked_below = 0;
    const FineSource finer = [&](std::uint32_t id, int factor) -> cairo_surface_t* {
        return factor == 2 && fine.count(id) != 0 ? fine[id] : nullptr;
    };
    states()[1].dx = 3, states()[2].dx = 2, states()[2].dy = 1, states()[3].image = 1;
    for (const Lighting lighting : {Lighting{}, Lighting{true, false}}) {
        Renderer plain(source(), 2.0), from_fine(source(), 2.0, finer);
        EXPECT_TRUE(pixels_of(plain.draw(window_, placements_, lighting)) ==
                    pixels_of(from_fine.draw(window_, placements_, lighting)))
            << (lighting.night ? "night" : "day");
    }
    Renderer small(source(), 1.4, [&](std::uint32_t, int) -> cairo_surface_t* { ++asked_below; return nullptr; });
    small.draw(window_, placements_, {});
    EXPECT_EQ(asked_below, 0);
    for (const auto& [id, s] : fine) cairo_surface_destroy(s);
}

// Smoothed moving parts go through the turned-picture painter, which reads a
// finer bitmap's pixels itself: each lands where its 1x bitmap does, the same
// size (the same pixels inked, the same centre).
TEST(RenderSmoothed, FinerDrawingsTurnAboutTheSamePoints) {
    cairo_surface_t* face = solid(40, 40, 0.5, 0.5, 0.5);
    cairo_surface_t* part = solid(16, 10, 0.9, 0.3, 0.1);
    cairo_surface_t* window = solid(20, 20, 1, 1, 1);
    cairo_surface_t* fine[] = {doubled(face), doubled(part), doubled(window)};
    for (const ElementKind kind : {ElementKind::NEEDLE, ElementKind::SLIDER, ElementKind::SPRITE}) {
        OneMovingPart gauge("Moving", kind);
        ElementHeader& e = gauge.part.header;
        e.x = 9, e.y = 12, e.offset_x = 3, e.offset_y = 5;
        if (kind == ElementKind::SPRITE) {
            e.offset_x = 20, e.offset_y = 21;
            gauge.part.sprite.texture_x = 1.0f, gauge.part.sprite.texture_y = 0.8f;
        }
        ElementState& s = gauge.placed()[0]->elements()[1];
        s.angle = 118, s.dx = 2.5, s.dy = -3.25, s.rotation = 33;
        const BitmapSource source = [&](std::uint32_t id) {
            return id == 1 ? face : id == 2 ? part : id == 3 ? window : nullptr;
        };
        WindowConfig backdrop;
        backdrop.size_w = 40, backdrop.size_h = 40;
        Renderer plain(source, 2.0);
        Renderer from_fine(source, 2.0, [&](std::uint32_t id, int) { return id >= 1 && id <= 3 ? fine[id - 1] : nullptr; });
        // Pixels inked by the part, and their centre.
        const auto inked = [](cairo_surface_t* pic) {
            double n = 0, x = 0, y = 0;
            for (int py = 0; py < 80; ++py)
                for (int px = 0; px < 80; ++px)
                    if (pixel(pic, px, py) != kGrey) n += 1, x += px, y += py;
            return std::array<double, 3>{n, x / std::max(n, 1.0), y / std::max(n, 1.0)};
        };
        const auto a = inked(plain.draw(backdrop, gauge.placed(), {}));
        const auto b = inked(from_fine.draw(backdrop, gauge.placed(), {}));
        EXPECT_GT(a[0], 200) << static_cast<int>(kind);
        EXPECT_NEAR(b[0], a[0], a[0] * 0.1) << static_cast<int>(kind);
        EXPECT_NEAR(b[1], a[1], 0.5) << static_cast<int>(kind);
        EXPECT_NEAR(b[2], a[2], 0.5) << static_cast<int>(kind);
    }
    for (cairo_surface_t* f : fine) cairo_surface_destroy(f);
    cairo_surface_destroy(window);
    cairo_surface_destroy(part);
    cairo_surface_destroy(face);
}

}  // namespace
