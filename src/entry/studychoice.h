#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace dravin {

// Why a study chosen in a file dialog cannot be taken, as one Greek sentence: the settings
// file could not keep its folder or its name, so that the next run would look for it
// elsewhere, or its files would get names too long for the disk. None when it can.
std::optional<std::string> studyChoiceProblem(const std::filesystem::path& dir,
                                              const std::string& name);

// Throws IoError with the sentence of studyChoiceProblem.
void requireStudyChoice(const std::filesystem::path& dir, const std::string& name);

}  // namespace dravin
