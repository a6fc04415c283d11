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

// The button bar at the top (57 pixels), with close, help and legislation buttons of
// 50 × 48 pixels side by side.
class TFormTopCloseHelpLove : public TFormCloseHelpLove {
    Q_OBJECT
public:
    explicit TFormTopCloseHelpLove(QWidget* owner = nullptr);
};

}  // namespace dravin
