// Arbitrary module tooltip texts through the host's formatter, with a number
// argument and a text argument taken from the input, and expressions answered
// by the simulation. The result must stay within the cap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/run/host.h"

namespace {

using namespace ardelvine;
using namespace ardelvine::hostapp;

double g_number = 0.0;
std::string g_text;

double ARD_CALL number(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    return g_number;
}
const char* ARD_CALL text(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    return g_text.c_str();
}

}  // namespace

// Input: 8 bytes of a double, one byte of argument count, a text argument up
// to the first NUL, then the tooltip text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Simulation sim;
    if (size < 9) return 0;
    std::memcpy(&g_number, data, 8);
    const std::uint32_t count = data[8] % 4;
    const char* rest = reinterpret_cast<const char*>(data + 9);
    const std::size_t rest_size = size - 9;
    const std::size_t nul = strnlen(rest, rest_size);
    g_text.assign(rest, nul);
    const std::string tooltip = nul < rest_size ? std::string(rest + nul + 1, rest_size - nul - 1) : std::string();
    TooltipArg args[3] = {};
    args[0].number = number;
    args[1].text = text;
    args[2].number = number;
    const std::string shown = format_tooltip(tooltip.c_str(), args, count, sim);
    if (shown.size() > kTooltipMax) std::abort();
    return 0;
}
