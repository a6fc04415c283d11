#pragma once

#include <filesystem>
#include <string>

namespace dravin {

class Table;

// The language driver every study and master table carries.
inline constexpr const char* kLanguageDriver = "grcp437";

// The one line of a study marker file, "Αρχείο Κατανομής Χιλιοστών" in code page
// 1253 followed by CR LF: 28 bytes.
std::string studyMarkerBytes();

// Creates or truncates <dir>/<name>.DVT with the marker line. Throws IoError.
void writeStudyMarker(const std::filesystem::path& dir, const std::string& name);
std::filesystem::path studyMarkerPath(const std::filesystem::path& dir, const std::string& name);

// True when the marker file or any table of the study exists.
bool studyExists(const std::filesystem::path& dir, const std::string& name);

// The table name of one part of a study: name + part word + "_DRAVIN".
std::string studyTableName(const std::string& studyName, const char* partWord);

// A study chosen through its marker file: the file's directory and its name
// without the ".DVT" extension.
struct StudyLocation {
    std::filesystem::path directory;
    std::string name;
};
StudyLocation studyFromMarkerFile(const std::filesystem::path& chosenFile);

// True when both name the same study on disk (also through another form of the path).
bool sameStudy(const std::filesystem::path& dirA, const std::string& nameA,
               const std::filesystem::path& dirB, const std::string& nameB);

// Said when the user asks to delete the study that is open.
inline constexpr const char* kStudyInUseMessage =
    "Τα αρχεία χρησιμοποιούνται αυτή τη στιγμή\rΔεν μπορούν να διαγραφούν";

// Gives the table the language driver and leaves it open.
void ApplyLanguageDriver(Table& table);
// Creates the table from its definition, then applies the language driver.
void CreateTableWithDriver(Table& table);

}  // namespace dravin
