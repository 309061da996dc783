#include "host/placement.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/error.h"
#include "host/needle.h"
#include "host/simulation.h"

namespace ardelvine::hostapp {

namespace {

std::size_t kind_size(ElementKind kind) {
    switch (kind) {
        case ElementKind::STATIC_IMAGE: return sizeof(StaticImage);
        case ElementKind::NEEDLE: return sizeof(Needle);
        case ElementKind::STRING: return sizeof(StringElement);
        case ElementKind::SLIDER: return sizeof(Slider);
        case ElementKind::ICON: return sizeof(Icon);
        case ElementKind::MOVING_IMAGE: return sizeof(MovingImage);
        case ElementKind::SPRITE: return sizeof(Sprite);
    }
    return 0;
}

// Room beyond the characters and terminator a string element declares, for a
// callback that writes a little past its count.
constexpr std::size_t kTextSlack = 64;

struct Walk {
    const ElementHeader* element;
    std::size_t children = 0;
};

void collect(const ElementHeader* element, std::vector<Walk>& out, const std::string& gauge) {
    if (out.size() >= kMaxChain) throw InputError("gauge " + gauge + ": element chain has no end");
    out.push_back({element, 0});
    const std::size_t self = out.size() - 1;
    if (element->children == nullptr) return;
    for (std::size_t i = 0; element->children[i] != nullptr; ++i) {
        if (i >= kMaxChain) throw InputError("gauge " + gauge + ": child list has no end");
        out[self].children++;
        collect(element->children[i], out, gauge);
    }
}

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

}  // namespace

Placement::Placement(const GaugeHeader& gauge, const std::string& parameters, int window, int x, int y,
                     int w, int h, const BitmapSizes& sizes)
    : name_(gauge.name != nullptr ? gauge.name : ""), original_(&gauge), header_(gauge), window_(window),
      x_(x), y_(y), w_(w), h_(h) {
    if (gauge.elements == nullptr || gauge.elements[0] == nullptr)
        throw InputError("gauge " + name_ + ": no background element");

    // Elements in drawing order, then one list slot per child plus terminators.
    std::vector<Walk> walk;
    collect(gauge.elements[0], walk, name_);
    std::size_t slots = 2;
    for (const Walk& w2 : walk)
        if (w2.element->children != nullptr) slots += w2.children + 1;
    copies_.resize(walk.size());
    chain_.assign(slots, nullptr);
    states_.resize(walk.size());

    for (std::size_t i = 0; i < walk.size(); ++i) {
        const std::size_t size = kind_size(walk[i].element->kind);
        if (size == 0)
            throw InputError("gauge " + name_ + ": element " + std::to_string(i) + " has unknown kind " +
                             std::to_string(static_cast<std::uint32_t>(walk[i].element->kind)));
        std::memcpy(static_cast<void*>(&copies_[i]), walk[i].element, size);
        copies_[i].header.gauge = &header_;
        copies_[i].header.previous = nullptr;
        states_[i].element = &copies_[i].header;
        states_[i].kind = walk[i].element->kind;
    }
    // Pre-order: the children of element i start right after its own subtree's
    // first slot; rebuild each list from the walk.
    chain_[0] = &copies_[0].header;
    std::size_t next_slot = 2;
    std::vector<std::size_t> subtree_end(walk.size());
    for (std::size_t i = walk.size(); i-- > 0;) {
        std::size_t end = i + 1;
        for (std::size_t c = 0, child = i + 1; c < walk[i].children; ++c) {
            end = subtree_end[child];
            child = end;
        }
        subtree_end[i] = end;
    }
    for (std::size_t i = 0; i < walk.size(); ++i) {
        if (walk[i].element->children == nullptr) {
            copies_[i].header.children = nullptr;
            continue;
        }
        copies_[i].header.children = &chain_[next_slot];
        for (std::size_t c = 0, child = i + 1; c < walk[i].children; ++c) {
            chain_[next_slot++] = &copies_[child].header;
            child = subtree_end[child];
        }
        chain_[next_slot++] = nullptr;
    }
    header_.elements = &chain_[0];

    auto size_of = [&](std::uint32_t id) { return sizes ? sizes(id) : BitmapSize{}; };
    background_ = size_of(copies_[0].header.bitmap);
    if (background_.width <= 0 || background_.height <= 0) background_ = {w, h};

    // Kind-specific set-up: string buffers, table angles, strip travel.
    for (std::size_t i = 0; i < copies_.size(); ++i) {
        AnyElement& copy = copies_[i];
        switch (copy.header.kind) {
            case ElementKind::STRING: {
                // Never less than the gauge was promised: a longer string is refused.
                if (copy.string.chars > kMaxStringChars)
                    throw InputError("gauge " + name_ + ": element " + std::to_string(i) + " is a string of " +
                                     std::to_string(copy.string.chars) + " characters (the host allows at most " +
                                     std::to_string(kMaxStringChars) + ")");
                const std::size_t size = std::size_t{copy.string.chars} + 1 + kTextSlack;
                text_buffers_.push_back(std::make_unique<char[]>(size));
                copy.string.text = text_buffers_.back().get();
                break;
            }
            case ElementKind::NEEDLE:
                fill_table_angles(copy.needle.table, copy.needle.table_entries, copy.header.x, copy.header.y);
                states_[i].monotonic_table = table_is_monotonic(copy.needle.table, copy.needle.table_entries);
                break;
            case ElementKind::MOVING_IMAGE: {
                const BitmapSize strip = size_of(copy.header.bitmap), window = size_of(copy.header.bitmap + 1);
                states_[i].travel_x = std::max(0, strip.width - window.width);
                states_[i].travel_y = std::max(0, strip.height - window.height);
                break;
            }
            case ElementKind::STATIC_IMAGE:
            case ElementKind::SLIDER:
            case ElementKind::ICON:
            case ElementKind::SPRITE:
                break;
        }
    }

    // The mouse list, up to and including its end entry.
    if (gauge.mouse == nullptr) throw InputError("gauge " + name_ + ": no mouse list");
    for (std::size_t i = 0;; ++i) {
        if (i >= kMaxMouseRects) throw InputError("gauge " + name_ + ": mouse list has no end");
        mouse_.push_back(gauge.mouse[i]);
        if (gauge.mouse[i].kind == MouseKind::END) break;
    }
    header_.mouse = mouse_.data();

    if (!parameters.empty()) {
        parameters_.assign(parameters.begin(), parameters.end());
        parameters_.push_back('\0');
        header_.parameters = parameters_.data();
    } else {
        header_.parameters = nullptr;
    }
    header_.x = x;
    header_.y = y;
}

void Placement::service(std::int32_t code, std::uintptr_t data) {
    if (header_.callback != nullptr) header_.callback(&header_, code, data);
}

namespace {

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
