#include "support/scriptedprompter.h"

#include <gtest/gtest.h>

namespace dravin::test {

void ScriptedPrompter::script(std::initializer_list<Answer> answers) {
    mAnswers.insert(mAnswers.end(), answers.begin(), answers.end());
}

Prompter::Answer ScriptedPrompter::confirm(const std::string& text, bool) {
    questions.push_back(text);
    if (mAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return Answer::No;
    }
    const Answer a = mAnswers.front();
    mAnswers.pop_front();
    return a;
}

}  // namespace dravin::test
