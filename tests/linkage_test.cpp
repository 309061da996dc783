// The module as the host sees it: its exported records and the gauge registry.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "host/module_loader.h"

namespace ardelvine::hostapp {
namespace {

struct Expected {
    const char* name;
    unsigned width;
    bool callback;
};

// The registry in Linkage order.
constexpr Expected kGauges[] = {
    {"Engine_On", 30, true}, {"Engine_Off", 30, true}, {"Registration", 150, true},
    {"Kneeboard_Toggle", 19, false}, {"ATC_Toggle", 19, false}, {"Map_Toggle", 19, false},
    {"Invisible_Toggle", 19, true}, {"Close_Subpanel", 19, true}, {"Radios_Toggle", 19, true},
    {"Landing_View_Toggle", 19, true}, {"GPS_Toggle", 19, true}, {"Throttle_Toggle", 19, true},
    {"Compass_Toggle", 19, true}, {"Fuel_Toggle", 19, true}, {"Electricity_Toggle", 19, true},
    {"Radio_COM", 100, true}, {"Radio_ADF", 100, true}, {"Radio_NAV", 100, true},
    {"Radio_IFF_XPDR", 100, true}, {"Autopilot_Switch", 60, true}, {"AP_Tester", 100, false},
    {"Altimeter", 100, false}, {"Attitude", 100, false}, {"Turn_Coordinator", 100, false},
    {"Vertical_Speed", 100, false}, {"Gyro_Compass", 100, false}, {"Airspeed", 100, false},
    {"Attitude_w_Cage", 100, false}, {"Oil_Temp_Press_1", 100, false}, {"Oil_Temp_Press_2", 100, false},
    {"Tachometer", 100, false}, {"Manifold_Pressure", 100, false}, {"CHT_Indicator", 100, false},
    {"Throttle_Quadrant", 150, true}, {"Hydr_Press_Indicator", 80, false}, {"Magnetos_Switch", 36, false},
    {"Fuel_Quantity", 100, false}, {"ADF_VOR_Indicator", 100, true}, {"Waltham_Clock", 100, false},
    {"OAT_Indicator", 100, false}, {"Whiskey_Compass", 76, false}, {"Voltmeter", 100, false},
    {"ADF_VOR_Indicator_Small", 100, true}, {"NAV_GPS_Switch", 30, true}, {"Battery_Switch", 30, true},
    {"Navigation_Lights_Switch", 30, true}, {"Landing_Lights_Switch", 30, true},
    {"Beacon_Lights_Switch", 30, true}, {"Strobe_Lights_Switch", 30, true}, {"Panel_Lights_Switch", 30, true},
    {"Pitot_Heat_Switch", 30, true}, {"Generator_Switch", 30, true}, {"Fuel_Valve", 30, true},
    {"Avionics_Switch", 30, true}, {"Starter_Switch", 40, false}, {"Carburetor_Heat", 38, false},
    {"Engine_Primer", 60, false}, {"Generator_Light", 30, false}, {"Gear_Warning_Light", 40, false},
    {"Dive_Brake_Warning_Light", 40, false}, {"Tail_Hook_Warning_Light", 40, false},
    {"Flaps_Warning_Light", 80, false},
};
static_assert(std::size(kGauges) == 62);

TEST(Linkage, RecordsAndEveryHeader) {
    PanelServices services{};
    LoadedModule module(ARD_DEFAULT_MODULE, &services);
    const LinkageRecord& l = module.linkage();
    EXPECT_EQ(l.id, 0x13u);
    EXPECT_EQ(l.flags, 0u);
    EXPECT_EQ(l.reserved, 0u);
    EXPECT_EQ(l.version, 0x900u);
    EXPECT_NE(l.init, nullptr);
    EXPECT_NE(l.deinit, nullptr);
    EXPECT_EQ(l.gauges[62], nullptr);
    ASSERT_EQ(module.gauges().size(), 62u);

    auto* imports = static_cast<ImportTableRecord*>(dlsym(module.handle(), "ImportTable"));
    ASSERT_NE(imports, nullptr);
    EXPECT_EQ(imports->panel.id, 0x0Fu);
    EXPECT_EQ(imports->panel.table, &services) << "the host fills the services word";
    EXPECT_EQ(imports->end.id, 0u);
    EXPECT_EQ(imports->end.table, nullptr);

    for (std::size_t i = 0; i < 62; ++i) {
        const GaugeHeader& g = *module.gauges()[i];
        const Expected& e = kGauges[i];
        SCOPED_TRACE(e.name);
        EXPECT_STREQ(g.name, e.name);
        EXPECT_EQ(g.version, 0x320u);
        EXPECT_EQ(g.default_width, e.width);
        EXPECT_EQ(g.default_height, 0u);
        EXPECT_EQ(g.adjust_x, 0.0f);
        EXPECT_EQ(g.adjust_y, 0.0f);
        EXPECT_EQ(g.user_data, 0u);
        EXPECT_EQ(g.callback != nullptr, e.callback);
        for (void* r : g.routines) EXPECT_EQ(r, nullptr);
        ASSERT_NE(g.mouse, nullptr);
        EXPECT_EQ(g.mouse[0].kind, MouseKind::PARENT);
        EXPECT_EQ(g.mouse[0].width, 0);
        ASSERT_NE(g.elements, nullptr);
        ASSERT_NE(g.elements[0], nullptr);
        EXPECT_EQ(g.elements[1], nullptr) << "one root";
        EXPECT_EQ(g.elements[0]->kind, ElementKind::STATIC_IMAGE);
        EXPECT_EQ(g.elements[0]->gauge, &g);
    }
}

TEST(Linkage, OnlyDataIsExported) {
    void* handle = dlopen(ARD_DEFAULT_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr);
    for (const char* hidden : {"_ZN9ardelvine4host10lookup_varEPNS_9ModuleVarE", "module_init"})
        EXPECT_EQ(dlsym(handle, hidden), nullptr) << hidden;
    EXPECT_NE(dlsym(handle, "Linkage"), nullptr);
    dlclose(handle);
}

TEST(Linkage, GaugeCodeIsHarmlessBeforeTheHostFillsTheTable) {
    // Loaded with no services table at all: a gauge's callback and an update must not crash.
    void* handle = dlopen(ARD_DEFAULT_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr);
    auto* linkage = static_cast<LinkageRecord*>(dlsym(handle, "Linkage"));
    for (std::size_t i = 0; linkage->gauges[i] != nullptr; ++i) {
        GaugeHeader* g = linkage->gauges[i];
        if (g->callback != nullptr)
            g->callback(g, PANEL_SERVICE_PRE_UPDATE, 0);
    }
    dlclose(handle);
}

}  // namespace
}  // namespace ardelvine::hostapp
