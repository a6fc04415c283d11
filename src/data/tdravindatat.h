#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "feedback.h"
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
    // Copies the source study into the study the working set stands on.
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
    void pointSecondSetAt(const std::filesystem::path& dir, const std::string& name);

    SilentFeedback mSilent;
    ProgressReporter* mProgress = &mSilent;
    std::filesystem::path mStudyDir;
    std::string mStudyName;
};

// The part word of each working-set table, in the order floor, kind, owner, space,
// general data.
inline constexpr std::array<const char*, 5> kStudyPartWords = {"Floor", "Xoros", "Owner", "Dravin",
                                                               "GenData"};

// The three lines a new study's notes start with.
extern const std::array<const char*, 3> kDefaultNotes;

}  // namespace dravin
