// Seeded random keys, texts and clicks over the desktop program, as a hurried user
// would give them: into the main window, whatever it opens (menus and modal dialogs
// included), the parameter dialogs and the owners dialog. Nothing may crash, and every
// record the program shows as posted must be on disk afterwards.
//
// DRAVIN_RANDOM_SEED and DRAVIN_RANDOM_ACTIONS run one more seed of any length.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "data/tdravindatat.h"
#include "inputdriver.h"
#include "ui/dialogs/tdravinowners.h"
#include "ui/qtprompter.h"
#include "ui/dialogs/tdravinparam1.h"
#include "ui/dialogs/tdravinparam2.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

// The seed given by DRAVIN_RANDOM_SEED, which DRAVIN_RANDOM_ACTIONS lengthens.
unsigned kExtraSeed = ~0u;

// Answers every question at random and counts what it is told.
class RandomPrompter final : public Prompter {
public:
    explicit RandomPrompter(std::mt19937& random) : mRandom(random) {}
    void inform(const std::string&) override { ++told; }
    void error(const std::string&) override { ++told; }
    Answer confirm(const std::string&, bool withCancel) override {
        const int n = static_cast<int>(mRandom() % (withCancel ? 3 : 2));
        return n == 0 ? Answer::Yes : n == 1 ? Answer::No : Answer::Cancel;
    }
    int told = 0;

private:
    std::mt19937& mRandom;
};

// Every file dialog of the study commands is cancelled: the run stays on its study.
class CancellingFiles final : public FileChooser {
public:
    std::optional<QString> choose(QWidget*, const Request&) override { return std::nullopt; }
};

// Swallows the requests to open a document with another program.
class UrlSink : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl&) {}
};

const Qt::Key kKeys[] = {Qt::Key_Tab,  Qt::Key_Backtab, Qt::Key_Down,     Qt::Key_Up,
                         Qt::Key_Return, Qt::Key_Escape, Qt::Key_Right,   Qt::Key_Left,
                         Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home, Qt::Key_End,
                         Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Space, Qt::Key_F2,
                         Qt::Key_Insert};
const char* const kTexts[] = {"1",   "25",  "3.5", "77.25", "0",  "-4",        "9999999",
                              "abc", "ΑΒΓ", "12,5", " ",    "1e9", "ΚΑΤΑΣΤΗΜΑ", "0.001"};

// The records of a table as its rows hold them.
std::vector<std::vector<Value>> records(const Table& t) {
    std::vector<std::vector<Value>> rows;
    for (int row = 0; row < t.recordCount(); ++row) {
        std::vector<Value> values;
        for (size_t f = 0; f < t.def().fields.size(); ++f) {
            values.push_back(t.rowValue(row, static_cast<int>(f)));
        }
        rows.push_back(std::move(values));
    }
    return rows;
}

class RandomInputTest : public ProgramFixture, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override {
        QDir::setCurrent(QString::fromStdString(mTemp.path().string()));  // saved files land here
        QDesktopServices::setUrlHandler("file", &mUrls, "open");
        start(standalone());
        mMain->setFileChooser(std::make_shared<CancellingFiles>());
        mMain->prompter().route(&mAnswers);
        loadDemoStudy();
        mMain->show();
    }
    void TearDown() override { QDesktopServices::unsetUrlHandler("file"); }

    // The window that takes the next action: an open menu, a modal dialog, or one of ours.
    QWidget* activeWindow(const std::vector<QWidget*>& ours) {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            return popup;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            return modal;
        }
        QWidget* w = ours[mRandom() % ours.size()];
        if (!w->isVisible()) {
            w->show();
        }
        return w;
    }

    static QString nameOf(const QWidget* w) {
        return QString("%1 %2").arg(w->metaObject()->className(), w->objectName());
    }

    // What was done last, for the report of a failure.
    void note(const QString& what) {
        mLastActions.push_back(what);
        if (mLastActions.size() > 12) {
            mLastActions.erase(mLastActions.begin());
        }
        if (std::getenv("DRAVIN_RANDOM_TRACE")) {
            fprintf(stderr, "%s\n", qPrintable(what));
        }
    }

    void act(QWidget* window) {
        QApplication::setActiveWindow(window);
        const unsigned kind = mRandom() % 10;
        if (kind < 4) {
            QWidget* focus = QApplication::focusWidget();
            const Qt::Key k = kKeys[mRandom() % std::size(kKeys)];
            const bool shift = mRandom() % 8 == 0;
            note(QString("key %1%2 on %3").arg(shift ? "shift+" : "").arg(int(k), 0, 16).arg(nameOf(focus ? focus : window)));
            QTest::keyClick(focus ? focus : window, k, shift ? Qt::ShiftModifier : Qt::NoModifier);
        } else if (kind < 6) {
            QWidget* focus = QApplication::focusWidget();
            const QString text = QString::fromUtf8(kTexts[mRandom() % std::size(kTexts)]);
            note(QString("type '%1' on %2").arg(text, nameOf(focus ? focus : window)));
            for (const QChar c : text) {
                input::typeChar(focus ? focus : window, c);
                focus = QApplication::focusWidget();
            }
        } else {
            // A click anywhere, delivered to whatever lies under that point.
            const QPoint at(static_cast<int>(mRandom() % std::max(1, window->width())),
                            static_cast<int>(mRandom() % std::max(1, window->height())));
            QWidget* target = window->childAt(at);
            if (!target) {
                target = window;
            }
            const QPoint local = target->mapFrom(window, at);
            note(QString("click %1,%2 on %3").arg(local.x()).arg(local.y()).arg(nameOf(target)));
            if (mRandom() % 6 == 0) {
                QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local);
            } else {
                QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
            }
        }
    }

    // Every posted record of the five study tables is on disk, and the study opens.
    void checkEverythingPostedIsStored() {
        TDravinDataT& data = mMain->data();
        for (Table* t : {&data.DravinT, &data.FloorT, &data.XorosT, &data.OwnersT,
                         &data.GenDataT}) {
            if (!t->isOpen()) {
                continue;
            }
            const auto shown = records(*t);
            const bool readOnly = t->readOnly();
            t->close();
            t->setReadOnly(readOnly);
            t->open();
            EXPECT_EQ(records(*t), shown) << t->componentName();
        }
        EXPECT_NO_THROW(data.OpenStudy(data.studyDirectory(), data.studyName()));
    }

    std::vector<QString> mLastActions;
    std::mt19937 mRandom;
    RandomPrompter mAnswers{mRandom};
    UrlSink mUrls;
};

