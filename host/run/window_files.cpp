#include "host/run/window_files.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "host/draw/area_overlay.h"
#include "host/draw/bitmaps.h"
#include "host/draw/cairo_handles.h"
#include "host/load/error.h"
#include "host/run/host.h"

namespace ardelvine::hostapp {

std::string window_file_name(const WindowConfig& window) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", window.index);
    // A virtual cockpit's picture is its texture, named by its number alone.
    if (window.vcockpit) return std::string("vcockpit-") + number + ".png";
    std::string name = std::string("window-") + number;
    std::string slug;
    for (unsigned char ch : window.title) {
        if (std::isalnum(ch)) {
            slug += static_cast<char>(std::tolower(ch));
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    if (!slug.empty()) name += "-" + slug;
    return name + ".png";
}

namespace {

bool picture_fits(double w, double h) {
    return w <= kMaxPictureSide && h <= kMaxPictureSide && std::ceil(w) * std::ceil(h) * 4 <= kMaxPictureBytes;
}

void check_picture(const std::string& file, int line, const std::string& what, double w, double h, double scale) {
    if (picture_fits(w * scale, h * scale)) return;
    char size[64];
    std::snprintf(size, sizeof size, "%.0fx%.0f", std::ceil(w * scale), std::ceil(h * scale));
    const std::string why = what + " would be a picture of " + size +
                            " pixels (the host draws at most 16384 pixels a side and 256 MB)";
    if (picture_fits(w, h)) {
        char number[32];
        std::snprintf(number, sizeof number, "%g", scale);
        throw InputError(std::string("--scale ") + number + ": " + why);
    }
    throw input_error(file, line, why);
}

}  // namespace

BitmapSource host_bitmaps(Host& host) {
    auto cache = std::make_shared<BitmapCache>(host.module().handle());
    return [cache](std::uint32_t id) { return cache->get(id); };
}

FineSource host_fine_bitmaps(const Host& host) { return fine_bitmap_files(fine_pack_of(host.module().path())); }

Lighting lighting_of(Host& host) {
    return {host.night(), host.simulation().token(kPanelLightsToken) != 0.0, host.panel().night_colour};
}

void check_picture_sizes(const Host& host, double scale) {
    const PanelConfig& panel = host.panel();
    for (const WindowConfig& w : panel.windows)
        check_picture(panel.file, w.line, "window " + w.title, w.size_w, w.size_h, scale);
    for (std::size_t i = 0; i < host.placements().size(); ++i) {
        const Placement& p = *host.placements()[i];
        check_picture(panel.file, host.placement_lines()[i], "gauge " + p.name(), p.width(), p.height(), scale);
    }
    for (const UnloadedGauge& u : host.unloaded())
        check_picture(panel.file, u.line, "gauge " + u.gauge, u.w, u.h, scale);
}

AreaTooltip area_tooltip(const Host& host) {
    return [&host](const Placement&, const MouseArea& a) -> std::string {
        const MouseRect& t = *a.tooltip;
        if (t.kind == MouseKind::TOOLTIP && t.tooltip_text != nullptr)
            return format_tooltip(t.tooltip_text, t.args, t.event_id, host.simulation());
        const char* help = t.help_id != 0 ? help_text(t.help_id) : nullptr;
        return help != nullptr ? help : "";
    };
}

cairo_surface_t* window_picture(const Host& host, Renderer& renderer, const WindowConfig& window, Lighting lighting,
                                bool areas, Surface& copy, bool legend) {
    cairo_surface_t* picture = renderer.draw(window, host.placements(), lighting);
    bool outlines = false;
    for (const UnloadedGauge& u : host.unloaded()) outlines = outlines || u.window == window.slot;
    if (!areas && !outlines) return picture;
    copy = new_image(cairo_image_surface_get_width(picture), cairo_image_surface_get_height(picture));
    Context cr = new_context(copy.get());
    cairo_set_source_surface(cr.get(), picture, 0, 0);
    cairo_paint(cr.get());
    if (outlines) draw_unloaded_gauges(copy.get(), window, host.unloaded(), renderer.scale(), lighting.night);
    if (areas) draw_mouse_areas(copy.get(), window, host.placements(), renderer.scale(), area_tooltip(host), legend);
    return copy.get();
}

std::vector<std::string> render_windows(Host& host, Renderer& renderer, const RenderRequest& request) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(request.out_dir, ec);
    if (ec) throw InputError("cannot create " + request.out_dir + ": " + ec.message());
    const Lighting lighting = lighting_of(host);
    std::vector<std::string> written;
    for (const WindowConfig& w : host.panel().windows) {
        // A section of zero size holds gauges that only do work: no picture.
        if ((!request.all_windows && !host.window_shown(w.slot)) || w.zero_size) continue;
        Surface copy;
        cairo_surface_t* picture = window_picture(host, renderer, w, lighting, request.areas, copy);
        const std::string path = (fs::path(request.out_dir) / (request.prefix + window_file_name(w))).string();
        const cairo_status_t status = cairo_surface_write_to_png(picture, path.c_str());
        if (status != CAIRO_STATUS_SUCCESS)
            throw InputError("cannot write " + path + ": " + cairo_status_to_string(status));
        written.push_back(path);
    }
    return written;
}

}  // namespace ardelvine::hostapp
