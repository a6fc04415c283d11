#pragma once

#include <QRectF>

#include <optional>

#include "reports/engine/bandlayout.h"
#include "reports/engine/pagemodel.h"
#include "reports/engine/textmeasurer.h"

namespace dravin {

class Band;
class DetailRowContext;
class ReportDefinition;

// Generates a report into pages, once: runs the event before generation, then puts
// the page header and column header at the top of every page, the page footer at its
// bottom, one detail band per row that is not suppressed, and the closing block once
// after the last row. A band that does not fit in what is left of a page starts a new
// page; a band taller than a whole page's room goes on over the next pages, cut between
// lines of text, each page with its headers and footer. Only what no page can hold is
// clipped: a single line taller than the room, a text placed lower than a page
// reaches, or the empty foot of a band after its last line. Every band moves the layout on by at
// least one page or a positive height, and each continuation holds fewer lines, so it always ends.
class Paginator {
public:
    explicit Paginator(const ReportDefinition& report);

    PageModel paginate();

private:
    void startPage();
    void placeBody(const Band& band, int row, const DetailRowContext* rowContext);
    LaidOutBand layOut(const Band& band, int row, const DetailRowContext* rowContext) const;
    void place(const LaidOutBand& laid, BandKind kind, int row, double top,
               const std::optional<QRectF>& clip);

    const ReportDefinition& mReport;
    TextMeasurer mMeasurer;
    std::optional<BandLayout> mLayout;
    PageModel mModel;
    QRectF mPrintable;
    double mY = 0;
    double mBodyBottom = 0;
    bool mBodyUsed = false;
};

}  // namespace dravin
