#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "data/tabledef.h"

namespace dravin {

class Prompter;
class ProgressReporter;

// What a conversion did, one sentence a line.
struct ConversionReport {
    std::vector<std::string> tables;  // each table converted, with its record count
    std::vector<std::string> notes;   // fields left out, fields that stayed blank
    std::filesystem::path keptIn;     // the folder that holds the original files
    std::string text() const;
};

// Turns the Paradox tables the older program kept (data file .DB, primary index .PX,
// memos in .MB) into tables of our own store under the same names, all or nothing: every
// table is read and checked, and ours made complete under temporary names, before the
// originals are put untouched into a folder beside them and ours take their place.
class ParadoxConversion {
public:
    struct Part {
        std::string tableName;  // file name without ".DB"
        TableDef def;
    };

    static ParadoxConversion forStudy(const std::filesystem::path& dir, const std::string& name);
    static ParadoxConversion forMasters(const std::filesystem::path& dataDir);

    // True when one of the tables is a Paradox table.
    bool needed() const;
    // The folder the originals will go to.
    std::filesystem::path backupFolder() const;
    // The sentence said before the conversion starts.
    std::string announcement() const;
    // Throws ParseError or IoError naming the file (and field) at fault; nothing is then
    // converted or moved.
    ConversionReport run();

private:
    ParadoxConversion(std::filesystem::path dir, std::string backupStem, std::string studyName,
                      std::vector<Part> parts);
    enum class Kind { Missing, Ours, Paradox, Other };
    Kind kindOf(const Part& part) const;
    void commit(const std::vector<const Part*>& converted) const;

    std::filesystem::path mDir;
    std::string mBackupStem;
    std::string mStudyName;  // empty for the master tables
    std::vector<Part> mParts;
};

// The desktop's path: when the study (or the data directory) holds tables of the older
// program, says so in one sentence, converts them with the busy cursor, and tells what
// was left out. Returns whether it converted; throws as run() does.
bool convertOlderStudyOnOpen(const std::filesystem::path& dir, const std::string& name,
                             Prompter& prompter, ProgressReporter& progress);
bool convertOlderMastersOnOpen(const std::filesystem::path& dataDir, Prompter& prompter,
                               ProgressReporter& progress);

}  // namespace dravin
