#pragma once

#include "ui/tformclosehelplove.h"

namespace dravin {

// The button bar at the top (57 pixels), with close, help and legislation buttons of
// 50 × 48 pixels side by side.
class TFormTopCloseHelpLove : public TFormCloseHelpLove {
    Q_OBJECT
public:
    explicit TFormTopCloseHelpLove(QWidget* owner = nullptr);
};

}  // namespace dravin
