#include "studyfiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>

#include "cp1253.h"
#include "errors.h"
#include "table.h"
#include "writefailure.h"

namespace dravin {

std::string studyMarkerBytes() {
    return cp1253::encode("Αρχείο Κατανομής Χιλιοστών") + "\r\n";
}

std::filesystem::path studyMarkerPath(const std::filesystem::path& dir, const std::string& name) {
    return dir / (name + ".DVT");
}

namespace {

// The longest name a file of a study gets beyond the study name: the general data
// table made under its temporary names, with the engine's journal beside it.
constexpr const char* kLongestTableSuffix = "GenData_DRAVIN.new.DB.creating-journal";
// The longest path the table engine opens.
constexpr size_t kEngineMaxPath = 512;

bool holdsMarker(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(64, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes == studyMarkerBytes();
}

}  // namespace

void writeStudyMarker(const std::filesystem::path& dir, const std::string& name) {
    const auto path = studyMarkerPath(dir, name);
    // A marker already in place is left as it is: rewriting it gains nothing and would
    // fail on a full disk or a read-only folder.
    if (holdsMarker(path)) {
        return;
    }
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw IoError("Το αρχείο μελέτης " + path.string() +
                      " δεν μπόρεσε να δημιουργηθεί: " + writeFailureReason(errno) + ".");
    }
    const std::string bytes = studyMarkerBytes();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw IoError("Το αρχείο μελέτης " + path.string() +
                      " δεν μπόρεσε να γραφτεί: " + writeFailureReason(errno) + ".");
    }
}

std::optional<std::string> studyNameProblem(const std::filesystem::path& dir,
                                            const std::string& name) {
    const std::string longest = name + kLongestTableSuffix;
    long nameMax = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) {
        nameMax = NAME_MAX;
    }
    if (longest.size() > static_cast<size_t>(nameMax)) {
        return "Το όνομα μελέτης «" + name +
               "» είναι πολύ μεγάλο για τα ονόματα των αρχείων της· διαλέξτε συντομότερο όνομα.";
    }
    std::error_code ec;
    if ((std::filesystem::absolute(dir, ec) / longest).string().size() > kEngineMaxPath) {
        return "Η διαδρομή του καταλόγου " + dir.string() + " με το όνομα μελέτης «" + name +
               "» είναι πολύ μεγάλη για τα αρχεία της μελέτης· διαλέξτε συντομότερο όνομα ή "
               "κατάλογο πιο κοντά στη ρίζα.";
    }
    return std::nullopt;
}

void requireUsableStudyName(const std::filesystem::path& dir, const std::string& name) {
    if (const auto problem = studyNameProblem(dir, name)) {
        throw IoError(*problem);
    }
}

std::filesystem::path pendingSavePath(const std::filesystem::path& dir, const std::string& name) {
    return dir / (name + ".DVT.saving");
}

namespace {

std::filesystem::path tableFile(const std::filesystem::path& dir, const std::string& name,
                                const char* part, const char* suffix = "") {
    return dir / (studyTableName(name, part) + suffix + ".DB");
}

// Names, renames and removals in the directory reach the disk before what follows them.
void syncDirectory(const std::filesystem::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void commitSavedStudy(const std::filesystem::path& dir, const std::string& name) {
    const auto pending = pendingSavePath(dir, name);
    errno = 0;
    const int fd = ::open(pending.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        throw IoError("Το αρχείο " + pending.string() +
                      " δεν μπόρεσε να δημιουργηθεί: " + writeFailureReason(error) + ".");
    }
    ::close(fd);
    syncDirectory(dir);
    completePendingSave(dir, name);
}

void completePendingSave(const std::filesystem::path& dir, const std::string& name) {
    const auto pending = pendingSavePath(dir, name);
    std::error_code ec;
    if (!std::filesystem::exists(pending, ec)) {
        return;
    }
    for (const char* part : kStudyPartWords) {
        const auto finished = tableFile(dir, name, part, kNewTableSuffix);
        if (!std::filesystem::exists(finished, ec)) {
            continue;  // put in place before the interruption
        }
        const auto table = tableFile(dir, name, part);
        // The old table's log would be read as part of the new file.
        for (const char* companion : {"-wal", "-shm", "-journal"}) {
            std::filesystem::remove(table.string() + companion, ec);
        }
        std::filesystem::rename(finished, table, ec);
        if (ec) {
            throw IoError("Ο πίνακας " + table.string() + " δεν μπόρεσε να μπει στη θέση του: " +
                          writeFailureReason(ec.value()) + ".");
        }
    }
    syncDirectory(dir);
    writeStudyMarker(dir, name);
    std::filesystem::remove(pending, ec);
}

std::string studyTableName(const std::string& studyName, const char* partWord) {
    return studyName + partWord + "_DRAVIN";
}

bool studyExists(const std::filesystem::path& dir, const std::string& name) {
    std::error_code ec;
    if (std::filesystem::exists(studyMarkerPath(dir, name), ec) ||
        std::filesystem::exists(pendingSavePath(dir, name), ec)) {
        return true;
    }
    for (const char* part : kStudyPartWords) {
        if (std::filesystem::exists(dir / (studyTableName(name, part) + ".DB"), ec)) {
            return true;
        }
    }
    return false;
}

StudyLocation studyFromMarkerFile(const std::filesystem::path& chosenFile) {
    std::string name = chosenFile.filename().string();
    // The dialogs add ".DVT"; a name typed without it is taken whole.
    if (name.size() > 4 &&
        equalsIgnoreCase(std::string_view(name).substr(name.size() - 4), ".DVT")) {
        name.resize(name.size() - 4);
    }
    if (name.empty() || name == ".DVT" || name == "." || name == "..") {
        throw IoError("Το «" + chosenFile.string() + "» δεν είναι όνομα μελέτης.");
    }
    auto dir = chosenFile.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    return {dir, name};
}

bool sameStudy(const std::filesystem::path& dirA, const std::string& nameA,
               const std::filesystem::path& dirB, const std::string& nameB) {
    std::error_code ea, eb;
    const auto a = std::filesystem::weakly_canonical(dirA / nameA, ea);
    const auto b = std::filesystem::weakly_canonical(dirB / nameB, eb);
    if (ea || eb) {
        return dirA / nameA == dirB / nameB;
    }
    return a == b;
}

void ApplyLanguageDriver(Table& table) {
    table.applyLanguageDriver(kLanguageDriver);
    table.open();
}

void CreateTableWithDriver(Table& table) {
    table.createTable();
    ApplyLanguageDriver(table);
}

}  // namespace dravin
