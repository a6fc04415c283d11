#include "ui/tformclosehelplove.h"

#include <QFrame>
#include <QPushButton>

namespace dravin {

TFormCloseHelpLove::TFormCloseHelpLove(QWidget* owner)
    : TFormCloseHelp(owner), LoveBtn(new QPushButton("Νομ/σία", Panel3)) {
    LoveBtn->setObjectName("LoveBtn");
    LoveBtn->setToolTip("Νομοθεσία");
    LoveBtn->setAutoDefault(false);
    Panel3->setFixedWidth(253);
    HelpBtn->setGeometry(90, 9, 75, 25);
    LoveBtn->setGeometry(168, 9, 75, 25);
}

TFormTopCloseHelpLove::TFormTopCloseHelpLove(QWidget* owner) : TFormCloseHelpLove(owner) {
    moveButtonBarToTop(57);
    Panel3->setFixedWidth(161);
    CloseBtn->setGeometry(0, 0, 50, 48);
    HelpBtn->setGeometry(52, 0, 50, 48);
    LoveBtn->setGeometry(104, 0, 50, 48);
}

}  // namespace dravin
