#pragma once

#include <string>

namespace dravin {

// Questions and messages to the user. The desktop program answers with message
// boxes; tests and the command-line tool install their own.
class Prompter {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~Prompter() = default;
    virtual void inform(const std::string& text) = 0;
    virtual void error(const std::string& text) = 0;
    virtual Answer confirm(const std::string& text, bool withCancel) = 0;
};

// Shows that a long operation is running: the busy cursor and, with a text, the
// wait window.
class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;
    virtual void setBusy(bool busy) = 0;
    virtual void showMessage(const std::string& text) = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void close() = 0;
};

// Answers nothing and shows nothing: for headless use.
class SilentFeedback final : public Prompter, public ProgressReporter {
public:
    void inform(const std::string&) override {}
    void error(const std::string&) override {}
    Answer confirm(const std::string&, bool) override { return Answer::Yes; }
    void setBusy(bool) override {}
    void showMessage(const std::string&) override {}
    void setText(const std::string&) override {}
    void close() override {}
};

// Busy cursor, and optionally the wait window, for one scope.
class BusyScope {
public:
    BusyScope(ProgressReporter& p, const std::string& waitText = {}) : mProgress(p) {
        mProgress.setBusy(true);
        if (!waitText.empty()) {
            mProgress.showMessage(waitText);
            mWindow = true;
        }
    }
    ~BusyScope() {
        if (mWindow) {
            mProgress.close();
        }
        mProgress.setBusy(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    ProgressReporter& mProgress;
    bool mWindow = false;
};

}  // namespace dravin
