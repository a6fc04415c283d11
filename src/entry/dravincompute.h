#pragma once

#include <cstdint>

// The one function the library exports. The host calls it once per use; it shows the
// main window modally and returns when the user closes it. Returns false (0) always.
extern "C" __attribute__((visibility("default"))) std::uint8_t DravinCompute(
    std::int32_t code1, std::int32_t code2, std::uint32_t hostWindow, const char* dataDir,
    const char* studiesDir, const char* studyName, const unsigned char* printFontName,
    std::uint8_t embedded);
