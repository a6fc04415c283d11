#include "paradoxconversion.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "data/errors.h"
#include "data/feedback.h"
#include "data/studyfiles.h"
#include "data/table.h"
#include "data/tabledefinitions.h"
#include "paradoxmemofile.h"
#include "paradoxtable.h"

namespace dravin {
namespace fs = std::filesystem;
namespace {

constexpr const char* kBackupSuffix = ".paradox";
constexpr std::size_t kProbeBytes = 64;

std::string readFile(const fs::path& path, std::size_t limit = std::string::npos) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw IoError("Το αρχείο " + path.string() +
                      " δεν διαβάζεται, οπότε δεν μετατράπηκε τίποτα.");
    }
    std::string bytes;
    if (limit == std::string::npos) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        bytes.resize(limit);
        in.read(bytes.data(), static_cast<std::streamsize>(limit));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        throw IoError("Το αρχείο " + path.string() +
                      " δεν διαβάζεται, οπότε δεν μετατράπηκε τίποτα.");
    }
    return bytes;
}

bool equalsFolded(const std::string& a, const std::string& b) {
    return equalsIgnoreCase(a, b);
}

// The files of one Paradox table: its name with any one extension (.DB, .PX, .MB, the
// secondary indexes and the rest the engine kept), the extension in any letter case.
std::vector<fs::path> companions(const fs::path& dir, const std::string& tableName) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const fs::path p = entry.path();
        const std::string ext = p.extension().string();
        // Our engine's side files ("-wal", "-journal") are no part of the older table.
        if (p.stem().string() == tableName && ext.size() > 1 &&
            ext.find('-') == std::string::npos && !equalsFolded(ext, kNewTableSuffix) &&
            entry.is_regular_file(ec)) {
            files.push_back(p);
        }
    }
    return files;
}

std::optional<fs::path> memoFile(const fs::path& dir, const std::string& tableName) {
    for (const auto& p : companions(dir, tableName)) {
        if (equalsFolded(p.extension().string(), ".MB")) {
            return p;
        }
    }
    return std::nullopt;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i ? ", " : "") + names[i];
    }
    return text;
}

// A table of ours made complete under its temporary name.
class MadeTable {
public:
    MadeTable(const fs::path& dir, const ParadoxConversion::Part& part)
        : mTable(part.tableName, part.def) {
        mTable.setDirectory(dir);
        mTable.setTableName(part.tableName + kNewTableSuffix);
    }
    ~MadeTable() {
        if (!mKept) {
            try {
                mTable.close();
                if (mTable.exists()) {
                    mTable.deleteTable();
                }
            } catch (...) {
                // A leftover is removed by the next conversion.
            }
        }
    }
    MadeTable(const MadeTable&) = delete;
    MadeTable& operator=(const MadeTable&) = delete;

    void fill(std::vector<std::vector<Value>> rows) {
        if (mTable.exists()) {
            mTable.deleteTable();  // left by a conversion cut short
        }
        CreateTableWithDriver(mTable);
        mTable.replaceAllRecords(std::move(rows));
        mTable.close();
    }
    void keep() noexcept { mKept = true; }

private:
    Table mTable;
    bool mKept = false;
};

void linkOrCopy(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::create_hard_link(from, to, ec);
    if (ec) {
        fs::copy_file(from, to, ec);
    }
    if (ec) {
        throw IoError("Το αρχείο " + from.string() + " δεν φυλάχτηκε στον κατάλογο " +
                      to.parent_path().string() + " (" + ec.message() +
                      "), οπότε δεν μετατράπηκε τίποτα.");
    }
}

}  // namespace

std::string ConversionReport::text() const {
    std::string all;
    for (const auto* list : {&tables, &notes}) {
        for (const auto& line : *list) {
            all += line + "\n";
        }
    }
    if (!keptIn.empty()) {
        all += "Τα αρχικά αρχεία φυλάχτηκαν στον κατάλογο " + keptIn.string() + ".\n";
    }
    return all;
}

ParadoxConversion::ParadoxConversion(fs::path dir, std::string backupStem, std::string studyName,
                                     std::vector<Part> parts)
    : mDir(std::move(dir)),
      mBackupStem(std::move(backupStem)),
      mStudyName(std::move(studyName)),
      mParts(std::move(parts)) {}

