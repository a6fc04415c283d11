#include "entry/run.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>

#include "berokfixture.h"
#include "data/cp1253.h"
#include "data/studyfiles.h"
#include "data/tdravindatat.h"
#include "entry/inifile.h"
#include "ui/printsettings.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

namespace fs = std::filesystem;

std::string missingDirectoryMessage(const QString& dir) {
    return ("Ο κατάλογος " + dir + "\rπου χρησιμοποιήθηκε τελευταία ΔΕΝ ΥΠΑΡΧΕΙ").toStdString();
}

class RunTest : public ProgramFixture {
protected:
    void writeSettings(const fs::path& studiesDir, const std::string& study) {
        writeFile(mProgramDir / "DRAVIN.INI",
                  cp1253::encode("[DIR]\r\nNAME=" + studiesDir.string() +
                                 "\r\n[FONT]\r\nNAME=Liberation Serif\r\n[FILE]\r\nNAME=" + study +
                                 "\r\n[LINESPACE]\r\nMM=2500\r\n[COMPUTE]\r\nAUTO=0\r\n"));
    }
};

TEST_F(RunTest, AbsentSettingsGiveTheDefaults) {
    // A printer font left from an earlier run in the same process is not a default.
    PrintSettings::instance().fontFamily = "Arial";
    TDravinMain& main = start(standalone());

    EXPECT_EQ(main.DataDir, qs(mProgramDir / "DB2"));
    EXPECT_EQ(main.StudiesDir, qs(mProgramDir / "MELETES"));
    EXPECT_EQ(main.StudyName, "SCRATCH");
    EXPECT_EQ(main.IniFileName, qs(mProgramDir / "DRAVIN.INI"));
    EXPECT_EQ(main.LineSpacing, 8.0f);
    EXPECT_TRUE(main.AutoCompute);
    EXPECT_FALSE(main.UseLineSpacing);
    EXPECT_FALSE(main.action("N34")->isChecked());
    EXPECT_EQ(PrintSettings::instance().fontFamily, "Courier New");
    EXPECT_EQ(main.data().studyName(), "SCRATCH");
    EXPECT_TRUE(main.data().DravinT.isOpen());
    EXPECT_EQ(readFile(mStudiesDir / "SCRATCH.DVT"), studyMarkerBytes());
    EXPECT_TRUE(mPrompter.messages.empty());
}

TEST_F(RunTest, SettingsAreWrittenBackInTheirOrder) {
    TDravinMain& main = start(standalone());
    dravin::Run(standalone()).writeSettingsBack(main);

    // Blank lines between the sections are the settings file's own affair.
    std::string text = iniText();
    for (size_t at; (at = text.find("\r\n\r\n")) != std::string::npos;) {
        text.erase(at, 2);
    }
    EXPECT_EQ(text, "[DIR]\r\nNAME=" + (mProgramDir / "MELETES").string() +
                        "\r\n[FONT]\r\nNAME=Courier New\r\n[FILE]\r\nNAME=SCRATCH\r\n"
                        "[LINESPACE]\r\nMM=8000\r\n[COMPUTE]\r\nAUTO=1\r\n");
    EXPECT_TRUE(mPrompter.messages.empty());
}

TEST_F(RunTest, StandaloneReadsEverySetting) {
    const fs::path other = mTemp / "ΑΛΛΟΣ";
    fs::create_directories(other);
    TDravinDataT().OpenStudyWithMarker(other, "ΜΕΛΕΤΗ");
    writeSettings(other, "ΜΕΛΕΤΗ");
    TDravinMain& main = start(standalone());

    EXPECT_EQ(main.StudiesDir, qs(other));
    EXPECT_EQ(main.StudyName, "ΜΕΛΕΤΗ");
    EXPECT_EQ(PrintSettings::instance().fontFamily, "Liberation Serif");
    EXPECT_EQ(main.LineSpacing, 2.5f);
    EXPECT_FALSE(main.AutoCompute);
    EXPECT_TRUE(main.action("N34")->isChecked());
    EXPECT_EQ(main.data().studyDirectory(), other);
    EXPECT_EQ(main.data().studyName(), "ΜΕΛΕΤΗ");
    // The data directory never comes from the settings.
    EXPECT_EQ(main.DataDir, qs(mProgramDir / "DB2"));
}

