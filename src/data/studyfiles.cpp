#include "studyfiles.h"

#include <cerrno>
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
        throw IoError("Cannot create the study file " + path.string() + ": " +
                      writeFailureReason(errno) + ".");
    }
    const std::string bytes = studyMarkerBytes();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw IoError("Cannot write the study file " + path.string() + ": " +
                      writeFailureReason(errno) + ".");
    }
}

std::string studyTableName(const std::string& studyName, const char* partWord) {
    return studyName + partWord + "_DRAVIN";
}

bool studyExists(const std::filesystem::path& dir, const std::string& name) {
    std::error_code ec;
    if (std::filesystem::exists(studyMarkerPath(dir, name), ec)) {
        return true;
    }
    for (const char* part : {"Floor", "Xoros", "Owner", "Dravin", "GenData"}) {
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
        throw IoError("\"" + chosenFile.string() + "\" does not name a study.");
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
