#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "data/feedback.h"

namespace dravin::test {

// Stands in for the message boxes and the wait window: records what the program
// shows and answers its questions from a script.
class ScriptedFeedback final : public Prompter, public ProgressReporter {
public:
    // The answers to the next questions, in order. A question beyond the script
    // fails the test and is answered No.
    void script(std::initializer_list<Answer> answers);

    void inform(const std::string& text) override { messages.push_back(text); }
    void error(const std::string& text) override { messages.push_back(text); }
    Answer confirm(const std::string& text, bool withCancel) override;

    void setBusy(bool b) override { busy = b; }
    void showMessage(const std::string& text) override;
    void setText(const std::string& text) override { windowText = text; }
    void close() override { windowOpen = false; }

    std::vector<std::string> messages;   // informs and errors, in order
    std::vector<std::string> questions;  // confirmations asked, in order
    bool busy = false;
    bool windowOpen = false;
    std::string windowText;

private:
    std::deque<Answer> mAnswers;
};

}  // namespace dravin::test
