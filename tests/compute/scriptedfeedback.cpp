#include "scriptedfeedback.h"

#include <gtest/gtest.h>

namespace dravin::test {

void ScriptedFeedback::script(std::initializer_list<Answer> answers) {
    mAnswers.insert(mAnswers.end(), answers.begin(), answers.end());
}

Prompter::Answer ScriptedFeedback::confirm(const std::string& text, bool) {
    questions.push_back(text);
    if (mAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return Answer::No;
    }
    const Answer a = mAnswers.front();
    mAnswers.pop_front();
    return a;
}

void ScriptedFeedback::showMessage(const std::string& text) {
    windowText = text;
    windowOpen = true;
}

}  // namespace dravin::test
