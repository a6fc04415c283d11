#include <gtest/gtest.h>

#include <QAction>

#include "data/studyfiles.h"
#include "data/tdravindatat.h"
#include "entry/inifile.h"
#include "support/studyfixture.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

namespace fs = std::filesystem;

class FileCommandTest : public ProgramFixture {
protected:
    FileCommandTest() { start(standalone()); }

    TDravinMain& main() { return *mMain; }
    void run(const char* action, const fs::path& answer) {
        mFiles->answer(qs(answer));
        main().action(action)->trigger();
    }
    // The marker and the five tables of the study in the studies directory.
    int filesOf(const std::string& name) const {
        int n = fs::exists(studyMarkerPath(mStudiesDir, name)) ? 1 : 0;
        for (const char* part : kStudyPartWords) {
            n += fs::exists(mStudiesDir / (studyTableName(name, part) + ".DB")) ? 1 : 0;
        }
        return n;
    }
    QString caption(const std::string& name) const {
        return "Πίνακας Χιλιοστών [" + qs(mStudiesDir) + "\\" + QString::fromStdString(name) + "]";
    }
};

TEST_F(FileCommandTest, CreateMakesAFreshStudy) {
    run("NewFile", mStudiesDir / "ΝΕΑ.DVT");

    EXPECT_EQ(main().StudiesDir, qs(mStudiesDir));
    EXPECT_EQ(main().StudyName, "ΝΕΑ");
    EXPECT_EQ(main().windowTitle(), caption("ΝΕΑ"));
    EXPECT_EQ(filesOf("ΝΕΑ"), 6);
    EXPECT_EQ(readFile(studyMarkerPath(mStudiesDir, "ΝΕΑ")), studyMarkerBytes());
    EXPECT_EQ(main().data().studyName(), "ΝΕΑ");
    EXPECT_TRUE(main().data().DravinT.isEmpty());
    EXPECT_EQ(main().data().FloorT.recordCount(), main().data().FloorTo.recordCount());
    EXPECT_TRUE(mPrompter.messages.empty());
}

TEST_F(FileCommandTest, OpenReturnsToAnotherStudy) {
    loadDemoStudy();
    const int spaces = main().data().DravinT.recordCount();
    run("NewFile", mStudiesDir / "ΝΕΑ.DVT");
    ASSERT_TRUE(main().data().DravinT.isEmpty());

    run("OpenFile", mStudiesDir / "SCRATCH.DVT");

    EXPECT_EQ(main().StudyName, "SCRATCH");
    EXPECT_EQ(main().windowTitle(), caption("SCRATCH"));
    EXPECT_EQ(main().data().DravinT.recordCount(), spaces);
}

TEST_F(FileCommandTest, SaveAsCopiesTheStudy) {
    loadDemoStudy();
    const std::string source = dumpTable(main().data().DravinT);

    run("SaveAsFile", mStudiesDir / "ΑΝΤΙΓΡΑΦΟ.DVT");

    EXPECT_EQ(main().StudyName, "ΑΝΤΙΓΡΑΦΟ");
    EXPECT_EQ(main().windowTitle(), caption("ΑΝΤΙΓΡΑΦΟ"));
    EXPECT_EQ(main().data().studyName(), "ΑΝΤΙΓΡΑΦΟ");
    EXPECT_EQ(dumpTable(main().data().DravinT), source);
    EXPECT_EQ(filesOf("ΑΝΤΙΓΡΑΦΟ"), 6);
    EXPECT_EQ(filesOf("SCRATCH"), 6);
    EXPECT_TRUE(mPrompter.messages.empty());
}

TEST_F(FileCommandTest, DeletingTheOpenStudyIsRefused) {
    run("DeleteFiles", mStudiesDir / "SCRATCH.DVT");
    run("DeleteFiles", mStudiesDir / ".." / "MELETES" / "SCRATCH.DVT");

    EXPECT_EQ(mPrompter.messages,
              (std::vector<std::string>{kStudyInUseMessage, kStudyInUseMessage}));
    EXPECT_EQ(filesOf("SCRATCH"), 6);
    EXPECT_TRUE(main().data().DravinT.isOpen());
}

