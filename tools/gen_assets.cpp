// Build-time generator of the module's bitmaps and sounds.
//
//   ardelvine_gen_assets --out DIR --asm FILE [--art DIR]
//
// Writes every bitmap of the catalogue as DIR/bitmap-<id>.bmp, and drawn two
// and three times finer as DIR/bitmap-<id>@2x.bmp and @3x.bmp (same depth and
// colour table, positions unchanged), DIR/legends.tsv (each bitmap's smallest
// legend, for judging how small a panel may show it), every sound as
// DIR/wave-<id>.wav, then FILE, an assembler file that includes each of
// them under the labels resources/directory.cpp expects. With --art, a file of
// the same name in that folder is packaged instead of the generated one, once
// it has been checked against the catalogue; a wrong size, depth or format, or
// a name that is no resource of the module, stops the build with a message
// that names the file.
//
// The art is drawn from the module's own element records, which this program
// reads from the Linkage it is linked with. It refuses art whose layout a
// designer would not ship (texts overlapping each other or a scale mark,
// leaving their face, hidden under a window, control or needle hub, or with
// capitals under 6 pixels at 1x), naming each fault.
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "module/exports.h"
#include "resources/catalogue.h"
#include "resources/formats.h"
#include "tools/art.h"
#include "tools/bitmap_file.h"
#include "tools/sounds.h"

namespace fs = std::filesystem;
using namespace ardelvine;

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<unsigned char> read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure(path.string() + ": cannot read");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw Failure(path.string() + ": cannot write");
}

fs::path bitmap_name(std::uint32_t id) { return "bitmap-" + std::to_string(id) + ".bmp"; }
fs::path wave_name(std::uint32_t id) { return "wave-" + std::to_string(id) + ".wav"; }

// Every bitmap is also drawn at these multiples of its size, for hosts that
// draw the panel larger: bitmap-<id>@<scale>x.bmp.
constexpr int kFinerScales[] = {2, 3};
fs::path finer_name(std::uint32_t id, int scale) {
    return "bitmap-" + std::to_string(id) + "@" + std::to_string(scale) + "x.bmp";
}

// Why a bitmap file cannot stand for catalogue record `r`, or empty. The
// host draws with the same reader, so whatever passes here it can draw.
std::string bitmap_mismatch(const std::vector<unsigned char>& bytes, const resources::BitmapRecord& r) {
    std::string why;
    const auto layout = resources::read_bmp(bytes, &why);
    if (!layout) return why;
    if (layout->width != r.width || layout->height != r.height)
        return "is " + std::to_string(layout->width) + "x" + std::to_string(layout->height) + " pixels, the module needs " +
               std::to_string(r.width) + "x" + std::to_string(r.height);
    if (layout->bits != static_cast<int>(r.depth))
        return "has " + std::to_string(layout->bits) + " bits per pixel, the module needs " +
               std::to_string(static_cast<int>(r.depth)) + (r.depth == resources::Depth::Palette8 ? " (with a colour table)" : "");
    return {};
}

std::string wave_mismatch(const std::vector<unsigned char>& bytes, const resources::WaveRecord& r) {
    std::string why;
    const auto header = resources::read_wave_header(bytes, &why);
    if (!header) return why;
    if (header->format_tag != 1 || header->channels != 1 || header->rate != resources::kWaveRate ||
        header->bits != r.bits_per_sample)
        return "must be mono " + std::to_string(r.bits_per_sample) + "-bit PCM at " +
               std::to_string(resources::kWaveRate) + " Hz";
    if (header->data_bytes != r.data_bytes)
        return "has " + std::to_string(header->data_bytes) + " bytes of sound, the module needs exactly " +
               std::to_string(r.data_bytes);
    return {};
}

void generate(const fs::path& out) {
    tools::ArtBook book(Linkage.gauges);
    std::vector<std::string> problems;
    std::string legends = "# id\twidth\theight\tsmallest legend's capital height at 1x (0: no text)\n";
    for (const resources::BitmapRecord& record : resources::kBitmaps) {
        double smallest = 0;
        cairo_surface_t* surface = book.draw(record, 1, &problems, &smallest);
        char row[64];
        std::snprintf(row, sizeof row, "%u\t%u\t%u\t%.1f\n", record.id, unsigned{record.width}, unsigned{record.height},
                      smallest);
        legends += row;
        const std::vector<unsigned char> bytes = tools::encode_bmp(surface, record.depth);
        cairo_surface_destroy(surface);
        if (const std::string why = bitmap_mismatch(bytes, record); !why.empty())
            throw Failure("generated bitmap " + std::to_string(record.id) + " " + why);
        write_file(out / bitmap_name(record.id), bytes);
        for (int scale : kFinerScales) {
            cairo_surface_t* finer = book.draw(record, scale);
            write_file(out / finer_name(record.id, scale), tools::encode_bmp(finer, record.depth));
            cairo_surface_destroy(finer);
        }
    }
    write_file(out / "legends.tsv", std::vector<unsigned char>(legends.begin(), legends.end()));
    if (!problems.empty()) {
        std::string all = std::to_string(problems.size()) + " layout fault(s) in the art:";
        for (const std::string& p : problems) all += "\n  " + p;
        throw Failure(all);
    }
    for (const resources::WaveRecord& record : resources::kWaves) {
        const std::vector<unsigned char> bytes = tools::make_wave(record);
        if (const std::string why = wave_mismatch(bytes, record); !why.empty())
            throw Failure("generated sound " + std::to_string(record.id) + " " + why);
        write_file(out / wave_name(record.id), bytes);
    }
}

