// COM1, NAV1, the ADF set and the transponder driven through their own
// records with a fake panel-services table: limits at every band edge with
// each button, power gating of every area, the tone events per update, band
// changes, digit buttons.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gauges/radios/radio.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/gauge_list.h"
#include "tests/unit/fake_services.h"
#include "tests/unit/gauge_walk.h"

namespace ardelvine::test {
namespace {

using gauges::Radio_ADF;
using gauges::Radio_COM;
using gauges::Radio_IFF_XPDR;
using gauges::Radio_NAV;
using gauges::radios::radio_power;

class Radios : public FakeServicesTest {
protected:
    void SetUp() override {
        FakeServicesTest::SetUp();
        radio_power = {.nav1 = 1, .com1 = 1, .adf = 1, .transponder = 1, .nav1_tone = 0, .adf_tone = 0};
    }
    static void update(GaugeHeader& gauge) { gauge.callback(&gauge, PANEL_SERVICE_PRE_UPDATE, 0); }
    static void tune(GaugeHeader& gauge, std::uint32_t token, std::uint32_t bits) {
        tokens[token] = bits;
        update(gauge);
    }
};

constexpr std::uint32_t L = MOUSE_LEFT, R = MOUSE_RIGHT;

// ------------------------------------------------------------ COM1

enum ComArea { COM_DOWN, COM_UP, COM_READOUT, COM_SWITCH };

TEST_F(Radios, ComKnobStopsAtTheBandEdges) {
    const struct {
        std::uint32_t bits;
        int area;
        std::uint32_t flags;
        std::uint32_t event;  // 0: nothing sent
        double turn;
    } cases[] = {
        {0x1800, COM_DOWN, L, 0, 0},   {0x1800, COM_DOWN, R, 0, 0},
        {0x1802, COM_DOWN, L, events::COM1_FRACTION_DOWN, -30},  {0x1802, COM_DOWN, R, 0, 0},
        {0x1900, COM_DOWN, R, events::COM1_WHOLE_DOWN, -90},     {0x1900, COM_DOWN, L | R, events::COM1_FRACTION_DOWN, -30},
        {0x3597, COM_UP, L, 0, 0},     {0x3595, COM_UP, L, events::COM1_FRACTION_UP, 30},
        {0x3497, COM_UP, R, events::COM1_WHOLE_UP, 90},          {0x3500, COM_UP, R, 0, 0},
        {0x2357, COM_UP, 0, 0, 0},     {0x2357, COM_DOWN, MOUSE_REPEAT, 0, 0},
    };
    auto& knob = element_as<Sprite>(Radio_COM, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " area " + std::to_string(c.area) + " flags " + std::to_string(c.flags));
        tune(Radio_COM, tokens::COM1_FREQUENCY, c.bits);
        events.clear();
        const double before = evaluate(&knob.header);
        click(Radio_COM, c.area, c.flags);
        EXPECT_EQ(events, c.event != 0 ? Events(1, {c.event, 0}) : Events());
        EXPECT_EQ(evaluate(&knob.header) - before, c.turn);
    }
    // The readout's third decimal counts toward the stops: 135.975 is the top.
    tune(Radio_COM, tokens::COM1_FREQUENCY, 0x3597);
    EXPECT_NEAR(number_arg(Radio_COM, 0), 135.975, 1e-9);
    events.clear();
    click(Radio_COM, COM_UP, L);
    EXPECT_TRUE(events.empty());
}

TEST_F(Radios, ComKnobAngleIsNotWrapped) {
    tune(Radio_COM, tokens::COM1_FREQUENCY, 0x2000);
    auto& knob = element_as<Sprite>(Radio_COM, 1);
    const double start = evaluate(&knob.header);
    for (int i = 0; i < 13; ++i) click(Radio_COM, COM_UP, L);
    EXPECT_EQ(evaluate(&knob.header) - start, 390.0);
    EXPECT_EQ(knob.rotation.scale, -1.0);
}

TEST_F(Radios, ComOffGatesEveryAreaButTheSwitch) {
    tune(Radio_COM, tokens::COM1_FREQUENCY, 0x2357);
    radio_power.com1 = 0;
    auto& knob = element_as<Sprite>(Radio_COM, 1);
    auto& readout = element_as<StringElement>(Radio_COM, 3);
    char buffer[8 + 64] = {};
    readout.text = buffer;
    const double before = evaluate(&knob.header);
    for (int area : {COM_DOWN, COM_UP, COM_READOUT})
        for (std::uint32_t flags : {L, R}) click(Radio_COM, area, flags);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(evaluate(&knob.header), before);
    evaluate(&readout.header);
    EXPECT_TRUE(hidden(&readout.header));
    EXPECT_EQ(evaluate(element(Radio_COM, 2)), 0.0) << "the lever shows off";
    EXPECT_EQ(evaluate(element(Radio_COM, 4)), -1.0) << "the lamp is out";
    EXPECT_EQ(text_arg(Radio_COM, 1), "off");

    tokens[tokens::AVIONICS_BUS_VOLTAGE] = 24.0;
    click(Radio_COM, COM_SWITCH, L);
    EXPECT_EQ(radio_power.com1, 1);
    click(Radio_COM, COM_READOUT, L);
    evaluate(&readout.header);
    EXPECT_FALSE(hidden(&readout.header));
    EXPECT_STREQ(buffer, "123.575");
    readout.text = nullptr;
}

// ------------------------------------------------------------ NAV1

enum NavArea { NAV_MHZ_DOWN, NAV_MHZ_UP, NAV_FRACTION_DOWN, NAV_FRACTION_UP, NAV_SWITCH, NAV_TONE };

TEST_F(Radios, NavDrumsAndPointers) {
    const struct {
        std::uint32_t bits;
        double hundredths, tenths, units, tens, fraction, megahertz;
    } cases[] = {
        {0x1795, 5, 9, 7, 1, 95, 117}, {0x0800, 0, 0, 8, 0, 0, 108}, {0x1130, 0, 3, 1, 1, 30, 111},
        {0x0850, 0, 5, 8, 0, 50, 108},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits));
        tune(Radio_NAV, tokens::NAV1_FREQUENCY, c.bits);
        const double expected[] = {c.hundredths, c.tenths, c.units, c.tens, 0, c.fraction, c.megahertz};
        for (int n = 1; n <= 7; ++n) EXPECT_EQ(evaluate(element(Radio_NAV, n)), expected[n - 1]) << "element " << n;
    }
    EXPECT_NEAR(number_arg(Radio_NAV, 0), 108.5, 1e-9);
}

