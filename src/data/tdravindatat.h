#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "feedback.h"
#include "studyfiles.h"
#include "table.h"

namespace dravin {

// The data module: every table component of a run, the flags of the computation
// and the operations that open, copy and delete studies.
class TDravinDataT {
public:
    TDravinDataT();
    TDravinDataT(const TDravinDataT&) = delete;
    TDravinDataT& operator=(const TDravinDataT&) = delete;

    // Master tables in the data directory.
    Table FloorTo;
    Table XorosTo;
    // The working set: the current study.
    Table FloorT;
    Table XorosT;
    Table OwnersT;
    Table DravinT;
    Table GenDataT;
    // The second set, pointed at another study to copy or delete it.
    Table FloorT1;
    Table XorosT1;
    Table OwnersT1;
    Table DravinT1;
    Table GenDataT1;

    bool DataChanged = true;
    bool Importing = false;
    bool ResidualTargetSet = false;
    std::array<Value, 3> ResidualTargetKey;

    void setProgress(ProgressReporter* progress) noexcept;
    ProgressReporter& progress() const noexcept { return *mProgress; }

    // Opens both master tables in dir, creating missing ones empty.
    void OpenParameterTables(const std::filesystem::path& dir);
    // Merges the master floor / space-kind rows into the study's table by key.
    void InitFloorParameters();
    void InitXorosParameters();

    // Points the working set at the study, creating and filling missing tables.
    // On failure the working set returns to the study it stood on before.
    void OpenStudy(const std::filesystem::path& dir, const std::string& name);
    // Writes the study's marker, then OpenStudy; a study that did not exist before and fails
    // to open leaves no file behind.
    void OpenStudyWithMarker(const std::filesystem::path& dir, const std::string& name);
    // Copies the source study into the target, which the working set then stands on: a new
    // target gets the source's records with the master floors and kinds beneath them, an
    // existing one has the source's records merged into its own by key, its general data
    // replaced. The target's tables are made whole under temporary names and put in place
    // together, its marker last, so a save-as cut short leaves no target or the whole one.
    // Refused before anything is written when there is no source.
    void SaveStudyAs(const std::filesystem::path& sourceDir, const std::string& sourceName,
                     const std::filesystem::path& targetDir, const std::string& targetName);
    // Deletes the five tables of a study (not its marker file).
    void DeleteStudy(const std::filesystem::path& dir, const std::string& name);

    // Sets DataChanged; attached to the after-post event of the study tables.
    void DravinTAfterPost(Table& table);

    // True when dir/name is the study the working set stands on, also when named
    // through another form of its path; deleting it is refused with kStudyInUseMessage.
    bool isCurrentStudy(const std::filesystem::path& dir, const std::string& name) const;

    std::array<Table*, 5> workingSet() noexcept;
    std::array<Table*, 5> secondSet() noexcept;
    // The study the working set stands on (empty name when none was opened).
    const std::filesystem::path& studyDirectory() const noexcept { return mStudyDir; }
    const std::string& studyName() const noexcept { return mStudyName; }

private:
    void initParameters(Table& study, Table& master);
    // Creates a missing table of the working set in its initial form.
    void createStudyTable(Table& t);
    void fillNewStudyTable(Table& t);
    // Makes the table of one part of a save-as complete under its temporary name; the
    // target's table of that part is tableName.
    void fillSavedTable(size_t part, const std::string& tableName, Table& made, Table& source);
    void pointSecondSetAt(const std::filesystem::path& dir, const std::string& name);

    SilentFeedback mSilent;
    ProgressReporter* mProgress = &mSilent;
    std::filesystem::path mStudyDir;
    std::string mStudyName;
};

// Said when the master tables are needed but were not opened.
inline constexpr const char* kMastersMissingMessage =
    "Οι πίνακες παραμέτρων του προγράμματος δεν βρέθηκαν, οπότε οι παράμετροι της μελέτης "
    "δεν άλλαξαν.";

// Said when the master tables are to be unlocked but their files or folder take no writes.
inline constexpr const char* kMastersReadOnlyMessage =
    "Οι πίνακες παραμέτρων αυτής της εγκατάστασης του προγράμματος δεν μπορούν να αλλάξουν.";

// Said when a command that works on the current study finds none open.
inline constexpr const char* kNoStudyOpenMessage = "Δεν υπάρχει ανοιχτή μελέτη.";

// Said when save-as is asked for with no study open.
inline constexpr const char* kNoStudyToSaveMessage =
    "Δεν υπάρχει ανοιχτή μελέτη για να αποθηκευτεί.";

// The three lines a new study's notes start with.
extern const std::array<const char*, 3> kDefaultNotes;

}  // namespace dravin
