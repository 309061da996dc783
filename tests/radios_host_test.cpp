// The radio stack and the ADF/VOR indicators through the host: a click sends
// its event, the simulated radio moves its token, and at the next update the
// drums, pointers, cards, readouts and tooltips follow; the click is heard in
// the captured audio. Copies of a set share its power switch, and a reloaded
// panel keeps every module-wide state while installing each gauge again.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/host_on_panel.h"
#include "model/events.h"
#include "model/tokens.h"
#include "tests/captured_audio.h"
#include "resources/catalogue.h"

namespace ardelvine::hostapp {
namespace {

const char* kPanel = R"([Window00]
size_mm=1000,700
gauge00=Ardelvine_Instr!Radio_COM, 0, 0, 350
gauge01=Ardelvine_Instr!Radio_COM, 0, 140, 350
gauge02=Ardelvine_Instr!Radio_NAV, 0, 280, 350
gauge03=Ardelvine_Instr!Radio_ADF, 360, 0, 350
gauge04=Ardelvine_Instr!Radio_IFF_XPDR, 360, 260, 261
gauge05=Ardelvine_Instr!ADF_VOR_Indicator, 700, 0, 300
gauge06=Ardelvine_Instr!ADF_VOR_Indicator_Small, 700, 320, 300
)";

struct RadiosOnPanel : HostOnPanel {
    void SetUp() override {
        open(kPanel, "radios", true);
        sim().set_token(tokens::AVIONICS_BUS_VOLTAGE, 28.0);
        host->update();
    }