ParadoxConversion ParadoxConversion::forStudy(const fs::path& dir, const std::string& name) {
    const std::array<TableDef, 5> defs = {floorTableDef(), xorosTableDef(), ownersTableDef(),
                                          dravinTableDef(), genDataTableDef()};
    std::vector<Part> parts;
    for (std::size_t i = 0; i < defs.size(); ++i) {
        parts.push_back({studyTableName(name, kStudyPartWords[i]), defs[i]});
    }
    return ParadoxConversion(dir, name, name, std::move(parts));
}

ParadoxConversion ParadoxConversion::forMasters(const fs::path& dataDir) {
    return ParadoxConversion(dataDir, "Drv", "",
                             {{"DrvFloor", floorTableDef()}, {"DrvXoros", xorosTableDef()}});
}

ParadoxConversion::Kind ParadoxConversion::kindOf(const Part& part) const {
    const fs::path path = mDir / (part.tableName + ".DB");
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return Kind::Missing;
    }
    std::string start;
    try {
        start = readFile(path, kProbeBytes);
    } catch (const Error&) {
        return Kind::Other;
    }
    if (start.rfind(std::string_view("SQLite format 3\0", 16), 0) == 0) {
        return Kind::Ours;
    }
    return looksLikeParadoxTable(start) ? Kind::Paradox : Kind::Other;
}

bool ParadoxConversion::needed() const {
    for (const Part& p : mParts) {
        if (kindOf(p) == Kind::Paradox) {
            return true;
        }
    }
    return false;
}

fs::path ParadoxConversion::backupFolder() const {
    std::error_code ec;
    fs::path folder = mDir / (mBackupStem + kBackupSuffix);
    for (int n = 2; fs::exists(folder, ec); ++n) {
        folder = mDir / (mBackupStem + kBackupSuffix + "-" + std::to_string(n));
    }
    return folder;
}

std::string ParadoxConversion::announcement() const {
    const std::string kept = backupFolder().filename().string();
    if (mStudyName.empty()) {
        return "Οι πίνακες παραμέτρων στον κατάλογο " + mDir.string() +
               " φυλάχτηκαν από το παλαιότερο πρόγραμμα και θα μετατραπούν στη μορφή αυτού του "
               "προγράμματος· τα αρχικά αρχεία κρατιούνται στον κατάλογο " +
               kept + ".";
    }
    return "Η μελέτη " + mStudyName +
           " φυλάχτηκε από το παλαιότερο πρόγραμμα και θα μετατραπεί στη μορφή αυτού του "
           "προγράμματος· τα αρχικά αρχεία της κρατιούνται στον κατάλογο " +
           kept + ".";
}

