#include "tools/sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>

#include "resources/formats.h"

namespace ardelvine::tools {

namespace {

using resources::ChunkOrder;
using resources::WaveRecord;

constexpr double kRate = resources::kWaveRate;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A small deterministic noise source, so every build writes the same bytes.
class Noise {
public:
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;  // [-1, 1)
    }

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

// A mechanical click at time `at`: a short burst of noise and a ringing body
// resonance, both dying away exponentially.
double click(double t, double at, double resonance, double ring, double loudness, Noise& noise) {
    if (t < at) return 0.0;
    const double u = t - at;
    const double burst = noise.next() * std::exp(-u / 0.0012);
    const double body = std::sin(kTwoPi * resonance * u) * std::exp(-u / ring);
    const double thump = std::sin(kTwoPi * 180.0 * u) * std::exp(-u / 0.006);
    return loudness * (0.55 * burst + 0.35 * body + 0.25 * thump);
}

// Toggle switch: the lever snapping over and settling against its stop.
std::vector<double> toggle_click(std::size_t n) {
    Noise noise;
    std::vector<double> s(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        s[i] = click(t, 0.0005, 3200.0, 0.010, 1.0, noise) + click(t, 0.014, 2100.0, 0.007, 0.35, noise);
    }
    return s;
}

// Rotary detent: a duller click with a short rattle behind it.
std::vector<double> detent_click(std::size_t n) {
    Noise noise;
    std::vector<double> s(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        s[i] = click(t, 0.0005, 1450.0, 0.018, 1.0, noise) + click(t, 0.021, 1900.0, 0.008, 0.4, noise) +
               click(t, 0.048, 1300.0, 0.010, 0.2, noise);
    }
    return s;
}

// A small servo motor spinning up, running and stopping with a clunk.
std::vector<double> servo_run(std::size_t n) {
    Noise noise;
    std::vector<double> s(n);
    const double length = static_cast<double>(n) / kRate;
    double phase = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double spin = std::min(1.0, t / 0.08) * std::min(1.0, (length - 0.06 - t) / 0.05);
        const double pitch = 140.0 + 90.0 * std::min(1.0, t / 0.12);
        phase += kTwoPi * pitch / kRate;
        const double hum = std::sin(phase) + 0.5 * std::sin(2.0 * phase) + 0.3 * std::sin(3.0 * phase + 0.4);
        const double brush = 0.15 * noise.next();
        s[i] = std::max(0.0, spin) * 0.45 * (hum + brush) + click(t, length - 0.055, 900.0, 0.02, 0.8, noise);
    }
    return s;
}

// Scale to a comfortable peak and fade the last milliseconds to silence.
void finish(std::vector<double>& s) {
    double peak = 0.0;
    for (double v : s) peak = std::max(peak, std::abs(v));
    const double gain = peak > 0.0 ? 0.8 / peak : 0.0;
    const std::size_t fade = std::min<std::size_t>(s.size(), static_cast<std::size_t>(0.004 * kRate));
    for (std::size_t i = 0; i < s.size(); ++i) {
        s[i] *= gain;
        const std::size_t left = s.size() - i;
        if (left <= fade) s[i] *= static_cast<double>(left - 1) / static_cast<double>(fade);
    }
}

// Byte by byte: GCC 12 at -O3 misreads a range insert here as an overflow.
void put_tag(std::vector<unsigned char>& out, std::string_view tag) {
    for (char c : tag) out.push_back(static_cast<unsigned char>(c));
}

// An INFO list naming the software that wrote the file.
void put_list(std::vector<unsigned char>& out) {
    constexpr std::string_view software = "Ardelvine instruments sound generator";
    const std::uint32_t text = static_cast<std::uint32_t>(software.size() + 1);
    const std::uint32_t padded = text + (text & 1);
    put_tag(out, "LIST");
    resources::append_le(out, 4 + 8 + padded, 4);
    put_tag(out, "INFO");
    put_tag(out, "ISFT");
    resources::append_le(out, text, 4);
    put_tag(out, software);
    out.resize(out.size() + 1 + (padded - text), 0);
}

}  // namespace

std::vector<unsigned char> make_wave(const WaveRecord& record) {
    const std::uint32_t bytes_per_sample = record.bits_per_sample / 8;
    const std::size_t samples = record.data_bytes / bytes_per_sample;
    std::vector<double> s = record.id == resources::waves::SERVO_RUN ? servo_run(samples)
                            : record.id == resources::waves::DETENT_CLICK ? detent_click(samples)
                                              : toggle_click(samples);
    finish(s);

    std::vector<unsigned char> body;
    put_tag(body, "WAVE");
    if (record.order == ChunkOrder::ListBeforeFormat) put_list(body);
    put_tag(body, "fmt ");
    resources::append_le(body, 16, 4);
    resources::append_le(body, 1, 2);  // PCM
    resources::append_le(body, 1, 2);  // mono
    resources::append_le(body, resources::kWaveRate, 4);
    resources::append_le(body, resources::kWaveRate * bytes_per_sample, 4);
    resources::append_le(body, bytes_per_sample, 2);
    resources::append_le(body, record.bits_per_sample, 2);
    put_tag(body, "data");
    resources::append_le(body, record.data_bytes, 4);
    for (double v : s) {
        if (bytes_per_sample == 1)
            body.push_back(static_cast<unsigned char>(std::lround(128.0 + 127.0 * v)));
        else
            resources::append_le(body, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(32767.0 * v))), 2);
    }
    if (record.data_bytes & 1) body.push_back(0);
    if (record.order == ChunkOrder::ListAfterData) put_list(body);

    std::vector<unsigned char> file;
    put_tag(file, "RIFF");
    resources::append_le(file, static_cast<std::uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace ardelvine::tools
