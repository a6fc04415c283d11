#include "ui/dialogs/tdravinlinespace.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/dialogs/numbertext.h"

namespace dravin {

TDravinLineSpace::TDravinLineSpace(QWidget* owner, Prompter& prompter)
    : TFormCloseHelp(owner),
      RadioButton1(new QRadioButton("Χρήση προκαθορισμένων αποστάσεων", Panel1)),
      RadioButton2(new QRadioButton("Καθορισμός της απόστασης  σε mm ", Panel1)),
      Edit1(new QLineEdit(Panel1)),
      mPrompter(prompter) {
    setObjectName("TDravinLineSpace");
    setWindowTitle("Απόσταση γραμμών τεύχους");
    resize(324, 172);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton2->setObjectName("RadioButton2");
    Edit1->setObjectName("Edit1");
    RadioButton1->setGeometry(16, 22, 277, 17);
    RadioButton2->setGeometry(16, 58, 213, 17);
    Edit1->setGeometry(242, 56, 59, 21);
    CloseBtn->setText("Επ/φή");
    HelpBtn->setText("Βοήθεια");
    connect(RadioButton1, &QRadioButton::toggled, this, &TDravinLineSpace::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::toggled, this, &TDravinLineSpace::RadioButton1Click);
    RadioButton1Click();
}

void TDravinLineSpace::RadioButton1Click() {
    Edit1->setEnabled(RadioButton2->isChecked());
}

void TDravinLineSpace::LoadSpacing(bool use, float distance) {
    (use ? RadioButton2 : RadioButton1)->setChecked(true);
    Edit1->setText(QString::asprintf("%6.2f", static_cast<double>(distance)));
    mDistance = distance;
}

void TDravinLineSpace::ReadSpacing(bool& use, float& distance) {
    use = !RadioButton1->isChecked();
    distance = static_cast<float>(
        ParseNumberText(Edit1->text().toStdString(), static_cast<double>(mDistance), mPrompter));
}

}  // namespace dravin
