#pragma once

#include <QRectF>
#include <QString>

#include <optional>

#include "reports/engine/fontoverride.h"

namespace dravin {

class ReportDataSource;

// What a control may print from: the detail row being laid out (-1 outside the
// detail band), the page number and the report's data.
struct ControlContext {
    int row = -1;
    int pageNumber = 0;
    const ReportDataSource* source = nullptr;
};

// A control of a band, placed in millimetres from the band's top-left corner.
class ReportControl {
public:
    explicit ReportControl(QString name);
    virtual ~ReportControl();
    ReportControl(const ReportControl&) = delete;
    ReportControl& operator=(const ReportControl&) = delete;

    const QString& name() const noexcept { return mName; }

    double left() const noexcept { return mLeft; }
    double top() const noexcept { return mTop; }
    double width() const noexcept { return mWidth; }
    double height() const noexcept { return mHeight; }
    void setLeft(double mm) noexcept { mLeft = mm; }
    void setTop(double mm) noexcept { mTop = mm; }
    void setWidth(double mm) noexcept { mWidth = mm; }
    void setHeight(double mm) noexcept { mHeight = mm; }
    void setGeometry(double left, double top, double width, double height) noexcept;

    FontOverride& font() noexcept { return mFont; }
    const FontOverride& font() const noexcept { return mFont; }

    // A vertical rule along the control's right edge, from its top to the bottom of
    // the band as printed, so that cells of growing rows still form a grid. Without
    // a width the report's line width applies.
    void setRightRule(bool on, std::optional<double> widthMm = std::nullopt) noexcept;
    bool rightRule() const noexcept { return mRightRule; }
    std::optional<double> rightRuleWidth() const noexcept { return mRightRuleWidth; }

private:
    QString mName;
    double mLeft = 0;
    double mTop = 0;
    double mWidth = 0;
    double mHeight = 0;
    FontOverride mFont;
    bool mRightRule = false;
    std::optional<double> mRightRuleWidth;
};

}  // namespace dravin
