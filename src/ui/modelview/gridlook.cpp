#include "ui/modelview/gridlook.h"

#include <QApplication>
#include <QHeaderView>
#include <QPointer>
#include <QProxyStyle>
#include <QTableView>

namespace dravin {
namespace {

// The application's style with one pixel between a column title and its edges.
class HeaderStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_HeaderMargin) {
            return 1;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle* headerStyle() {
    // Lives as long as the application that draws with it.
    static QPointer<QStyle> style;
    if (!style) {
        style = new HeaderStyle;
        style->setParent(qApp);
    }
    return style;
}

}  // namespace

void applyGridLook(QTableView* grid) {
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setStyle(headerStyle());
    grid->horizontalHeader()->setMinimumSectionSize(0);  // the widths are computed exactly
}

}  // namespace dravin
