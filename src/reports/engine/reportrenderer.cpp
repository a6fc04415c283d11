#include "reports/engine/reportrenderer.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include <algorithm>
#include <string>

#include "data/errors.h"
#include "reports/engine/textmeasurer.h"

namespace dravin {
namespace {

constexpr double kMmPerInch = 25.4;

QRectF scaled(const QRectF& r, double f) {
    return QRectF(r.left() * f, r.top() * f, r.width() * f, r.height() * f);
}

void setClip(QPainter& painter, const std::optional<QRectF>& clip, double f) {
    if (clip) {
        painter.setClipRect(scaled(*clip, f));
    } else {
        painter.setClipping(false);
    }
}

void checkPage(const PageModel& model, int pageIndex) {
    if (pageIndex < 0 || pageIndex >= static_cast<int>(model.pages.size())) {
        throw RangeError("Η εκτύπωση δεν έχει σελίδα " + std::to_string(pageIndex + 1) + ".");
    }
}

}  // namespace

void ReportRenderer::paintPage(QPainter& painter, int pageIndex, double dotsPerMm) const {
    checkPage(mModel, pageIndex);
    const ReportPage& page = mModel.pages[pageIndex];
    const double f = dotsPerMm;
    // Fonts are sized in points by the device's own resolution; scale them to ours.
    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 0;
    const double fontScale = deviceDpi > 0 ? f * kMmPerInch / deviceDpi : 1.0;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const LineItem& item : page.lines) {
        QPen pen(Qt::black, std::max(item.width * f, 1.0));
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        setClip(painter, item.clip, f);
        painter.drawLine(QLineF(item.line.p1() * f, item.line.p2() * f));
    }
    // Text is drawn at the resolution it was measured at and scaled down, so that
    // glyphs stand where the model put them at any resolution: at a coarse one, whole
    // pixel advances would otherwise add up along a line and push it past its box.
    constexpr double kTextDotsPerMm = TextMeasurer::kDotsPerInch / kMmPerInch;
    const double textScale = f / kTextDotsPerMm;
    for (const TextItem& item : page.texts) {
        QFont font = item.font;
        font.setPointSizeF(font.pointSizeF() * fontScale / textScale);
        painter.setFont(font);
        painter.setPen(item.color);
        setClip(painter, item.clip, f);
        painter.save();
        painter.scale(textScale, textScale);
        for (const TextLine& line : item.lines) {
            painter.drawText(QPointF(line.rect.left() * kTextDotsPerMm,
                                     (line.rect.top() + item.ascent) * kTextDotsPerMm),
                             line.text);
        }
        painter.restore();
    }
    painter.restore();
}

void ReportRenderer::print(QPagedPaintDevice& device) const {
    const QPageLayout layout = mModel.pageLayout();
    if (!device.setPageLayout(layout)) {
        // A printer may keep margins of its own; the paper is what matters.
        device.setPageSize(layout.pageSize());
        device.setPageOrientation(layout.orientation());
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        throw IoError("Η εκτύπωση δεν μπόρεσε να σταλεί στον εκτυπωτή ή στο αρχείο.");
    }
    const double dotsPerMm = device.logicalDpiX() / kMmPerInch;
    const QRectF paintRect = device.pageLayout().paintRect(QPageLayout::Millimeter);
    painter.translate(-paintRect.left() * dotsPerMm, -paintRect.top() * dotsPerMm);
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            throw IoError("Η εκτύπωση δεν μπόρεσε να ξεκινήσει τη σελίδα " + std::to_string(i + 1) +
                          ".");
        }
        paintPage(painter, i, dotsPerMm);
    }
    if (!painter.end()) {
        throw IoError("Η εκτύπωση δεν μπόρεσε να ολοκληρωθεί στον εκτυπωτή ή στο αρχείο.");
    }
}

void ReportRenderer::writePdf(const QString& path, const QString& title) const {
    QPdfWriter writer(path);
    writer.setResolution(TextMeasurer::kDotsPerInch);
    writer.setCreator(QStringLiteral("dravin"));
    writer.setTitle(title);
    try {
        print(writer);
    } catch (const IoError&) {
        throw IoError("Το αρχείο PDF " + path.toStdString() + " δεν μπόρεσε να γραφτεί.");
    }
}

QImage ReportRenderer::pageImage(int pageIndex, double dotsPerInch) const {
    checkPage(mModel, pageIndex);
    if (!(dotsPerInch >= 1 && dotsPerInch <= 1200)) {
        throw RangeError(
            "Η ανάλυση της εικόνας σελίδας πρέπει να είναι από 1 έως 1200 κουκκίδες "
            "ανά ίντσα.");
    }
    const double dotsPerMm = dotsPerInch / kMmPerInch;
    const QSize size(std::max(1, qRound(mModel.paperSize.width() * dotsPerMm)),
                     std::max(1, qRound(mModel.paperSize.height() * dotsPerMm)));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        throw Error("Δεν υπάρχει αρκετή μνήμη για εικόνα σελίδας με " +
                    std::to_string(qRound(dotsPerInch)) + " κουκκίδες ανά ίντσα.");
    }
    const int dotsPerMetre = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, pageIndex, dotsPerMm);
    return image;
}

std::vector<QImage> ReportRenderer::pageImages(double dotsPerInch) const {
    std::vector<QImage> images;
    images.reserve(mModel.pages.size());
    for (int i = 0; i < pageCount(); ++i) {
        images.push_back(pageImage(i, dotsPerInch));
    }
    return images;
}

}  // namespace dravin
