// What the live server checks in a request before anything is handed to the
// panel: its JSON body, its query values, where it comes from and which name
// it reached the server by. Each check throws a Refusal (a status and the
// one line that says why); none of them touches the panel.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/live/live_server.h"

namespace ardelvine::hostapp {

struct Refusal {
    int status;
    std::string reason;
};

[[noreturn]] void refuse(int status, std::string reason);

// Whether a Content-Type names application/json: the media type in any
// case, parameters (charset) allowed after it.
bool json_media_type(std::string_view content_type);

// A request's JSON object, its keys checked against those the request takes;
// a key given twice is refused, not left to the last one.
class Body {
public:
    Body(std::string_view content_type, const std::string& body, std::initializer_list<const char*> keys);

    bool has(const char* key) const { return j_.contains(key); }
    const nlohmann::ordered_json& at(const char* key) const;
    long long whole(const char* key, long long lo, long long hi) const;
    long long whole(const char* key, long long lo, long long hi, long long fallback) const {
        return has(key) ? whole(key, lo, hi) : fallback;
    }
    double number(const char* key) const;
    bool flag(const char* key, bool fallback) const;
    std::string text(const char* key) const;

private:
    nlohmann::ordered_json j_;
};

// "Name", or "Name#N" for its Nth placement, N written as plain digits from 1
// to kMaxGaugeOccurrence.
inline constexpr int kMaxGaugeOccurrence = 9999;
GaugeRef gauge_ref(const std::string& text);

// A query value (absent: nullopt) as a whole number in lo..hi.
int query_whole(const std::optional<std::string>& value, const char* key, long long lo, long long hi);
// The `scale` a picture is asked at: 1 when absent, else a number in
// kMinPictureScale..kMaxPictureScale.
inline constexpr double kMinPictureScale = 0.25;
inline constexpr double kMaxPictureScale = 4.0;
double picture_scale(const std::optional<std::string>& value);
// A comma-separated list of token numbers, at most kMaxTokensAsked of them.
inline constexpr std::size_t kMaxTokensAsked = 64;
std::vector<std::uint32_t> token_numbers(const std::string& text);

// An IP address as bytes (4 for IPv4, 16 for IPv6), whatever its spelling;
// nullopt for anything else, names included.
std::optional<std::vector<unsigned char>> ip_address(std::string_view text);

// Whether a Host header names this server: "localhost" or a loopback address
// in any spelling ("[...]" around IPv6), with no port or `port`.
bool host_header_allowed(std::string_view header, int port);

// Whether a request may go on where it comes from, by its Origin and
// Sec-Fetch-Site headers (empty when absent): another site's page reaches
// only the page itself.
enum class Reach {
    PAGE,    // the cockpit page and its assets: anyone may load them
    PANEL,   // everything else
};
void check_origin(Reach reach, std::string_view origin, std::string_view fetch_site, std::string_view host);
// Whether the browser says the page itself asked (a request it made from
// this server's own origin).
bool asked_by_page(std::string_view fetch_site);

// Where a request's header ends in `bytes` (the offset past its blank
// line), or npos while it has not arrived whole; the search starts at `from`.
std::size_t header_end(const std::string& bytes, std::size_t from = 0);
// What a request's header says of the body that follows it.
struct BodyAnnounced {
    std::size_t length = 0;  // Content-Length, 0 without one
    bool open = false;       // chunked, or waiting for "100 Continue": its length is not known here
    bool malformed = false;  // two lengths, or one that is not a plain number
};
BodyAnnounced body_announced(const std::string& header);

}  // namespace ardelvine::hostapp
