#pragma once

#include <QString>

#include "data/tabledef.h"
#include "reports/engine/reportcontrol.h"

namespace dravin {

// A control that prints text in its box, lines from the box's top. Text is broken at
// its line breaks; with word wrap also where a line would pass the box's right edge.
// A growing box gets taller (and its band with it) to hold all lines; a wrapping box
// that does not grow cuts off the lines below it. Text that does not wrap may run
// past the box, so a label is never lost. An auto-sized box is as wide as its text,
// anchored by its alignment at its left edge, centre or right edge. A box of no
// height is one line high.
//
// A box that shrinks to fit sets its text in the largest smaller size at which the
// text fits: no word broken where it has no blank or hyphen (a wrapping box), no line
// past the box's width (the width an auto-sized box may take, when it has one) and,
// unless the box grows, all lines within its height. Trailing blanks move a line
// within its box but never push its visible part past the box's edges. With a
// smallest scale the text is set no smaller than that share of its size; when it does
// not fit even so, it keeps its size and wraps as it would without shrinking.
//
// An inset keeps the text clear of the box's sides, where a neighbour's rule may run:
// the text wraps and fits within the box less the inset on the left and on the
// right, though it is aligned in the whole box.
class TextBoxControl : public ReportControl {
public:
    using ReportControl::ReportControl;

    Alignment alignment() const noexcept { return mAlignment; }
    void setAlignment(Alignment a) noexcept { mAlignment = a; }
    bool wordWrap() const noexcept { return mWordWrap; }
    void setWordWrap(bool on) noexcept { mWordWrap = on; }
    bool grows() const noexcept { return mGrows; }
    void setGrows(bool on) noexcept { mGrows = on; }
    bool autoSize() const noexcept { return mAutoSize; }
    void setAutoSize(bool on) noexcept { mAutoSize = on; }
    bool shrinksToFit() const noexcept { return mShrinksToFit; }
    void setShrinksToFit(bool on) noexcept { mShrinksToFit = on; }
    double smallestScale() const noexcept { return mSmallestScale; }
    void setSmallestScale(double share) noexcept { mSmallestScale = share; }
    double inset() const noexcept { return mInset; }
    void setInset(double mm) noexcept { mInset = mm; }

    // The text printed for a row and page, before a detail event replaces it.
    virtual QString text(const ControlContext& context) const = 0;

private:
    Alignment mAlignment = Alignment::Left;
    bool mWordWrap = false;
    bool mGrows = false;
    bool mAutoSize = false;
    bool mShrinksToFit = false;
    double mSmallestScale = 0;
    double mInset = 0;
};

}  // namespace dravin
