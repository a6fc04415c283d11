#include "reports/layouts/tdravinreport05.h"

namespace dravin {
namespace {

TDravinReport00::FrameDesign fullLargeFrame() {
    TDravinReport00::FrameDesign f;
    f.marginLeft = 20;
    f.marginRight = 20;
    f.pageHeaderHeight = 19.3;
    f.labels = {{{2.1, 0.5}, {2.1, 5.0}, {2.1, 9.3}, {2.1, 13.8}}};
    f.values = {{{25.9, 0.5}, {25.9, 5.0}, {25.9, 9.3}, {25.9, 13.8}}};
    f.title = {180.8, 10.1};
    f.office = {260.4, 1.1};
    f.officeValues = {{{260.4, 5.3}, {260.4, 9.5}, {260.4, 13.8}, {310.1, 13.8}}};
    f.pageNumber = {239.2, -0.5};
    f.closingHeight = 34.1;
    f.remarks = {2.1, 5.8};
    f.notes = {2.1, 12.7, 247.7, 16.7};
    f.date = {260.1, 7.7};
    f.engineer = {260.1, 15.6};
    return f;
}

TDravinReport00::HeaderDesign fullLargeHeader() {
    TDravinReport00::HeaderDesign h;
    h.height = 39.7;
    h.fullRules = {8.1, 29.5, 72.6, 143.0, 157.6, 206.8, 277.2, 343.0};
    h.groupRules = {88.2, 100.1, 113.1, 127.4, 174.0, 190.4, 244.9, 260.5, 303.3};
    h.subGroupRules = {216.0, 225.6, 235.3, 288.8, 315.3, 327.4};
    h.groupLines = {{10.2, 72.8, 143.1}, {9.7, 158.0, 343.4}};
    h.subGroupLines = {{17.9, 206.6, 245.0}, {17.9, 277.5, 342.6}};
    h.numbersTop = 32.8;
    return h;
}

constexpr TDravinReport03::CellPositions kCells = {{
    {1.1, 7.1},    {9.0, 20.6},   {30.2, 6.3},   {36.5, 4.8},   {41.8, 26.5},  {67.5, 5.3},
    {72.5, 15.9},  {88.4, 11.9},  {101.6, 11.6}, {113.2, 14.3}, {127.5, 15.6}, {143.9, 13.8},
    {158.8, 15.3}, {173.8, 16.7}, {191.3, 15.6}, {206.6, 9.3},  {216.2, 9.3},  {226.2, 9.3},
    {235.7, 9.3},  {245.3, 15.3}, {260.9, 16.1}, {277.5, 11.4}, {288.7, 14.8}, {304.0, 11.4},
    {316.2, 11.4}, {327.6, 15.6}, {344.0, 34.9},
}};

}  // namespace

TDravinReport05::TDravinReport05(TDravinDataT& data, int variantCode, const ReportOptions& options)
    : TDravinReport03(data, variantCode, LayoutGroup::FullLarge, options, fullLargeFrame(),
                      fullLargeHeader(), kCells, QStringLiteral("αναλ. Κ.Χ.")) {
    finishConstruction();
}

}  // namespace dravin
