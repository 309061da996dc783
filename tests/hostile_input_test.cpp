// What a hostile user or module can hand the host, and how each is refused:
// files that are no files or too large, options out of range, echoes of
// terminal escapes, pictures too large to draw, capture files that cannot be
// written, and module records past the rules.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/cli/cli.h"
#include "host/load/error.h"
#include "host/run/host.h"
#include "tests/run_program.h"

namespace ardelvine::hostapp {
namespace {

namespace fs = std::filesystem;

class HostileInput : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per test: tests may run side by side.
        dir_ = fs::path(::testing::TempDir()) /
               (std::string("ardelvine-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name, const std::string& text) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Runs the command line; returns its exit status and what it printed on errors.
    int run(const std::vector<std::string>& args, std::string* err_text = nullptr) {
        std::ostringstream out, err;
        const int status = run_cli(args, out, err);
        if (err_text != nullptr) *err_text = err.str();
        return status;
    }

    fs::path dir_;
};

TEST_F(HostileInput, RefusalsTakeOneLineAndExitTwo) {
    const std::string fifo = path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string big = file("big.cfg", std::string(4u << 20, ';') + "x");
    const std::string huge = file("huge.cfg", "[Window00]\nsize_mm=32767,32767\ngauge00=Ardelvine_Instr!Airspeed, 0, 0\n");
    const std::string tall = file("tall.cfg", "[Window00]\nsize_mm=100,100\ngauge00=Ardelvine_Instr!Airspeed, 0, 0, 16000\n");
    const std::string window = file("window.scn", "update\nwindow 77 show\n");
    const std::string snapshot = file("snap.scn", "snapshot " + std::string(65, 'a') + "\n");
    const std::string half = file("half.cfg", "[Window00]\ngauge00=Ardelvine_Instr!Airspeed, 0, 0, 160.5\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"state", "/dev/zero"}, "gaugehost: /dev/zero: is not a regular file"},
        {{"state", fifo}, "gaugehost: " + fifo + ": is not a regular file"},
        {{"state", "default", "--scenario", dir_.string()}, "gaugehost: " + dir_.string() + ": is a folder, not a file"},
        {{"state", big}, "gaugehost: " + big + ": is larger than 4 MB"},
        {{"state", "/nonexistent.cfg"}, "gaugehost: /nonexistent.cfg: no such file"},
        {{"list", "--module", fifo}, "gaugehost: " + fifo + ": is not a regular file"},
        {{"list", "extra"}, "gaugehost: list takes no arguments, got 'extra'"},
        {{"render", "default", "--scale", ""}, "gaugehost: --scale takes a number above 0 and at most 16, not ''"},
        {{"render", "default", "--scale", "0"}, "gaugehost: --scale takes a number above 0 and at most 16, not '0'"},
        {{"state", "default", "--scenario", window}, "gaugehost: " + window + ":2: the panel has no window with ident 77"},
        {{"state", "default", "--scenario", snapshot}, "gaugehost: " + snapshot + ":1: a snapshot name is at most 64"},
        {{"state", half}, "gaugehost: " + half + ":2: gauge Airspeed: expected a whole number for the width, got '160.5'"},
        {{"render", huge}, "gaugehost: " + huge + ":1: window Window0 would be a picture of 32767x32767 pixels"},
        {{"render", tall}, "gaugehost: " + tall + ":3: gauge Airspeed would be a picture of 16000x"},
        {{"render", "default", "--scale", "16"}, "gaugehost: --scale 16: window Main Panel would be a picture of 31360x19040"},
        {{"state", "default", "--audio-capture", "/nonexistent/x.wav"},
         "gaugehost: /nonexistent/x.wav: cannot write the audio capture file"},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    // A full disk, where the machine has a device that acts as one.
    struct stat device {};
    FILE* full = stat("/dev/full", &device) == 0 && S_ISCHR(device.st_mode) ? std::fopen("/dev/full", "r+b") : nullptr;
    if (full != nullptr) {
        const bool refuses = std::fputc('x', full) == EOF || std::fflush(full) != 0;
        std::fclose(full);
        if (refuses)
            all.push_back({{"state", "default", "--audio-capture", "/dev/full"},
                           "gaugehost: /dev/full: cannot write the audio capture file"});
    }
    for (const Case& c : all) {
        std::string err;
        EXPECT_EQ(run(c.args, &err), 2) << c.message;
        EXPECT_EQ(err.rfind(c.message, 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

// A scenario that would fill memory with its logs is refused, before it
// runs, at the line that passes the bounds.
TEST_F(HostileInput, ScenariosPastTheRunBoundsAreRefused) {
    std::string held;
    for (int i = 0; i < 1000; ++i) held += "click Battery_Switch 15 22 left hold 10000\n";
    std::string tooltips;
    for (int i = 0; i < 100001; ++i) tooltips += "tooltip Battery_Switch 15 22\n";
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {held, ":10: the scenario would make more than 100000 mouse actions"},
        {tooltips, ":100001: the scenario would make more than 100000 mouse actions"},
        {"update 600000\nupdate 400000\nupdate\n", ":3: the scenario would run more than 1000000 updates"},
    };
    for (const Case& c : cases) {
        const std::string scenario = file("bounds.scn", c.text);
        std::string err;
        EXPECT_EQ(run({"state", "default", "--scenario", scenario}, &err), 2);
        EXPECT_EQ(err.rfind("gaugehost: " + scenario + c.message, 0), 0u) << err;
    }
}

// Bytes that would garble the terminal or hide the message: escapes, a NUL
// (which would end the message where it is read as a C string), a UTF-16
// file's bytes, a line of a megabyte. A CR-only file is read line by line.
TEST_F(HostileInput, EchoesAreEscapedAndCut) {
    using namespace std::string_literals;
    const std::string utf16 = "\xFF\xFE[\0W\0i\0n\0d\0o\0w\0\x30\0\x30\0]\0\r\0\n\0"s;
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> shown;  // each in the message, in its order
        std::string scenario = "";
    } cases[] = {
        {"terminal escapes", "[Window00]\ngauge00=Ardelvine_Instr!Nope\x1b[2K\x07, 0, 0\n", {"'Nope\\x1b[2K\\x07'"}},
        {"NUL inside an echo", "[Window00]\nvisible=1\0 and after\n"s, {":2: expected a whole number for visible, got '1\\x00 and after'"}},
        {"NUL in a gauge name", "[Window00]\ngauge00=Ardelvine_Instr!No\0pe, 0, 0\n"s, {"no gauge named 'No\\x00pe'"}},
        {"UTF-16, little-endian", utf16, {": is UTF-16 text", "save it as ANSI or UTF-8"}},
        {"UTF-16, big-endian", "\xFE\xFF\0[\0W"s, {": is UTF-16 text"}},
        {"bytes of no character", "[Window00]\nvisible=\xFF\xC3\xA9\n", {"got '\\xff\xC3\xA9'"}},
        {"a megabyte line", "[Window00]\n" + std::string(1 << 20, 'q') + "\n", {"got 'qqq", "more bytes)'"}},
        {"CR-only panel", "[Window00]\rsize_mm=100,100\rgauge00=Ardelvine_Instr!Nope, 0, 0\r", {":3: module Ardelvine_Instr has no gauge named 'Nope'"}},
        {"CR-only scenario", "[Window00]\ngauge00=Ardelvine_Instr!Battery_Switch, 0, 0\n", {".scn:2: unknown command 'jump'"}, "update\rjump 2\r"},
        {"UTF-16 scenario", "[Window00]\ngauge00=Ardelvine_Instr!Battery_Switch, 0, 0\n", {".scn: is UTF-16 text"}, utf16},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"state", file("echo.cfg", c.text)};
        if (!c.scenario.empty()) args.insert(args.end(), {"--scenario", file("echo.scn", c.scenario)});
        std::string err;
        EXPECT_EQ(run(args, &err), 2) << c.name;
        std::size_t at = 0;
        for (const std::string& part : c.shown) {
            at = err.find(part, at);
            EXPECT_NE(at, std::string::npos) << c.name << ": " << part << " in " << err;
        }
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.name << ": " << err;
        EXPECT_TRUE(std::none_of(err.begin(), err.end() - 1, [](char ch) { return static_cast<unsigned char>(ch) < 0x20; }))
            << c.name << ": " << err;
        EXPECT_LT(err.size(), 600u) << c.name;
    }
    // Read line by line, a CR-only panel runs as its CRLF twin does.
    const std::string cr = file("cr.cfg", "[Window00]\rsize_mm=100,100\rgauge00=Ardelvine_Instr!Battery_Switch, 0, 0\r");
    EXPECT_EQ(run({"state", cr}), 0);
}

TEST_F(HostileInput, RefusedPanelLeavesNoCaptureFile) {
    const std::string panel = file("bad.cfg", "[Window00]\ngauge00=Ardelvine_Instr!Nope, 0, 0\n");
    const std::string scenario = file("bad.scn", "click Nope 1 1\n");
    const std::string wav = path("x.wav");
    EXPECT_EQ(run({"state", panel, "--audio-capture", wav}), 2);
    EXPECT_EQ(run({"state", "default", "--scenario", scenario, "--audio-capture", wav}), 2);
    EXPECT_FALSE(fs::exists(wav));
    EXPECT_EQ(run({"state", "default", "--audio-capture", wav}), 0);
    EXPECT_TRUE(fs::exists(wav));
}

// A snapshot that cannot be written is reported at its scenario line, on a
// line of its own after the progress line.
TEST_F(HostileInput, UnwritableSnapshotNamesItsLine) {
    const std::string scenario = file("snaps.scn", "snapshot one\nupdate\nsnapshot two\n");
    fs::create_directories(dir_ / "out" / "two-window-00-main-panel.png");
    std::string err;
    EXPECT_EQ(run({"render", "default", "--scenario", scenario, "--out", path("out")}, &err), 2);
    const std::string last = err.substr(err.rfind('\n', err.size() - 2) + 1);
    EXPECT_EQ(last.rfind("gaugehost: " + scenario + ":3: snapshot two: cannot write", 0), 0u) << err;
}

// Module names without a slash are files of the current folder, never
// libraries found on the loader's search path.
TEST_F(HostileInput, BareModuleNamesAreFilesHere) {
    file("Ardelvine_Instr.gau", "not a library");
    const std::string host = std::string("cd ") + dir_.string() + " && " + ARD_GAUGEHOST;
    auto run_here = [&](const std::string& args) { return ardelvine::testing::run_program(host + " " + args); };
    auto r = run_here("list --module Ardelvine_Instr.gau");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.output.rfind("gaugehost: Ardelvine_Instr.gau: cannot load gauge module", 0), 0u) << r.output;
    r = run_here("list --module libm.so.6");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.output, "gaugehost: libm.so.6: no such gauge module\n");
}

// Without a sound card the sound libraries' own complaints stay off the
// terminal; the host says it in one line.
TEST_F(HostileInput, MissingSoundCardIsOneLine) {
    const auto r = ardelvine::testing::run_program(std::string(ARD_GAUGEHOST) + " --out " + path("pictures"));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find("ALSA lib"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("AL lib"), std::string::npos) << r.output;
    const std::string line = "no audio output device: sound is off (--audio-capture FILE.wav records it)";
    const auto first = r.output.find(line);
    if (first != std::string::npos) {
        EXPECT_EQ(r.output.find(line, first + 1), std::string::npos);
    }
}

// A picture whose memory cannot be had is an error, never a gauge left out
// of a picture reported as written.
TEST_F(HostileInput, PictureWithoutMemoryFails) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "address space limits and AddressSanitizer do not mix";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "address space limits and AddressSanitizer do not mix";
#endif
#endif
    const std::string panel = file("b.cfg", "[Window00]\nsize_mm=8000,8000\ngauge00=Ardelvine_Instr!Airspeed, 0, 0\n");
    const auto r = ardelvine::testing::run_program("ulimit -v 250000 && " + std::string(ARD_GAUGEHOST) + " render " +
                                                   panel + " --out " + path("o"));
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("gaugehost: cannot draw: out of memory"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Wrote"), std::string::npos) << r.output;
}

// Records past the rules, refused at installation with one line naming the
// placement and what is wrong; a string at the longest length is given all of it.
TEST(ModuleLimits, RecordsPastTheRulesAreRefused) {
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"Limits!Huge_Text, 0, 0", "l.cfg:2: gauge Huge_Text: element 0 is a string of 4097 characters (the host allows at most 4096)"},
        {"Limits!Wide, 0, 0", "l.cfg:2: gauge Wide has a default width of 2147483648 (the host places at most 16384); give a width"},
        {"Limits!Odd_Kind, 0, 0", "l.cfg:2: gauge Odd_Kind: element 0 has unknown kind 99"},
    };
    HostOptions options;
    options.module_path = ARD_LIMITS_MODULE;
    for (const Case& c : cases) {
        try {
            Host host(parse_panel_config(std::string("[Window00]\ngauge00=") + c.line + "\n", "l.cfg"), options);
            ADD_FAILURE() << "accepted " << c.line;
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    Host host(parse_panel_config("[Window00]\ngauge00=Limits!Long_Text, 0, 0\ngauge01=Limits!Wide, 0, 0, 50\n", "l.cfg"),
              options);
    host.update();
    const auto text = host.state()["gauges"][0]["elements"][0]["text"].get<std::string>();
    EXPECT_EQ(text, std::string(4096, 'x'));
}

TEST(ModuleLimits, NamelessGaugeRefusesTheModule) {
    void* keep = dlopen(ARD_LIMITS_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(keep, nullptr);
    auto* linkage = static_cast<LinkageRecord*>(dlsym(keep, "Linkage"));
    const char* name = linkage->gauges[1]->name;
    linkage->gauges[1]->name = nullptr;
    std::ostringstream out, err;
    EXPECT_EQ(run_cli({"list", "--module", ARD_LIMITS_MODULE}, out, err), 2);
    EXPECT_EQ(err.str(), std::string("gaugehost: ") + ARD_LIMITS_MODULE + ": gauge 2 in Linkage has no name\n");
    linkage->gauges[1]->name = name;
    dlclose(keep);
}

}  // namespace
}  // namespace ardelvine::hostapp
