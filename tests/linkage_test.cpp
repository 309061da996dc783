// The module as the host sees it: its exported records and the gauge registry.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "host/load/module_loader.h"
#include "module/gauge_list.h"

namespace ardelvine::hostapp {
namespace {

using gauges::GaugeEntry;
using gauges::kRegistry;
static_assert(std::size(kRegistry) == kGaugeCount);

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
        const GaugeEntry& e = kRegistry[i];
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
    for (const char* hidden : {"_ZN9ardelvine14panel_services10lookup_varEPNS_9ModuleVarE", "module_init"})
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
