#include "entry/run.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QWindow>
#include <memory>
#include <string>

#include "data/errors.h"
#include "data/paradox/paradoxconversion.h"
#include "data/studyfiles.h"
#include "data/tdravindatat.h"
#include "entry/entryarguments.h"
#include "entry/inifile.h"
#include "import/berokimport.h"
#include "ui/helpsystem.h"
#include "ui/printsettings.h"
#include "ui/qtprompter.h"
#include "ui/qttexts.h"
#include "ui/tdravinmain.h"

namespace dravin {
namespace {

constexpr const char* kHelpFileName = "TELVO704.HLP";

std::filesystem::path path(const QString& s) {
    return std::filesystem::path(s.toStdString());
}

bool isDirectory(const QString& dir) {
    return !dir.isEmpty() && QFileInfo(dir).isDir();
}

// One sentence: what is wrong with the settings file, then what it means for the run.
std::string settingsMessage(std::string problem, const char* consequence) {
    if (!problem.empty() && problem.back() == '.') {
        problem.pop_back();
    }
    return problem + "· " + consequence + ".";
}

// Everything process-wide that a run changes, put back on every path.
class ProcessState {
public:
    ProcessState() : mHelpFile(HelpSystem::helpFile()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~ProcessState() {
        while (QGuiApplication::overrideCursor()) {
            QGuiApplication::restoreOverrideCursor();
        }
        HelpSystem::setHelpFile(mHelpFile);
    }
    ProcessState(const ProcessState&) = delete;
    ProcessState& operator=(const ProcessState&) = delete;

private:
    QString mHelpFile;
};

}  // namespace

QString fromCodePage(const char* text, size_t maxLength) {
    return QString::fromStdString(decodeHostText(text, maxLength));
}

QString findHelpFile(const std::filesystem::path& programDir) {
    if (QFileInfo(kHelpFileName).isFile()) {
        return kHelpFileName;
    }
    for (const char* sub : {"HLP", "HELP", "FHLP", "FHELP"}) {
        const auto candidate = programDir / sub / kHelpFileName;
        if (QFileInfo(QString::fromStdString(candidate.string())).isFile()) {
            return QString::fromStdString(candidate.string());
        }
    }
    return {};
}

Run::Run(RunArguments args) : mArgs(std::move(args)) {
    // Before any window exists, so that Qt's texts are Greek from the first one on.
    installGreekQtTexts();
}

void Run::execute() {
    ProcessState restore;
    HelpSystem::setHelpFile(findHelpFile(mArgs.programDir));
    auto main = std::make_unique<TDravinMain>();
    // On X11 the host's window becomes the owner of ours; elsewhere the window is
    // application-modal on its own.
    std::unique_ptr<QWindow> host;
    if (mArgs.hostWindow != 0 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        main->winId();
        host.reset(QWindow::fromWinId(mArgs.hostWindow));
        main->windowHandle()->setTransientParent(host.get());
    }
    setUp(*main);
    main->exec();
    writeSettingsBack(*main);
    if (host) {
        main->windowHandle()->setTransientParent(nullptr);
    }
}

// Settings and studies live in the program directory, or in the user's data directory
// when the program directory cannot be written (an installed copy).
QString Run::settingsDirectory() const {
    const QString programDir = QString::fromStdString(mArgs.programDir.string());
    if (QFileInfo(programDir).isWritable()) {
        return programDir;
    }
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(user);
    QDir(user).mkpath("MELETES");
    return user;
}

void Run::setUp(TDravinMain& main) {
    // The run's printer font before the settings are read: their default in standalone
    // mode, whatever an earlier run in the process left.
    PrintSettings::instance().fontFamily =
        mArgs.embedded ? mArgs.printFontName : QString("Courier New");
    const QString programDir = QString::fromStdString(mArgs.programDir.string());
    const QString settingsDir = settingsDirectory();
    const auto under = [&](const char* name) { return QDir(settingsDir).filePath(name); };
    main.DataDir = mArgs.embedded ? mArgs.dataDir : QDir(programDir).filePath("DB2");
    main.StudyName = mArgs.embedded ? mArgs.studyName : QString("SCRATCH");
    main.StudiesDir = mArgs.embedded ? mArgs.studiesDir : under("MELETES");
    main.IniFileName = under("DRAVIN.INI");
    const auto ini = path(main.IniFileName);
    // Reads of such a file would give their fallbacks (no studies directory, no study, no
    // line spacing), not the defaults; without a name the write-back leaves it alone.
    const auto iniProblem = iniFileProblem(ini);
    if (iniProblem) {
        main.IniFileName.clear();
        main.prompter().inform(settingsMessage(
            *iniProblem,
            "το πρόγραμμα συνεχίζει με τις αρχικές ρυθμίσεις και δεν θα μπορέσει να τις κρατήσει"));
    } else {
        main.LineSpacing = IniReadFloat(ini, "LINESPACE", "MM", main.LineSpacing);
        main.AutoCompute = IniReadBool(ini, "COMPUTE", "AUTO", main.AutoCompute);
    }
    main.action("N34")->setChecked(!main.AutoCompute);
    PrintSettings& print = PrintSettings::instance();
    if (mArgs.embedded) {
        print.fontFamily = mArgs.printFontName;
    } else if (!iniProblem) {
        main.StudiesDir = QString::fromStdString(
            IniReadString(ini, "DIR", "NAME", main.StudiesDir.toStdString()));
        print.fontFamily = QString::fromStdString(
            IniReadString(ini, "FONT", "NAME", print.fontFamily.toStdString()));
        main.StudyName = QString::fromStdString(
            IniReadString(ini, "FILE", "NAME", main.StudyName.toStdString()));
    }
    main.setEmbeddedMenus(mArgs.embedded);

    TDravinDataT& data = main.data();
    // The study the settings remember is opened, never made anew: a study that is not
    // there is not the one the user worked on. Only the first run's scratch study is made.
    const bool studyMissing =
        !mArgs.embedded && isDirectory(main.StudiesDir) &&
        !(main.StudiesDir == under("MELETES") && main.StudyName == "SCRATCH") &&
        !studyExists(path(main.StudiesDir), main.StudyName.toStdString());
    if (isDirectory(main.StudiesDir) && !studyMissing) {
        main.WriteStudyMarker();
    }
    if (isDirectory(main.DataDir)) {
        convertOlderMastersOnOpen(path(main.DataDir), main.prompter(), data.progress());
        data.OpenParameterTables(path(main.DataDir));
    } else {
        main.prompter().inform(("Οι πίνακες παραμέτρων του προγράμματος (DrvFloor.DB, DrvXoros.DB) "
                                "δεν βρέθηκαν στον κατάλογο " +
                                main.DataDir +
                                ", οπότε οι νέες μελέτες ξεκινούν χωρίς ορόφους και είδη χώρων.")
                                   .toStdString());
    }
    if (studyMissing) {
        main.prompter().inform(("Η μελέτη " + main.StudyName + " δεν βρέθηκε στον κατάλογο " +
                                main.StudiesDir +
                                "· ανοίξτε ή δημιουργήστε μια μελέτη από το μενού «Αρχεία».")
                                   .toStdString());
        main.setEmbeddedMenus(false);
    } else if (isDirectory(main.StudiesDir)) {
        try {
            try {
                convertOlderStudyOnOpen(path(main.StudiesDir), main.StudyName.toStdString(),
                                        main.prompter(), data.progress());
            } catch (const Error& e) {
                main.prompter().error(e.what());  // the start absorbs what follows
                throw;
            }
            data.OpenStudy(path(main.StudiesDir), main.StudyName.toStdString());
            if (mArgs.embedded) {
                main.berok().OpenBerokTable(path(main.StudiesDir));
            }
        } catch (const std::exception&) {
            // The user opens or creates another study instead.
            main.setEmbeddedMenus(false);
        }
    } else {
        main.prompter().inform(
            ("Ο κατάλογος " + main.StudiesDir + "\rπου χρησιμοποιήθηκε τελευταία ΔΕΝ ΥΠΑΡΧΕΙ")
                .toStdString());
    }
}

void Run::writeSettingsBack(TDravinMain& main) const {
    if (main.IniFileName.isEmpty()) {
        return;  // the set-up said that the settings cannot be kept
    }
    const auto ini = path(main.IniFileName);
    if (const auto problem = iniWriteProblem(ini)) {
        main.prompter().error(
            settingsMessage(*problem, "οι ρυθμίσεις αυτής της εκτέλεσης δεν κρατήθηκαν"));
        return;
    }
    IniWriteString(ini, "DIR", "NAME", main.StudiesDir.toStdString());
    IniWriteString(ini, "FONT", "NAME", PrintSettings::instance().fontFamily.toStdString());
    IniWriteString(ini, "FILE", "NAME", main.StudyName.toStdString());
    IniWriteFloat(ini, "LINESPACE", "MM", main.LineSpacing);
    IniWriteBool(ini, "COMPUTE", "AUTO", main.AutoCompute);
}

}  // namespace dravin
