#include "host/load/placement.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "host/load/error.h"
#include "host/load/needle.h"

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

const char* element_kind_name(ElementKind kind) {
    switch (kind) {
        case ElementKind::STATIC_IMAGE: return "STATIC_IMAGE";
        case ElementKind::NEEDLE: return "NEEDLE";
        case ElementKind::STRING: return "STRING";
        case ElementKind::SLIDER: return "SLIDER";
        case ElementKind::ICON: return "ICON";
        case ElementKind::MOVING_IMAGE: return "MOVING_IMAGE";
        case ElementKind::SPRITE: return "SPRITE";
    }
    return "UNKNOWN";
}

std::uint32_t background_bitmap(const GaugeHeader& gauge) {
    return gauge.elements != nullptr && gauge.elements[0] != nullptr ? gauge.elements[0]->bitmap : 0;
}

int proportional_height(int width, BitmapSize background) {
    const long long h = background.width > 0 ? static_cast<long long>(width) * background.height / background.width : width;
    return static_cast<int>(std::clamp<long long>(h, 1, std::numeric_limits<int>::max()));
}

}  // namespace ardelvine::hostapp
