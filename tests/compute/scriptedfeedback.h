#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "data/feedback.h"
#include "support/scriptedprompter.h"

namespace dravin::test {

// Stands in for the message boxes and the wait window: records what the program
// shows and answers its questions from a script.
class ScriptedFeedback final : public ScriptedPrompter, public ProgressReporter {
public:
    void setBusy(bool b) override { busy = b; }
    void showMessage(const std::string& text) override;
    void setText(const std::string& text) override { windowText = text; }
    void close() override { windowOpen = false; }

    bool busy = false;
    bool windowOpen = false;
    std::string windowText;
};

}  // namespace dravin::test
