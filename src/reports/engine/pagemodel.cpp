#include "reports/engine/pagemodel.h"

#include <QMarginsF>

namespace dravin {

QString TextItem::text() const {
    QString joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            joined += u'\n';
        }
        joined += lines[i].text;
    }
    return joined;
}

QPageLayout PageModel::pageLayout() const {
    return QPageLayout(pageSize, orientation, QMarginsF(), QPageLayout::Millimeter);
}

}  // namespace dravin
