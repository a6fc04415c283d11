#include "ui/dialogs/tdravineqfloors.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "compute/floorrepetition.h"
#include "data/errors.h"
#include "data/feedback.h"
#include "data/tdravindatat.h"
#include "ui/helpsystem.h"

namespace dravin {

TDravinEqFloors::TDravinEqFloors(TDravinDataT& data, Prompter& prompter, QWidget* owner)
    : TFormCloseHelp(owner),
      Label1(new QLabel("Αρχικός όροφος", Panel1)),
      SpinEdit1(new QSpinBox(Panel1)),
      Label2(new QLabel("Ιδιος όροφος", Panel1)),
      SpinEdit2(new QSpinBox(Panel1)),
      BitBtn1(new QPushButton("Επανάληψη ορόφου", Panel1)),
      mData(data),
      mPrompter(prompter) {
    setObjectName("TDravinEqFloors");
    resize(330, 190);
    setWindowTitle("Επανάληψη χώρων ορόφου");
    CloseBtn->setText("Επ/φή");
    HelpBtn->setText("Βοήθεια");
    Label1->setObjectName("Label1");
    Label2->setObjectName("Label2");
    SpinEdit1->setObjectName("SpinEdit1");
    SpinEdit2->setObjectName("SpinEdit2");
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setAutoDefault(false);
    for (QSpinBox* spin : {SpinEdit1, SpinEdit2}) {
        spin->setRange(kMinFloor, kMaxFloor);
        spin->setValue(0);
        spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    }
    Label1->setBuddy(SpinEdit1);
    Label2->setBuddy(SpinEdit2);
    auto* grid = new QGridLayout(Panel1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(SpinEdit2, 1, 1);
    grid->addWidget(BitBtn1, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    setTabOrder(SpinEdit1, SpinEdit2);
    setTabOrder(SpinEdit2, BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &TDravinEqFloors::BitBtn1Click);
}

int TDravinEqFloors::floorOf(const QString& text) noexcept {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::clamp(value, kMinFloor, kMaxFloor) : kMinFloor;
}

void TDravinEqFloors::BitBtn1Click() {
    const int source = floorOf(SpinEdit1->text());
    const int target = floorOf(SpinEdit2->text());
    if (source == target) {
        return;
    }
    try {
        RepeatFloor(mData, source, target);
    } catch (const AbortError&) {
        // The entry rules have said why the copy was refused.
    } catch (const std::exception& e) {
        mPrompter.error(e.what());
    }
}

void TDravinEqFloors::done(int result) {
    TFormCloseHelp::done(result);
    // Whichever way the dialog is left, the grid shows the copies from the first record,
    // with every view live again and the normal cursor.
    try {
        Table& spaces = mData.DravinT;
        if (spaces.isOpen()) {
            spaces.close();
            spaces.open();
            spaces.first();
        }
    } catch (const std::exception& e) {
        mPrompter.error(e.what());
    }
    for (Table* t : {&mData.FloorT, &mData.XorosT, &mData.DravinT}) {
        try {
            while (t->controlsDisabled()) {
                t->enableControls();
            }
        } catch (const std::exception& e) {
            mPrompter.error(e.what());
        }
    }
    while (QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void TDravinEqFloors::HelpBtnClick() {
    HelpSystem::ShowHelpTopic("InData_11");
}

}  // namespace dravin
