#include "support/unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>

namespace dravin::test {
namespace {

struct User {
    uid_t uid = 65534;
    gid_t gid = 65534;
};

User unprivilegedUser() {
    User user;
    if (const passwd* pw = getpwnam("nobody")) {
        user.uid = pw->pw_uid;
        user.gid = pw->pw_gid;
    }
    return user;
}

void handOver(const std::filesystem::path& path, const User& user) {
    if (::lchown(path.c_str(), user.uid, user.gid) != 0) {
        ADD_FAILURE() << "cannot hand " << path << " over: " << std::strerror(errno);
    }
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, ec))) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
            ::lchown(entry.path().c_str(), user.uid, user.gid);
        }
    }
}

}  // namespace

bool hasSuperUserRights() {
    return ::geteuid() == 0;
}

void asUnprivilegedUser(const std::function<void()>& body,
                        const std::vector<std::filesystem::path>& handedOver) {
    if (!hasSuperUserRights()) {
        body();
        return;
    }
    const User user = unprivilegedUser();
    for (const auto& path : handedOver) {
        handOver(path, user);
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0) << std::strerror(errno);
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0) {
            std::fprintf(stderr, "cannot become user %u: %s\n", unsigned(user.uid),
                         std::strerror(errno));
            std::fflush(nullptr);
            ::_exit(2);
        }
        try {
            body();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected exception: " << e.what();
        }
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the part run as user " << user.uid << " failed (status " << status << ")";
}

bool ownMountNamespace() {
    static const bool entered = [] {
        const uid_t uid = getuid();
        const gid_t gid = getgid();
        if (unshare(CLONE_NEWNS) != 0) {
            if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
                return false;
            }
            std::ofstream("/proc/self/setgroups") << "deny";
            std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
            std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
        }
        return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    return entered;
}

ReadOnlyBind::ReadOnlyBind(const std::filesystem::path& dir) : mDir(dir) {
    if (!ownMountNamespace()) {
        mReason = "no mount namespace can be made here";
        return;
    }
    if (mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        mReason = std::string("no bind mount can be made here: ") + std::strerror(errno);
        return;
    }
    if (mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        mReason =
            std::string("a bind mount cannot be made read-only here: ") + std::strerror(errno);
        umount2(dir.c_str(), MNT_DETACH);
        return;
    }
    mActive = true;
}

ReadOnlyBind::~ReadOnlyBind() {
    if (mActive) {
        umount2(mDir.c_str(), MNT_DETACH);
    }
}

}  // namespace dravin::test
