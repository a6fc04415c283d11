#include "reports/layouts/tdravinreport02.h"

namespace dravin {
namespace {

TDravinReport00::FrameDesign expandedFrame() {
    TDravinReport00::FrameDesign f;
    f.marginLeft = 20;
    f.marginRight = 25;
    f.pageHeaderHeight = 21.4;
    f.labels = {{{2.1, 0.5}, {2.1, 5.0}, {2.1, 10.6}, {2.1, 15.9}}};
    f.values = {{{30.2, 0.5}, {30.2, 5.6}, {30.2, 10.6}, {30.2, 15.9}}};
    f.title = {187.9, 10.6};
    f.office = {259.8, 0.5};
    f.officeValues = {{{259.8, 5.6}, {259.8, 10.3}, {259.8, 15.3}, {310.1, 15.3}}};
    f.pageNumber = {239.2, -0.5};
    f.closingHeight = 34.4;
    f.remarks = {2.1, 5.8};
    f.notes = {15.9, 13.2, 237.6, 18.8};
    f.date = {260.1, 6.6};
    f.engineer = {260.1, 16.7};
    return f;
}

}  // namespace

TDravinReport02::TDravinReport02(TDravinDataT& data, int variantCode, const ReportOptions& options)
    : TDravinReport00(data, variantCode, LayoutGroup::Expanded, options, expandedFrame()) {
    HeaderDesign h;
    h.height = 30.4;
    h.fullRules = {11.0, 37.7, 100.4, 160.2, 180.6, 240.4, 280.3, 322.7};
    h.groupRules = {119.7, 139.3, 200.2, 220.3, 260.2, 300.4};
    h.groupLines = {{9.7, 100.3, 159.5}, {9.7, 180.2, 322.3}};
    h.numbersTop = 24.9;
    // Its edge and inner rules are twice the normal width.
    h.ruleWidth = 2 * report().lineWidth();
    h.topRule = true;
    buildColumnHeader(h);

    constexpr double kTop = 2.0;
    constexpr double kUnder = 10.5;
    constexpr double kBottom = 24.9;
    addHeading(QStringLiteral("α/α"), 1, 1, kUnder, kBottom);
    addHeading(QStringLiteral("ΟΡΟΦΟΣ"), 2, 2, kUnder, kBottom);
    addHeading(QStringLiteral("ΧΩΡΟΣ-ΧΡΗΣΗ-ΔΩΜΑΤΙΑ"), 3, 3, kUnder, kBottom);
    addHeading(QStringLiteral("ΕΠΙΦΑΝΕΙΑ τ.μ"), 4, 6, kTop, 9.7);
    addHeading(QStringLiteral("Υψος μ."), 7, 7, kUnder, kBottom);
    addHeading(QStringLiteral("ΟΓΚΟΣ κ.μ."), 8, 10, kTop, 9.7);
    addHeading(QStringLiteral("ΣΥΝΙΔΙΟΚΤΗΣΙΑ"), 11, 12, kTop, 9.7);
    addHeading(QStringLiteral("ΠΟΣΟΣΤΑ ΔΑΠΑΝΩΝ"), 13, 14, kTop, 9.7);
    const std::pair<int, QString> names[] = {
        {4, QStringLiteral("καθαρή")},
        {5, QStringLiteral("αναλογ. Κ.Χ.")},
        {6, QStringLiteral("μικτή")},
        {8, QStringLiteral("καθαρός")},
        {9, QStringLiteral("αναλογ. Κ.Χ.")},
        {10, QStringLiteral("μικτός")},
        {11, QStringLiteral("ο/οο\nοικοπέ-\nδου")},
        {12, QStringLiteral("τ.μ.\nοικοπέ-\nδου")},
        {13, QStringLiteral("ο/οο\nK.X.")},
        {14, QStringLiteral("ο/οο\nΑνελκυ-\nστήρα")},
    };
    for (const auto& [column, text] : names) {
        addHeading(text, column, column, kUnder, kBottom);
    }
    addHeading(QStringLiteral("ΙΔΙΟΚΤΗΤΗΣ"), 15, 15, kUnder, kBottom, Alignment::Left);

    addCells(
        {
            {nullptr, 1.1, 9.8},
            {"Name1Floor", 11.1, 26.5},
            {"Name2Floor", 40.0, 7.1, Alignment::Right, false},
            {"NumberXoros", 47.9, 6.1, Alignment::Left, false},
            {"NameXoros", 54.2, 38.4, Alignment::Center, false},
            {"NumberofRooms", 93.9, 6.3},
            {"AreaClear", 100.8, 18.8},
            {"AreaKoin", 119.9, 19.3},
            {"AreaMikto", 139.4, 20.6},
            {"Height", 160.6, 19.8},
            {"VolumeClear", 180.2, 19.8},
            {"VolumeKoin", 199.8, 20.4},
            {"VolumeMikto", 219.9, 20.4},
            {"DravinOikopedo", 240.8, 19.3},
            {"PartofOikopedo", 260.4, 19.8},
            {"PosostoDapanes1", 279.9, 20.4},
            {"PosostoDapanes2", 300.6, 22.2},
            {"NameOwner", 324.9, 48.4, Alignment::Left},
        },
        "Height");
    finishConstruction();
}

}  // namespace dravin
