#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/feedback.h"
#include "data/table.h"
#include "entry/run.h"
#include "support/scriptedprompter.h"
#include "support/tempdir.h"
#include "ui/filechooser.h"
#include "ui/helpsystem.h"
#include "ui/tdravinmain.h"

class QDialog;
namespace dravin {
class ParamDialog;
}
class QWidget;

namespace dravin::test {

// Stands in for the file dialogs: records each request and answers from a script.
class ScriptedFiles final : public FileChooser {
public:
    // The next dialog returns this file; nothing means the user cancels.
    void answer(const std::optional<QString>& file) {
        mAnswers.push_back(file.value_or(QString()));
    }
    std::optional<QString> choose(QWidget* parent, const Request& request) override;

    std::vector<Request> requests;

private:
    std::deque<QString> mAnswers;  // a null text cancels
};

// Records the topics asked of the help viewer with the help file current then.
class RecordingHelpViewer final : public HelpViewer {
public:
    void showTopic(const QString& helpFile, const QString& topic) override {
        shown.emplace_back(helpFile, topic);
    }
    std::vector<std::pair<QString, QString>> shown;
};

QString qs(const std::filesystem::path& p);

// The key of a space-table record as "floor/kind/number", blank as "-".
std::string keyOf(const Table& spaces, int row);

// The last space record whose floor and kind equal those of the space before it.
int spaceAfterTwin(const Table& spaces);

// Runs the dialog modally; should nothing close it, it ends with -1 after a while
// instead of hanging the tests.
int execGuarded(QDialog& dialog);

// Calls the function on every visible top-level window of the given class while a
// modal loop runs, until it returns true; gives up (and closes whatever is modal)
// after a generous number of tries so that no test can hang.
void whenShown(const char* className, std::function<bool(QWidget*)> act);

// A program directory in a temporary place: DB2 with small master tables and an empty
// MELETES. The main window's messages, file dialogs and help topics are scripted.
class ProgramFixture : public ::testing::Test {
protected:
    ProgramFixture();
    ~ProgramFixture() override;

    RunArguments standalone() const;
    RunArguments embedded(const QString& studiesDir, const QString& study,
                          const QString& font = "Arial") const;
    // A fresh main window set up by the run's set-up steps; replaces the previous one.
    TDravinMain& start(const RunArguments& args);
    void finish();  // releases the main window
    // Replaces the open study's records by the demo study's.
    void loadDemoStudy();
    // A parameter dialog on the floors or the space kinds, of the study or the masters,
    // with its messages scripted.
    std::unique_ptr<ParamDialog> openParameters(bool floors, bool study);
    // The settings file as text.
    std::string iniText() const;

    TempDir mTemp;
    std::filesystem::path mProgramDir;
    std::filesystem::path mDataDir;
    std::filesystem::path mStudiesDir;
    ScriptedPrompter mPrompter;
    std::shared_ptr<ScriptedFiles> mFiles = std::make_shared<ScriptedFiles>();
    std::shared_ptr<RecordingHelpViewer> mHelp = std::make_shared<RecordingHelpViewer>();
    std::unique_ptr<TDravinMain> mMain;  // last: released before the scripts it uses
};

}  // namespace dravin::test
