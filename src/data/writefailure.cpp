#include "writefailure.h"

#include <cerrno>
#include <system_error>

namespace dravin {

bool isDiskFull(int error) noexcept {
    return error == ENOSPC || error == EDQUOT;
}

bool isReadOnly(int error) noexcept {
    return error == EROFS || error == EACCES || error == EPERM;
}

std::string writeFailureReason(int error) {
    if (isDiskFull(error)) {
        return "ο δίσκος είναι γεμάτος";
    }
    if (isReadOnly(error)) {
        return "το αρχείο ή ο φάκελός του είναι μόνο για ανάγνωση";
    }
    return std::generic_category().message(error);
}

}  // namespace dravin
