#pragma once

#include <array>
#include <filesystem>
#include <optional>
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

// True when the marker file or any table of the study exists, or a save-as into it
// awaits its end.
bool studyExists(const std::filesystem::path& dir, const std::string& name);

// A table is made complete under its name with this suffix, then renamed.
inline constexpr const char* kNewTableSuffix = ".new";

// Why a study of that name cannot be kept in that directory, as one sentence: a file it
// needs (the longest table name with the suffixes of a table being made and of the
// engine's journal) would be longer than the file system or the engine takes.
std::optional<std::string> studyNameProblem(const std::filesystem::path& dir,
                                            const std::string& name);
// Throws IoError with the sentence of studyNameProblem.
void requireUsableStudyName(const std::filesystem::path& dir, const std::string& name);

// A save-as puts the five finished tables of its target in place together: the file at
// this path, written once all five are complete under kNewTableSuffix, says that they
// are to replace the target's tables; the marker follows, then the file goes. A program
// killed in between leaves the file, and completePendingSave ends the work.
std::filesystem::path pendingSavePath(const std::filesystem::path& dir, const std::string& name);
void commitSavedStudy(const std::filesystem::path& dir, const std::string& name);
// Puts the finished tables of an interrupted save-as in place; nothing when none waits.
void completePendingSave(const std::filesystem::path& dir, const std::string& name);

// The part word of each table of a study, in the order floor, kind, owner, space,
// general data.
inline constexpr std::array<const char*, 5> kStudyPartWords = {"Floor", "Xoros", "Owner", "Dravin",
                                                               "GenData"};

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
