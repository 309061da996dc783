// Small text helpers for the host's line-based inputs and the text gauges write.
#pragma once

#include <cstddef>
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
// `text` fit for one line of a terminal: control bytes (NUL among them) and
// bytes of no valid UTF-8 sequence shown as \xNN, and anything past
// `max_bytes` cut between characters, saying how much was left out.
std::string printable(std::string_view text, std::size_t max_bytes);
// How much of a line of input a message quotes.
inline constexpr std::size_t kMaxEcho = 80;
// Input quoted in a message: printable and cut at kMaxEcho bytes, so that a
// line of a megabyte or of binary bytes leaves the message readable.
std::string echo(std::string_view text);
// The lines of a text file, ended by LF, CRLF or a CR alone, without a UTF-8
// byte-order mark. Throws InputError naming `file` for UTF-16 text, whose
// bytes would otherwise be read as lines of NULs.
std::vector<std::string> text_lines(std::string_view text, const std::string& file);
// Panel configurations and scenarios are read whole, up to this size.
inline constexpr std::size_t kMaxInputFile = 4u << 20;
// Throws InputError (`missing` when there is nothing at `path`) unless `path`
// is a regular file: a folder, device or pipe is refused before it is opened.
void check_regular_file(const std::string& path, const char* missing);
// The whole of a regular file of at most `max_bytes`; throws InputError.
std::string read_file(const std::string& path, std::size_t max_bytes = kMaxInputFile);

// The names of `names` nearest to `word` (ignoring case), at most `most` of
// them, when they are a few letters away: for "did you mean" in messages
// about a misspelled name. Long words are compared by their first
// kMaxCompared characters.
std::vector<std::string> nearest_names(std::string_view word, const std::vector<std::string>& names,
                                       std::size_t most = 3);
// "a", "a or b", "a, b or c".
std::string one_of(const std::vector<std::string>& names);

// Text a gauge wrote, as UTF-8: sequences that are valid UTF-8 are kept, and
// every other byte is read in the Windows-1252 code page panel text is
// written in (0xB0 is a degree sign); its five unassigned bytes become U+FFFD.
std::string panel_text_utf8(std::string_view bytes);

}  // namespace ardelvine::hostapp
