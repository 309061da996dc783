// A panel-services table for unit tests of gauge code: tokens are served from
// a map, key events and window toggles are recorded in order, the aircraft's
// identifier is whatever `atc_id` points to, and sound is left as each test
// found it (clicks here have no device behind them).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "module/exports.h"
#include "sound/sound.h"

namespace ardelvine::test {

using Events = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

class FakeServicesTest : public ::testing::Test {
protected:
    static inline Events events;
    static inline std::map<std::uint32_t, double> tokens;
    static inline std::vector<std::uint32_t> windows_toggled;  // panel_window_toggle idents
    static inline const char* atc_id = nullptr;

    void SetUp() override {
        services_.entry[ENTRY_TRIGGER_KEY_EVENT - 1] = reinterpret_cast<ServiceEntry>(&trigger_key_event);
        services_.entry[ENTRY_LOOKUP_VAR - 1] = reinterpret_cast<ServiceEntry>(&lookup_var);
        services_.entry[ENTRY_PANEL_WINDOW_TOGGLE - 1] = reinterpret_cast<ServiceEntry>(&panel_window_toggle);
        services_.entry[ENTRY_EVALUATE_EXPRESSION - 1] = reinterpret_cast<ServiceEntry>(&evaluate_expression);
        saved_services_ = ImportTable.panel.table;
        ImportTable.panel.table = &services_;
        saved_sound_ = sound::sound_enabled;
        events.clear();
        tokens.clear();
        windows_toggled.clear();
        atc_id = "N4471A";
    }
    void TearDown() override {
        ImportTable.panel.table = saved_services_;
        sound::sound_enabled = saved_sound_;
    }

private:
    static std::int32_t ARD_CALL trigger_key_event(std::uint32_t event, std::uint32_t parameter) {
        events.emplace_back(event, parameter);
        return 1;
    }
    static void ARD_CALL lookup_var(ModuleVar* var) { var->value = tokens[var->token]; }
    static std::int32_t ARD_CALL panel_window_toggle(std::uint32_t ident) {
        windows_toggled.push_back(ident);
        return 1;
    }
    // Answers only the identifier, as text; anything else leaves the results alone.
    static std::int32_t ARD_CALL evaluate_expression(const char* expression, double*, std::int32_t*,
                                                     const char** text) {
        if (std::strcmp(expression, "(A:ATC ID,string)") != 0 || text == nullptr) return 0;
        *text = atc_id;
        return 1;
    }

    PanelServices services_{};
    PanelServices* saved_services_ = nullptr;
    std::int32_t saved_sound_ = 1;
};

}  // namespace ardelvine::test
