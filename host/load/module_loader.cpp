#include "host/load/module_loader.h"

#include <cstring>
#include <filesystem>

#include "host/load/error.h"
#include "host/load/text.h"
#include "platform/platform.h"

namespace ardelvine::hostapp {

namespace {
// A Linkage with more entries than this has no terminating null.
constexpr std::size_t kMaxGauges = 4096;
constexpr std::size_t kMaxGaugeName = 255;
}

LoadedModule::LoadedModule(const std::string& path, PanelServices* services) : path_(path) {
    check_regular_file(path, "no such gauge module");
    // A bare name means the file in the current folder, never a library the
    // loader would find on its search path.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    std::string why;
    handle_ = platform::load_library(file.c_str(), &why);
    if (handle_ == nullptr) throw input_error(path, 0, "cannot load gauge module: " + why);
    imports_ = static_cast<ImportTableRecord*>(platform::library_symbol(handle_, kImportTableSymbol));
    linkage_ = static_cast<LinkageRecord*>(platform::library_symbol(handle_, kLinkageSymbol));
    if (imports_ == nullptr || linkage_ == nullptr) {
        platform::free_library(handle_);
        throw input_error(path, 0, "not a gauge module: it exports no ImportTable or no Linkage");
    }
    if (imports_->panel.id != kPanelServicesImportId || linkage_->id != kLinkageId) {
        platform::free_library(handle_);
        throw input_error(path, 0, "not a gauge module: unexpected ImportTable or Linkage id");
    }
    imports_->panel.table = services;
    for (std::size_t i = 0; linkage_->gauges[i] != nullptr; ++i) {
        if (i >= kMaxGauges) {
            platform::free_library(handle_);
            throw input_error(path, 0, "gauge list in Linkage has no end");
        }
        const GaugeHeader* gauge = linkage_->gauges[i];
        const char* fault = gauge->name == nullptr                         ? "has no name"
                          : strnlen(gauge->name, kMaxGaugeName + 1) > kMaxGaugeName ? "has a name longer than 255 characters"
                          : gauge->name[0] == '\0'                         ? "has an empty name"
                                                                          : nullptr;
        if (fault != nullptr) {
            platform::free_library(handle_);
            throw input_error(path, 0, "gauge " + std::to_string(i + 1) + " in Linkage " + fault);
        }
        gauges_.push_back(linkage_->gauges[i]);
    }
    name_ = std::filesystem::path(path).stem().string();
    if (linkage_->init != nullptr) linkage_->init();
}

LoadedModule::~LoadedModule() {
    if (linkage_ != nullptr && linkage_->deinit != nullptr) linkage_->deinit();
    if (imports_ != nullptr) imports_->panel.table = nullptr;
    if (handle_ != nullptr) platform::free_library(handle_);
}

GaugeHeader* LoadedModule::find(std::string_view gauge_name) const {
    for (GaugeHeader* gauge : gauges_)
        if (gauge->name != nullptr && gauge_name == gauge->name) return gauge;
    return nullptr;
}

}  // namespace ardelvine::hostapp
