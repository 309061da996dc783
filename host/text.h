// Small text helpers for the host's line-based inputs and the text gauges write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardelvine::hostapp {

std::string trim(std::string_view text);
std::string lower(std::string_view text);
std::vector<std::string> split(std::string_view text, char separator);
std::vector<std::string> split_words(std::string_view text);
std::optional<long long> parse_integer(std::string_view text);
std::optional<double> parse_number(std::string_view text);
std::string read_file(const std::string& path);  // throws InputError

// Text a gauge wrote, as UTF-8: sequences that are valid UTF-8 are kept, and
// every other byte is read in the Windows-1252 code page panel text is
// written in (0xB0 is a degree sign); its five unassigned bytes become U+FFFD.
std::string panel_text_utf8(std::string_view bytes);

}  // namespace ardelvine::hostapp
