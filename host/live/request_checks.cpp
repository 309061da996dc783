#include "host/live/request_checks.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "host/load/text.h"

namespace ardelvine::hostapp {

using json = nlohmann::ordered_json;

void refuse(int status, std::string reason) { throw Refusal{status, std::move(reason)}; }

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_text_any_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Digits only, no sign, no space, no leading zero: the number or nullopt.
std::optional<long long> plain_number(std::string_view text, long long max) {
    if (text.empty() || text.size() > 18 || text[0] == '0') return std::nullopt;
    long long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = 10 * n + (c - '0');
    }
    if (n > max) return std::nullopt;
    return n;
}

}  // namespace

bool json_media_type(std::string_view content_type) {
    return same_text_any_case(trimmed(content_type.substr(0, content_type.find(';'))), "application/json");
}

Body::Body(std::string_view content_type, const std::string& body, std::initializer_list<const char*> keys) {
    if (!json_media_type(content_type)) refuse(415, "the body must be JSON, sent as Content-Type: application/json");
    // The keys of each object being read, innermost last.
    std::vector<std::set<std::string>> objects;
    std::optional<std::string> twice;
    const json::parser_callback_t note = [&](int, json::parse_event_t event, json& parsed) {
        switch (event) {
            case json::parse_event_t::object_start: objects.emplace_back(); break;
            case json::parse_event_t::object_end: objects.pop_back(); break;
            case json::parse_event_t::key:
                if (!objects.back().insert(parsed.get<std::string>()).second && !twice) twice = parsed.get<std::string>();
                break;
            default: break;
        }
        return true;
    };
    j_ = json::parse(body, note, false);
    if (j_.is_discarded()) refuse(400, "the body is not valid JSON");
    if (twice) refuse(400, "key '" + printable(*twice, 64) + "' is given twice");
    if (!j_.is_object()) refuse(400, "the body must be a JSON object");
    for (const auto& [key, value] : j_.items()) {
        bool known = false;
        for (const char* k : keys) known = known || key == k;
        if (!known) refuse(400, "unknown key '" + printable(key, 64) + "'");
    }
}

const json& Body::at(const char* key) const {
    if (!j_.contains(key)) refuse(400, std::string("missing key '") + key + "'");
    return j_.at(key);
}

long long Body::whole(const char* key, long long lo, long long hi) const {
    const json& v = at(key);
    double d = 0.0;
    if (v.is_number_integer()) d = static_cast<double>(v.get<long long>());
    else if (v.is_number_unsigned()) d = static_cast<double>(v.get<unsigned long long>());
    else if (v.is_number_float() && std::floor(v.get<double>()) == v.get<double>()) d = v.get<double>();
    else refuse(400, std::string("'") + key + "' must be a whole number");
    if (d < static_cast<double>(lo) || d > static_cast<double>(hi))
        refuse(400, std::string("'") + key + "' must lie in " + std::to_string(lo) + ".." + std::to_string(hi));
    return static_cast<long long>(d);
}

double Body::number(const char* key) const {
    const json& v = at(key);
    if (!v.is_number()) refuse(400, std::string("'") + key + "' must be a number");
    const double d = v.get<double>();
    if (!std::isfinite(d)) refuse(400, std::string("'") + key + "' must be finite");
    return d;
}

bool Body::flag(const char* key, bool fallback) const {
    if (!has(key)) return fallback;
    if (!j_.at(key).is_boolean()) refuse(400, std::string("'") + key + "' must be true or false");
    return j_.at(key).get<bool>();
}

std::string Body::text(const char* key) const {
    const json& v = at(key);
    if (!v.is_string()) refuse(400, std::string("'") + key + "' must be a string");
    return v.get<std::string>();
}

GaugeRef gauge_ref(const std::string& text) {
    GaugeRef ref;
    const auto hash = text.find('#');
    ref.name = text.substr(0, hash);
    if (hash != std::string::npos) {
        const auto n = plain_number(std::string_view(text).substr(hash + 1), kMaxGaugeOccurrence);
        if (!n)
            refuse(400, "'gauge' takes NAME or NAME#N with N from 1 to " + std::to_string(kMaxGaugeOccurrence));
        ref.occurrence = static_cast<int>(*n);
    }
    if (ref.name.empty()) refuse(400, "'gauge' must name a gauge");
    return ref;
}

int query_whole(const std::optional<std::string>& value, const char* key, long long lo, long long hi) {
    if (!value) refuse(400, std::string("missing parameter '") + key + "'");
    const auto v = parse_integer(*value);
    if (!v) refuse(400, std::string("parameter '") + key + "' must be a whole number");
    if (*v < lo || *v > hi)
        refuse(400, std::string("parameter '") + key + "' must lie in " + std::to_string(lo) + ".." + std::to_string(hi));
    return static_cast<int>(*v);
}

