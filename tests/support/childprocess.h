#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dravin::test {

// Another program run by a test: its standard input and output are pipes, and every
// wait on it ends after a time-out, so a stuck child fails the test instead of hanging.
// Its standard error goes to errorFile when one is given, else where the test's goes.
class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> argv,
                          const std::filesystem::path& errorFile = {});
    ~ChildProcess();  // kills the child if still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line the child writes, without its end; nothing at end of output or
    // after the time-out.
    std::optional<std::string> readLine(int timeoutMs = 20000);
    void closeInput();
    void kill();
    // The status waitpid() gives, or nothing when the child did not end in time (it is
    // killed then).
    std::optional<int> waitStatus(int timeoutMs = 20000);
    // The exit code, or -1 when the child was killed or did not end in time.
    int wait(int timeoutMs = 20000);

private:
    pid_t mPid = -1;
    int mIn = -1;
    int mOut = -1;
    std::string mPending;
};

}  // namespace dravin::test
