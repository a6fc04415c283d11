#include "ui/dialogs/tformlockclosehelplow.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <vector>

#include "ui/qtprompter.h"

namespace dravin {
namespace {

void setBase(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);  // every colour group: disabled controls too
    w->setPalette(p);
}

// Parts of a compound control (the edit inside a combo box or a grid's cell editor)
// follow their control.
bool partOfCompound(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
            qobject_cast<const QAbstractItemView*>(p)) {
            return true;
        }
    }
    return false;
}

bool within(const QWidget* w, const QWidget* ancestor) {
    return ancestor->isAncestorOf(w);
}

}  // namespace

const char* const TFormLockCloseHelpLow::kUnlockQuestion =
    "Προσοχή!, Μόνιμες αλλαγές σε τιμές παραμέτρων του προγράμματος,\r"
    "συμβουλευτείτε το βιβλίο οδηγιών ή τη βοήθεια.\r"
    "Θέλετε να ενεργοποιήσετε τη δυνατότητα αλλαγών ;";

TFormLockCloseHelpLow::TFormLockCloseHelpLow(QWidget* owner)
    : TFormCloseHelp(owner),
      LockBtn(new QPushButton("Κλειστό", Panel3)),
      PrintBtn(new QPushButton("Εκτ/ση", Panel3)) {
    LockBtn->setObjectName("LockBtn");
    PrintBtn->setObjectName("PrintBtn");
    LockBtn->setToolTip("κλείδωμα αλλαγών τιμών");
    PrintBtn->setToolTip("εκτύπωση");
    LockBtn->setCheckable(true);
    LockBtn->setChecked(false);
    LockBtn->setAutoDefault(false);
    PrintBtn->setAutoDefault(false);
    QFont font = LockBtn->font();
    font.setFamily(CloseBtn->font().family());
    font.setPointSizeF(CloseBtn->font().pointSizeF());
    font.setBold(false);
    LockBtn->setFont(font);
    Panel3->setFixedWidth(331);
    LockBtn->setGeometry(88, 9, 75, 25);
    HelpBtn->setGeometry(166, 9, 75, 25);
    PrintBtn->setGeometry(244, 9, 75, 25);
    connect(LockBtn, &QPushButton::clicked, this, [this] { LockBtnClick(); });
    connect(PrintBtn, &QPushButton::clicked, this, [this] { PrintBtnClick(); });
    Locked = true;
    ApplyLockState();
}

void TFormLockCloseHelpLow::ShowUnlocked() {
    Locked = false;
    ApplyLockState();
}

void TFormLockCloseHelpLow::ShowLocked() {
    Locked = true;
    ApplyLockState();
}

Prompter::Answer TFormLockCloseHelpLow::askUnlock() {
    if (mPrompter) {
        return mPrompter->confirm(kUnlockQuestion, true);
    }
    QMessageBox box(QMessageBox::Warning, programName(), messageText(kUnlockQuestion),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::No);
    // Over the upper left of the window, away from the grid's first rows.
    const QRect frame = frameGeometry();
    box.move(frame.left() + frame.width() / 8, frame.top() + frame.height() / 4);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes) {
        return Prompter::Answer::Yes;
    }
    return answer == QMessageBox::Cancel ? Prompter::Answer::Cancel : Prompter::Answer::No;
}

void TFormLockCloseHelpLow::reportError(const QString& text) {
    if (mPrompter) {
        mPrompter->error(text.toStdString());
    } else {
        QMessageBox::critical(this, programName(), messageText(text.toStdString()));
    }
}

void TFormLockCloseHelpLow::LockBtnClick() {
    if (Locked) {
        Locked = askUnlock() != Prompter::Answer::Yes;
    } else {
        Locked = true;
    }
    LockBtn->setChecked(!Locked);
    LockBtn->setText(Locked ? "Κλειστό" : "Ανοιχτό");
    ApplyLockState();
}

void TFormLockCloseHelpLow::ApplyLockState() {
    const QColor face = palette().color(QPalette::Button);
    const QColor field = Locked ? face : QColor(Qt::white);
    for (QWidget* w : findChildren<QWidget*>()) {
        // The button bar stays usable: the lock must not lock itself out.
        if (within(w, Panel2) || partOfCompound(w)) {
            continue;
        }
        if (auto* grid = qobject_cast<QTableWidget*>(w)) {
            grid->setSelectionBehavior(Locked ? QAbstractItemView::SelectRows
                                              : QAbstractItemView::SelectItems);
            grid->setEditTriggers(Locked ? QAbstractItemView::NoEditTriggers
                                         : QAbstractItemView::AllEditTriggers);
            setBase(grid, field);
        } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
                   qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QComboBox*>(w)) {
            w->setEnabled(!Locked);
            setBase(w, field);
        } else if (qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w) ||
                   qobject_cast<QRadioButton*>(w) || qobject_cast<QGroupBox*>(w)) {
            w->setEnabled(!Locked);
        }
    }
}

void TFormLockCloseHelpLow::PrintBtnClick() {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        reportError("Δεν υπάρχει διαθέσιμος εκτυπωτής· το παράθυρο δεν τυπώθηκε.");
        return;
    }
    const bool wasLocked = Locked;
    ShowUnlocked();
    Panel2->hide();
    // The panels print white; their own palettes come back afterwards.
    std::vector<std::pair<QFrame*, QPalette>> panels;
    for (QFrame* f : findChildren<QFrame*>()) {
        if (f->metaObject() == &QFrame::staticMetaObject) {
            panels.emplace_back(f, f->palette());
            QPalette p = f->palette();
            p.setColor(QPalette::Window, Qt::white);
            f->setPalette(p);
            f->setAutoFillBackground(true);
        }
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        printImage(printer);
    }
    for (auto& [frame, palette] : panels) {
        frame->setPalette(palette);
    }
    Panel2->show();
    // The lock comes back as it was, so the lock button keeps telling the truth.
    Locked = wasLocked;
    ApplyLockState();
}

void TFormLockCloseHelpLow::printImage(QPrinter& printer) {
    const QPixmap image = grab();
    QPainter painter;
    if (!painter.begin(&printer)) {
        reportError("Η εκτύπωση δεν μπόρεσε να ξεκινήσει· το παράθυρο δεν τυπώθηκε.");
        return;
    }
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), image);
    painter.end();
}

}  // namespace dravin