// The settings remember a study that is not there: the run says so and makes nothing,
// neither the study nor its marker.
TEST_F(RunTest, ARememberedStudyThatIsGoneIsNotMadeAnew) {
    const fs::path other = mTemp / "ΑΛΛΟΣ";
    fs::create_directories(other);
    writeSettings(other, "ΜΕΛΕΤΗ");
    TDravinMain& main = start(standalone());

    EXPECT_EQ(
        mPrompter.messages,
        std::vector<std::string>{"Η μελέτη ΜΕΛΕΤΗ δεν βρέθηκε στον κατάλογο " + other.string() +
                                 "· ανοίξτε ή δημιουργήστε μια μελέτη από το μενού «Αρχεία»."});
    EXPECT_TRUE(fs::is_empty(other));
    EXPECT_FALSE(main.data().DravinT.isOpen());
    EXPECT_TRUE(main.action("NewFile")->isEnabled());
    EXPECT_TRUE(main.data().FloorTo.isOpen());
    // The settings still name it: nothing the user chose is lost.
    dravin::Run(standalone()).writeSettingsBack(main);
    EXPECT_EQ(IniReadString(mProgramDir / "DRAVIN.INI", "FILE", "NAME", "?"), "ΜΕΛΕΤΗ");
    EXPECT_EQ(IniReadString(mProgramDir / "DRAVIN.INI", "DIR", "NAME", "?"), other.string());
}

// The first run's scratch study in the default folder is the one study made unasked.
TEST_F(RunTest, TheScratchStudyIsMadeInTheDefaultFolderOnly) {
    writeSettings(mStudiesDir, "SCRATCH");
    EXPECT_TRUE(start(standalone()).data().DravinT.isOpen());
    const fs::path other = mTemp / "ΑΛΛΟΣ";
    fs::create_directories(other);
    writeSettings(other, "SCRATCH");
    mPrompter.messages.clear();
    EXPECT_FALSE(start(standalone()).data().DravinT.isOpen());
    EXPECT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_TRUE(fs::is_empty(other));
}

// Without the master tables the run says once where they were looked for and goes on; a
// study made then has empty floor and kind tables.
TEST_F(RunTest, MissingMasterTablesAreSaidOnceAndNewStudiesStartEmpty) {
    fs::remove_all(mDataDir);
    TDravinMain& main = start(standalone());

    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(mPrompter.messages[0],
              "Οι πίνακες παραμέτρων του προγράμματος (DrvFloor.DB, DrvXoros.DB) δεν βρέθηκαν "
              "στον κατάλογο " +
                  mDataDir.string() +
                  ", οπότε οι νέες μελέτες ξεκινούν χωρίς ορόφους και είδη χώρων.");
    EXPECT_TRUE(main.data().DravinT.isOpen());
    EXPECT_TRUE(main.data().FloorT.isEmpty());

    mFiles->answer(qs(mStudiesDir / "NEWONE.DVT"));
    main.action("NewFile")->trigger();
    EXPECT_EQ(mPrompter.messages.size(), 1u) << mPrompter.messages.back();
    EXPECT_EQ(main.data().studyName(), "NEWONE");
    EXPECT_TRUE(main.data().FloorT.isEmpty());
    EXPECT_TRUE(main.data().XorosT.isEmpty());

    main.action("N14")->trigger();
    EXPECT_EQ(mPrompter.messages.back(), kMastersMissingMessage);
}

TEST_F(RunTest, EmbeddedTakesPlacesAndFontFromTheHost) {
    const fs::path other = mTemp / "ΑΛΛΟΣ";
    fs::create_directories(other);
    writeSettings(other, "ΜΕΛΕΤΗ");
    TDravinMain& main = start(embedded(qs(mStudiesDir), "HOST", "Arial"));

    EXPECT_EQ(main.StudiesDir, qs(mStudiesDir));
    EXPECT_EQ(main.StudyName, "HOST");
    EXPECT_EQ(PrintSettings::instance().fontFamily, "Arial");
    EXPECT_EQ(main.DataDir, qs(mDataDir));
    EXPECT_EQ(main.LineSpacing, 2.5f);
    EXPECT_FALSE(main.AutoCompute);
    EXPECT_EQ(main.data().studyName(), "HOST");
}

