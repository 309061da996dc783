// The records the module exports, and the panel-services table the host hands
// it. These are the only names the host looks up in the library.
#pragma once

#include "model/records.h"

#if defined(_WIN32)
// The Windows module's export table comes from its .def file alone: exactly
// the two records, under their plain names.
#define ARD_EXPORT
#else
#define ARD_EXPORT __attribute__((visibility("default")))
#endif

namespace ardelvine {

#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(push, 4)
#endif

// Any function pointer; entries of the panel-services table are cast to their
// real types at the one place that calls each of them.
using ServiceEntry = void(ARD_CALL*)();

// The host's panel-services table, addressed by entry number from 1.
inline constexpr std::uint32_t kPanelServiceEntries = 80;
inline constexpr std::uint32_t ENTRY_PANEL_WINDOW_TOGGLE = 36;
inline constexpr std::uint32_t ENTRY_TRIGGER_KEY_EVENT = 37;
inline constexpr std::uint32_t ENTRY_LOOKUP_VAR = 41;
inline constexpr std::uint32_t ENTRY_EVALUATE_EXPRESSION = 70;

struct PanelServices {
    ServiceEntry entry[kPanelServiceEntries];  // entry n lives at entry[n - 1]
};

using PanelWindowToggleFn = std::int32_t(ARD_CALL*)(std::uint32_t ident);
using TriggerKeyEventFn = std::int32_t(ARD_CALL*)(std::uint32_t event, std::uint32_t parameter);
using LookupVarFn = void(ARD_CALL*)(ModuleVar* var);
using EvaluateExpressionFn = std::int32_t(ARD_CALL*)(const char* expression, double* number,
                                                     std::int32_t* integer, const char** text);

inline constexpr std::uint32_t kPanelServicesImportId = 0x0F;

struct ImportEntry {
    std::uint32_t id;
    PanelServices* table;
};

struct ImportTableRecord {
    ImportEntry panel;  // id 0x0F; the host fills the pointer
    ImportEntry end;    // (0, null)
};

using ModuleRoutine = void(ARD_CALL*)();

inline constexpr std::uint32_t kLinkageId = 0x13;
inline constexpr std::uint32_t kModuleVersion = 0x900;
inline constexpr std::size_t kGaugeCount = 62;

struct LinkageRecord {
    std::uint32_t id;
    ModuleRoutine init;
    ModuleRoutine deinit;
    std::uint32_t flags;
    std::uint32_t reserved;
    std::uint32_t version;
    GaugeHeader* gauges[kGaugeCount + 1];  // null-terminated
};

// Stand-in for a resource section: every bitmap and sound, found by type and id.
enum class ResourceType : std::uint32_t { BITMAP = 2, WAVE = 0x57415645 /* 'WAVE' */ };

struct ResourceEntry {
    ResourceType type;
    std::uint32_t id;
    const unsigned char* begin;
    const unsigned char* end;
};

struct ResourceDirectory {
    std::uint32_t count;
    const ResourceEntry* entries;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(pop)
#endif

inline constexpr const char* kImportTableSymbol = "ImportTable";
inline constexpr const char* kLinkageSymbol = "Linkage";
inline constexpr const char* kResourceSymbol = "Resources";

}  // namespace ardelvine

extern "C" {
ARD_EXPORT extern ardelvine::ImportTableRecord ImportTable;
ARD_EXPORT extern ardelvine::LinkageRecord Linkage;
ARD_EXPORT extern const ardelvine::ResourceDirectory Resources;
}