double picture_scale(const std::optional<std::string>& value) {
    if (!value) return 1.0;
    const auto v = parse_number(*value);
    if (!v || *v < kMinPictureScale || *v > kMaxPictureScale)
        refuse(400, "parameter 'scale' must be a number from 0.25 to 4");
    return *v;
}

std::vector<std::uint32_t> token_numbers(const std::string& text) {
    std::vector<std::uint32_t> numbers;
    for (const std::string& t : split(text, ',')) {
        const auto n = parse_integer(trim(t));
        if (!n || *n < 0 || *n > 0xFFFFFFFFll) refuse(400, "'numbers' holds token numbers 0 to 4294967295");
        if (numbers.size() == kMaxTokensAsked)
            refuse(400, "at most " + std::to_string(kMaxTokensAsked) + " tokens at a time");
        numbers.push_back(static_cast<std::uint32_t>(*n));
    }
    return numbers;
}

std::optional<std::vector<unsigned char>> ip_address(std::string_view text) {
    const std::string s(text);
    unsigned char bytes[16];
    if (inet_pton(AF_INET, s.c_str(), bytes) == 1) return std::vector<unsigned char>(bytes, bytes + 4);
    if (inet_pton(AF_INET6, s.c_str(), bytes) == 1) return std::vector<unsigned char>(bytes, bytes + 16);
    return std::nullopt;
}

bool loopback_address(const std::string& address) {
    if (same_text_any_case(address, "localhost")) return true;
    const auto ip = ip_address(address);
    if (!ip) return false;
    const auto& b = *ip;
    if (b.size() == 4) return b[0] == 127;  // 127.0.0.0/8
    // ::1, and an IPv4 loopback address written as IPv6 (::ffff:127.x.x.x).
    const bool zeros10 = std::all_of(b.begin(), b.begin() + 10, [](unsigned char c) { return c == 0; });
    if (zeros10 && b[10] == 0 && b[11] == 0) return std::all_of(b.begin() + 12, b.begin() + 15, [](unsigned char c) { return c == 0; }) && b[15] == 1;
    return zeros10 && b[10] == 0xFF && b[11] == 0xFF && b[12] == 127;
}

bool host_header_allowed(std::string_view header, int port) {
    std::string_view name = header;
    std::string_view port_text;
    if (!name.empty() && name.front() == '[') {
        const auto close = name.find(']');
        if (close == std::string_view::npos) return false;
        port_text = name.substr(close + 1);
        name = name.substr(1, close - 1);
        if (!ip_address(name) || ip_address(name)->size() != 16) return false;
    } else {
        const auto colon = name.find(':');
        if (colon != std::string_view::npos) {
            port_text = name.substr(colon);
            name = name.substr(0, colon);
        }
        if (!same_text_any_case(name, "localhost") && !(ip_address(name) && ip_address(name)->size() == 4)) return false;
    }
    // Compared without building ":PORT": GCC's optimiser warns falsely of that sum.
    if (!port_text.empty() && (port_text[0] != ':' || port_text.substr(1) != std::to_string(port))) return false;
    return loopback_address(std::string(name));
}

void check_origin(Reach reach, std::string_view origin, std::string_view fetch_site, std::string_view host) {
    if (reach == Reach::PAGE) return;
    // Only the page's own requests (same-origin) or none at all (the user's
    // own navigation, a program) go on; a page of another site, even one
    // served elsewhere on this machine, does not.
    if (same_text_any_case(fetch_site, "cross-site") || same_text_any_case(fetch_site, "same-site"))
        refuse(403, "requests from another site's page are refused");
    if (!origin.empty() && origin != "http://" + std::string(host))
        refuse(403, "requests from another origin (" + printable(origin, 64) + ") are refused");
}

std::size_t header_end(const std::string& bytes, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        // A blank line: "\n\n" or "\n\r\n".
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') return i + 2;
        if (i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n') return i + 3;
    }
    return std::string::npos;
}

BodyAnnounced body_announced(const std::string& header) {
    BodyAnnounced body;
    bool length_seen = false;
    for (const std::string& line : split(header, '\n')) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string name(line.substr(0, colon));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        const std::string value = trim(std::string_view(line).substr(colon + 1));
        if (name == "transfer-encoding" || name == "expect") {
            body.open = true;
        } else if (name == "content-length") {
            const bool digits = !value.empty() && value.size() <= 12 &&
                                std::all_of(value.begin(), value.end(), [](unsigned char c) { return c >= '0' && c <= '9'; });
            if (length_seen || !digits) body.malformed = true;
            else body.length = static_cast<std::size_t>(std::stoull(value));
            length_seen = true;
        }
    }
    return body;
}

bool asked_by_page(std::string_view fetch_site) { return same_text_any_case(fetch_site, "same-origin"); }

}  // namespace ardelvine::hostapp
