#include "ui/dialogs/tdravinmemo.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/errors.h"
#include "data/feedback.h"
#include "data/tdravindatat.h"
#include "ui/helpsystem.h"

namespace dravin {

namespace {

QString shownText(const std::string& stored) {
    QString text = QString::fromStdString(stored);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

std::string storedText(QString shown) {
    shown.replace('\n', "\r\n");
    return shown.toStdString();
}

}  // namespace

TDravinMemo::TDravinMemo(TDravinDataT& data, Prompter& prompter, QWidget* owner)
    : TFormCloseHelp(owner),
      DBMemo1(new QPlainTextEdit(Panel1)),
      mGenData(data.GenDataT),
      mPrompter(prompter) {
    setObjectName("TDravinMemo");
    resize(560, 320);
    mGenData.open();
    mGenData.edit();
    setWindowTitle("Σημειώσεις");
    CloseBtn->setText("Επ/φή");
    HelpBtn->setText("Βοήθεια");
    DBMemo1->setObjectName("DBMemo1");
    DBMemo1->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DBMemo1);
    mLoaded = shownText(mGenData.field("Notes1").asString());
    DBMemo1->setPlainText(mLoaded);
}

TDravinMemo::~TDravinMemo() {
    // Released without having been closed: the record is posted all the same.
    if (mGenData.state() == TableState::Edit || mGenData.state() == TableState::Insert) {
        if (!save()) {
            try {
                mGenData.cancel();  // not left in edit mode for the next command
            } catch (const std::exception&) {
            }
        }
    }
}

void TDravinMemo::addLine(const QString& line) {
    QString text = DBMemo1->toPlainText();
    if (!text.isEmpty() && !text.endsWith('\n')) {
        text += '\n';
    }
    DBMemo1->setPlainText(text + line + '\n');
}

void TDravinMemo::done(int result) {
    // Every way out (close button, close box, Escape) saves; a refused text stays to be
    // corrected.
    if (save()) {
        TFormCloseHelp::done(result);
    }
}

void TDravinMemo::HelpBtnClick() {
    HelpSystem::ShowHelpTopic("InData_06");
}

bool TDravinMemo::save() {
    try {
        mGenData.edit();
        const QString text = DBMemo1->toPlainText();
        if (text != mLoaded) {
            mGenData.field("Notes1").setString(storedText(text));
            mLoaded = text;
        }
        mGenData.post();
        return true;
    } catch (const AbortError&) {
    } catch (const std::exception& e) {
        mPrompter.error(e.what());
    }
    return false;
}

}  // namespace dravin