TEST_F(FileCommandTest, DeleteRemovesAnotherStudy) {
    loadDemoStudy();
    run("NewFile", mStudiesDir / "ΝΕΑ.DVT");
    run("OpenFile", mStudiesDir / "SCRATCH.DVT");
    ASSERT_EQ(filesOf("ΝΕΑ"), 6);
    const std::string current = dumpTable(main().data().DravinT);

    run("DeleteFiles", mStudiesDir / "ΝΕΑ.DVT");

    EXPECT_EQ(filesOf("ΝΕΑ"), 0);
    EXPECT_EQ(filesOf("SCRATCH"), 6);
    EXPECT_EQ(dumpTable(main().data().DravinT), current);
    EXPECT_TRUE(mPrompter.messages.empty());
}

// A study in a directory that does not exist cannot be made: the error is shown and the
// window stays on the study it had.
TEST_F(FileCommandTest, CreateInAMissingDirectoryFails) {
    run("NewFile", mTemp / "GONE" / "ΝΕΑ.DVT");

    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_NE(mPrompter.messages[0].find("GONE"), std::string::npos) << mPrompter.messages[0];
    EXPECT_EQ(main().StudiesDir, qs(mStudiesDir));
    EXPECT_EQ(main().StudyName, "SCRATCH");
    EXPECT_EQ(main().data().studyName(), "SCRATCH");
    EXPECT_TRUE(main().data().DravinT.isOpen());
}

// A folder or a name the settings file could not keep is refused when chosen, naming the
// character: the next run would otherwise look for the study elsewhere.
struct RefusedChoiceCase {
    const char* name;
    const char* action;
    const char* folder;  // under the temporary directory, made first
    const char* study;
    const char* said;  // a part of the one message
};

std::ostream& operator<<(std::ostream& os, const RefusedChoiceCase& c) {
    return os << c.name;
}

class RefusedChoiceTest : public FileCommandTest,
                          public ::testing::WithParamInterface<RefusedChoiceCase> {};

