// Compares two `gaugehost state` outputs key by key:
//
//   state_compare [--ignore KEY]... EXPECTED.json ACTUAL.json
//
// Objects must have the same keys (the ignored top-level keys aside), arrays
// the same length, strings and booleans the same value; numbers may differ
// by a few units in their last place, as two compilers' floating-point
// libraries do. Prints each difference with its path and exits 1 when there
// is any; exits 2 when a file cannot be read as JSON.
#include <cmath>
#include <fstream>
#include <iostream>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

using json = nlohmann::json;

namespace {

int differences = 0;

void differ(const std::string& path, const std::string& what) {
    if (++differences <= 20) std::cout << (path.empty() ? "/" : path) << ": " << what << "\n";
}

bool close(double a, double b) {
    if (a == b) return true;
    const double scale = std::fmax(std::fabs(a), std::fabs(b));
    return std::fabs(a - b) <= 1e-9 * std::fmax(scale, 1.0);
}

void compare(const json& a, const json& b, const std::string& path, const std::set<std::string>& ignored) {
    if (a.is_number() && b.is_number()) {
        if (!close(a.get<double>(), b.get<double>())) differ(path, a.dump() + " != " + b.dump());
        return;
    }
    if (a.type() != b.type()) return differ(path, std::string(a.type_name()) + " != " + b.type_name());
    if (a.is_object()) {
        for (const auto& [key, value] : a.items()) {
            if (path.empty() && ignored.count(key)) continue;
            if (!b.contains(key)) differ(path + "/" + key, "missing");
            else compare(value, b.at(key), path + "/" + key, ignored);
        }
        for (const auto& [key, value] : b.items())
            if (!a.contains(key) && !(path.empty() && ignored.count(key))) differ(path + "/" + key, "unexpected");
    } else if (a.is_array()) {
        if (a.size() != b.size())
            differ(path, std::to_string(a.size()) + " entries != " + std::to_string(b.size()));
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
            compare(a[i], b[i], path + "/" + std::to_string(i), ignored);
    } else if (a != b) {
        differ(path, a.dump() + " != " + b.dump());
    }
}

bool load(const char* file, json& out) {
    std::ifstream in(file, std::ios::binary);
    try {
        out = json::parse(in);
        return true;
    } catch (const std::exception& e) {
        std::cerr << file << ": not JSON: " << e.what() << "\n";
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::set<std::string> ignored;
    int i = 1;
    for (; i + 1 < argc && std::string(argv[i]) == "--ignore"; i += 2) ignored.insert(argv[i + 1]);
    if (argc - i != 2) {
        std::cerr << "usage: state_compare [--ignore KEY]... EXPECTED.json ACTUAL.json\n";
        return 2;
    }
    json expected, actual;
    if (!load(argv[i], expected) || !load(argv[i + 1], actual)) return 2;
    compare(expected, actual, "", ignored);
    if (differences > 20) std::cout << "... " << differences - 20 << " more\n";
    return differences == 0 ? 0 : 1;
}
