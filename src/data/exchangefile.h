#pragma once

#include <iosfwd>

namespace dravin {

class TDravinDataT;

// The exchange file: one UTF-8 JSON document with the five tables of a study
// ("floors", "kinds", "owners", "spaces", "general"), each record an object keyed
// by the stored field names in table order, blank as null.

// Writes the open working set.
void exportStudyJson(TDravinDataT& data, std::ostream& out);

// Replaces the five tables of the open working set by the document's records.
// The whole document is checked before any table is touched; throws ParseError
// or EngineError naming the first fault.
void loadStudyJson(TDravinDataT& data, std::istream& in);

// The space table as the grids show it: every declared field in order, lookups
// resolved, numbers in their display formats; one header line of field names.
void exportSpacesCsv(TDravinDataT& data, std::ostream& out);

// The same as tab-separated lines for a terminal: one record a line, total rows included.
void printSpaces(TDravinDataT& data, std::ostream& out);

}  // namespace dravin
