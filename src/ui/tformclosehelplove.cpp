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

}  // namespace dravin
