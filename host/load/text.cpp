#include "host/load/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sys/stat.h>

#include "host/load/error.h"

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

namespace {

// Length of the valid UTF-8 sequence that starts `bytes`, 0 when none does.
std::size_t utf8_sequence(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead == 0xE0) length = 3, low = 0xA0;
    else if (lead >= 0xE1 && lead <= 0xEF) length = 3, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead == 0xF0) length = 4, low = 0x90;
    else if (lead >= 0xF1 && lead <= 0xF3) length = 4;
    else if (lead == 0xF4) length = 4, high = 0x8F;
    else return 0;
    if (bytes.size() < length || at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (at(i) < 0x80 || at(i) > 0xBF) return 0;
    return length;
}

}  // namespace

std::string printable(std::string_view text, std::size_t max_bytes) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t n = utf8_sequence(text.substr(at));
        if (at + std::max<std::size_t>(n, 1) > max_bytes) break;
        if (n > 1) {
            out.append(text.substr(at, n));
            at += n;
        } else if (n == 0 || c < 0x20 || c == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
            ++at;
        } else {
            out += static_cast<char>(c);
            ++at;
        }
    }
    if (at < text.size()) out += "... (" + std::to_string(text.size() - at) + " more bytes)";
    return out;
}

std::string echo(std::string_view text) { return printable(text, kMaxEcho); }

std::vector<std::string> text_lines(std::string_view text, const std::string& file) {
    if (text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF')))
        throw input_error(file, 0, "is UTF-16 text (it starts with a UTF-16 byte-order mark): save it as ANSI or UTF-8");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

void check_regular_file(const std::string& path, const char* missing) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw input_error(path, 0, missing);
    if (S_ISDIR(info.st_mode)) throw input_error(path, 0, "is a folder, not a file");
    // Devices, pipes and sockets could hang the host or feed it without end.
    if (!S_ISREG(info.st_mode)) throw input_error(path, 0, "is not a regular file");
}

std::string read_file(const std::string& path, std::size_t max_bytes) {
    check_regular_file(path, "no such file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw input_error(path, 0, "cannot open file");
    std::string text(max_bytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) throw input_error(path, 0, "cannot read file");
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > max_bytes)
        throw input_error(path, 0, "is larger than " + std::to_string(max_bytes / (1024 * 1024)) + " MB, the most the host reads");
    return text;
}

namespace {

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Windows-1252 from 0x80 to 0x9F; above that it agrees with Unicode.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

}  // namespace

std::string panel_text_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        if (const std::size_t n = utf8_sequence(bytes); n != 0) {
            out.append(bytes.substr(0, n));
            bytes.remove_prefix(n);
            continue;
        }
        const auto b = static_cast<unsigned char>(bytes[0]);
        append_utf8(out, b < 0xA0 ? kCp1252High[b - 0x80] : char32_t{b});
        bytes.remove_prefix(1);
    }
    return out;
}

namespace {

constexpr std::size_t kMaxCompared = 64;

// Letters to insert, delete or change to turn one word into the other.
std::size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

}  // namespace

std::vector<std::string> nearest_names(std::string_view word, const std::vector<std::string>& names, std::size_t most) {
    const std::string w = lower(word.substr(0, kMaxCompared));
    // A fifth of the word's letters, at least two: enough for a slip, not for another name.
    const std::size_t allowed = std::max<std::size_t>(2, w.size() / 5);
    std::vector<std::pair<std::size_t, std::string>> close;
    for (const std::string& n : names) {
        const std::size_t d = edit_distance(w, lower(std::string_view(n).substr(0, kMaxCompared)));
        if (d > 0 && d <= allowed) close.emplace_back(d, n);
    }
    std::stable_sort(close.begin(), close.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    // Only the nearest: a name one letter away leaves no doubt about one three away.
    for (std::size_t i = 0; i < close.size() && out.size() < most && close[i].first == close[0].first; ++i)
        out.push_back(close[i].second);
    return out;
}

std::string one_of(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return out;
}

}  // namespace ardelvine::hostapp