TEST_F(Radios, NavMegahertzLimitsAndFreeFraction) {
    const struct {
        std::uint32_t bits;
        int area;
        std::uint32_t event;
    } cases[] = {
        {0x0800, NAV_MHZ_DOWN, 0},     {0x0900, NAV_MHZ_DOWN, events::NAV1_WHOLE_DOWN},
        {0x1700, NAV_MHZ_UP, 0},       {0x1600, NAV_MHZ_UP, events::NAV1_WHOLE_UP},
        {0x1795, NAV_FRACTION_UP, events::NAV1_FRACTION_UP}, {0x0800, NAV_FRACTION_DOWN, events::NAV1_FRACTION_DOWN},
    };
    for (const auto& c : cases) {
        // The knob reads the token itself: no update between tuning and clicking.
        tokens[tokens::NAV1_FREQUENCY] = c.bits;
        events.clear();
        for (std::uint32_t flags : {L, L | MOUSE_REPEAT, 0u}) click(Radio_NAV, c.area, flags);
        EXPECT_EQ(events, c.event != 0 ? Events(3, {c.event, 0}) : Events()) << std::hex << c.bits;
    }
    radio_power.nav1 = 0;
    events.clear();
    for (int area : {NAV_MHZ_DOWN, NAV_MHZ_UP, NAV_FRACTION_DOWN, NAV_FRACTION_UP, NAV_TONE}) click(Radio_NAV, area, L);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(radio_power.nav1_tone, 0);
}

