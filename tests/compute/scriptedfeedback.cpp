#include "scriptedfeedback.h"

#include <gtest/gtest.h>

namespace dravin::test {

void ScriptedFeedback::showMessage(const std::string& text) {
    windowText = text;
    windowOpen = true;
}

}  // namespace dravin::test
