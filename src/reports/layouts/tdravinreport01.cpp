#include "reports/layouts/tdravinreport01.h"

namespace dravin {
namespace {

TDravinReport00::FrameDesign shortFrame() {
    TDravinReport00::FrameDesign f;
    f.pageHeaderHeight = 20.9;
    f.labels = {{{2.1, 0.5}, {2.1, 5.0}, {2.1, 9.3}, {2.1, 13.8}}};
    f.values = {{{25.9, 0.5}, {25.9, 5.0}, {25.9, 9.3}, {25.9, 13.8}}};
    f.title = {131.0, 9.5};
    f.titleBox = QSizeF(89.4, 9.3);
    f.office = {190.5, 1.1};
    f.officeValues = {{{190.5, 5.3}, {190.5, 9.5}, {190.5, 14.8}, {230.2, 14.8}}};
    f.pageNumber = {239.2, -0.5};
    f.closingHeight = 32.3;
    f.remarks = {2.1, 5.8};
    f.notes = {2.1, 12.7, 177.5, 16.7};
    f.date = {190.2, 6.6};
    f.engineer = {190.2, 14.0};
    return f;
}

}  // namespace

TDravinReport01::TDravinReport01(TDravinDataT& data, int variantCode, const ReportOptions& options)
    : TDravinReport00(data, variantCode, LayoutGroup::Short, options, shortFrame()) {
    HeaderDesign h;
    h.height = 27.8;
    h.fullRules = {8.1, 31.4, 77.9, 125.0, 176.6, 210.2, 241.4};
    h.groupRules = {93.5, 109.4, 142.7, 159.7, 193.3, 225.6};
    h.groupLines = {{9.7, 78.1, 124.6}, {9.7, 125.1, 241.3}};
    h.numbersTop = 22.5;
    buildColumnHeader(h);

    constexpr double kTop = 2.0;
    constexpr double kUnder = 10.5;
    constexpr double kBottom = 22.5;
    addHeading(QStringLiteral("α/α"), 1, 1, kUnder, kBottom);
    addHeading(QStringLiteral("ΟΡΟΦΟΣ"), 2, 2, kUnder, kBottom);
    addHeading(QStringLiteral("ΧΩΡΟΣ-ΧΡΗΣΗ-ΔΩΜΑΤΙΑ"), 3, 3, kUnder, kBottom);
    addHeading(QStringLiteral("ΕΠΙΦΑΝΕΙΑ τ.μ"), 4, 6, kTop, 9.7);
    addHeading(QStringLiteral("ΟΓΚΟΣ κ.μ."), 7, 9, kTop, 9.7);
    addHeading(QStringLiteral("ΣΥΝΙΔΙΟΚΤΗΣΙΑ"), 10, 11, kTop, 9.7);
    addHeading(QStringLiteral("ΠΟΣΟΣΤΑ ΔΑΠΑΝΩΝ"), 12, 13, kTop, 9.7);
    const QString names[] = {QStringLiteral("καθαρή"),
                             QStringLiteral("αναλ. Κ.Χ."),
                             QStringLiteral("μικτή"),
                             QStringLiteral("καθαρός"),
                             QStringLiteral("αναλ. Κ.Χ."),
                             QStringLiteral("μικτός"),
                             QStringLiteral("ο/οο\nοικοπέ-\nδου"),
                             QStringLiteral("τ.μ.\nοικοπέ-\nδου"),
                             QStringLiteral("ο/οο\nK.X"),
                             QStringLiteral("ο/οο\nΑνελκυ-\nστήρα")};
    for (int c = 4; c <= 13; ++c) {
        addHeading(names[c - 4], c, c, kUnder, kBottom);
    }
    addHeading(QStringLiteral("ΙΔΙΟΚΤΗΤΗΣ"), 14, 14, kUnder, kBottom, Alignment::Left);

    addCells({
        {nullptr, 1.1, 7.1},
        {"Name1Floor", 8.5, 23.0},
        {"Name2Floor", 31.2, 6.1, Alignment::Right, false},
        {"NumberXoros", 37.6, 4.8, Alignment::Left, false},
        {"NameXoros", 41.8, 31.2, Alignment::Center, false},
        {"NumberofRooms", 72.8, 5.3},
        {"AreaClear", 77.8, 15.9},
        {"AreaKoin", 93.7, 15.9},
        {"AreaMikto", 109.5, 15.6},
        {"VolumeClear", 125.9, 16.9},
        {"VolumeKoin", 143.1, 16.7},
        {"VolumeMikto", 159.8, 16.9},
        {"DravinOikopedo", 177.0, 16.4},
        {"PartofOikopedo", 194.2, 16.1},
        {"PosostoDapanes1", 210.1, 15.6},
        {"PosostoDapanes2", 226.0, 15.6},
        {"NameOwner", 242.4, 34.1, Alignment::Left},
    });
    finishConstruction();
}

}  // namespace dravin
