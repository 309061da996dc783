#include "host/live/designer.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include <cairo.h>

#include "host/draw/bitmaps.h"
#include "host/live/live_panel.h"
#include "host/load/error.h"
#include "host/load/panel_config.h"
#include "host/load/placement.h"
#include "host/load/text.h"
#include "host/run/window_files.h"
#include "module/gauge_descriptions.h"

namespace ardelvine::hostapp {

namespace {

using json = nlohmann::ordered_json;
namespace fs = std::filesystem;

// Positions as far as the panel reader takes them; sizes as far as the host places them.
constexpr long long kMaxPosition = 1000000;

std::string section_of(const Body& b) {
    const std::string s = b.text("section");
    if (s.empty() || s.size() > 64) refuse(400, "'section' takes a window section's name, as Window00");
    return s;
}

std::string key_of(const Body& b) {
    const std::string k = b.text("key");
    if (k.empty() || k.size() > 64) refuse(400, "'key' takes a gauge line's key, as gauge03");
    return k;
}

GaugePlace place_of(const Body& b) {
    GaugePlace p;
    p.x = static_cast<int>(b.whole("x", -kMaxPosition, kMaxPosition));
    p.y = static_cast<int>(b.whole("y", -kMaxPosition, kMaxPosition));
    if (b.has("w")) p.w = static_cast<int>(b.whole("w", 1, kMaxGaugeSide));
    if (b.has("h")) p.h = static_cast<int>(b.whole("h", 1, kMaxGaugeSide));
    return p;
}

// An edit the text cannot take, as the server answers it.
template <typename Edit>
auto edited(Edit&& edit) {
    try {
        return edit();
    } catch (const PanelEditError& e) {
        refuse(e.kind == PanelEditError::Kind::NOT_FOUND ? 404 : 400, e.what());
    }
}

void write_file(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

json gauge_catalogue(Host& host) {
    json list = json::array();
    for (const GaugeHeader* g : host.module().gauges()) {
        const std::string name = g->name != nullptr ? g->name : "";
        const int w = static_cast<int>(std::min<std::uint32_t>(g->default_width, kMaxGaugeSide));
        const gauges::GaugeDescription* d = gauges::find_description(name);
        list.push_back({{"gauge", host.module().name() + "!" + name},
                        {"name", name},
                        {"w", w},
                        {"h", proportional_height(w, host.bitmap_size(background_bitmap(*g)))},
                        {"about", d != nullptr ? d->sentence : ""}});
    }
    return list;
}

std::string gauge_picture(Host& host, const std::string& name) {
    const GaugeHeader* g = host.module().find(name);
    if (g == nullptr) refuse(404, "the module has no gauge '" + printable(name, 64) + "'");
    cairo_surface_t* picture = decode_bitmap(host.module().handle(), background_bitmap(*g));
    if (picture == nullptr) return {};
    std::string png;
    cairo_surface_write_to_png_stream(
        picture,
        [](void* out, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    cairo_surface_destroy(picture);
    return png;
}

PanelDesigner::PanelDesigner(std::string path, LivePanel& panel, std::function<void(Host&)> laid_out)
    : path_(std::move(path)), panel_(panel), laid_out_(std::move(laid_out)), text_(read_file(path_)),
      on_disk_(text_.bytes()), text_size_(on_disk_.size()), config_(load_panel_config(path_)) {}

void PanelDesigner::History::push(PanelText text, std::size_t size) {
    texts.push_back(std::move(text));
    sizes.push_back(size);
    bytes += size;
    while (texts.size() > kMaxUndo || (texts.size() > 1 && bytes > kMaxUndoBytes)) {
        bytes -= sizes.front();
        texts.pop_front();
        sizes.pop_front();
    }
}

PanelText PanelDesigner::History::pop() {
    PanelText text = std::move(texts.back());
    bytes -= sizes.back();
    texts.pop_back();
    sizes.pop_back();
    return text;
}

json PanelDesigner::status() const {
    return {{"undo", undo_.texts.size()}, {"redo", redo_.texts.size()}, {"changed", text_.changed()}};
}

void PanelDesigner::take(PanelText next, History* to) {
    const std::string bytes = next.bytes();
    if (bytes.size() > kMaxInputFile) refuse(413, "the panel file would pass " + std::to_string(kMaxInputFile) + " bytes");
    PanelConfig config;
    try {
        config = parse_panel_config(bytes, path_);
        find_backgrounds(config, fs::path(path_).parent_path().string());
    } catch (const InputError& e) {
        refuse(400, e.what());
    }
    panel_.call([&](Host& host) {
        bool moved = false;
        try {
            host.relayout(config);
            moved = true;
            check_picture_sizes(host, 1.0);
        } catch (const InputError& e) {
            // What was laid out before was taken then, so it is taken again.
            if (moved) {
                try {
                    host.relayout(config_);
                } catch (const InputError&) {
                }
                panel_.layout_changed();
                laid_out_(host);
            }
            refuse(400, e.what());
        }
        panel_.layout_changed();
        laid_out_(host);
    });
    config_ = std::move(config);
    to->push(std::move(text_), text_size_);
    text_ = std::move(next);
    text_size_ = bytes.size();
}

json PanelDesigner::apply(const std::function<void(PanelText&)>& change) {
    PanelText next = text_;
    edited([&] { change(next); });
    take(std::move(next), &undo_);
    redo_.clear();
    return status();
}

json PanelDesigner::place(const Body& b) {
    const std::string section = section_of(b), key = key_of(b);
    const GaugePlace p = place_of(b);
    std::lock_guard lock(mutex_);
    json j = {{"section", section}, {"key", key}};
    j.update(apply([&](PanelText& t) { t.place_gauge(section, key, p); }));
    j["line"] = text_.gauge_line(section, key);
    return j;
}

json PanelDesigner::add(const Body& b) {
    const std::string section = section_of(b), gauge = b.text("gauge");
    if (gauge.size() > 128) refuse(400, "'gauge' takes Module!Gauge");
    const GaugePlace p = place_of(b);
    std::lock_guard lock(mutex_);
    std::string key;
    json j = apply([&](PanelText& t) { key = t.add_gauge(section, gauge, p); });
    j.update({{"section", section}, {"key", key}, {"line", text_.gauge_line(section, key)}});
    return j;
}

json PanelDesigner::remove(const Body& b) {
    const std::string section = section_of(b), key = key_of(b);
    std::lock_guard lock(mutex_);
    json j = {{"section", section}, {"key", key}};
    j.update(apply([&](PanelText& t) { t.remove_gauge(section, key); }));
    return j;
}

json PanelDesigner::window(const Body& b) {
    const std::string section = section_of(b);
    const bool add = b.flag("add", false);
    // Written as given once checked; the panel reader checks the rest.
    std::vector<std::pair<std::string, std::string>> keys;
    auto number = [&](const char* key, long long lo, long long hi) {
        if (b.has(key)) keys.emplace_back(key, std::to_string(b.whole(key, lo, hi)));
    };
    auto pair = [&](const char* key, bool whole, double lo, double hi) {
        if (!b.has(key)) return;
        const auto& v = b.at(key);
        if (!v.is_array() || v.size() != 2 || !v[0].is_number() || !v[1].is_number())
            refuse(400, std::string("'") + key + "' takes two numbers, as [1, 2]");
        std::string text;
        for (const auto& n : v) {
            const double d = n.get<double>();
            if (!(d >= lo && d <= hi) || (whole && d != std::floor(d)))
                refuse(400, std::string("'") + key + "' takes " + (whole ? "whole " : "") + "numbers from " +
                                printable(std::to_string(lo), 16) + " to " + printable(std::to_string(hi), 16));
            char written[32];
            std::snprintf(written, sizeof written, whole ? "%.0f" : "%.6g", d);
            if (!text.empty()) text += ',';
            text += written;
        }
        keys.emplace_back(key, text);
    };
    pair("size_mm", true, 1, kMaxGaugeSide);
    pair("window_pos", false, -1, 2);
    pair("window_size", false, 0, 2);
    number("position", 0, 8);
    if (b.has("visible")) keys.emplace_back("visible", b.flag("visible", true) ? "1" : "0");
    if (b.has("ident")) {
        if (b.at("ident").is_string()) {
            const std::string name = b.text("ident");
            if (!window_ident_by_name(name)) refuse(400, "'ident' names no panel window: '" + printable(name, 64) + "'");
            keys.emplace_back("ident", name);
        } else {
            number("ident", 0, 0x7FFFFFFF);
        }
    }
    if (!add && keys.empty()) refuse(400, "nothing to change: give size_mm, window_pos, window_size, position, visible or ident");
    std::lock_guard lock(mutex_);
    json j = {{"section", section}};
    j.update(apply([&](PanelText& t) {
        if (add) t.add_window(section);
        for (const auto& [key, value] : keys) t.set_window_key(section, key, value);
    }));
    return j;
}

json PanelDesigner::step(History& from, History& to, const char* none) {
    std::lock_guard lock(mutex_);
    if (from.texts.empty()) refuse(409, std::string("nothing to ") + none);
    take(from.texts.back(), &to);
    from.pop();
    return status();
}

json PanelDesigner::undo() { return step(undo_, redo_, "undo"); }
json PanelDesigner::redo() { return step(redo_, undo_, "redo"); }

std::string PanelDesigner::diff() {
    std::lock_guard lock(mutex_);
    return text_.diff(fs::path(path_).filename().string());
}

json PanelDesigner::save() {
    std::unique_lock saving(save_mutex_, std::try_to_lock);
    if (!saving.owns_lock()) refuse(409, "another save is being written; nothing written");
    std::lock_guard lock(mutex_);
    std::string now;
    try {
        now = read_file(path_);
    } catch (const InputError& e) {
        refuse(409, std::string(e.what()) + "; nothing written");
    }
    if (now != on_disk_)
        refuse(409, fs::path(path_).filename().string() +
                        " changed on disk since it was loaded; nothing written (serve it again to edit what it holds now)");
    const std::string bytes = text_.bytes();
    try {
        if (!backed_up_) write_file(path_ + ".bak", on_disk_);
        backed_up_ = true;
        if (bytes != on_disk_) {
            // Written beside it and renamed over it, so that the file is whole
            // at every moment; a symbolic link to it stays one.
            std::error_code ec;
            fs::path target = fs::canonical(path_, ec);
            if (ec) target = path_;
            const fs::path temporary = target.string() + ".saving";
            write_file(temporary, bytes);
            fs::permissions(temporary, fs::status(target).permissions(), ec);
            fs::rename(temporary, target);
        }
    } catch (const std::exception& e) {
        refuse(500, printable(e.what(), 200));
    }
    on_disk_ = bytes;
    text_.saved();
    for (PanelText& t : undo_.texts) t.diff_from(text_);
    for (PanelText& t : redo_.texts) t.diff_from(text_);
    json j = {{"saved", fs::path(path_).filename().string()}, {"bytes", bytes.size()}};
    j.update(status());
    return j;
}

}  // namespace ardelvine::hostapp
