#pragma once

#include "ui/tformempty.h"

class QPushButton;

namespace dravin {

// Adds the close button (modal result OK) and the help button at the right of the
// button bar; the print button stays hidden.
class TFormCloseHelp : public TFormEmpty {
    Q_OBJECT
public:
    explicit TFormCloseHelp(QWidget* owner = nullptr);

    QFrame* Panel3;
    QPushButton* CloseBtn;
    QPushButton* HelpBtn;
    QPushButton* extraPRBtn;

protected slots:
    virtual void CloseBtnClick();
    virtual void HelpBtnClick() {}
};

}  // namespace dravin
