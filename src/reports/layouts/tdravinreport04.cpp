#include "reports/layouts/tdravinreport04.h"

namespace dravin {
namespace {

TDravinReport00::FrameDesign fullA4Frame() {
    TDravinReport00::FrameDesign f;
    f.marginRight = 5;
    f.pageHeaderHeight = 19.3;
    f.labels = {{{2.1, 0.5}, {2.1, 5.0}, {2.1, 9.3}, {2.1, 13.8}}};
    f.values = {{{25.9, 0.5}, {25.9, 5.0}, {25.9, 9.3}, {25.9, 13.8}}};
    f.title = {130.3, 5.3};
    f.office = {200.3, 0.5};
    f.officeValues = {{{200.3, 5.0}, {200.3, 9.3}, {200.0, 14.0}, {235.2, 14.0}}};
    f.pageNumber = {252.9, -0.5};
    f.closingHeight = 32.3;
    f.remarks = {2.1, 5.8};
    f.notes = {2.1, 12.7, 203.7, 16.7};
    f.date = {210.3, 7.7};
    f.engineer = {210.3, 12.4};
    return f;
}

TDravinReport00::HeaderDesign fullA4Header() {
    TDravinReport00::HeaderDesign h;
    h.height = 31.8;
    h.fullRules = {6.5, 23.9, 62.6, 112.3, 122.4, 154.9, 210.7, 257.3};
    h.groupRules = {74.5, 82.2, 89.8, 101.2, 133.5, 143.5, 187.7, 198.0, 229.0};
    h.subGroupRules = {162.9, 170.8, 179.3, 218.9, 238.0, 246.5};
    h.groupLines = {{9.7, 62.7, 112.4}, {9.1, 120.9, 256.9}};
    h.subGroupLines = {{17.3, 154.8, 187.9}, {17.9, 210.9, 256.9}};
    h.numbersTop = 27.3;
    return h;
}

constexpr TDravinReport03::CellPositions kCells = {{
    {1.1, 5.6},    {6.3, 17.7},   {24.3, 5.0},   {29.6, 4.8},  {34.4, 23.5},  {57.9, 4.8},
    {63.0, 11.9},  {74.6, 7.7},   {82.8, 7.1},   {91.5, 9.8},  {101.6, 10.8}, {112.7, 9.8},
    {122.8, 10.8}, {134.4, 9.3},  {143.9, 11.1}, {154.8, 8.2}, {162.7, 8.2},  {170.7, 8.7},
    {179.7, 8.2},  {188.1, 10.1}, {198.4, 12.4}, {210.9, 8.2}, {219.3, 9.8},  {229.4, 8.7},
    {238.7, 7.9},  {247.1, 10.3}, {257.7, 22.5},
}};

}  // namespace

TDravinReport04::TDravinReport04(TDravinDataT& data, int variantCode, const ReportOptions& options)
    : TDravinReport03(data, variantCode, LayoutGroup::FullA4, options, fullA4Frame(),
                      fullA4Header(), kCells, QStringLiteral("αναλ. Κ.Χ. τ.μ.")) {
    finishConstruction();
}

}  // namespace dravin