// The tone events of one update, in drawing order: the tone switch (element
// 9), then the main switch (element 10).
TEST_F(Radios, NavToneEventsOnEveryUpdate) {
    const struct {
        std::int32_t power, tone;
        Events sent;
        double tone_image, lever_image;
    } cases[] = {
        {1, 0, {{events::NAV1_IDENT_OFF, 0}}, 0, 1},
        {1, 1, {{events::NAV1_IDENT_ON, 0}, {events::NAV1_IDENT_ON, 0}}, 1, 1},
        {0, 0, {{events::NAV1_IDENT_OFF, 0}, {events::NAV1_IDENT_OFF, 0}}, 0, 0},
        {0, 1, {{events::NAV1_IDENT_OFF, 0}}, 1, 0},
    };
    for (const auto& c : cases) {
        radio_power.nav1 = c.power, radio_power.nav1_tone = c.tone;
        events.clear();
        EXPECT_EQ(evaluate(element(Radio_NAV, 8)), c.tone_image);
        EXPECT_EQ(evaluate(element(Radio_NAV, 9)), c.lever_image);
        EXPECT_EQ(events, c.sent) << "power " << c.power << " tone " << c.tone;
        evaluate(element(Radio_NAV, 1));
        EXPECT_EQ(lit(element(Radio_NAV, 1)), c.power != 0);
    }
}

TEST_F(Radios, NavSwitchesAndInstall) {
    Radio_NAV.callback(&Radio_NAV, PANEL_SERVICE_PRE_INSTALL, 0);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), (Events::value_type{events::NAV1_IDENT_OFF, 0}));

    events.clear();
    click(Radio_NAV, NAV_TONE, L);
    click(Radio_NAV, NAV_TONE, L);
    EXPECT_EQ(events, (Events{{events::NAV1_IDENT_ON, 0}, {events::NAV1_IDENT_OFF, 0}}));

    // Switching off silences the identifier first, supply or not.
    events.clear();
    tokens[tokens::AVIONICS_BUS_VOLTAGE] = 0.0;
    click(Radio_NAV, NAV_SWITCH, L);
    EXPECT_EQ(radio_power.nav1, 0);
    EXPECT_EQ(events, (Events{{events::NAV1_IDENT_OFF, 0}}));
    click(Radio_NAV, NAV_SWITCH, L);
    EXPECT_EQ(radio_power.nav1, 0) << "no supply, no power";
    EXPECT_EQ(text_arg(Radio_NAV, 2), "off");
    Radio_NAV.callback(&Radio_NAV, PANEL_SERVICE_PRE_KILL, 0);
}

// ------------------------------------------------------------ ADF

enum AdfArea { ADF_SWITCH, ADF_TONE, ADF_BAND_DOWN, ADF_BAND_UP, ADF_TUNE_DOWN, ADF_TUNE_UP, ADF_READOUT };

class Adf : public Radios {
protected:
    // Installs the set at a frequency, which chooses its band.
    static void install_at(std::uint32_t units, std::uint32_t tenths) {
        tokens[tokens::ADF_FREQUENCY] = units;
        tokens[tokens::ADF_FREQUENCY_EXTENDED] = tenths;
        Radio_ADF.callback(&Radio_ADF, PANEL_SERVICE_PRE_INSTALL, 0);
        Radio_ADF.callback(&Radio_ADF, PANEL_SERVICE_PRE_KILL, 0);
        update(Radio_ADF);
    }
    static double band() { return evaluate(element(Radio_ADF, 6)); }
    static double dial() { return evaluate(element(Radio_ADF, 1)); }
    static double knob() { return evaluate(element(Radio_ADF, 5)); }
};

TEST_F(Adf, BandDerivedAtInstall) {
    const struct {
        std::uint32_t units, tenths;
        double band, dial;
    } cases[] = {
        {0x410, 0, 1, 105},   {0x410, 5, 2, 0.2}, {0x850, 0, 2, 176}, {0x850, 1, 3, 0.03},
        {0x200, 0, 1, 0},     {0x190, 0, 1, -5},  {0x750, 0x100, 3, 270}, {0x234, 0x105, 3, 115.35},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.units) + "/" + std::to_string(c.tenths));
        install_at(c.units, c.tenths);
        EXPECT_EQ(band(), c.band);
        EXPECT_NEAR(dial(), c.dial, 1e-9);
        EXPECT_EQ(evaluate(element(Radio_ADF, 2)), (1.0 - c.band) * 90.0) << "the band card";
    }
    // Retuned by other means, the band stays and the pointer runs off its scale.
    tokens[tokens::ADF_FREQUENCY] = 0x300;
    tokens[tokens::ADF_FREQUENCY_EXTENDED] = 0;
    update(Radio_ADF);
    EXPECT_EQ(band(), 3.0);
    EXPECT_NEAR(dial(), (300.0 - 850.0) * 0.3, 1e-9);
}

