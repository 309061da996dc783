// Drawing the built-in panel (after its built-in scenario) at one pixel per
// panel unit: a full repaint from each gauge's cached layers, a cold redraw
// that rebuilds the layers too, a frame in which one needle moved, one in
// which the horizon card turned, and the time merely to clear the same
// pixels to the background colour.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include "bench/panel_host.h"
#include "host/draw/render.h"
#include "host/run/window_files.h"

using namespace ardelvine;
using namespace ardelvine::hostapp;

namespace {

// Draws every window; returns how many gauges were redrawn.
std::size_t draw_all(Host& host, Renderer& renderer) {
    std::size_t redrawn = 0;
    for (const WindowConfig& w : host.panel().windows) {
        benchmark::DoNotOptimize(renderer.draw(w, host.placements(), lighting_of(host)));
        redrawn += renderer.gauges_redrawn();
    }
    return redrawn;
}

std::int64_t panel_pixels(Host& host) {
    std::int64_t n = 0;
    for (const WindowConfig& w : host.panel().windows) n += static_cast<std::int64_t>(w.size_w) * w.size_h;
    return n;
}

void BM_ClearPanel(benchmark::State& state) {
    Host& host = panel_host();
    std::vector<cairo_surface_t*> surfaces;
    for (const WindowConfig& w : host.panel().windows)
        surfaces.push_back(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w.size_w, w.size_h));
    for (auto _ : state) {
        for (std::size_t i = 0; i < surfaces.size(); ++i) {
            const WindowConfig& w = host.panel().windows[i];
            cairo_t* cr = cairo_create(surfaces[i]);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_set_source_rgb(cr, w.background[0] / 255.0, w.background[1] / 255.0, w.background[2] / 255.0);
            cairo_paint(cr);
            cairo_destroy(cr);
            cairo_surface_flush(surfaces[i]);
        }
        benchmark::ClobberMemory();
    }
    for (cairo_surface_t* s : surfaces) cairo_surface_destroy(s);
    state.SetItemsProcessed(state.iterations() * panel_pixels(host));
}
BENCHMARK(BM_ClearPanel)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_FullRedraw(benchmark::State& state) {
    Host& host = panel_host();
    Renderer renderer(host_bitmaps(host));
    draw_all(host, renderer);
    for (auto _ : state) {
        renderer.repaint();
        draw_all(host, renderer);
    }
    state.SetItemsProcessed(state.iterations() * panel_pixels(host));
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_ColdRedraw(benchmark::State& state) {
    Host& host = panel_host();
    Renderer renderer(host_bitmaps(host));
    draw_all(host, renderer);  // bitmaps decoded once, as a running host has them
    for (auto _ : state) {
        renderer.invalidate();
        draw_all(host, renderer);
    }
}
BENCHMARK(BM_ColdRedraw)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The first element of `kind` on the named gauge of the built-in panel.
ElementState* first_of(Host& host, const char* gauge, ElementKind kind) {
    for (auto& p : host.placements())
        if (p->name() == gauge)
            for (ElementState& s : p->elements())
                if (s.element->kind == kind) return &s;
    return nullptr;
}

// Frames in which only `value` changes, by `step` and back again in turn: the
// cost of redrawing one gauge whose one moving part moved.
void one_part_moved(benchmark::State& state, const char* gauge, ElementKind kind, double ElementState::*value,
                    double step) {
    Host& host = panel_host();
    Renderer renderer(host_bitmaps(host));
    draw_all(host, renderer);
    ElementState* part = first_of(host, gauge, kind);
    if (part == nullptr) {
        state.SkipWithError("the built-in panel lacks the moving part");
        return;
    }
    const double rest = part->*value;
    bool moved = false;
    std::size_t redrawn = 0;
    for (auto _ : state) {
        moved = !moved;
        part->*value = rest + (moved ? step : 0.0);
        redrawn = draw_all(host, renderer);
    }
    part->*value = rest;
    state.counters["gauges_redrawn"] = static_cast<double>(redrawn);
}

void BM_OneNeedleMoved(benchmark::State& state) {
    one_part_moved(state, "Airspeed", ElementKind::NEEDLE, &ElementState::angle, 1.5);
}
BENCHMARK(BM_OneNeedleMoved)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The horizon card is a sprite seen through its round window: it turns and
// slides over most of the dial.
void BM_HorizonMoved(benchmark::State& state) {
    one_part_moved(state, "Attitude", ElementKind::SPRITE, &ElementState::rotation, 1.5);
}
BENCHMARK(BM_HorizonMoved)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
