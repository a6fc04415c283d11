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
    : GeneralDataDialog(data, prompter, owner), DBMemo1(new QPlainTextEdit(Panel1)) {
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
    saveOnRelease();  // released without having been closed
}

void TDravinMemo::addLine(const QString& line) {
    QString text = DBMemo1->toPlainText();
    if (!text.isEmpty() && !text.endsWith('\n')) {
        text += '\n';
    }
    DBMemo1->setPlainText(text + line + '\n');
}

void TDravinMemo::HelpBtnClick() {
    HelpSystem::ShowHelpTopic("InData_06");
}

void TDravinMemo::storeEdits() {
    const QString text = DBMemo1->toPlainText();
    if (text != mLoaded) {
        mGenData.field("Notes1").setString(storedText(text));
        mLoaded = text;
    }
}

}  // namespace dravin
