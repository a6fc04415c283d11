#include "support/childprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace dravin::test {

ChildProcess::ChildProcess(std::vector<std::string> argv, const std::filesystem::path& errorFile) {
    int in[2], out[2];
    if (pipe(in) != 0) {
        throw std::runtime_error("pipe failed");
    }
    if (pipe(out) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (!errorFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    for (int fd : {in[0], in[1], out[0], out[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    std::vector<char*> args;
    for (auto& a : argv) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);
    const int rc = posix_spawn(&mPid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    mIn = in[1];
    mOut = out[0];
    if (rc != 0) {
        ::close(mIn);
        ::close(mOut);
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

ChildProcess::~ChildProcess() {
    closeInput();
    if (mOut >= 0) {
        ::close(mOut);
    }
    if (mPid > 0) {
        ::kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
}

std::optional<std::string> ChildProcess::readLine(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (const auto eol = mPending.find('\n'); eol != std::string::npos) {
            std::string line = mPending.substr(0, eol);
            mPending.erase(0, eol + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{mOut, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        char buf[512];
        const ssize_t n = ::read(mOut, buf, sizeof buf);
        if (n <= 0) {
            return std::nullopt;
        }
        mPending.append(buf, static_cast<size_t>(n));
    }
}

void ChildProcess::closeInput() {
    if (mIn >= 0) {
        ::close(mIn);
        mIn = -1;
    }
}

void ChildProcess::kill() {
    if (mPid > 0) {
        ::kill(mPid, SIGKILL);
    }
}

std::optional<int> ChildProcess::waitStatus(int timeoutMs) {
    if (mPid <= 0) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(mPid, &status, WNOHANG);
        if (r == mPid) {
            mPid = -1;
            return status;
        }
        if ((r < 0 && errno != EINTR) || std::chrono::steady_clock::now() > deadline) {
            ::kill(mPid, SIGKILL);
            waitpid(mPid, nullptr, 0);
            mPid = -1;
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int ChildProcess::wait(int timeoutMs) {
    const auto status = waitStatus(timeoutMs);
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

}  // namespace dravin::test
