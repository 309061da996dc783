// Loads a gauge module the way the simulator does: the library is opened, the
// address of our panel-services table goes into its ImportTable, its Linkage
// is read up to the null and its init routine runs. Closing runs deinit and
// unloads the library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "module/exports.h"

namespace ardelvine::hostapp {

class LoadedModule {
public:
    // Throws InputError when the file is missing or is not a gauge module.
    LoadedModule(const std::string& path, PanelServices* services);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // The name a panel configuration uses before '!': the file name without extension.
    const std::string& name() const { return name_; }
    const std::string& path() const { return path_; }
    void* handle() const { return handle_; }
    const LinkageRecord& linkage() const { return *linkage_; }
    const std::vector<GaugeHeader*>& gauges() const { return gauges_; }
    GaugeHeader* find(std::string_view gauge_name) const;

private:
    std::string path_;
    std::string name_;
    void* handle_ = nullptr;
    ImportTableRecord* imports_ = nullptr;
    LinkageRecord* linkage_ = nullptr;
    std::vector<GaugeHeader*> gauges_;
};

}  // namespace ardelvine::hostapp