// "bitmap-<id>.bmp" or "wave-<id>.wav": the kind ("bitmap" or "wave") and id,
// or false for any other name.
bool art_name(const std::string& filename, std::string& kind, std::uint32_t& id) {
    for (const auto& [prefix, suffix] : {std::pair{"bitmap-", ".bmp"}, std::pair{"wave-", ".wav"}}) {
        const std::string p(prefix), x(suffix);
        if (filename.size() <= p.size() + x.size() || filename.compare(0, p.size(), p) != 0 ||
            filename.compare(filename.size() - x.size(), x.size(), x) != 0)
            continue;
        const std::string digits = filename.substr(p.size(), filename.size() - p.size() - x.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
        // "bitmap-060.bmp" would be copied under a name the package never includes.
        if (digits.size() > 1 && digits[0] == '0') return false;
        kind = p.substr(0, p.size() - 1);
        id = static_cast<std::uint32_t>(std::stoul(digits));
        return true;
    }
    return false;
}

// Checks every file of the replacement folder and copies it over the
// generated one.
int replace(const fs::path& art, const fs::path& out) {
    int replaced = 0;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(art))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const std::string filename = file.filename().string();
        std::string kind;
        std::uint32_t id = 0;
        if (!art_name(filename, kind, id)) {
            std::cerr << file.string() << ": ignored (not named bitmap-<id>.bmp or wave-<id>.wav, the id without leading zeros)\n";
            continue;
        }
        const std::vector<unsigned char> bytes = read_file(file);
        std::string why;
        if (kind == "bitmap") {
            const resources::BitmapRecord* record = resources::find_bitmap(id);
            why = record == nullptr ? "names no bitmap of the module" : bitmap_mismatch(bytes, *record);
        } else {
            const resources::WaveRecord* record = resources::find_wave(id);
            why = record == nullptr ? "names no sound of the module" : wave_mismatch(bytes, *record);
        }
        if (!why.empty()) throw Failure(file.string() + ": " + why);
        write_file(out / filename, bytes);
        // A replaced picture is enlarged as it is, not swapped for finer
        // drawings of the picture it replaced.
        if (kind == "bitmap")
            for (int scale : kFinerScales) fs::remove(out / finer_name(id, scale));
        ++replaced;
    }
    return replaced;
}

std::string quoted(const fs::path& path) {
    std::string text = "\"";
    for (char c : fs::absolute(path).string()) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    return text + "\"";
}

void write_assembly(const fs::path& file, const fs::path& out) {
    std::string s = "/* Generated by ardelvine_gen_assets: the module's bitmaps and sounds. */\n"
                    "\t.section .rodata.ardelvine_resources,\"a\",@progbits\n";
    auto include = [&](const std::string& label, const fs::path& path) {
        s += "\t.balign 4\n";
        for (const std::string& l : {label, label + "_end"}) s += "\t.globl " + l + "\n\t.hidden " + l + "\n";
        s += label + ":\n\t.incbin " + quoted(path) + "\n" + label + "_end:\n";
    };
    for (const resources::BitmapRecord& r : resources::kBitmaps)
        include("ard_bitmap_" + std::to_string(r.id), out / bitmap_name(r.id));
    for (const resources::WaveRecord& r : resources::kWaves)
        include("ard_wave_" + std::to_string(r.id), out / wave_name(r.id));
    s += "\t.section .note.GNU-stack,\"\",@progbits\n";
    write_file(file, std::vector<unsigned char>(s.begin(), s.end()));
}

int usage() {
    std::cerr << "usage: ardelvine_gen_assets --out DIR --asm FILE [--art DIR]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path out, assembly, art;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return usage();
        if (arg == "--out") out = argv[++i];
        else if (arg == "--asm") assembly = argv[++i];
        else if (arg == "--art") art = argv[++i];
        else return usage();
    }
    if (out.empty() || assembly.empty()) return usage();
    try {
        fs::create_directories(out);
        generate(out);
        if (!art.empty()) {
            if (!fs::is_directory(art)) throw Failure(art.string() + ": no such folder of replacement art");
            const int n = replace(art, out);
            std::cout << "packaged " << n << " replacement file(s) from " << art.string() << "\n";
        }
        write_assembly(assembly, out);
    } catch (const std::exception& e) {
        std::cerr << "ardelvine_gen_assets: " << e.what() << "\n";
        return 1;
    }
    cairo_debug_reset_static_data();
    return 0;
}