    std::string text(const std::string& name, std::size_t index) {
        return reinterpret_cast<const StringElement*>(element(name, index).element)->text;
    }
};

TEST_F(RadiosOnPanel, NavKnobGoesRoundTheSimulation) {
    sim().set_token(tokens::NAV1_FREQUENCY, 0x1130);
    host->update();
    EXPECT_EQ(tooltip("Radio_NAV", 100, 10), "Navigation Radio NAV1 - 111.300 MHz");

    const std::size_t from = sim().events().size();
    click("Radio_NAV", 85, 40);  // megahertz up
    EXPECT_EQ(events_since(from), (Events{{events::NAV1_WHOLE_UP, 0}}));
    EXPECT_EQ(sim().token(tokens::NAV1_FREQUENCY), 0x1230);
    host->update();
    EXPECT_EQ(element("Radio_NAV", 3).value_y, 2.0) << "megahertz units drum";
    EXPECT_EQ(element("Radio_NAV", 7).angle, 180.0) << "megahertz pointer at 112";
    EXPECT_EQ(tooltip("Radio_NAV", 100, 10), "Navigation Radio NAV1 - 112.300 MHz");

    click("Radio_NAV", 200, 40);  // fraction up: one 50 kHz step
    host->update();
    EXPECT_EQ(sim().token(tokens::NAV1_FREQUENCY), 0x1235);
    EXPECT_EQ(element("Radio_NAV", 1).value_y, 5.0) << "hundredths drum";
    EXPECT_NEAR(element("Radio_NAV", 6).angle, 360.0 - 35 * 3.6, 1e-9) << "fraction pointer";

    ASSERT_EQ(sounds(), 0u) << "knobs do not click";
    click("Radio_NAV", 240, 60);  // the identifier switch
    ASSERT_EQ(sounds(), 1u);
    EXPECT_EQ(host->sounds()[0].wave, resources::waves::TOGGLE_CLICK);
    host->update();
    EXPECT_EQ(sim().events().back().event, events::NAV1_IDENT_ON);
    EXPECT_EQ(tooltip("Radio_NAV", 240, 60), "Tone switch (on)");
    click("Radio_NAV", 240, 60);
    host->update(10);
    host.reset();
    EXPECT_GT(loudest_sample(capture), 1000) << "the click is in the captured audio";
}

TEST_F(RadiosOnPanel, ComChannelAndReadout) {
    sim().set_token(tokens::COM1_FREQUENCY, 0x2350);
    host->update();
    const double knob = element("Radio_COM", 1).rotation;  // the knob's angle is the module's, kept for good
    click("Radio_COM", 200, 60);  // one channel up
    host->update();
    EXPECT_EQ(sim().token(tokens::COM1_FREQUENCY), 0x2352);
    EXPECT_EQ(element("Radio_COM", 1).rotation - knob, -30.0) << "the knob turned one channel";
    EXPECT_EQ(tooltip("Radio_COM", 10, 10), "Communications Radio COM1 - 123.525 MHz");
    EXPECT_FALSE(element("Radio_COM", 3).visible) << "the readout waits for a click";

    click("Radio_COM", 270, 10);
    host->update();
    EXPECT_TRUE(element("Radio_COM", 3).visible);
    EXPECT_EQ(text("Radio_COM", 3), "123.525");
    host->update(59);
    EXPECT_FALSE(element("Radio_COM", 3).visible) << "sixty updates after the click";
    EXPECT_EQ(host->sounds().back().wave, resources::waves::DETENT_CLICK);
}

TEST_F(RadiosOnPanel, CopiesShareThePowerSwitch) {
    click("Radio_COM", 70, 80, Button::LEFT, 1);  // switch the first copy off
    host->update();
    for (int copy : {1, 2}) {
        EXPECT_EQ(element("Radio_COM", 2, copy).image, 0) << copy;
        EXPECT_FALSE(element("Radio_COM", 4, copy).visible) << copy;
        EXPECT_EQ(tooltip("Radio_COM", 70, 80, copy), "COM1 main switch (off)");
    }
    const std::size_t from = sim().events().size();
    click("Radio_COM", 150, 60, Button::LEFT, 2);
    EXPECT_TRUE(events_since(from).empty());

    sim().set_token(tokens::AVIONICS_BUS_VOLTAGE, 20.0);
    click("Radio_COM", 70, 80, Button::LEFT, 2);
    host->update();
    EXPECT_EQ(element("Radio_COM", 2, 1).image, 0) << "no supply above 20 V, no power";
    sim().set_token(tokens::AVIONICS_BUS_VOLTAGE, 20.5);
    click("Radio_COM", 70, 80, Button::LEFT, 2);
    host->update();
    EXPECT_EQ(element("Radio_COM", 2, 1).image, 1);
}

TEST_F(RadiosOnPanel, AdfTunesWithinItsBandAndChangesBand) {
    sim().set_token(tokens::ADF_FREQUENCY, 0x365);
    sim().set_token(tokens::ADF_FREQUENCY_EXTENDED, 0);
    host->reload();  // the band is chosen at install
    host->update();
    EXPECT_DOUBLE_EQ(element("Radio_ADF", 1).angle, 82.5) << "band 1: half a degree per kHz from 200";

    click("Radio_ADF", 290, 40, Button::RIGHT);  // 5 kHz up
    host->update();
    EXPECT_EQ(sim().token(tokens::ADF_FREQUENCY), 0x370);
    EXPECT_DOUBLE_EQ(element("Radio_ADF", 1).angle, 85.0);
    click("Radio_ADF", 290, 40);  // 0.5 kHz up, carried across the tenths
    click("Radio_ADF", 290, 40);
    host->update();
    EXPECT_EQ(sim().token(tokens::ADF_FREQUENCY), 0x371);
    EXPECT_EQ(sim().token(tokens::ADF_FREQUENCY_EXTENDED), 0);
    EXPECT_EQ(tooltip("Radio_ADF", 10, 10), "Navigation Radio ADF - 0371.00 kHz");

    click("Radio_ADF", 190, 130);  // band up: retuned to 410.0
    host->update();
    EXPECT_EQ(sim().token(tokens::ADF_FREQUENCY), 0x410);
    EXPECT_EQ(element("Radio_ADF", 2).rotation, -90.0) << "band card at band 2";
    EXPECT_EQ(element("Radio_ADF", 6).angle, 90.0) << "band knob";

    click("Radio_ADF", 90, 10);  // the readout
    host->update();
    EXPECT_TRUE(element("Radio_ADF", 4).visible);
    EXPECT_EQ(text("Radio_ADF", 4), " 410.00");
    EXPECT_EQ(sounds(), 2u);

    click("Radio_ADF", 70, 190);  // identifier on
    host->update();
    EXPECT_EQ(sim().token(tokens::ADF_IDENT_AUDIO), 1.0);
    EXPECT_EQ(tooltip("Radio_ADF", 70, 190), "Tone switch (on)");
}

TEST_F(RadiosOnPanel, TransponderDigitsWrapWithinTheirDigit) {
    sim().set_token(tokens::TRANSPONDER_CODE, 0x1200);
    host->update();
    click("Radio_IFF_XPDR", 115, 50);  // thousands up
    click("Radio_IFF_XPDR", 185, 80);  // units down: 0 wraps to 7
    host->update();
    EXPECT_EQ(sim().token(tokens::TRANSPONDER_CODE), 0x2207);
    EXPECT_EQ(element("Radio_IFF_XPDR", 4).value_y, 2.0);
    EXPECT_EQ(element("Radio_IFF_XPDR", 1).value_y, 7.0);
    click("Radio_IFF_XPDR", 185, 50);  // units up: 7 wraps to 0, no carry
    host->update();
    EXPECT_EQ(sim().token(tokens::TRANSPONDER_CODE), 0x2200);
    EXPECT_EQ(sounds(), 0u) << "digit buttons do not click";
}

TEST_F(RadiosOnPanel, IndicatorKnobModeAndReload) {
    click("ADF_VOR_Indicator", 10, 260, Button::RIGHT);  // card 0 -> 350
    host->update();
    EXPECT_EQ(sim().token(tokens::ADF_CARD), 350.0);
    EXPECT_EQ(element("ADF_VOR_Indicator", 3).rotation, 350.0);

    click("ADF_VOR_Indicator", 150, 150);  // to VOR mode
    click("ADF_VOR_Indicator", 50, 260);   // course 0 -> 1
    host->update();
    EXPECT_EQ(sim().token(tokens::VOR1_COURSE), 1.0);
    EXPECT_EQ(text("ADF_VOR_Indicator", 11), "001");
    EXPECT_FALSE(element("ADF_VOR_Indicator", 3).visible) << "the card belongs to ADF mode";
    EXPECT_TRUE(element("ADF_VOR_Indicator_Small", 3).visible) << "the small one keeps its own mode";

    host->reload();
    const std::size_t before = sounds();
    host->update();
    EXPECT_TRUE(element("ADF_VOR_Indicator", 11).visible) << "the mode survives a reload";
    click("ADF_VOR_Indicator", 150, 150);
    EXPECT_EQ(sounds(), before + 1) << "the click still sounds after a reload";
}

}  // namespace
}  // namespace ardelvine::hostapp