TEST_F(Adf, TuningStopsPerBandAndButton) {
    const struct {
        std::uint32_t units, tenths;  // installed here
        int area;
        std::uint32_t flags;
        std::uint32_t event;  // sent five times, or 0
        double knob_turn;
    } cases[] = {
        {0x409, 5, ADF_TUNE_UP, L, events::ADF_TENTH_UP, 1},   {0x409, 6, ADF_TUNE_UP, L, 0, 0},
        {0x405, 0, ADF_TUNE_UP, R, events::ADF_WHOLE_UP, 5},   {0x405, 5, ADF_TUNE_UP, R, 0, 0},
        {0x200, 5, ADF_TUNE_DOWN, L, events::ADF_TENTH_DOWN, -1}, {0x200, 4, ADF_TUNE_DOWN, L, 0, 0},
        {0x205, 0, ADF_TUNE_DOWN, R, events::ADF_WHOLE_DOWN, -5}, {0x204, 9, ADF_TUNE_DOWN, R, 0, 0},
        {0x849, 5, ADF_TUNE_UP, L, events::ADF_TENTH_UP, 1},   {0x845, 1, ADF_TUNE_UP, R, 0, 0},
        {0x410, 5, ADF_TUNE_DOWN, L, events::ADF_TENTH_DOWN, -1}, {0x415, 0, ADF_TUNE_DOWN, R, events::ADF_WHOLE_DOWN, -5},
        {0x749, 0x105, ADF_TUNE_UP, L, events::ADF_TENTH_UP, 1}, {0x745, 0x101, ADF_TUNE_UP, R, 0, 0},
        {0x850, 5, ADF_TUNE_DOWN, L, events::ADF_TENTH_DOWN, -1}, {0x854, 9, ADF_TUNE_DOWN, R, 0, 0},
        // Both buttons count as the right one.
        {0x405, 0, ADF_TUNE_UP, L | R, events::ADF_WHOLE_UP, 5}, {0x405, 0, ADF_TUNE_UP, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.units) + "/" + std::to_string(c.tenths) + " area " + std::to_string(c.area));
        install_at(c.units, c.tenths);
        events.clear();
        const double before = knob();
        click(Radio_ADF, c.area, c.flags);
        EXPECT_EQ(events, c.event != 0 ? Events(5, {c.event, 0}) : Events());
        EXPECT_EQ(knob() - before, c.knob_turn);
    }
}

TEST_F(Adf, BandChangesRetuneToTheSharedEdge) {
    install_at(0x300, 0);
    const struct {
        int area;
        double band, dial;
        Events sent;
    } steps[] = {
        {ADF_BAND_DOWN, 1, -1, {}},
        {ADF_BAND_UP, 2, 0, {{events::ADF_FREQUENCY_SET, 0x4100}}},
        {ADF_BAND_UP, 3, 0, {{events::ADF_FREQUENCY_SET, 0x8500}}},
        {ADF_BAND_UP, 3, -1, {}},
        {ADF_BAND_DOWN, 2, 176, {{events::ADF_FREQUENCY_SET, 0x8500}}},
        {ADF_BAND_DOWN, 1, 105, {{events::ADF_FREQUENCY_SET, 0x4100}}},
    };
    radio_power.adf = 0;  // the pointer keeps the dial value the band change set
    for (const auto& s : steps) {
        events.clear();
        radio_power.adf = 1;
        click(Radio_ADF, s.area, L);
        radio_power.adf = 0;
        EXPECT_EQ(band(), s.band);
        if (s.dial >= 0) {
            EXPECT_EQ(dial(), s.dial);
        }
        EXPECT_EQ(events, s.sent);
    }
    radio_power.adf = 0;
    click(Radio_ADF, ADF_BAND_UP, L);
    EXPECT_EQ(band(), 1.0) << "off, the band knob does nothing";
}

