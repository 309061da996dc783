// Small text helpers for the host's line-based inputs.
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

}  // namespace ardelvine::hostapp
