#include "tdravindatat.h"

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
        throw EngineError("The master table " + master.tableName() + " is not open, so the table " +
                          study.tableName() + " cannot be filled.");
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
    if (&t == &FloorT) {
        InitFloorParameters();
    } else if (&t == &XorosT) {
        InitXorosParameters();
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
    t.setTableName(name + ".new");
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
        throw EngineError("Cannot create the table " + path.string() + ": " + reason + ".");
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
                               const std::string& sourceName, const std::filesystem::path&,
                               const std::string&) {
    BusyScope busy(*mProgress, "Διάσωση-Αντιγραφή αρχείων");
    // The target is the study the working set stands on; copying it onto itself
    // would read and write the same tables.
    if (sameStudy(sourceDir, sourceName, mStudyDir, mStudyName) ||
        sameStudy(sourceDir, studyTableName(sourceName, "Dravin"), DravinT.directory(),
                  DravinT.tableName())) {
        return;
    }
    pointSecondSetAt(sourceDir, sourceName);

    struct Move {
        Table& target;
        Table& source;
        BatchMode mode;
    };
    const std::array<Move, 5> moves = {{{GenDataT, GenDataT1, BatchMode::Copy},
                                        {FloorT, FloorT1, BatchMode::AppendUpdate},
                                        {XorosT, XorosT1, BatchMode::AppendUpdate},
                                        {OwnersT, OwnersT1, BatchMode::AppendUpdate},
                                        {DravinT, DravinT1, BatchMode::AppendUpdate}}};
    for (const Move& m : moves) {
        m.target.disableControls();
        m.target.close();
        m.target.setReadOnly(false);
    }
    std::exception_ptr failure;
    try {
        for (const Move& m : moves) {
            m.target.batchMoveFrom(m.source, m.mode);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // The working set is reopened whatever happened.
    for (Table* t : workingSet()) {
        try {
            t->enableControls();
            t->open();
        } catch (...) {
            if (!failure) {
                failure = std::current_exception();
            }
        }
    }
    // The source is not kept open: a later command on it would find it in use.
    for (Table* t : secondSet()) {
        t->close();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void TDravinDataT::DeleteStudy(const std::filesystem::path& dir, const std::string& name) {
    BusyScope busy(*mProgress);
    pointSecondSetAt(dir, name);
    for (Table* t : secondSet()) {
        // A table already gone by hand is not an obstacle to deleting the rest.
        if (t->exists()) {
            t->deleteTable();
        }
    }
}

}  // namespace dravin
