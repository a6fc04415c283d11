#include "uifixture.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <fstream>

#include "data/cp1253.h"
#include "data/exchangefile.h"
#include "support/studyfixture.h"
#include "ui/dialogs/tdravinparam1.h"
#include "ui/dialogs/tdravinparam2.h"
#include "ui/qtprompter.h"

namespace dravin::test {

std::optional<QString> ScriptedFiles::choose(QWidget*, const Request& request) {
    requests.push_back(request);
    if (mAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
        return std::nullopt;
    }
    const QString file = mAnswers.front();
    mAnswers.pop_front();
    if (file.isNull()) {
        return std::nullopt;
    }
    return file;
}

QString qs(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

std::string keyOf(const Table& spaces, int row) {
    std::string key;
    for (const char* name : {"IDfloor", "IDXoros", "NumberXoros"}) {
        const Value v = spaces.rowValue(row, *spaces.def().fieldIndex(name));
        key += (key.empty() ? "" : "/") +
               (v.isBlank() ? std::string("-") : std::to_string(v.toInteger()));
    }
    return key;
}

int spaceAfterTwin(const Table& spaces) {
    const int floor = *spaces.def().fieldIndex("IDfloor");
    const int kind = *spaces.def().fieldIndex("IDXoros");
    const int number = *spaces.def().fieldIndex("NumberXoros");
    for (int row = spaces.recordCount() - 1; row > 0; --row) {
        const auto same = [&](int field) {
            return spaces.rowValue(row, field) == spaces.rowValue(row - 1, field);
        };
        if (!spaces.rowValue(row - 1, number).isBlank() && same(floor) && same(kind)) {
            return row;
        }
    }
    ADD_FAILURE() << "the study has no two spaces of one floor and kind";
    return 0;
}

int execGuarded(QDialog& dialog) {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] { dialog.done(-1); });
    guard.start(5000);
    return dialog.exec();
}

void whenShown(const char* className, std::function<bool(QWidget*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, className, act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->inherits(className) && act(w)) {
                timer->stop();
                timer->deleteLater();
                return;
            }
        }
        // Whatever stands in the way is closed, so that a failing test ends.
        ++*tries;
        if (*tries == 500) {
            ADD_FAILURE() << "no " << className << " was shown";
        }
        if (*tries >= 500) {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        }
        if (*tries >= 1000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

ProgramFixture::ProgramFixture()
    : mProgramDir(mTemp.path()), mDataDir(mTemp / "DB2"), mStudiesDir(mTemp / "MELETES") {
    std::filesystem::create_directories(mDataDir);
    std::filesystem::create_directories(mStudiesDir);
    writeMasterTables(mDataDir);
    HelpSystem::setViewer(mHelp);
}

ProgramFixture::~ProgramFixture() {
    finish();
    HelpSystem::setViewer(nullptr);
}

RunArguments ProgramFixture::standalone() const {
    RunArguments args;
    args.programDir = mProgramDir;
    args.printFontName = "Times New Roman";  // read only in embedded mode
    return args;
}

RunArguments ProgramFixture::embedded(const QString& studiesDir, const QString& study,
                                      const QString& font) const {
    RunArguments args;
    args.programDir = mProgramDir;
    args.embedded = true;
    args.dataDir = qs(mDataDir);
    args.studiesDir = studiesDir;
    args.studyName = study;
    args.printFontName = font;
    return args;
}

TDravinMain& ProgramFixture::start(const RunArguments& args) {
    finish();
    mMain = std::make_unique<TDravinMain>();
    mMain->prompter().route(&mPrompter);
    mMain->setFileChooser(mFiles);
    dravin::Run(args).setUp(*mMain);
    return *mMain;
}

void ProgramFixture::finish() {
    mMain.reset();
}

void ProgramFixture::loadDemoStudy() {
    std::ifstream in(demoStudyFile());
    ASSERT_TRUE(in) << demoStudyFile();
    loadStudyJson(mMain->data(), in);
    mMain->data().DravinT.first();
}

std::unique_ptr<ParamDialog> ProgramFixture::openParameters(bool floors, bool study) {
    std::unique_ptr<ParamDialog> d;
    if (floors) {
        d = std::make_unique<TDravinParam1>(mMain.get(), mMain->data());
    } else {
        d = std::make_unique<TDravinParam2>(mMain.get(), mMain->data());
    }
    d->setPrompter(&mPrompter);
    d->SelectTable(study);
    return d;
}

std::string ProgramFixture::iniText() const {
    return cp1253::decode(readFile(mProgramDir / "DRAVIN.INI"));
}

}  // namespace dravin::test
