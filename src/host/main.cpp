// dravin: starts the apportionment tool. Standalone by default; with --embedded the
// caller fixes the directories, the study and the print font, as a host program does.

#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "data/cp1253.h"

namespace {

using Compute = std::uint8_t (*)(std::int32_t, std::int32_t, std::uint32_t, const char*,
                                 const char*, const char*, const unsigned char*, std::uint8_t);

struct Options {
    bool embedded = false;
    std::string dataDir, studiesDir, study, font = "Courier New";
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&](std::string& target) {
            if (i + 1 >= argc) {
                return false;
            }
            target = argv[++i];
            return true;
        };
        if (a == "--embedded") {
            o.embedded = true;
        } else if (!((a == "--data-dir" && value(o.dataDir)) ||
                     (a == "--studies-dir" && value(o.studiesDir)) ||
                     (a == "--study" && value(o.study)) || (a == "--font" && value(o.font)))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::cerr << "χρήση: dravin [--embedded --data-dir D --studies-dir S --study NAME "
                     "--font F]\n";
        return 2;
    }
    std::string dataDir, studiesDir, study, font;
    try {
        dataDir = dravin::cp1253::encode(o.dataDir);
        studiesDir = dravin::cp1253::encode(o.studiesDir);
        study = dravin::cp1253::encode(o.study);
        font = dravin::cp1253::encode(o.font).substr(0, 255);  // one byte a character
    } catch (const std::exception& e) {
        std::cerr << "dravin: " << e.what() << '\n';
        return 1;
    }
    const auto library =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libdravin.so";
    // The library may have created the application object: it stays loaded to the end.
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NODELETE);
    if (!handle) {
        std::cerr << "dravin: η βιβλιοθήκη " << library.string() << " δεν φορτώνεται: " << dlerror()
                  << '\n';
        return 1;
    }
    const auto compute = reinterpret_cast<Compute>(dlsym(handle, "DravinCompute"));
    if (!compute) {
        std::cerr << "dravin: η βιβλιοθήκη " << library.string()
                  << " δεν έχει το σημείο εισόδου DravinCompute.\n";
        return 1;
    }
    std::vector<unsigned char> shortString(1 + font.size());
    shortString[0] = static_cast<unsigned char>(font.size());
    std::memcpy(shortString.data() + 1, font.data(), font.size());
    compute(51873, 27406, 0, dataDir.c_str(), studiesDir.c_str(), study.c_str(), shortString.data(),
            o.embedded ? 1 : 0);
    return 0;
}
