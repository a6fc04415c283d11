#include "tdravindatat.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "errors.h"
#include "studyfiles.h"
#include "tabledefinitions.h"

namespace dravin {

const std::array<const char*, 3> kDefaultNotes = {
    "1. Τα ποσοστά συνιδιοκτησίας υπολογίστηκαν με βάση τις αντικειμενικές αξίες.",
    "2. Τα ποσοστά δαπανών κοινοχρήστων υπολογίστηκαν με βάση τις μικτές επιφάνειες.",
    "3. Τα ποσοστά δαπανών για τον ανελκυστήρα υπολογίστηκαν με βάση τις καθαρές επιφάνειες "
    "και με συντελεστές 1.00, 1.10, 1.20 για τους Α, Β, Γ, ορόφους αντιστοίχως.",
};

TDravinDataT::TDravinDataT()
    : FloorTo("FloorTo", floorTableDef()),
      XorosTo("XorosTo", xorosTableDef()),
      FloorT("FloorT", floorTableDef()),
      XorosT("XorosT", xorosTableDef()),
      OwnersT("OwnersT", ownersTableDef()),
      DravinT("DravinT", dravinTableDef()),
      GenDataT("GenDataT", genDataTableDef()),
      FloorT1("FloorT1", floorTableDef()),
      XorosT1("XorosT1", xorosTableDef()),
      OwnersT1("OwnersT1", ownersTableDef()),
      DravinT1("DravinT1", dravinTableDef()),
      GenDataT1("GenDataT1", genDataTableDef()) {
    FloorTo.setTableName("DrvFloor");
    XorosTo.setTableName("DrvXoros");
    DravinT.setLookupSource("Name1Floor", &FloorT);
    DravinT.setLookupSource("NameXoros", &XorosT);
    DravinT.setLookupSource("NameOwner", &OwnersT);
    DravinT1.setLookupSource("Name1Floor", &FloorT1);
    DravinT1.setLookupSource("NameXoros", &XorosT1);
    DravinT1.setLookupSource("NameOwner", &OwnersT1);
    for (Table* t : {&DravinT, &DravinT1, &OwnersT, &GenDataT, &FloorT, &XorosT}) {
        t->afterPost = [this](Table& table) { DravinTAfterPost(table); };
    }
}

void TDravinDataT::setProgress(ProgressReporter* progress) noexcept {
    mProgress = progress ? progress : &mSilent;
}

void TDravinDataT::DravinTAfterPost(Table&) {
    DataChanged = true;
}

bool TDravinDataT::isCurrentStudy(const std::filesystem::path& dir, const std::string& name) const {
    return !mStudyName.empty() && sameStudy(dir, name, mStudyDir, mStudyName);
}

std::array<Table*, 5> TDravinDataT::workingSet() noexcept {
    return {&FloorT, &XorosT, &OwnersT, &DravinT, &GenDataT};
}

std::array<Table*, 5> TDravinDataT::secondSet() noexcept {
    return {&FloorT1, &XorosT1, &OwnersT1, &DravinT1, &GenDataT1};
}

// ---------------------------------------------------------------- parameter tables

void TDravinDataT::OpenParameterTables(const std::filesystem::path& dir) {
    // Every running program reads the master tables; they are written only once
    // unlocked in their dialog.
    for (Table* t : {&FloorTo, &XorosTo}) {
        t->close();
        t->setReadOnly(true);
        t->setDirectory(dir);
        if (!t->exists()) {
            CreateTableWithDriver(*t);
        }
        ApplyLanguageDriver(*t);
        t->open();
    }
}

void TDravinDataT::initParameters(Table& study, Table& master) {
    if (!master.isOpen()) {
        throw EngineError(kMastersMissingMessage);
    }
    DisplaySuspension suspended(study);
    study.close();
    study.setReadOnly(false);
    study.batchMoveFrom(master, BatchMode::AppendUpdate);
    study.open();
}

void TDravinDataT::InitFloorParameters() {
    initParameters(FloorT, FloorTo);
}

void TDravinDataT::InitXorosParameters() {
    initParameters(XorosT, XorosTo);
}

// ---------------------------------------------------------------- studies

void TDravinDataT::OpenStudy(const std::filesystem::path& dir, const std::string& name) {
    struct Previous {
        std::filesystem::path dir;
        std::string name;
        bool open;
    };
    std::array<Previous, 5> previous;
    const auto tables = workingSet();
    for (size_t i = 0; i < tables.size(); ++i) {
        previous[i] = {tables[i]->directory(), tables[i]->tableName(), tables[i]->isOpen()};
    }
    completePendingSave(dir, name);
    const bool whole = std::all_of(kStudyPartWords.begin(), kStudyPartWords.end(), [&](auto part) {
        std::error_code ec;
        return std::filesystem::exists(dir / (studyTableName(name, part) + ".DB"), ec);
    });
    if (!whole) {
        requireUsableStudyName(dir, name);
    }
    try {
        for (size_t i = 0; i < tables.size(); ++i) {
            Table& t = *tables[i];
            t.close();
            t.setDirectory(dir);
            t.setTableName(studyTableName(name, kStudyPartWords[i]));
            if (!t.exists()) {
                createStudyTable(t);
            }
            ApplyLanguageDriver(t);
            t.open();
        }
    } catch (...) {
        for (size_t i = 0; i < tables.size(); ++i) {
            Table& t = *tables[i];
            try {
                t.close();
                t.setDirectory(previous[i].dir);
                t.setTableName(previous[i].name);
                if (previous[i].open) {
                    t.open();
                }
            } catch (...) {
                // Best effort: the table stays closed, the first error is reported.
            }
        }
        throw;
    }
    mStudyDir = dir;
    mStudyName = name;
}

void TDravinDataT::fillNewStudyTable(Table& t) {
    // Without the master tables the floors and kinds start empty, for "Αρχικοποίηση
    // παραμέτρων" to fill once the masters are there.
    if (&t == &FloorT) {
        if (FloorTo.isOpen()) {
            InitFloorParameters();
        }
    } else if (&t == &XorosT) {
        if (XorosTo.isOpen()) {
            InitXorosParameters();
        }
    } else if (&t == &GenDataT) {
        t.edit();
        t.field("DravinTotal").setFloat(1000.0);
        t.post();
        t.edit();
        std::string notes = t.field("Notes1").asString();
        for (const char* line : kDefaultNotes) {
            notes += std::string(line) + "\r\n";
        }
        t.field("Notes1").setString(notes);
        t.post();
    }
}

void TDravinDataT::createStudyTable(Table& t) {
    // Made and filled under a temporary name, then renamed: a table left half-initialised,
    // by an error or by a killed run, would never be filled again.
    const std::string name = t.tableName();
    const std::filesystem::path path = t.filePath();
    t.setTableName(name + kNewTableSuffix);
    const std::filesystem::path temp = t.filePath();
    try {
        if (t.exists()) {
            t.deleteTable();  // left by a run that was killed
        }
        CreateTableWithDriver(t);
        fillNewStudyTable(t);
        t.close();
    } catch (...) {
        try {
            t.close();
            if (t.exists()) {
                t.deleteTable();
            }
        } catch (...) {
            // The first error is the one to report; the leftover goes at the next try.
        }
        t.setTableName(name);
        throw;
    }
    t.setTableName(name);
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        const std::string reason = ec.message();
        std::filesystem::remove(temp, ec);
        throw EngineError("Ο πίνακας " + path.string() + " δεν μπόρεσε να δημιουργηθεί: " + reason +
                          ".");
    }
}