TEST_F(RunTest, StandaloneStartsWhereTheEmbeddedRunLeft) {
    const fs::path host = mTemp / "HOST";
    fs::create_directories(host);
    const RunArguments first = embedded(qs(host), "ΠΟΛΥΚΑΤΟΙΚΙΑ", "Arial");
    TDravinMain& embeddedMain = start(first);
    embeddedMain.action("N34")->trigger();
    dravin::Run(first).writeSettingsBack(embeddedMain);
    finish();

    TDravinMain& main = start(standalone());

    EXPECT_EQ(main.StudiesDir, qs(host));
    EXPECT_EQ(main.StudyName, "ΠΟΛΥΚΑΤΟΙΚΙΑ");
    EXPECT_EQ(PrintSettings::instance().fontFamily, "Arial");
    EXPECT_FALSE(main.AutoCompute);
    EXPECT_EQ(main.data().studyDirectory(), host);
    EXPECT_EQ(main.data().studyName(), "ΠΟΛΥΚΑΤΟΙΚΙΑ");
}

// ------------------------------------------------------------------ missing studies directory

struct MissingCase {
    const char* name;
    bool embedded;
    const char* studiesDir;  // under the program directory; null for an empty argument
};

class MissingStudiesDirTest : public ProgramFixture,
                              public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingStudiesDirTest, SaysSoAndGoesOnWithoutAStudy) {
    const MissingCase c = GetParam();
    const QString dir = c.studiesDir ? qs(mTemp / c.studiesDir) : QString();
    if (!c.embedded) {
        IniWriteString(mProgramDir / "DRAVIN.INI", "DIR", "NAME", dir.toStdString());
    }
    const RunArguments args = c.embedded ? embedded(dir, "SCRATCH") : standalone();
    TDravinMain& main = start(args);

    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(mPrompter.messages[0], missingDirectoryMessage(dir));
    EXPECT_FALSE(main.data().DravinT.isOpen());
    EXPECT_TRUE(main.data().FloorTo.isOpen());  // the master tables open all the same
    main.show();
    EXPECT_EQ(main.windowTitle(), "Πίνακας Χιλιοστών [" + dir + "\\SCRATCH]");

    // The settings still go back, with the missing directory.
    dravin::Run(args).writeSettingsBack(main);
    EXPECT_EQ(IniReadString(mProgramDir / "DRAVIN.INI", "DIR", "NAME", "?"), dir.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Runs, MissingStudiesDirTest,
                         ::testing::Values(MissingCase{"Standalone", false, "GONE"},
                                           MissingCase{"Embedded", true, "GONE"},
                                           MissingCase{"EmbeddedEmpty", true, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ unusable settings file

// What stands at a path, links unfollowed: kind, link target, a directory's entries.
std::string standing(const fs::path& p) {
    const auto status = fs::symlink_status(p);
    if (fs::is_symlink(status)) {
        return "link to " + fs::read_symlink(p).string();
    }
    if (fs::is_directory(status)) {
        std::string text = "directory:";
        for (const auto& entry : fs::directory_iterator(p)) {
            text += " " + entry.path().filename().string() + "=" + readFile(entry.path());
        }
        return text;
    }
    return fs::exists(status) ? "file " + readFile(p) : "nothing";
}

struct UnusableCase {
    const char* name;
    void (*make)(const fs::path& ini);  // puts something other than a file in its place
    const char* problem;                // after "Το αρχείο ρυθμίσεων <file> "
};

class UnusableSettingsTest : public RunTest, public ::testing::WithParamInterface<UnusableCase> {
protected:
    fs::path ini() const { return mProgramDir / "DRAVIN.INI"; }
    std::string message(const char* consequence) const {
        return "Το αρχείο ρυθμίσεων " + qs(ini()).toStdString() + " " + GetParam().problem + "· " +
               consequence + ".";
    }
};

const UnusableCase kUnusableCases[] = {
    {"Directory",
     [](const fs::path& ini) {
         fs::create_directory(ini);
         writeFile(ini / "KEPT", "[DIR]\r\nNAME=C:\\ELSEWHERE\r\n");
     },
     "είναι φάκελος"},
    {"LinkLoop", [](const fs::path& ini) { fs::create_symlink(ini.filename(), ini); },
     "είναι συμβολικός σύνδεσμος που δεν οδηγεί σε αρχείο"},
};

TEST_P(UnusableSettingsTest, AtTheStartOneMessageAndTheDefaults) {
    GetParam().make(ini());
    const std::string before = standing(ini());
    TDravinMain& main = start(standalone());

    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(
        mPrompter.messages[0],
        message(
            "το πρόγραμμα συνεχίζει με τις αρχικές ρυθμίσεις και δεν θα μπορέσει να τις κρατήσει"));
    EXPECT_EQ(main.StudiesDir, qs(mStudiesDir));
    EXPECT_EQ(main.StudyName, "SCRATCH");
    EXPECT_EQ(main.LineSpacing, 8.0f);
    EXPECT_TRUE(main.AutoCompute);
    EXPECT_EQ(PrintSettings::instance().fontFamily, "Courier New");
    EXPECT_TRUE(main.data().DravinT.isOpen());

    dravin::Run(standalone()).writeSettingsBack(main);
    EXPECT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(standing(ini()), before);
}

// The settings were read; their file is replaced while the program runs.
TEST_P(UnusableSettingsTest, AtTheWriteBackOneMessage) {
    writeSettings(mStudiesDir, "SCRATCH");
    TDravinMain& main = start(standalone());
    ASSERT_TRUE(mPrompter.messages.empty());
    EXPECT_EQ(main.LineSpacing, 2.5f);
    fs::remove(ini());
    GetParam().make(ini());
    const std::string before = standing(ini());

    dravin::Run(standalone()).writeSettingsBack(main);

    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(mPrompter.messages[0], message("οι ρυθμίσεις αυτής της εκτέλεσης δεν κρατήθηκαν"));
    EXPECT_EQ(standing(ini()), before);
}

INSTANTIATE_TEST_SUITE_P(Runs, UnusableSettingsTest, ::testing::ValuesIn(kUnusableCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ menu states

struct MenuCase {
    const char* name;
    bool embedded;
    bool brokenStudy;   // a foreign file stands where the floor table should be
    bool fileCommands;  // OpenFile, NewFile, SaveAsFile, DeleteFiles enabled
};

class MenuStateTest : public ProgramFixture, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuStateTest, FileCommandsOrImport) {
    const MenuCase c = GetParam();
    writeBerokTable(mStudiesDir, {BerokRow("ΙΣΟΓΕΙΟ", 1, 80.0)});
    if (c.brokenStudy) {
        writeFile(mStudiesDir / "SCRATCHFloor_DRAVIN.DB", "not a table at all");
    }
    TDravinMain& main = start(c.embedded ? embedded(qs(mStudiesDir), "SCRATCH") : standalone());

    for (const char* name : {"OpenFile", "NewFile", "SaveAsFile", "DeleteFiles"}) {
        EXPECT_EQ(main.action(name)->isEnabled(), c.fileCommands) << name;
    }
    EXPECT_EQ(main.action("DataFromBerok97")->isEnabled(), !c.fileCommands);
    EXPECT_EQ(main.data().DravinT.isOpen(), !c.brokenStudy);
    // A study that fails to open at the start is not reported by the run.
    EXPECT_TRUE(mPrompter.messages.empty());
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

// The import command of an embedded run replaces the spaces by the sibling's.
TEST_F(ProgramFixture, ImportCommandTakesTheSiblingsSpaces) {
    writeBerokTable(mStudiesDir, {BerokRow("οροφ.-1", 0, 80.0), BerokRow("οροφ.-1", 13, 12.5)});
    TDravinMain& main = start(embedded(qs(mStudiesDir), "SCRATCH"));

    main.action("DataFromBerok97")->trigger();

    EXPECT_TRUE(mPrompter.messages.empty());
    const Table& spaces = main.data().DravinT;
    ASSERT_EQ(spaces.recordCount(), 2);
    EXPECT_EQ(keyOf(spaces, 0), "1/10/1");
    EXPECT_EQ(keyOf(spaces, 1), "1/80/2");
}

INSTANTIATE_TEST_SUITE_P(Runs, MenuStateTest,
                         ::testing::Values(MenuCase{"Standalone", false, false, true},
                                           MenuCase{"Embedded", true, false, false},
                                           MenuCase{"EmbeddedFailedOpen", true, true, true},
                                           MenuCase{"StandaloneFailedOpen", false, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ help file

// Changes the working directory for one test.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& dir) : mPrevious(fs::current_path()) {
        fs::current_path(dir);
    }
    ~WorkingDirectory() { fs::current_path(mPrevious); }

private:
    fs::path mPrevious;
};

struct HelpCase {
    const char* name;
    std::vector<const char*> holders;  // "." is the working directory
    const char* found;                 // "" = none, "." = the bare name
};

class HelpFileTest : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpFileTest, WorkingDirectoryFirstThenTheProgramsFolders) {
    const HelpCase c = GetParam();
    TempDir program;
    TempDir work;
    for (const char* holder : c.holders) {
        const fs::path dir = std::string(holder) == "." ? work.path() : program / holder;
        fs::create_directories(dir);
        writeFile(dir / "TELVO704.HLP", "help");
    }
    fs::create_directories(work / "HLP");  // a folder of the working directory does not count
    writeFile(work / "HLP" / "TELVO704.HLP", "help");
    WorkingDirectory cwd(work.path());

    const std::string found = c.found;
    const QString expected = found.empty()  ? QString()
                             : found == "." ? QString("TELVO704.HLP")
                                            : qs(program / found / "TELVO704.HLP");
    EXPECT_EQ(findHelpFile(program.path()), expected);
}

INSTANTIATE_TEST_SUITE_P(Places, HelpFileTest,
                         ::testing::Values(HelpCase{"WorkingDirectory", {".", "HLP"}, "."},
                                           HelpCase{"Hlp", {"FHELP", "HELP", "HLP"}, "HLP"},
                                           HelpCase{"Help", {"FHELP", "FHLP", "HELP"}, "HELP"},
                                           HelpCase{"Fhlp", {"FHELP", "FHLP"}, "FHLP"},
                                           HelpCase{"Fhelp", {"FHELP"}, "FHELP"},
                                           HelpCase{"Nowhere", {}, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ a whole run

TEST_F(RunTest, RunShowsTheWindowAndPutsEverythingBack) {
    fs::create_directories(mProgramDir / "HLP");
    writeFile(mProgramDir / "HLP" / "TELVO704.HLP", "help");
    HelpSystem::setHelpFile("HOST.HLP");
    QString helpDuringRun;
    bool hourglassDuringRun = true;
    whenShown("dravin::TDravinMain", [&](QWidget* w) {
        helpDuringRun = HelpSystem::helpFile();
        hourglassDuringRun = QGuiApplication::overrideCursor() != nullptr;
        w->close();
        return true;
    });

    dravin::Run(standalone()).execute();

    EXPECT_EQ(helpDuringRun, qs(mProgramDir / "HLP" / "TELVO704.HLP"));
    EXPECT_FALSE(hourglassDuringRun);  // showing the window ended it
    EXPECT_EQ(HelpSystem::helpFile(), "HOST.HLP");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(IniReadString(mProgramDir / "DRAVIN.INI", "FILE", "NAME", "?"), "SCRATCH");
    EXPECT_EQ(IniReadInteger(mProgramDir / "DRAVIN.INI", "COMPUTE", "AUTO", -1), 1);
    HelpSystem::setHelpFile(QString());
}

}  // namespace
}  // namespace dravin::test
