// What the live server checks before a request reaches the panel: the bytes
// are a request as the server's checks see it. The first byte picks what they
// are taken as (a JSON body of one of the requests, a query value, a Host or
// Origin header, the start of a request as the connection gate reads it);
// the rest are its text. Every check either refuses with a 4xx status and
// one line, or returns something within the request's ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/live/request_checks.h"

namespace {

using namespace ardelvine::hostapp;

void must(bool condition) {
    if (!condition) std::abort();
}

void body_checks(unsigned kind, const std::string& text) {
    // The Content-Type comes before the first newline, the body after it.
    const auto newline = text.find('\n');
    const std::string type = newline == std::string::npos ? "application/json" : text.substr(0, newline);
    const std::string body = newline == std::string::npos ? text : text.substr(newline + 1);
    switch (kind % 5) {
        case 0: {
            const Body b(type, body, {"gauge", "x", "y", "button", "hold"});
            const GaugeRef ref = gauge_ref(b.text("gauge"));
            must(!ref.name.empty() && ref.occurrence >= 1 && ref.occurrence <= kMaxGaugeOccurrence);
            const long long x = b.whole("x", -100000, 100000);
            must(x >= -100000 && x <= 100000);
            must(b.whole("hold", 0, 10000, 0) >= 0);
            break;
        }
        case 1: {
            const Body b(type, body, {"token", "value"});
            const long long token = b.whole("token", 0, 0xFFFFFFFFll);
            must(token >= 0 && token <= 0xFFFFFFFFll);
            const double v = b.number("value");
            must(v == v);
            break;
        }
        case 2: {
            const Body b(type, body, {"key", "on"});
            const long long key = b.whole("key", 1, 63);
            must(key >= 1 && key <= 63);
            b.flag("on", false);
            break;
        }
        case 3: {
            const Body b(type, body, {"ident", "visible", "mode"});
            if (b.has("mode")) b.text("mode");
            b.flag("visible", true);
            break;
        }
        default: {
            const Body b(type, body, {"gauge"});
            if (b.has("gauge")) gauge_ref(b.text("gauge"));
        }
    }
}

void other_checks(unsigned kind, const std::string& text) {
    switch (kind % 6) {
        case 0: {
            const int v = query_whole(text, "x", -100000, 100000);
            must(v >= -100000 && v <= 100000);
            break;
        }
        case 1: {
            const auto numbers = token_numbers(text);
            must(numbers.size() <= kMaxTokensAsked);
            break;
        }
        case 2:
            // An allowed Host names a loopback address, with this server's port or none.
            if (host_header_allowed(text, 8018)) {
                std::string name = text;
                if (name.size() > 5 && name.compare(name.size() - 5, 5, ":8018") == 0) name.resize(name.size() - 5);
                if (!name.empty() && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
                must(loopback_address(name));
            }
            break;
        case 3: {
            const auto newline = text.find('\n');
            const std::string origin = text.substr(0, newline);
            const std::string site = newline == std::string::npos ? "" : text.substr(newline + 1);
            check_origin(Reach::PANEL, origin, site, "127.0.0.1:8018");
            must(origin.empty() || origin == "http://127.0.0.1:8018");
            break;
        }
        case 4: {
            const std::size_t end = header_end(text);
            if (end != std::string::npos) {
                must(end <= text.size());
                const BodyAnnounced body = body_announced(text.substr(0, end));
                must(body.malformed || body.length < 1000000000000ull);
            }
            break;
        }
        default:
            loopback_address(text);
            json_media_type(text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 8192) return 0;
    const unsigned kind = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        if (kind < 128) body_checks(kind, text);
        else other_checks(kind, text);
    } catch (const Refusal& r) {
        must(r.status >= 400 && r.status < 500);
        must(!r.reason.empty() && r.reason.find('\n') == std::string::npos);
    }
    return 0;
}
