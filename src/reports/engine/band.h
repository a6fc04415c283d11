#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "reports/engine/fontoverride.h"
#include "reports/engine/reportcontrol.h"

namespace dravin {

enum class BandKind { PageHeader, ColumnHeader, Detail, Closing, PageFooter };

// Which edges of a band carry a rule; the bottom rule follows the band as it grows.
struct EdgeRules {
    bool top = false;
    bool bottom = false;
    bool left = false;
    bool right = false;
};

// A band spans the page between the left and right margins; its controls are placed
// from its top-left corner. A band of no height is one line of its font high.
class Band {
public:
    explicit Band(BandKind kind, double heightMm = 0) noexcept;
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    BandKind kind() const noexcept { return mKind; }
    double height() const noexcept { return mHeight; }
    void setHeight(double mm) noexcept { mHeight = mm; }

    FontOverride& font() noexcept { return mFont; }
    const FontOverride& font() const noexcept { return mFont; }

    // Texts of the band that shrink to fit shrink together, by the factor the tightest
    // of them needs, so that headings keep one size.
    bool shrinksTogether() const noexcept { return mShrinksTogether; }
    void setShrinksTogether(bool on) noexcept { mShrinksTogether = on; }

    // Without a width the report's line width applies.
    void setEdgeRules(EdgeRules rules, std::optional<double> widthMm = std::nullopt) noexcept;
    EdgeRules edgeRules() const noexcept { return mEdgeRules; }
    std::optional<double> ruleWidth() const noexcept { return mRuleWidth; }

    // Adds a control, printed after those added before it.
    template <class T, class... Args>
    T& add(Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *control;
        mControls.push_back(std::move(control));
        return ref;
    }
    const std::vector<std::unique_ptr<ReportControl>>& controls() const noexcept {
        return mControls;
    }
    // The first control of that name, or null.
    ReportControl* control(const QString& name) const noexcept;
    template <class T>
    T* controlAs(const QString& name) const noexcept {
        return dynamic_cast<T*>(control(name));
    }

private:
    BandKind mKind;
    double mHeight;
    FontOverride mFont;
    bool mShrinksTogether = false;
    EdgeRules mEdgeRules;
    std::optional<double> mRuleWidth;
    std::vector<std::unique_ptr<ReportControl>> mControls;
};

}  // namespace dravin
