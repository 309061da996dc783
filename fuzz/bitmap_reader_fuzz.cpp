// Arbitrary bytes as a bitmap: the reader that decides what the build
// packages and the host draws, and the decoder on whatever it accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "resources/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> bytes(data, size);
    std::string why;
    const auto layout = ardelvine::resources::read_bmp(bytes, &why);
    if (!layout) {
        if (why.empty()) std::abort();
        return 0;
    }
    // The reader's checks bound the picture by the bytes it came from.
    const std::size_t stride = 4 * static_cast<std::size_t>(layout->width);
    if (stride * static_cast<std::size_t>(layout->height) > 32 * size + 64) std::abort();
    std::vector<unsigned char> pixels(stride * static_cast<std::size_t>(layout->height));
    ardelvine::resources::decode_bmp(*layout, bytes, pixels.data(), stride);
    return 0;
}