TEST_P(RefusedChoiceTest, OneSentenceAndNothingWritten) {
    const RefusedChoiceCase c = GetParam();
    loadDemoStudy();
    const std::string before = dumpTable(main().data().DravinT);
    const fs::path folder = mTemp / c.folder;
    fs::create_directories(folder);

    run(c.action, folder / (std::string(c.study) + ".DVT"));

    ASSERT_EQ(mPrompter.messages.size(), 1u);
    const std::string& message = mPrompter.messages[0];
    EXPECT_NE(message.find(c.said), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(main().StudiesDir, qs(mStudiesDir));
    EXPECT_EQ(main().StudyName, "SCRATCH");
    EXPECT_EQ(main().data().studyName(), "SCRATCH");
    EXPECT_EQ(dumpTable(main().data().DravinT), before);
}

const std::string kLongGreekName = [] {
    std::string name;
    for (int i = 0; i < 110; ++i) {
        name += "Π";
    }
    return name;
}();

INSTANTIATE_TEST_SUITE_P(
    Choices, RefusedChoiceTest,
    ::testing::Values(
        RefusedChoiceCase{"CreateInAccentedFolder", "NewFile", "café", "ΝΕΑ", "«é»"},
        RefusedChoiceCase{"CreateWithForeignName", "NewFile", "MELETES2", "Σπίτι日", "«日»"},
        RefusedChoiceCase{"SaveAsInAccentedFolder", "SaveAsFile", "naïve", "ΑΝΤΙΓΡΑΦΟ", "«ï»"},
        RefusedChoiceCase{"CreateWithLongName", "NewFile", "MELETES3", kLongGreekName.c_str(),
                          "πολύ μεγάλο"},
        RefusedChoiceCase{"SaveAsWithLongName", "SaveAsFile", "MELETES4", kLongGreekName.c_str(),
                          "πολύ μεγάλο"}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder name with blanks or quotes around it reaches the next run as it was.
TEST_F(FileCommandTest, FolderWithBlanksAndQuotesIsKept) {
    const fs::path folder = mTemp / "\"Μελέτες 2024\" ";
    fs::create_directories(folder);
    run("NewFile", folder / "ΝΕΑ.DVT");
    ASSERT_TRUE(mPrompter.messages.empty()) << mPrompter.messages[0];
    dravin::Run(standalone()).writeSettingsBack(main());

    start(standalone());

    EXPECT_EQ(main().StudiesDir, qs(folder));
    EXPECT_EQ(main().data().studyName(), "ΝΕΑ");
    EXPECT_TRUE(mPrompter.messages.empty());
}

// With no study open there is nothing to save: no dialog, and nothing written.
TEST_F(FileCommandTest, SaveAsWithoutAStudySaysSo) {
    IniWriteString(mProgramDir / "DRAVIN.INI", "DIR", "NAME", (mTemp / "GONE").string());
    start(standalone());
    mPrompter.messages.clear();
    ASSERT_FALSE(main().data().DravinT.isOpen());
    const auto entries = [&] {
        return std::distance(fs::directory_iterator(mStudiesDir), fs::directory_iterator());
    };
    const auto before = entries();

    main().action("SaveAsFile")->trigger();

    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kNoStudyToSaveMessage});
    EXPECT_TRUE(mFiles->requests.empty());
    EXPECT_EQ(entries(), before);
}

// A study that fails to be made leaves nothing behind, its marker included.
TEST_F(FileCommandTest, CreateThatFailsLeavesNoMarker) {
    fs::create_directory(mStudiesDir / "ΝΕΑXoros_DRAVIN.new.DB");  // stands in the way

    run("NewFile", mStudiesDir / "ΝΕΑ.DVT");

    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(filesOf("ΝΕΑ"), 0);
    EXPECT_EQ(main().data().studyName(), "SCRATCH");
}

// ------------------------------------------------------------------ the dialogs

struct DialogCase {
    const char* action;
    FileChooser::Kind kind;
    const char* dialog;
    const char* title;
    bool mustExist;
};

class FileDialogTest : public FileCommandTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(FileDialogTest, AsksInTheStudiesDirectoryAndCancelChangesNothing) {
    const DialogCase c = GetParam();
    loadDemoStudy();
    const std::string before = dumpTable(main().data().DravinT);
    mFiles->answer(std::nullopt);

    main().action(c.action)->trigger();

    ASSERT_EQ(mFiles->requests.size(), 1u);
    const FileChooser::Request& r = mFiles->requests[0];
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.objectName, c.dialog);
    EXPECT_EQ(r.title, c.title);
    EXPECT_EQ(r.directory, qs(mStudiesDir));
    EXPECT_EQ(r.mustExist, c.mustExist);
    EXPECT_EQ(main().StudyName, "SCRATCH");
    EXPECT_EQ(main().data().studyName(), "SCRATCH");
    EXPECT_EQ(dumpTable(main().data().DravinT), before);
    EXPECT_EQ(filesOf("SCRATCH"), 6);
    EXPECT_TRUE(mPrompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, FileDialogTest,
                         ::testing::Values(DialogCase{"OpenFile", FileChooser::Kind::Open,
                                                      "OpenDialog1", "Ανοιγμα", true},
                                           DialogCase{"NewFile", FileChooser::Kind::Open,
                                                      "OpenDialog1", "Δημιουργία", false},
                                           DialogCase{"SaveAsFile", FileChooser::Kind::Save,
                                                      "SaveDialog1", "Αποθήκευση ως", false},
                                           DialogCase{"DeleteFiles", FileChooser::Kind::Open,
                                                      "OpenDialog1", "Διαγραφή αρχείων", true}),
                         [](const auto& info) { return std::string(info.param.action); });

}  // namespace
}  // namespace dravin::test
