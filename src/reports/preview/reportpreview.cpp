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
#include <QSpinBox>
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
    button("First", QStringLiteral("|<"), [this] { showPage(0); });
    button("Prior", QStringLiteral("<"), [this] { showPage(mPage - 1); });
    mPageBox = new QSpinBox(this);
    mPageBox->setObjectName("PageBox");
    mPageBox->setRange(1, std::max(1, pageCount()));
    connect(mPageBox, &QSpinBox::valueChanged, this, [this](int page) { showPage(page - 1); });
    bar->addWidget(mPageBox);
    mPageTotal = new QLabel(QStringLiteral("/ %1").arg(pageCount()), this);
    bar->addWidget(mPageTotal);
    button("Next", QStringLiteral(">"), [this] { showPage(mPage + 1); });
    button("Last", QStringLiteral(">|"), [this] { showPage(pageCount() - 1); });
    bar->addSpacing(12);
    button("ZoomOut", QStringLiteral("−"), [this] { setZoom(shownDotsPerInch() / 1.25); });
    button("ZoomIn", QStringLiteral("+"), [this] { setZoom(shownDotsPerInch() * 1.25); });
    button("PageWidth", QStringLiteral("Πλάτος σελίδας"), [this] { setZoom(0); });
    bar->addSpacing(12);
    button("Print", QStringLiteral("Εκτύπωση…"), [this] { printClick(); });
    button("SavePdf", QStringLiteral("Αποθήκευση PDF…"), [this] { savePdfClick(); });
    button("SavePng", QStringLiteral("Αποθήκευση PNG…"), [this] { savePngClick(); });
    bar->addStretch();
    button("Close", QStringLiteral("Κλείσιμο"), [this] { accept(); });

    mScroll = new QScrollArea(this);
    mScroll->setAlignment(Qt::AlignHCenter);
    mScroll->setBackgroundRole(QPalette::Dark);
    mPageView = new QLabel;
    mPageView->setObjectName("PageView");
    mScroll->setWidget(mPageView);

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(bar);
    layoutBox->addWidget(mScroll, 1);

    // At most 1100 × 1000 pixels, and never more than the screen's work area.
    QSize size(1100, 1000);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size());
    }
    resize(size);
    refresh();
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

void ReportPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (mDotsPerInch == 0) {
        refresh();
    }
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