ConversionReport ParadoxConversion::run() {
    ConversionReport report;
    std::vector<const Part*> converted;
    std::vector<std::vector<std::vector<Value>>> rows;
    // Everything is read and checked before anything is written.
    // Beside a Paradox table, a table file that is not ours is one of the older program's
    // too, damaged: the study converts whole or not at all.
    if (!needed()) {
        return report;
    }
    for (const Part& part : mParts) {
        const Kind kind = kindOf(part);
        if (kind == Kind::Missing || kind == Kind::Ours) {
            continue;
        }
        const std::string file = part.tableName + ".DB";
        const std::string db = readFile(mDir / file);
        std::unique_ptr<ParadoxMemoFile> memo;
        if (paradoxTableHasMemos(db, file)) {
            const auto mb = memoFile(mDir, part.tableName);
            if (!mb) {
                throw ParseError("Λείπει το αρχείο σημειώσεων " + part.tableName +
                                 ".MB του πίνακα " + file + ", οπότε δεν μετατράπηκε τίποτα.");
            }
            memo = std::make_unique<ParadoxMemoFile>(readFile(*mb), mb->filename().string());
        }
        ParadoxTableRead read = readParadoxTable(db, memo.get(), file, part.def);
        try {
            read.rows = Table(part.tableName, part.def).checkedRows(std::move(read.rows));
        } catch (const Error& e) {
            throw ParseError("Ο πίνακας " + file + " δεν μετατράπηκε (" + e.what() +
                             "), οπότε δεν μετατράπηκε τίποτα.");
        }
        report.tables.push_back("Ο πίνακας " + file + " μετατράπηκε με " +
                                std::to_string(read.rows.size()) + " εγγραφές.");
        if (!read.leftOut.empty()) {
            report.notes.push_back("Τα πεδία " + joined(read.leftOut) + " του πίνακα " + file +
                                   " δεν ανήκουν στον πίνακα αυτού του προγράμματος και "
                                   "παραλείφθηκαν.");
        }
        if (!read.missing.empty()) {
            report.notes.push_back("Ο πίνακας " + file + " δεν είχε τα πεδία " +
                                   joined(read.missing) + ", που έμειναν κενά.");
        }
        converted.push_back(&part);
        rows.push_back(std::move(read.rows));
    }
    if (converted.empty()) {
        return report;
    }
    std::vector<std::unique_ptr<MadeTable>> made;
    const fs::path folder = backupFolder();
    const fs::path staging = folder.string() + kNewTableSuffix;
    std::error_code ec;
    try {
        for (std::size_t i = 0; i < converted.size(); ++i) {
            made.push_back(std::make_unique<MadeTable>(mDir, *converted[i]));
            made.back()->fill(std::move(rows[i]));
        }
        // The originals are linked into the folder, which takes its name once whole.
        fs::remove_all(staging, ec);
        fs::create_directory(staging, ec);
        if (ec) {
            throw IoError("Ο κατάλογος " + staging.string() + " δεν δημιουργήθηκε (" +
                          ec.message() + "), οπότε δεν μετατράπηκε τίποτα.");
        }
        for (const Part* part : converted) {
            for (const auto& file : companions(mDir, part->tableName)) {
                linkOrCopy(file, staging / file.filename());
            }
        }
        fs::rename(staging, folder, ec);
        if (ec) {
            throw IoError("Ο κατάλογος " + folder.string() + " δεν δημιουργήθηκε (" + ec.message() +
                          "), οπότε δεν μετατράπηκε τίποτα.");
        }
    } catch (const ParseError&) {
        fs::remove_all(staging, ec);
        throw;
    } catch (const Error& e) {
        fs::remove_all(staging, ec);
        const std::string what = e.what();
        if (what.find("δεν μετατράπηκε τίποτα") != std::string::npos) {
            throw;
        }
        throw IoError("Οι πίνακες του παλαιότερου προγράμματος στον κατάλογο " + mDir.string() +
                      " δεν μετατράπηκαν: " + what);
    }
    for (auto& m : made) {
        m->keep();
    }
    commit(converted);
    report.keptIn = folder;
    return report;
}

void ParadoxConversion::commit(const std::vector<const Part*>& converted) const {
    if (!mStudyName.empty()) {
        // The study's own way of putting finished tables in place together.
        commitSavedStudy(mDir, mStudyName);
    } else {
        for (const Part* part : converted) {
            const fs::path table = mDir / (part->tableName + ".DB");
            std::error_code ec;
            fs::rename(mDir / (part->tableName + kNewTableSuffix + ".DB"), table, ec);
            if (ec) {
                throw IoError("Ο πίνακας " + table.string() + " δεν μπήκε στη θέση του (" +
                              ec.message() + ").");
            }
        }
    }
    // The index and memo files are kept in the folder; beside our tables they mean nothing.
    for (const Part* part : converted) {
        for (const auto& file : companions(mDir, part->tableName)) {
            if (file.extension() != ".DB") {
                std::error_code ec;
                fs::remove(file, ec);
            }
        }
    }
}

namespace {

bool convertOnOpen(ParadoxConversion conversion, Prompter& prompter, ProgressReporter& progress) {
    if (!conversion.needed()) {
        return false;
    }
    prompter.inform(conversion.announcement());
    ConversionReport report;
    {
        BusyScope busy(progress);
        report = conversion.run();
    }
    if (!report.notes.empty()) {
        std::string notes;
        for (const auto& note : report.notes) {
            notes += (notes.empty() ? "" : " ") + note;
        }
        prompter.inform(notes);
    }
    return true;
}

}  // namespace

bool convertOlderStudyOnOpen(const fs::path& dir, const std::string& name, Prompter& prompter,
                             ProgressReporter& progress) {
    return convertOnOpen(ParadoxConversion::forStudy(dir, name), prompter, progress);
}

bool convertOlderMastersOnOpen(const fs::path& dataDir, Prompter& prompter,
                               ProgressReporter& progress) {
    return convertOnOpen(ParadoxConversion::forMasters(dataDir), prompter, progress);
}

}  // namespace dravin
