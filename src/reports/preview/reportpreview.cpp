#include "reports/preview/reportpreview.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "reports/engine/reportrenderer.h"
#include "reports/layouts/tdravinreport00.h"

namespace dravin {
namespace {

constexpr double kMinDpi = 10;
constexpr double kMaxDpi = 600;
constexpr double kSavedPngDpi = 150;

}  // namespace

ReportPreview::ReportPreview(TDravinReport00& layout, QWidget* parent)
    : QDialog(parent),
      mLayout(layout),
      mRenderer(std::make_unique<ReportRenderer>(layout.generate())) {
    setObjectName("ReportPreview");
    setWindowTitle(QStringLiteral("Προεπισκόπηση"));
    setModal(true);

    auto* bar = new QHBoxLayout;
    const auto button = [this, bar](const char* name, const QString& text, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    // Paging and zoom are one glyph each: small buttons keep the bar within the window.
    const auto glyph = [this, bar](const char* name, const QString& text, const QString& hint,
                                   auto slot) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(hint);
        connect(b, &QToolButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    glyph("First", QStringLiteral("|<"), QStringLiteral("πρώτη σελίδα"), [this] { showPage(0); });
    glyph("Prior", QStringLiteral("<"), QStringLiteral("προηγούμενη σελίδα"),
          [this] { showPage(mPage - 1); });
    mPageBox = new QSpinBox(this);
    mPageBox->setObjectName("PageBox");
    mPageBox->setRange(1, std::max(1, pageCount()));
    connect(mPageBox, &QSpinBox::valueChanged, this, [this](int page) { showPage(page - 1); });
    bar->addWidget(mPageBox);
    mPageTotal = new QLabel(QStringLiteral("/ %1").arg(pageCount()), this);
    bar->addWidget(mPageTotal);
    glyph("Next", QStringLiteral(">"), QStringLiteral("επόμενη σελίδα"),
          [this] { showPage(mPage + 1); });
    glyph("Last", QStringLiteral(">|"), QStringLiteral("τελευταία σελίδα"),
          [this] { showPage(pageCount() - 1); });
    bar->addSpacing(12);
    glyph("ZoomOut", QStringLiteral("−"), QStringLiteral("σμίκρυνση"),
          [this] { setZoom(shownDotsPerInch() / 1.25); });
    glyph("ZoomIn", QStringLiteral("+"), QStringLiteral("μεγέθυνση"),
          [this] { setZoom(shownDotsPerInch() * 1.25); });
    glyph("PageWidth", QStringLiteral("↔"), QStringLiteral("πλάτος σελίδας"), [this] { setZoom(0); });
    bar->addSpacing(12);
    button("Print", QStringLiteral("Εκτύπωση…"), [this] { printClick(); });
    button("SavePdf", QStringLiteral("PDF…"), [this] { savePdfClick(); })
        ->setToolTip(QStringLiteral("αποθήκευση ως PDF"));
    button("SavePng", QStringLiteral("PNG…"), [this] { savePngClick(); })
        ->setToolTip(QStringLiteral("αποθήκευση ως εικόνες PNG"));
    bar->addStretch();
    button("Close", QStringLiteral("Κλείσιμο"), [this] { accept(); });

    mScroll = new QScrollArea(this);
    mScroll->setAlignment(Qt::AlignHCenter);
    mScroll->setBackgroundRole(QPalette::Dark);
    mPageView = new QLabel;
    mPageView->setObjectName("PageView");
    mScroll->setWidget(mPageView);
    // The page width is known once the page area is laid out, and after every resize.
    mScroll->viewport()->installEventFilter(this);

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(bar);
    layoutBox->addWidget(mScroll, 1);

    resize(1100, 1000);
    refresh();
}

void ReportPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitIntoScreen();
}

// At most 1100 × 1000 pixels, frame included, and within the screen's work area.
void ReportPreview::fitIntoScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect work = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize room = QSize(1100, 1000).boundedTo(work.size()) - frame;
    resize(size().boundedTo(room.expandedTo(minimumSizeHint())));
    QRect placed = frameGeometry();
    placed.moveLeft(std::clamp(placed.left(), work.left(), std::max(work.left(), work.right() - placed.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), work.top(), std::max(work.top(), work.bottom() - placed.height() + 1)));
    move(placed.topLeft());
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::pageCount() const noexcept {
    return mRenderer->pageCount();
}

void ReportPreview::showPage(int index) {
    const int page = std::clamp(index, 0, std::max(0, pageCount() - 1));
    if (page == mPage && mPageBox->value() == page + 1) {
        return;
    }
    mPage = page;
    refresh();
}

void ReportPreview::setZoom(double dotsPerInch) {
    mDotsPerInch = dotsPerInch > 0 ? std::clamp(dotsPerInch, kMinDpi, kMaxDpi) : 0;
    refresh();
}

double ReportPreview::shownDotsPerInch() const {
    if (mDotsPerInch > 0) {
        return mDotsPerInch;
    }
    const double paperInches = mRenderer->model().paperSize.width() / 25.4;
    const int room = mScroll->viewport()->width() - 4;
    return paperInches > 0 ? std::clamp(room / paperInches, kMinDpi, kMaxDpi) : 96.0;
}

void ReportPreview::refresh() {
    {
        const QSignalBlocker block(mPageBox);
        mPageBox->setValue(mPage + 1);
    }
    if (pageCount() == 0) {
        mPageView->clear();
        return;
    }
    mPageView->setPixmap(QPixmap::fromImage(mRenderer->pageImage(mPage, shownDotsPerInch())));
    mPageView->adjustSize();
}

bool ReportPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mScroll->viewport() && event->type() == QEvent::Resize && mDotsPerInch == 0) {
        refresh();
    }
    return QDialog::eventFilter(watched, event);
}

int ReportPreview::shownPageWidth() const {
    return mPageView->width();
}

void ReportPreview::printClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    try {
        ReportRenderer(mLayout.generate()).print(printer);
    } catch (const std::exception& e) {
        QMessageBox::critical(this, windowTitle(), QString::fromUtf8(e.what()));
    }
}

void ReportPreview::savePdfClick() {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Αποθήκευση PDF"), {},
                                                      QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty()) {
        return;
    }
    try {
        mRenderer->writePdf(file, QStringLiteral("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ"));
    } catch (const std::exception& e) {
        QMessageBox::critical(this, windowTitle(), QString::fromUtf8(e.what()));
    }
}

void ReportPreview::savePngClick() {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Αποθήκευση PNG"), {},
                                                      QStringLiteral("PNG (*.png)"));
    if (file.isEmpty()) {
        return;
    }
    // One file per page: name-1.png, name-2.png …
    QString stem = file;
    if (stem.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        stem.chop(4);
    }
    for (int i = 0; i < pageCount(); ++i) {
        const QString name = QStringLiteral("%1-%2.png").arg(stem).arg(i + 1);
        if (!mRenderer->pageImage(i, kSavedPngDpi).save(name, "PNG")) {
            QMessageBox::critical(this, windowTitle(),
                                  QStringLiteral("Η εικόνα %1 δεν γράφτηκε.").arg(name));
            return;
        }
    }
}

}  // namespace dravin
