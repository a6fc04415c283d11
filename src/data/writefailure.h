#pragma once

#include <string>

namespace dravin {

// Why a file could not be written, for the errno of the failure: "the disk is full" and
// "the file or its folder is read-only" where that is the cause, else the system's text.
std::string writeFailureReason(int error);

// Whether the errno means one of the two causes named above.
bool isDiskFull(int error) noexcept;
bool isReadOnly(int error) noexcept;

}  // namespace dravin
