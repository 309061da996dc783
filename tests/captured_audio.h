// Reading back what the host's audio capture wrote, for tests that listen
// for a click.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ardelvine::hostapp {

// The loudest 16-bit sample in the "data" chunk of a WAV file; -1 when unreadable.
inline int loudest_sample(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        std::uint32_t size = 0;
        std::memcpy(&size, &bytes[at + 4], 4);
        if (std::memcmp(&bytes[at], "data", 4) == 0) {
            int loudest = 0;
            for (std::size_t i = at + 8; i + 2 <= at + 8 + size && i + 2 <= bytes.size(); i += 2) {
                std::int16_t sample = 0;
                std::memcpy(&sample, &bytes[i], 2);
                loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
            }
            return loudest;
        }
        at += 8 + size + (size & 1);
    }
    return -1;
}

}  // namespace ardelvine::hostapp
