#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "data/tabledef.h"
#include "data/value.h"
#include "support/paradoxwriter.h"

namespace dravin::test {

// Code page 1253 text of the UTF-8 text.
Value greek(const std::string& utf8);

// A study with every field filled in: Greek text in every text field, blank and zero
// numbers, notes of many lines (one longer than a memo block), owners with equal names,
// and `spaces` spaces.
StudyRows sampleStudy(int spaces = 12);

// The five tables' definitions, in the order floor, kind, owner, space, general data.
std::vector<TableDef> studyDefs();

// Every file of the directory (not below it) with its bytes.
std::vector<std::pair<std::string, std::string>> filesOf(const std::filesystem::path& dir);

}  // namespace dravin::test
