#include "reports/layouts/tdravinreport03.h"

#include <vector>

namespace dravin {

TDravinReport03::TDravinReport03(TDravinDataT& data, int variantCode, LayoutGroup group,
                                 const ReportOptions& options, const FrameDesign& frame,
                                 const HeaderDesign& header, const CellPositions& cells,
                                 const QString& areaKoinHeading)
    : TDravinReport00(data, variantCode, group, options, frame) {
    buildColumnHeader(header);

    constexpr double kTop = 1.5;
    const double bottom = header.numbersTop;
    const auto under = [this](int column) { return groupRuleY(column) + 0.8; };
    const auto underSub = [this](int column) { return subGroupRuleY(column) + 0.8; };

    addHeading(QStringLiteral("α/α"), 1, 1, under(4), bottom);
    addHeading(QStringLiteral("ΟΡΟΦΟΣ"), 2, 2, under(4), bottom);
    addHeading(QStringLiteral("ΧΩΡΟΣ-ΧΡΗΣΗ-ΔΩΜΑΤΙΑ"), 3, 3, under(4), bottom);
    addHeading(QStringLiteral("ΕΠΙΦΑΝΕΙΑ τ.μ"), 4, 8, kTop, groupRuleY(4));
    addHeading(QStringLiteral("Υψος  μ."), 9, 9, under(4), bottom);
    addHeading(QStringLiteral("ΟΓΚΟΣ κ.μ."), 10, 12, kTop, groupRuleY(10));
    addHeading(QStringLiteral("ΣΥΝΙΔΙΟΚΤΗΣΙΑ"), 13, 18, kTop, groupRuleY(13));
    addHeading(QStringLiteral("ΠΟΣΟΣΤΑ ΔΑΠΑΝΩΝ"), 19, 23, kTop, groupRuleY(19));
    addHeading(QStringLiteral("Συντ. Αντ. Αξίας"), 13, 16, under(13), subGroupRuleY(13));
    addHeading(QStringLiteral("Κοινόχρηστα"), 19, 20, under(19), subGroupRuleY(19));
    addHeading(QStringLiteral("Ανελκυστήρας"), 21, 23, under(21), subGroupRuleY(21));
    const std::vector<std::pair<int, QString>> names = {
        {4, QStringLiteral("καθαρή τ.μ.")},
        {5, QStringLiteral("Συν 1")},
        {6, QStringLiteral("Συν 2")},
        {7, areaKoinHeading},
        {8, QStringLiteral("μικτή τ.μ.")},
        {10, QStringLiteral("καθαρός κ.μ.")},
        {11, QStringLiteral("αναλ. Κ.Χ. κ.μ.")},
        {12, QStringLiteral("μικτός κ.μ.")},
        {17, QStringLiteral("ο/οο\nοικοπέ-\nδου")},
        {18, QStringLiteral("τ.μ.\nοικοπέ-\nδου")},
    };
    for (const auto& [column, text] : names) {
        addHeading(text, column, column, under(column), bottom);
    }
    const std::vector<std::pair<int, QString>> subNames = {
        {13, QStringLiteral("Σ 1")},
        {14, QStringLiteral("Σ 2")},
        {15, QStringLiteral("Σ 3")},
        {16, QStringLiteral("Σ 4")},
        {19, QStringLiteral("Συντ. Κοιν. 3")},
        {20, QStringLiteral("ο/οο")},
        {21, QStringLiteral("Συντ. Ανελκ. 1")},
        {22, QStringLiteral("Συντ. Ανελκ. 2")},
        {23, QStringLiteral("ο/οο")},
    };
    for (const auto& [column, text] : subNames) {
        addHeading(text, column, column, underSub(column), bottom);
    }
    addHeading(QStringLiteral("ΙΔΙΟΚΤΗΤΗΣ"), 24, 24, under(4), bottom, Alignment::Left);

    static const char* const kFields[27] = {
        nullptr,           "Name1Floor", "Name2Floor",      "NumberXoros", "NameXoros",
        "NumberofRooms",   "AreaClear",  "FCoef2",          "XCoef3",      "AreaKoin",
        "AreaMikto",       "Height",     "VolumeClear",     "VolumeKoin",  "VolumeMikto",
        "FCoef1",          "XCoef1",     "XCoef2",          "XCoef7",      "DravinOikopedo",
        "PartofOikopedo",  "XCoef4",     "PosostoDapanes1", "FCoef3",      "XCoef5",
        "PosostoDapanes2", "NameOwner"};
    std::vector<CellDesign> design;
    for (size_t i = 0; i < cells.size(); ++i) {
        CellDesign c{kFields[i], cells[i].first, cells[i].second};
        if (i == 2) {
            c.alignment = Alignment::Right;
            c.lastOfColumn = false;
        } else if (i == 3) {
            c.alignment = Alignment::Left;
            c.lastOfColumn = false;
        } else if (i == 4) {
            c.lastOfColumn = false;
        } else if (i == 26) {
            c.alignment = Alignment::Left;
        }
        design.push_back(c);
    }
    addCells(design);
}

}  // namespace dravin
