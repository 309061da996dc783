// The designer's edits of a panel file change the lines they name and no
// other byte: on the trainer panel as shipped (tabs, odd case, comments,
// other modules, a virtual cockpit) with LF and with CRLF endings, and on
// files with a byte-order mark, lone CRs and no final newline.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/load/panel_config.h"
#include "host/load/panel_edit.h"
#include "host/load/text.h"

namespace ardelvine::hostapp {
namespace {

std::string replaced_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const std::string& trainer() {
    static const std::string text = read_file(std::string(ARD_SOURCE_DIR) + "/tests/panels/trainer.cfg");
    return text;
}

struct Edit {
    const char* what;
    std::function<void(PanelText&)> edit;
    // The file after the edit: these lines of the trainer panel replaced
    // (an empty `to` removes the line, an empty `from` is no change).
    std::vector<std::pair<std::string, std::string>> lines;
};

const std::vector<Edit>& edits() {
    static const std::vector<Edit> list = {
        {"move keeps the double space and the tab after the width",
         [](PanelText& p) { p.place_gauge("Window00", "gauge00", {35, 71}); },
         {{"gauge00=Ardelvine_Instr!Airspeed,  20, 70, 160\t", "gauge00=Ardelvine_Instr!Airspeed,  35, 71, 160\t"}}},
        {"tabs and no spaces stay; keys and sections in any case",
         [](PanelText& p) { p.place_gauge("WINDOW00", "GAUGE01", {210, 71, 150}); },
         {{"gauge01=Ardelvine_Instr!Altimeter,\t200,70,160", "gauge01=Ardelvine_Instr!Altimeter,\t210,71,150"}}},
        {"a size added after x and y in the line's spacing; its key keeps its case",
         [](PanelText& p) { p.place_gauge("Window00", "gauge04", {400, 90, 30, 40}); },
         {{"Gauge04=Ardelvine_Instr!Battery_Switch, 380 , 80", "Gauge04=Ardelvine_Instr!Battery_Switch, 400 , 90, 30, 40"}}},
        {"a height added after the width",
         [](PanelText& p) { p.place_gauge("Window00", "gauge00", {20, 70, 200, 190}); },
         {{"gauge00=Ardelvine_Instr!Airspeed,  20, 70, 160\t", "gauge00=Ardelvine_Instr!Airspeed,  20, 70, 200, 190\t"}}},
        {"parameters and comment stay",
         [](PanelText& p) { p.place_gauge("Window00", "gauge06", {700, 12, 20}); },
         {{"gauge06=Ardelvine_Instr!GPS_Toggle, 710, 10, 19, 19, tGPS_PANEL  // the large GPS",
           "gauge06=Ardelvine_Instr!GPS_Toggle, 700, 12, 20, 19, tGPS_PANEL  // the large GPS"}}},
        {"other modules' gauges and the virtual cockpit move alike",
         [](PanelText& p) {
             p.place_gauge("Window00", "gauge02", {750, 11, 20, 20});
             p.place_gauge("Vcockpit01", "gauge01", {250, 0, 262});
         },
         {{"gauge02=SimIcons1024!Kneeboard Icon, 752, 10, 18, 18", "gauge02=SimIcons1024!Kneeboard Icon, 750, 11, 20, 20"},
          {"gauge01=Ardelvine_Instr!Waltham_Clock, 256, 0, 256", "gauge01=Ardelvine_Instr!Waltham_Clock, 250, 0, 262"}}},
        {"added after the section's last gauge, numbered after its highest",
         [](PanelText& p) { EXPECT_EQ(p.add_gauge("Window01", "Ardelvine_Instr!Clock", {10, 250, 100}), "gauge02"); },
         {{"gauge01=Bendix_King_Radio!Bendix-King Radio Nav-Comm 1, 0, 140, 350, 95",
           "gauge01=Bendix_King_Radio!Bendix-King Radio Nav-Comm 1, 0, 140, 350, 95\ngauge02=Ardelvine_Instr!Clock, 10, 250, 100"}}},
        {"removed, and the same numbers again change nothing",
         [](PanelText& p) {
             p.remove_gauge("Window00", "gauge03");
             p.place_gauge("Window00", "gauge07", {440, 80, 300, 190});
         },
         {{"gauge03=SimIcons1024!ATC Icon, 772, 10, 18, 18\n", ""}}},
        {"window settings keep their comment; a new one goes before the gauges",
         [](PanelText& p) {
             p.set_window_key("Window01", "background_color", "1,2,3");
             p.set_window_key("Window02", "visible", "1");
             p.set_window_key("Window02", "window_pos", "0.10,0.20");
         },
         {{"background_color=30,30,34 ; dark grey", "background_color=1,2,3 ; dark grey"},
          {"Visible=0\nzorder=3", "Visible=1\nzorder=3\nwindow_pos=0.10,0.20"}}},
        {"a window added at the end",
         [](PanelText& p) {
             p.add_window("Window03");
             p.add_gauge("Window03", "Ardelvine_Instr!Clock", {0, 0});
         },
         {{"FDR Display, 0, 256, 512, 128\n", "FDR Display, 0, 256, 512, 128\n\n[Window03]\ngauge00=Ardelvine_Instr!Clock, 0, 0\n"}}},
    };
    return list;
}

TEST(PanelEdit, ChangesOnlyTheLinesItEditsWhateverTheLineEndings) {
    for (const char* end : {"\n", "\r\n"}) {
        const std::string original = replaced_all(trainer(), "\n", end);
        for (const Edit& e : edits()) {
            std::string expected = trainer();
            for (const auto& [from, to] : e.lines) {
                ASSERT_NE(expected.find(from), std::string::npos) << e.what << ": " << from;
                expected.replace(expected.find(from), from.size(), to);
            }
            expected = replaced_all(expected, "\n", end);
            PanelText text(original);
            e.edit(text);
            EXPECT_EQ(text.bytes(), expected) << e.what << (end[1] ? " (CRLF)" : "");
            EXPECT_TRUE(text.changed()) << e.what;
            // What the reader makes of it: still a panel.
            EXPECT_NO_THROW(parse_panel_config(text.bytes(), "trainer.cfg")) << e.what;
        }
        PanelText untouched(original);
        EXPECT_EQ(untouched.bytes(), original);
        EXPECT_FALSE(untouched.changed());
        EXPECT_EQ(untouched.diff("trainer.cfg"), "");
    }
}

// Numbers are found where the reader finds them: before a `//` comment, and
// before a `;` unless the parameters have begun.
TEST(PanelEdit, RewritesOnlyTheNumbersTheReaderReads) {
    struct Case {
        const char* line;
        GaugePlace place;
        const char* written;
    } cases[] = {
        {"gauge00 = A!B ,1,2 // 3, 4", {5, 6}, "gauge00 = A!B ,5,6 // 3, 4"},
        {"gauge00=A!B, 1, 2, 160 ; the ASI", {1, 2, 150, 140}, "gauge00=A!B, 1, 2, 150, 140 ; the ASI"},
        {"gauge00=A!B, 1, 2;160", {7, 8, 9}, "gauge00=A!B, 7, 8, 9;160"},
        {"gauge00=A!B, 1, 2, 19, 19, t;x ; c, 5", {3, 4, 20}, "gauge00=A!B, 3, 4, 20, 19, t;x ; c, 5"},
        {"gauge00=A!B, 1, 2, tGPS_PANEL", {3, 4, 20, 21}, "gauge00=A!B, 3, 4, 20, 21, tGPS_PANEL"},
        {"  gauge00=A!B,-1,+2", {0, 0}, "  gauge00=A!B,0,0"},
    };
    for (const Case& c : cases) {
        PanelText text(std::string("[Window00] ; main\n") + c.line + "\n");
        text.place_gauge("Window00", "gauge00", c.place);
        EXPECT_EQ(text.bytes(), std::string("[Window00] ; main\n") + c.written + "\n") << c.line;
        const GaugeLine g = parse_panel_config(text.bytes(), "p.cfg").windows.at(0).gauges.at(0);
        EXPECT_EQ(std::pair(g.x, g.y), std::pair(c.place.x, c.place.y)) << c.line;
    }
}

TEST(PanelEdit, KeepsAByteOrderMarkLoneCRsAndAMissingLastNewline) {
    PanelText text("\xEF\xBB\xBF[Window00]\rgauge00=A!B, 1, 2");
    EXPECT_EQ(text.add_gauge("Window00", "Ardelvine_Instr!Clock", {3, 4}), "gauge01");
    EXPECT_EQ(text.bytes(), "\xEF\xBB\xBF[Window00]\rgauge00=A!B, 1, 2\rgauge01=Ardelvine_Instr!Clock, 3, 4");
    EXPECT_EQ(parse_panel_config(text.bytes(), "p.cfg").windows[0].gauges.at(1).y, 4);
}

TEST(PanelEdit, RefusesWhatItCannotFindOrWriteAndChangesNothing) {
    struct Case {
        const char* what;
        std::function<void(PanelText&)> edit;
        PanelEditError::Kind kind;
    } cases[] = {
        {"no such section", [](PanelText& p) { p.place_gauge("Window09", "gauge00", {0, 0}); }, PanelEditError::Kind::NOT_FOUND},
        {"not a window", [](PanelText& p) { p.place_gauge("Color", "gauge00", {0, 0}); }, PanelEditError::Kind::NOT_FOUND},
        {"no such key", [](PanelText& p) { p.remove_gauge("Window00", "gauge08"); }, PanelEditError::Kind::NOT_FOUND},
        {"a setting is no gauge", [](PanelText& p) { p.place_gauge("Window00", "ident", {0, 0}); }, PanelEditError::Kind::NOT_FOUND},
        {"a height without a width", [](PanelText& p) { p.place_gauge("Window00", "gauge04", {0, 0, {}, 9}); },
         PanelEditError::Kind::BAD},
        {"a comma in the name", [](PanelText& p) { p.add_gauge("Window00", "Ardelvine_Instr!Clock, 1", {0, 0}); },
         PanelEditError::Kind::BAD},
        {"a comment in the name", [](PanelText& p) { p.add_gauge("Window00", "Ardelvine_Instr!Clock//", {0, 0}); },
         PanelEditError::Kind::BAD},
        {"a window twice", [](PanelText& p) { p.add_window("window1"); }, PanelEditError::Kind::BAD},
    };
    for (const Case& c : cases) {
        PanelText text(trainer());
        try {
            c.edit(text);
            ADD_FAILURE() << c.what << ": taken";
        } catch (const PanelEditError& e) {
            EXPECT_EQ(e.kind, c.kind) << c.what << ": " << e.what();
        }
        EXPECT_EQ(text.bytes(), trainer()) << c.what;
    }
    PanelText twice("[Window00]\ngauge00=A!B, 1, 2\ngauge00=A!C, 1, 2\n");
    EXPECT_THROW(twice.place_gauge("Window00", "gauge00", {0, 0}), PanelEditError);
}

TEST(PanelEdit, DiffHoldsTheEditedLinesWithTheirContext) {
    std::string file;
    for (int i = 0; i < 20; ++i) file += "gauge" + std::to_string(10 + i) + "=A!G, " + std::to_string(i) + ", 0\r\n";
    PanelText text("[Window00]\r\n" + file);
    text.place_gauge("Window00", "gauge11", {5, 5});
    text.remove_gauge("Window00", "gauge13");
    text.add_gauge("Window00", "A!H", {1, 2});
    EXPECT_EQ(text.diff("p.cfg", 1),
              "--- p.cfg\n+++ p.cfg\n"
              "@@ -2,5 +2,4 @@\n"
              " gauge10=A!G, 0, 0\n-gauge11=A!G, 1, 0\n+gauge11=A!G, 5, 5\n gauge12=A!G, 2, 0\n-gauge13=A!G, 3, 0\n"
              " gauge14=A!G, 4, 0\n"
              "@@ -21 +20,2 @@\n"
              " gauge29=A!G, 19, 0\n+gauge30=A!H, 1, 2\n");
}

}  // namespace
}  // namespace ardelvine::hostapp
