#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/errors.h"

namespace dravin {
class Table;
}

namespace dravin::fuzz {

// Stops the run on something a parser must never do; libFuzzer keeps the input.
[[noreturn]] void finding(const std::string& what);

// Runs the call: true when it returned, false on a dravin::Error (an expected outcome);
// any other exception is a finding.
template <class Call>
bool returnsOrFailsCleanly(const char* what, Call&& call) {
    try {
        call();
        return true;
    } catch (const Error&) {
        return false;
    } catch (const std::exception& e) {
        finding(std::string(what) + " threw an exception that is no dravin::Error: " + e.what());
    } catch (...) {
        finding(std::string(what) + " threw something that is no exception.");
    }
}

// A directory of its own on a RAM disk where there is one, removed with everything in it
// when the process ends normally.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const noexcept { return mPath; }

private:
    std::filesystem::path mPath;
};

void writeBytes(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size);
std::string readWholeFile(const std::filesystem::path& file);

// The record count and every value of an open table, folded into one number.
std::uint64_t tableChecksum(const Table& table);

bool isValidUtf8(std::string_view text) noexcept;

}  // namespace dravin::fuzz
