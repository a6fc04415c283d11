#include "fuzzstudy.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "compute/entryrules.h"
#include "data/exchangefile.h"

namespace dravin::fuzz {

namespace {

std::string readDemoStudy() {
    std::ifstream in(DRAVIN_DEMO_STUDY_FILE, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in || bytes.str().empty()) {
        throw std::runtime_error("cannot read the demo study " DRAVIN_DEMO_STUDY_FILE);
    }
    return bytes.str();
}

}  // namespace

FuzzStudy::FuzzStudy(const std::string& tag) : mDir(tag), mDemoStudy(readDemoStudy()) {
    const auto dataDir = mDir.path() / "DB2";
    std::filesystem::create_directories(dataDir);
    mData.OpenParameterTables(dataDir);
    mData.OpenStudy(mDir.path(), "FUZZ");
    installEntryRules(mData, mSilent);
    restore();
}

std::uint64_t FuzzStudy::checksum() {
    std::uint64_t sum = 0;
    for (const Table* t : mData.workingSet()) {
        sum = sum * 31 + tableChecksum(*t);
    }
    return sum;
}

void FuzzStudy::restore() {
    std::istringstream in(mDemoStudy);
    loadStudyJson(mData, in);
}

}  // namespace dravin::fuzz
