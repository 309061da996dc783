// Evaluation of a placed gauge, once per update: each element's sources are
// read from the simulation's tokens, its callbacks run, the active failures
// apply, and its value becomes what its kind draws.
#include <algorithm>
#include <cmath>

#include "host/load/needle.h"
#include "host/load/placement.h"
#include "host/sim/simulation.h"

namespace ardelvine::hostapp {

namespace {

// Inlined: it runs for nearly every element of every update.
[[gnu::always_inline]] inline void refresh(ModuleVar& var, const Simulation& sim) {
    if (var.token == 0) return;
    var.previous = var.value;
    var.value = sim.token(var.token);
}

// The strongest effect among the element's active failures, or -1 for none.
int failure_action(const FailureRecord* list, const Simulation& sim) {
    int action = -1;
    if (list == nullptr) return action;
    for (std::size_t i = 0; i < 64 && list[i].key != 0; ++i)
        if (sim.failure_active(list[i].key)) action = std::max(action, static_cast<int>(list[i].action));
    return action;
}

double value_of(ElementCallback callback, ElementHeader* element, const ModuleVar& source) {
    return callback != nullptr ? callback(element) : source.value;
}

double moving_offset(double value, double minimum, double maximum, double travel) {
    if (maximum == minimum || std::isnan(value)) return 0.0;
    return -std::clamp((value - minimum) / (maximum - minimum), 0.0, 1.0) * travel;
}


// What every kind does once its sources are read and its callbacks have run:
// an active failure freezes the shown values (once there are any) or zeroes
// them, and the element shows unless a failure or its own flag hides it.
// False when the element had shown nothing before this evaluation.
template <bool Failures>
inline bool show_values(ElementState& state, const ElementHeader& header, int failure, double& v, double& vy,
                        double& vr) {
    const bool before = state.evaluated;
    if constexpr (Failures) {
        if (failure == FAIL_FREEZE && before) {
            v = state.value, vy = state.value_y, vr = state.value_rotation;
        } else if (failure == FAIL_ZERO) {
            v = vy = vr = 0.0;
        }
    }
    state.value = v, state.value_y = vy, state.value_rotation = vr;
    state.evaluated = true;
    state.visible = (!Failures || failure != FAIL_HIDE) && (header.image_flags & IMAGE_HIDDEN) == 0;
    return before;
}

}  // namespace

// One pass per element, one branch on its kind: this runs for every element of
// every gauge on every update, so each kind reads its sources, runs its
// callbacks, then settles what it shows, in that order, without a second look
// at the kind.
void Placement::evaluate(const Simulation& sim) {
    // Most updates run with no failure active: then no list need be read,
    // and nothing is frozen, zeroed or hidden by one.
    if (sim.any_failure_active())
        evaluate_elements<true>(sim);
    else
        evaluate_elements<false>(sim);
}

template <bool Failures>
void Placement::evaluate_elements(const Simulation& sim) {
    for (ElementState& state : states_) {
        AnyElement& e = *reinterpret_cast<AnyElement*>(state.element);
        const int failure = Failures ? failure_action(e.header.failures, sim) : -1;
        double v = 0.0, vy = 0.0, vr = 0.0;

        switch (state.kind) {
            case ElementKind::STATIC_IMAGE:
                // No value to freeze or zero: its values stay 0.
                state.evaluated = true;
                state.visible = failure != FAIL_HIDE && (e.header.image_flags & IMAGE_HIDDEN) == 0;
                break;
            case ElementKind::NEEDLE: {
                refresh(e.needle.source, sim);
                v = value_of(e.needle.update, &e.header, e.needle.source);
                const bool shown_before = show_values<Failures>(state, e.header, failure, v, vy, vr);
                double angle =
                    table_angle(e.needle.table, e.needle.table_entries, v, state.monotonic_table, state.segment);
                if (e.needle.max_swing != 0 && shown_before) {
                    const double limit = e.needle.max_swing;
                    angle = std::clamp(angle, state.angle - limit, state.angle + limit);
                }
                state.angle = angle;
                break;
            }
            case ElementKind::STRING:
                for (ModuleVar& source : e.string.sources) refresh(source, sim);
                if (e.string.update != nullptr) e.string.update(&e.header);
                show_values<Failures>(state, e.header, failure, v, vy, vr);
                break;
            case ElementKind::SLIDER:
                refresh(e.slider.x.source, sim);
                refresh(e.slider.y.source, sim);
                v = value_of(e.slider.x_update, &e.header, e.slider.x.source);
                vy = value_of(e.slider.y_update, &e.header, e.slider.y.source);
                show_values<Failures>(state, e.header, failure, v, vy, vr);
                state.dx = v * e.slider.x.scale;
                state.dy = vy * e.slider.y.scale;
                break;
            case ElementKind::ICON: {
                refresh(e.icon.source, sim);
                v = value_of(e.icon.update, &e.header, e.icon.source);
                show_values<Failures>(state, e.header, failure, v, vy, vr);
                // The image is the scaled value's whole part, when that is one
                // of the images. Asked of the value itself: its whole part is at
                // least 0 exactly when it lies above -1, and below a whole
                // number of images exactly when it does.
                const double scaled = v * e.icon.scale;
                const bool in_range =
                    e.icon.images != 0 && scaled > -1.0 && scaled < static_cast<double>(e.icon.images);
                state.image = in_range ? static_cast<int>(scaled) : -1;
                if (!in_range) state.visible = false;
                break;
            }
            case ElementKind::MOVING_IMAGE:
                refresh(e.moving_image.x.source, sim);
                refresh(e.moving_image.y.source, sim);
                v = value_of(e.moving_image.x_update, &e.header, e.moving_image.x.source);
                vy = value_of(e.moving_image.y_update, &e.header, e.moving_image.y.source);
                show_values<Failures>(state, e.header, failure, v, vy, vr);
                state.dx = moving_offset(v, e.moving_image.x.minimum, e.moving_image.x.maximum, state.travel_x);
                state.dy = moving_offset(vy, e.moving_image.y.minimum, e.moving_image.y.maximum, state.travel_y);
                break;
            case ElementKind::SPRITE:
                refresh(e.sprite.x.source, sim);
                refresh(e.sprite.y.source, sim);
                refresh(e.sprite.rotation.source, sim);
                v = value_of(e.sprite.x_update, &e.header, e.sprite.x.source);
                vy = value_of(e.sprite.y_update, &e.header, e.sprite.y.source);
                vr = value_of(e.sprite.rotation_update, &e.header, e.sprite.rotation.source);
                show_values<Failures>(state, e.header, failure, v, vy, vr);
                state.dx = v * e.sprite.x.scale;
                state.dy = vy * e.sprite.y.scale;
                state.rotation = vr * e.sprite.rotation.scale;
                break;
        }
    }
}

}  // namespace ardelvine::hostapp
