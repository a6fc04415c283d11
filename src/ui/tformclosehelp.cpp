#include "ui/tformclosehelp.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>

namespace dravin {

TFormCloseHelp::TFormCloseHelp(QWidget* owner)
    : TFormEmpty(owner),
      Panel3(new QFrame(Panel2)),
      CloseBtn(new QPushButton("OK", Panel3)),
      HelpBtn(new QPushButton("Βοήθεια", Panel3)),
      extraPRBtn(new QPushButton("Εκτ/ση", Panel3)) {
    Panel3->setObjectName("Panel3");
    CloseBtn->setObjectName("CloseBtn");
    HelpBtn->setObjectName("HelpBtn");
    extraPRBtn->setObjectName("extraPRBtn");
    auto* bar = new QHBoxLayout(Panel2);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addStretch(1);
    bar->addWidget(Panel3);
    Panel3->setFixedWidth(174);
    CloseBtn->setGeometry(10, 9, 75, 25);
    HelpBtn->setGeometry(88, 9, 75, 25);
    CloseBtn->setToolTip("κλείσιμο παράθυρου");
    HelpBtn->setToolTip("βοήθεια για το θέμα");
    extraPRBtn->setToolTip("εκτύπωση");
    extraPRBtn->setVisible(false);
    extraPRBtn->setEnabled(false);
    extraPRBtn->setFixedWidth(0);
    CloseBtn->setAutoDefault(false);
    HelpBtn->setAutoDefault(false);
    connect(CloseBtn, &QPushButton::clicked, this, &TFormCloseHelp::CloseBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TFormCloseHelp::HelpBtnClick);
}

void TFormCloseHelp::CloseBtnClick() {
    done(QDialog::Accepted);
}

}  // namespace dravin
