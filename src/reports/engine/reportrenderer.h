#pragma once

#include <QImage>
#include <QString>

#include <utility>
#include <vector>

#include "reports/engine/pagemodel.h"

class QPainter;
class QPagedPaintDevice;

namespace dravin {

// Paints the pages of a generated report on any device: a PDF writer, a printer, page
// images for a preview or PNG files. Every device gets the same pages.
class ReportRenderer {
public:
    explicit ReportRenderer(PageModel model) noexcept : mModel(std::move(model)) {}

    const PageModel& model() const noexcept { return mModel; }

    int pageCount() const noexcept { return static_cast<int>(mModel.pages.size()); }

    // Paints one page with the paper's top-left corner at the painter's origin, at
    // dotsPerMm device pixels to the millimetre (the painter's own transform applies
    // on top). Rules are at least one device pixel wide.
    void paintPage(QPainter& painter, int pageIndex, double dotsPerMm) const;

    // Gives the device the model's paper and prints every page on it, one sheet each.
    // A device that cannot be printed on raises an I/O error: a print that did not
    // happen is never reported as done.
    void print(QPagedPaintDevice& device) const;

    void writePdf(const QString& path, const QString& title = {}) const;

    // A page on white, dotsPerInch from 1 to 1200.
    QImage pageImage(int pageIndex, double dotsPerInch) const;
    std::vector<QImage> pageImages(double dotsPerInch) const;

private:
    PageModel mModel;
};

}  // namespace dravin
