#pragma once

#include <array>
#include <optional>

#include "data/table.h"

namespace dravin {

class ProgressReporter;
class TDravinDataT;

// Recomputes every derived field of the open study: clears the computed fields,
// copies the floor and kind coefficients afresh, distributes the common areas and
// volumes, forms gross areas, volumes and weights, turns the weights into per-mille
// shares that add up exactly to their totals, and rewrites the total rows.
// The space the cursor stands on, when of a kind below 20, receives every rounding
// residue. Clears DataChanged on success; returns to the record it started on.
void ComputeAll(TDravinDataT& data, ProgressReporter& progress);

// The sums one computation gathers and the passes share.
struct ComputeAccumulators {
    static constexpr int kLowestFloor = -100;
    static constexpr int kHighestFloor = 100;
    struct FloorSums {
        double clearArea = 0;
        double clearVolume = 0;
    };
    std::array<FloorSums, kHighestFloor - kLowestFloor + 1> floorTotals{};
    double totalClearArea = 0;
    double totalClearVolume = 0;
    double commonArea = 0;
    double commonVolume = 0;
    double weightedPrivateArea = 0;
    double weightedPrivateVolume = 0;
    double totalGrossArea = 0;
    double totalGrossVolume = 0;
    double valueWeightTotal = 0;
    double commonExpenseWeightTotal = 0;
    double elevatorWeightTotal = 0;
    double plotArea = 0;
    double perMilleTotal = 0;
    double distributablePlotArea = 0;

    FloorSums& floor(int f) { return floorTotals[static_cast<size_t>(f - kLowestFloor)]; }
};

// The seven passes over the space table, in the order ComputeAll runs them.
class Computation {
public:
    explicit Computation(TDravinDataT& data);

    void ClearComputedFields();
    void ReapplyCoefficients();
    void SumClearAreas();
    void ComputeCommonShares();
    void ComputeGrossAndWeights();
    void NormalizeShares();
    void WriteTotalRows();

    const ComputeAccumulators& accumulators() const noexcept { return mAcc; }

private:
    using Key = std::array<Value, 3>;
    Key currentKey();
    // Adds the residues to the record with the key; does nothing when there is none.
    // A residue is part of the correction's formula: it is not held on its own.
    void correct(const std::optional<Key>& target, const char* field, long double residue,
                 const char* secondField = nullptr, long double secondResidue = 0);
    std::optional<Key> residueTarget(const std::optional<Key>& lastReceiver) const;
    // The record that this computation turns into the future row; it weighs nothing.
    bool isFutureSource();
    void findFutureSource();
    double generalValue(const char* field);
    void positionOrInsert(const std::vector<Value>& leadingKey);
    void positionOnFutureRow();
    void removeStaleFloorTotals();

    TDravinDataT& mData;
    Table& mSpaces;
    std::array<Field, 3> mKeyFields;
    ComputeAccumulators mAcc;
    std::optional<Table::Bookmark> mFutureSource;
};

}  // namespace dravin
