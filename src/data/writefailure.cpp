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
        return "the disk is full";
    }
    if (isReadOnly(error)) {
        return "the file or its folder is read-only";
    }
    return std::generic_category().message(error);
}

}  // namespace dravin
