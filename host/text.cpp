#include "host/text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "host/error.h"

namespace ardelvine::hostapp {

std::string trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    return std::string(text.substr(b, e - b));
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(separator, start);
        out.push_back(std::string(text.substr(start, at == std::string_view::npos ? text.npos : at - start)));
        if (at == std::string_view::npos) break;
        start = at + 1;
    }
    return out;
}

std::vector<std::string> split_words(std::string_view text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        std::size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i > start) out.emplace_back(text.substr(start, i - start));
    }
    return out;
}

std::optional<long long> parse_integer(std::string_view text) {
    std::string t = trim(text);
    if (t.empty()) return std::nullopt;
    const char* begin = t.data();
    if (*begin == '+') ++begin;
    long long value = 0;
    auto [ptr, ec] = std::from_chars(begin, t.data() + t.size(), value);
    if (ec != std::errc() || ptr != t.data() + t.size()) return std::nullopt;
    return value;
}

std::optional<double> parse_number(std::string_view text) {
    std::string t = trim(text);
    if (t.empty()) return std::nullopt;
    const char* begin = t.data();
    if (*begin == '+') ++begin;
    double value = 0;
    auto [ptr, ec] = std::from_chars(begin, t.data() + t.size(), value);
    if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw input_error(path, 0, "cannot open file");
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace ardelvine::hostapp