void TDravinDataT::pointSecondSetAt(const std::filesystem::path& dir, const std::string& name) {
    const auto tables = secondSet();
    for (size_t i = 0; i < tables.size(); ++i) {
        tables[i]->close();
        tables[i]->setDirectory(dir);
        tables[i]->setTableName(studyTableName(name, kStudyPartWords[i]));
    }
}

void TDravinDataT::SaveStudyAs(const std::filesystem::path& sourceDir,
                               const std::string& sourceName,
                               const std::filesystem::path& targetDir,
                               const std::string& targetName) {
    // Refused before anything is written.
    if (sourceName.empty()) {
        throw IoError(kNoStudyToSaveMessage);
    }
    if (!studyExists(sourceDir, sourceName)) {
        throw IoError("Η μελέτη " + sourceName + " δεν υπάρχει στον κατάλογο " +
                      sourceDir.string() + ", οπότε δεν αποθηκεύτηκε.");
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(targetDir, ec)) {
        throw IoError("Ο κατάλογος " + targetDir.string() + " δεν υπάρχει, οπότε η μελέτη " +
                      sourceName + " δεν αποθηκεύτηκε.");
    }
    requireUsableStudyName(targetDir, targetName);
    // Copying a study onto itself would read and write the same tables.
    if (sameStudy(sourceDir, sourceName, targetDir, targetName)) {
        if (!isCurrentStudy(targetDir, targetName)) {
            OpenStudy(targetDir, targetName);
        }
        return;
    }
    BusyScope busy(*mProgress, "Διάσωση-Αντιγραφή αρχείων");
    completePendingSave(targetDir, targetName);
    // The source is read where it stands: from the working set when that is on it.
    const bool fromWorkingSet = isCurrentStudy(sourceDir, sourceName);
    const auto sources = fromWorkingSet ? workingSet() : secondSet();
    if (!fromWorkingSet) {
        pointSecondSetAt(sourceDir, sourceName);
    }
    // A working set on the target lets go of the tables about to be replaced.
    const bool onTarget = isCurrentStudy(targetDir, targetName);
    if (onTarget) {
        for (Table* t : workingSet()) {
            t->checkBrowseMode();
            t->close();
        }
    }
    std::vector<std::unique_ptr<Table>> made;
    try {
        for (size_t i = 0; i < sources.size(); ++i) {
            const Table& like = *sources[i];
            const std::string tableName = studyTableName(targetName, kStudyPartWords[i]);
            made.push_back(std::make_unique<Table>(like.componentName(), like.def()));
            made.back()->setDirectory(targetDir);
            made.back()->setTableName(tableName + kNewTableSuffix);
            fillSavedTable(i, tableName, *made.back(), *sources[i]);
        }
    } catch (...) {
        for (const auto& t : made) {
            try {
                t->close();
                if (t->exists()) {
                    t->deleteTable();
                }
            } catch (...) {
                // The first error is the one to report; a leftover goes at the next try.
            }
        }
        for (Table* t : secondSet()) {
            t->close();
        }
        if (onTarget) {
            for (Table* t : workingSet()) {
                try {
                    t->open();
                } catch (...) {
                    // It stays closed; the first error is reported.
                }
            }
        }
        throw;
    }
    // The source is not kept open: a later command on it would find it in use.
    for (Table* t : secondSet()) {
        t->close();
    }
    commitSavedStudy(targetDir, targetName);
    // The working set stands on the target, writable whatever a parameter dialog left.
    for (Table* t : workingSet()) {
        if (t->isOpen()) {
            t->checkBrowseMode();
        }
        t->close();
        t->setReadOnly(false);
    }
    OpenStudy(targetDir, targetName);
}

