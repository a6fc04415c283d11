#include "ui/tformtopclosehelplove.h"

#include <QFrame>
#include <QPushButton>

namespace dravin {

TFormTopCloseHelpLove::TFormTopCloseHelpLove(QWidget* owner) : TFormCloseHelpLove(owner) {
    moveButtonBarToTop(57);
    Panel3->setFixedWidth(161);
    CloseBtn->setGeometry(0, 0, 50, 48);
    HelpBtn->setGeometry(52, 0, 50, 48);
    LoveBtn->setGeometry(104, 0, 50, 48);
}

}  // namespace dravin
