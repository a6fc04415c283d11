#pragma once

#include "ui/tformclosehelp.h"

namespace dravin {

// Adds the legislation button, which has no action in this program.
class TFormCloseHelpLove : public TFormCloseHelp {
    Q_OBJECT
public:
    explicit TFormCloseHelpLove(QWidget* owner = nullptr);

    QPushButton* LoveBtn;
};

}  // namespace dravin