TEST_F(Adf, ToneTooltipReadsTheSimulator) {
    install_at(0x410, 0);
    radio_power.adf_tone = 1;
    tokens[tokens::ADF_IDENT_AUDIO] = 0.0;
    EXPECT_EQ(text_arg(Radio_ADF, 1), "off");
    EXPECT_EQ(evaluate(element(Radio_ADF, 7)), 1.0) << "the switch shows the set's own flag";
    tokens[tokens::ADF_IDENT_AUDIO] = 1.0;
    EXPECT_EQ(text_arg(Radio_ADF, 1), "on");
    events.clear();
    EXPECT_EQ(evaluate(element(Radio_ADF, 9)), 1.0);
    EXPECT_EQ(events, (Events{{events::ADF_IDENT_ON, 0}}));
    click(Radio_ADF, ADF_TONE, L);
    EXPECT_EQ(radio_power.adf_tone, 0);
    EXPECT_EQ(events.back(), (Events::value_type{events::ADF_IDENT_OFF, 0}));
}

TEST_F(Adf, ReadoutNeverPassesItsSevenCharacters) {
    auto& readout = element_as<StringElement>(Radio_ADF, 4);
    char buffer[8 + 64];
    std::memset(buffer, '#', sizeof buffer);
    readout.text = buffer;
    tokens[tokens::ADF_FREQUENCY] = 0x9999;  // 1000 + 153 hundreds + 99: five figures
    tokens[tokens::ADF_FREQUENCY_EXTENDED] = 0x109;
    update(Radio_ADF);
    evaluate(&readout.header);
    EXPECT_STREQ(buffer, "16399.9");
    EXPECT_EQ(buffer[8], '#');
    tokens[tokens::ADF_FREQUENCY] = 0x234;
    tokens[tokens::ADF_FREQUENCY_EXTENDED] = 0x105;
    update(Radio_ADF);
    evaluate(&readout.header);
    EXPECT_STREQ(buffer, "1234.50");
    readout.text = nullptr;
}

// ------------------------------------------------------------ transponder

TEST_F(Radios, TransponderDrumsAndButtons) {
    const struct {
        std::uint32_t bits;
        double thousands, hundreds, tens, units;
    } codes[] = {{0x7700, 7, 7, 0, 0}, {0x1200, 1, 2, 0, 0}, {0x0007, 0, 0, 0, 7}, {0x4321, 4, 3, 2, 1}};
    for (const auto& c : codes) {
        tokens[tokens::TRANSPONDER_CODE] = c.bits;  // each drum reads the token itself
        EXPECT_EQ(evaluate(element(Radio_IFF_XPDR, 4)), c.thousands) << std::hex << c.bits;
        EXPECT_EQ(evaluate(element(Radio_IFF_XPDR, 3)), c.hundreds) << std::hex << c.bits;
        EXPECT_EQ(evaluate(element(Radio_IFF_XPDR, 2)), c.tens) << std::hex << c.bits;
        EXPECT_EQ(evaluate(element(Radio_IFF_XPDR, 1)), c.units) << std::hex << c.bits;
    }

    const Events buttons = {
        {events::TRANSPONDER_THOUSANDS_DOWN, 0}, {events::TRANSPONDER_THOUSANDS_UP, 0},
        {events::TRANSPONDER_HUNDREDS_DOWN, 0},  {events::TRANSPONDER_HUNDREDS_UP, 0},
        {events::TRANSPONDER_TENS_DOWN, 0},      {events::TRANSPONDER_TENS_UP, 0},
        {events::TRANSPONDER_UNITS_DOWN, 0},     {events::TRANSPONDER_UNITS_UP, 0},
    };
    for (int area = 1; area <= 8; ++area) click(Radio_IFF_XPDR, area, area % 2 == 0 ? 0u : L);
    click(Radio_IFF_XPDR, 9, L);  // the switch that is only drawn
    EXPECT_EQ(events, buttons);

    radio_power.transponder = 0;
    events.clear();
    for (int area = 1; area <= 9; ++area) click(Radio_IFF_XPDR, area, L);
    EXPECT_TRUE(events.empty());
    evaluate(element(Radio_IFF_XPDR, 1));
    EXPECT_FALSE(lit(element(Radio_IFF_XPDR, 1)));
    EXPECT_EQ(evaluate(element(Radio_IFF_XPDR, 6)), -1.0);
    EXPECT_EQ(text_arg(Radio_IFF_XPDR, 0), "off");
}

}  // namespace
}  // namespace ardelvine::test