// Keeps the log readable: the offscreen platform's notes on what it cannot do are
// dropped. A cell editor that Qt closes twice (a queued commit after a change of the
// active window) is only noted; what counts is what reaches the disk.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && !message.contains(QLatin1String("does not support"))) {
        fprintf(stderr, "%s\n", qPrintable(message));
    }
}

TEST_P(RandomInputTest, NothingCrashesAndNothingPostedIsLost) {
    const QtMessageHandler previous = qInstallMessageHandler(quietMessages);
    struct Restore {
        QtMessageHandler handler;
        ~Restore() { qInstallMessageHandler(handler); }
    } restore{previous};
    const unsigned seed = GetParam();
    mRandom.seed(seed);
    int actions = 1700;
    if (const char* n = std::getenv("DRAVIN_RANDOM_ACTIONS"); n && seed == kExtraSeed) {
        actions = std::atoi(n);
    }
    SCOPED_TRACE("seed " + std::to_string(seed));

    TDravinParam1 floors(mMain.get(), mMain->data());
    floors.setPrompter(&mAnswers);
    floors.SelectTable(true);
    TDravinParam2 kinds(mMain.get(), mMain->data());
    kinds.setPrompter(&mAnswers);
    kinds.SelectTable(true);
    TDravinOwners owners(mMain->data(), mAnswers, mMain.get());
    const std::vector<QWidget*> ours = {mMain.get(), mMain.get(), mMain.get(), &floors, &kinds,
                                        &owners};

    // Each action is a timer of its own, set before the action runs, so that the actions
    // go on inside every modal loop an action opens, as a person's would. At the end
    // whatever is still open is closed, innermost first.
    int done = 0;
    int closing = 0;
    QEventLoop loop;
    std::function<void()> step;
    const auto next = [&step] { QTimer::singleShot(0, [&step] { step(); }); };
    step = [&] {
        if (done < actions) {
            ++done;
            next();
            act(activeWindow(ours));
            return;
        }
        QWidget* open = QApplication::activePopupWidget();
        if (!open) {
            open = QApplication::activeModalWidget();
        }
        if (!open) {
            loop.quit();
            return;
        }
        next();
        // A dialog that keeps a refused edit open is left as its cancel would leave it.
        auto* dialog = qobject_cast<QDialog*>(open);
        if (dialog && ++closing % 20 == 0) {
            dialog->QDialog::done(QDialog::Rejected);
        } else {
            open->close();
        }
    };
    next();
    loop.exec();
    input::settle();
    for (QDialog* d : std::initializer_list<QDialog*>{&floors, &kinds, &owners}) {
        d->close();
    }
    checkEverythingPostedIsStored();
    if (HasFailure()) {
        for (const QString& a : mLastActions) {
            ADD_FAILURE() << "last actions of seed " << seed << ": " << a.toStdString();
        }
    }
}

// Seeds that once failed stay here as fixed cases, beside the first ones.
std::vector<unsigned> seeds() {
    std::vector<unsigned> s = {11, 23, 37};
    if (const char* extra = std::getenv("DRAVIN_RANDOM_SEED")) {
        kExtraSeed = static_cast<unsigned>(std::strtoul(extra, nullptr, 10));
        s.push_back(kExtraSeed);
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInputTest, ::testing::ValuesIn(seeds()),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace dravin::test

#include "randominput_test.moc"
