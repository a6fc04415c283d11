#pragma once

#include <cstdint>
#include <string>

#include "data/feedback.h"
#include "data/tdravindatat.h"
#include "fuzzsupport.h"

namespace dravin::fuzz {

// A study made once per process in a scratch directory: empty master tables, the demo
// study's records and the entry rules, as the program has them while a study is open.
class FuzzStudy {
public:
    explicit FuzzStudy(const std::string& tag);
    FuzzStudy(const FuzzStudy&) = delete;
    FuzzStudy& operator=(const FuzzStudy&) = delete;

    TDravinDataT& data() noexcept { return mData; }
    const std::filesystem::path& directory() const noexcept { return mDir.path(); }

    // The five tables of the working set, folded into one number.
    std::uint64_t checksum();
    // Puts the demo study's records back after a load or an import that succeeded.
    void restore();

private:
    ScratchDir mDir;  // first in, last out: the tables close before it goes
    SilentFeedback mSilent;
    TDravinDataT mData;
    std::string mDemoStudy;
};

}  // namespace dravin::fuzz
