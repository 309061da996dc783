// The module's only way into the host: the four panel services reached through
// the table whose address the host deposits in ImportTable. Until the host has
// done so every call does nothing, so gauge code can never crash on a missing
// table.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace ardelvine::panel_services {

void lookup_var(ModuleVar* var);
void trigger_key_event(std::uint32_t event, std::uint32_t parameter = 0);
void panel_window_toggle(std::uint32_t ident);
void evaluate_expression(const char* expression, double* number, std::int32_t* integer,
                         const char** text);

// Reads one token the way gauge code does: a zeroed ModuleVar through lookup_var.
double read_token(std::uint32_t token);

}  // namespace ardelvine::panel_services
