#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "data/feedback.h"

namespace dravin::test {

// Stands in for the message boxes: records what is said and answers the questions
// from a script.
class ScriptedPrompter : public Prompter {
public:
    // The answers to the next questions, in order. A question beyond the script fails
    // the test and is answered No.
    void script(std::initializer_list<Answer> answers);

    void inform(const std::string& text) override { messages.push_back(text); }
    void error(const std::string& text) override { messages.push_back(text); }
    Answer confirm(const std::string& text, bool withCancel) override;

    std::vector<std::string> messages;   // informs and errors, in order
    std::vector<std::string> questions;  // confirmations asked, in order

private:
    std::deque<Answer> mAnswers;
};

}  // namespace dravin::test
