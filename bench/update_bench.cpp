// One panel update with every gauge of the module placed: service 6 to each
// gauge and every element evaluated, without drawing. Also counts heap
// allocations per update.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "bench/panel_host.h"
#include "model/tokens.h"

namespace {
std::atomic<long> g_allocations{0};
}

// Counting replacements of the global allocator; they pair malloc with free.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace ardelvine::hostapp {
namespace {

void BM_UpdateAllGauges(benchmark::State& state) {
    Host& host = panel_host();
    host.simulation().set_token(tokens::AIRSPEED_INDICATED, 120);
    host.simulation().set_token(tokens::ALTITUDE_INDICATED, 3500);
    host.update(10);
    long allocations = 0;
    for (auto _ : state) {
        // Some gauges send an event on every update (NAV1 keeps the simulator's
        // identifier audio in step); the log of a long run grows with them.
        // Emptied here, the count is what one update itself allocates.
        host.simulation().clear_events();
        const long before = g_allocations.load(std::memory_order_relaxed);
        host.update();
        allocations += g_allocations.load(std::memory_order_relaxed) - before;
    }
    state.counters["gauges"] = static_cast<double>(host.placements().size());
    state.counters["allocs_per_update"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_UpdateAllGauges);

}  // namespace
}  // namespace ardelvine::hostapp
