#include "ui/tdravinabout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace dravin {

TDravinAbout::TDravinAbout(QWidget* owner) : QDialog(owner) {
    setObjectName("TDravinAbout");
    setWindowTitle("Για το πρόγραμμα");
    setFixedSize(295, 171);
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(8, 8, 279, 117);
    auto* icon = new QLabel(panel);
    icon->setObjectName("ProgramIcon");
    icon->setGeometry(8, 8, 65, 65);
    icon->setPixmap(windowIcon().pixmap(65, 65));
    icon->setScaledContents(true);
    auto* product = new QLabel("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ ΚΑΙ ΠΟΣΟΣΤΩΝ ΔΑΠΑΝΩΝ", panel);
    product->setObjectName("ProductName");
    product->setGeometry(80, 8, 190, 50);
    product->setAlignment(Qt::AlignCenter);
    product->setWordWrap(true);
    QFont f = product->font();
    f.setBold(true);
    f.setUnderline(true);
    product->setFont(f);
    product->setStyleSheet("color: purple;");
    auto* version = new QLabel("Version 01/01/2007", panel);
    version->setObjectName("Version");
    version->setGeometry(80, 62, 190, 18);
    auto* notice = new QLabel("Ελεύθερο λογισμικό της ομάδας ανάπτυξης", panel);
    notice->setObjectName("Copyright");
    notice->setGeometry(8, 88, 262, 20);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    ok->setGeometry(110, 135, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace dravin
