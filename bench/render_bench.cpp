// Drawing the built-in panel (after its built-in scenario) at one pixel per
// panel unit: a full repaint from each gauge's cached layers, a cold redraw
// that rebuilds the layers too, a frame in which one needle moved, and the
// time merely to clear the same pixels to the background colour.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include "bench/panel_host.h"
#include "host/render.h"

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

void BM_OneNeedleMoved(benchmark::State& state) {
    Host& host = panel_host();
    Renderer renderer(host_bitmaps(host));
    draw_all(host, renderer);
    ElementState* needle = nullptr;
    for (auto& p : host.placements())
        if (p->name() == "Airspeed")
            for (ElementState& s : p->elements())
                if (needle == nullptr && s.element->kind == ElementKind::NEEDLE) needle = &s;
    if (needle == nullptr) {
        state.SkipWithError("no Airspeed needle on the built-in panel");
        return;
    }
    const double rest = needle->angle;
    bool moved = false;
    std::size_t redrawn = 0;
    for (auto _ : state) {
        moved = !moved;
        needle->angle = rest + (moved ? 1.5 : 0.0);
        redrawn = draw_all(host, renderer);
    }
    needle->angle = rest;
    state.counters["gauges_redrawn"] = static_cast<double>(redrawn);
}
BENCHMARK(BM_OneNeedleMoved)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
