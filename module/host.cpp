#include "module/host.h"

#include "module/exports.h"

extern "C" {
ardelvine::ImportTableRecord ImportTable = {
    {ardelvine::kPanelServicesImportId, nullptr},
    {0, nullptr},
};
}

namespace ardelvine::panel_services {
namespace {

template <typename Fn>
Fn service(std::uint32_t entry) {
    const PanelServices* table = ImportTable.panel.table;
    if (table == nullptr || entry == 0 || entry > kPanelServiceEntries) return nullptr;
    return reinterpret_cast<Fn>(table->entry[entry - 1]);
}

}  // namespace

void lookup_var(ModuleVar* var) {
    if (var == nullptr) return;
    if (auto fn = service<LookupVarFn>(ENTRY_LOOKUP_VAR)) fn(var);
}

void trigger_key_event(std::uint32_t event, std::uint32_t parameter) {
    if (auto fn = service<TriggerKeyEventFn>(ENTRY_TRIGGER_KEY_EVENT)) fn(event, parameter);
}

void panel_window_toggle(std::uint32_t ident) {
    if (auto fn = service<PanelWindowToggleFn>(ENTRY_PANEL_WINDOW_TOGGLE)) fn(ident);
}

void evaluate_expression(const char* expression, double* number, std::int32_t* integer,
                         const char** text) {
    if (expression == nullptr) return;
    if (auto fn = service<EvaluateExpressionFn>(ENTRY_EVALUATE_EXPRESSION))
        fn(expression, number, integer, text);
}

double read_token(std::uint32_t token) {
    ModuleVar var{token, nullptr, 0, 0.0, 0.0};
    lookup_var(&var);
    return var.value;
}

}  // namespace ardelvine::panel_services
