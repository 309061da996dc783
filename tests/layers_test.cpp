// The host's folders are layers, and a file includes only its own layer's
// headers and those of the layers below it: the command line sits on the live
// cockpit, which runs a panel, which draws and simulates, which both rest on
// loading. A header that reached upward would tie a lower layer to what is
// built on it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>

namespace {

const std::map<std::string, int> kLayer = {
    {"load", 0}, {"sim", 1}, {"draw", 1}, {"run", 2}, {"live", 3}, {"cli", 4},
    // The Windows build's stand-ins for the command line's drawing commands.
    {"win32", 5},
};

TEST(HostLayers, IncludesRunOneWay) {
    namespace fs = std::filesystem;
    const fs::path host = fs::path(ARD_SOURCE_DIR) / "host";
    const std::regex include(R"re(#include "host/(\w+)/)re");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(host)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), host);
        if (relative.begin() == relative.end() || std::next(relative.begin()) == relative.end()) continue;
        const std::string folder = relative.begin()->string();
        ASSERT_TRUE(kLayer.contains(folder)) << "host/" << folder << " is in no layer";
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            const std::string to = m[1];
            ASSERT_TRUE(kLayer.contains(to)) << relative << ": " << line;
            if (to == folder) continue;
            EXPECT_LT(kLayer.at(to), kLayer.at(folder)) << relative << " reaches up or across: " << line;
        }
    }
    EXPECT_GT(files, 40);
}

}  // namespace
