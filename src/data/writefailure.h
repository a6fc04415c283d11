#pragma once

#include <string>

namespace dravin {

// Why a file could not be written, for the errno of the failure: "ο δίσκος είναι γεμάτος"
// and "το αρχείο ή ο φάκελός του είναι μόνο για ανάγνωση" where that is the cause, else the
// system's text.
std::string writeFailureReason(int error);

// Whether the errno means one of the two causes named above.
bool isDiskFull(int error) noexcept;
bool isReadOnly(int error) noexcept;

}  // namespace dravin
