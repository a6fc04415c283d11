#include "ui/tformempty.h"

#include <QFrame>
#include <QVBoxLayout>

namespace dravin {

TFormEmpty::TFormEmpty(QWidget* owner)
    : TSaveIniForm(owner),
      Panel1(new QFrame(this)),
      Panel2(new QFrame(this)),
      mLayout(new QVBoxLayout(this)) {
    Panel1->setObjectName("Panel1");
    Panel2->setObjectName("Panel2");
    Panel2->setFixedHeight(47);
    mLayout->setContentsMargins(0, 0, 0, 0);
    mLayout->setSpacing(0);
    mLayout->addWidget(Panel1, 1);
    mLayout->addWidget(Panel2);
}

void TFormEmpty::moveButtonBarToTop(int height) {
    mLayout->removeWidget(Panel2);
    mLayout->insertWidget(0, Panel2);
    Panel2->setFixedHeight(height);
}

}  // namespace dravin