void TDravinDataT::fillSavedTable(size_t part, const std::string& tableName, Table& made,
                                  Table& source) {
    Table existing(made.componentName(), made.def());
    existing.setDirectory(made.directory());
    existing.setTableName(tableName);
    existing.setReadOnly(true);
    if (made.exists()) {
        made.deleteTable();  // left by a save-as that was cut short
    }
    CreateTableWithDriver(made);
    // The target as it is, or as a new study starts; then the source, winning on equal keys.
    Table* master = part == 0 ? &FloorTo : part == 1 ? &XorosTo : nullptr;
    if (existing.exists()) {
        made.batchMoveFrom(existing, BatchMode::AppendUpdate);
    } else if (master && master->isOpen()) {
        made.batchMoveFrom(*master, BatchMode::AppendUpdate);
    }
    // The general data is the source's; the other tables merge by key.
    const bool generalData = std::string(kStudyPartWords[part]) == "GenData";
    made.batchMoveFrom(source, generalData ? BatchMode::Copy : BatchMode::AppendUpdate);
    made.close();
}

void TDravinDataT::OpenStudyWithMarker(const std::filesystem::path& dir, const std::string& name) {
    const bool existed = studyExists(dir, name);
    writeStudyMarker(dir, name);
    try {
        OpenStudy(dir, name);
    } catch (...) {
        if (!existed) {
            try {
                DeleteStudy(dir, name);
                std::filesystem::remove(studyMarkerPath(dir, name));
            } catch (...) {
                // The failure to open is the one to report.
            }
        }
        throw;
    }
}

void TDravinDataT::DeleteStudy(const std::filesystem::path& dir, const std::string& name) {
    BusyScope busy(*mProgress);
    std::error_code ec;
    std::filesystem::remove(pendingSavePath(dir, name), ec);  // a save into it is dropped
    pointSecondSetAt(dir, name);
    for (Table* t : secondSet()) {
        // A table already gone by hand is not an obstacle to deleting the rest.
        if (t->exists()) {
            t->deleteTable();
        }
    }
}

}  // namespace dravin
