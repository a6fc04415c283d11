#pragma once

#include <filesystem>
#include <functional>
#include <vector>

namespace dravin::test {

// Runs body as a user without super-user rights, for whom file permissions count: here
// when this process is such a user, else in a forked child that first hands the given
// paths (with everything under them) to the user "nobody" and then takes on that user.
// The child's failures are reported where they happen and fail this test.
void asUnprivilegedUser(const std::function<void()>& body,
                        const std::vector<std::filesystem::path>& handedOver);

// True where a user of the process's own kind could write anything (super-user rights).
bool hasSuperUserRights();

// Enters a private mount namespace for the calling thread and the children it starts,
// which the rest of the machine never sees; as a user without the right to, through a
// user namespace. False where neither is allowed.
bool ownMountNamespace();

// The directory bound read-only onto itself in the private mount namespace, until the end
// of the scope: not even the super-user writes into it then.
class ReadOnlyBind {
public:
    explicit ReadOnlyBind(const std::filesystem::path& dir);
    ~ReadOnlyBind();
    ReadOnlyBind(const ReadOnlyBind&) = delete;
    ReadOnlyBind& operator=(const ReadOnlyBind&) = delete;
    // False where no mount namespace or no bind mount can be made; why is in reason().
    bool active() const noexcept { return mActive; }
    const std::string& reason() const noexcept { return mReason; }

private:
    std::filesystem::path mDir;
    bool mActive = false;
    std::string mReason;
};

}  // namespace dravin::test
