#pragma once

#include "ui/tformclosehelp.h"

class QLineEdit;
class QRadioButton;

namespace dravin {

class Prompter;

// The row distance of the printed tables: the layouts' own distances, or one in
// millimetres typed in the text box.
class TDravinLineSpace : public TFormCloseHelp {
    Q_OBJECT
public:
    // Text that cannot be read as a number is reported to the prompter on read-back.
    TDravinLineSpace(QWidget* owner, Prompter& prompter);

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QLineEdit* Edit1;

    void LoadSpacing(bool use, float distance);
    // Reads the text box whichever option is selected; unreadable text leaves the
    // distance given to LoadSpacing.
    void ReadSpacing(bool& use, float& distance);

private slots:
    void RadioButton1Click();

private:
    Prompter& mPrompter;
    float mDistance = 0;
};

}  // namespace dravin
