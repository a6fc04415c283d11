#include <vector>

#include "computation.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"
#include "numeric.h"
#include "spacefields.h"

namespace dravin {
namespace {

using LD = long double;

void clearCoefficients(Table& spaces) {
    for (const char* name : {"FCoef1", "FCoef2", "FCoef3", "FCoef4", "FCoef5", "XCoef1", "XCoef2",
                             "XCoef3", "XCoef4", "XCoef5", "XCoef6", "XCoef7", "XCoef8"}) {
        spaces.field(name).clear();
    }
}

void setIfSignificant(Field f, double value) {
    if (IsSignificant(value)) {
        f.setFloat(value);
    }
}

}  // namespace

void Computation::WriteTotalRows() {
    SpaceFields f(mSpaces);
    for (int floor = ComputeAccumulators::kLowestFloor; floor <= ComputeAccumulators::kHighestFloor;
         ++floor) {
        const auto& sums = mAcc.floor(floor);
        if (!(sums.clearArea > 0)) {
            continue;
        }
        positionOrInsert({Value::integer(floor), Value::integer(kFloorTotalXoros)});
        f.AreaClear.clear();
        f.VolumeClear.clear();
        f.IDfloor.setInteger(floor);
        f.IDXoros.setInteger(kFloorTotalXoros);
        f.Name2Floor.clear();
        f.NumberXoros.clear();
        f.Height.clear();
        clearCoefficients(mSpaces);
        setIfSignificant(f.AreaClear, sums.clearArea);
        setIfSignificant(f.VolumeClear, sums.clearVolume);
        mSpaces.post();
    }
    removeStaleFloorTotals();

    positionOrInsert({Value::integer(kGrandTotalFloor), Value::integer(kGrandTotalXoros)});
    f.IDfloor.setInteger(kGrandTotalFloor);
    f.IDXoros.setInteger(kGrandTotalXoros);
    f.Name2Floor.clear();
    for (Field* c : {&f.NumberXoros, &f.AreaClear, &f.VolumeClear, &f.Height, &f.AreaKoin,
                     &f.AreaMikto, &f.VolumeKoin, &f.VolumeMikto}) {
        c->clear();
    }
    clearCoefficients(mSpaces);
    setIfSignificant(f.AreaClear, mAcc.totalClearArea);
    setIfSignificant(f.VolumeClear, mAcc.totalClearVolume);
    setIfSignificant(f.AreaKoin, mAcc.commonArea);
    setIfSignificant(f.AreaMikto, mAcc.totalGrossArea);
    setIfSignificant(f.VolumeKoin, mAcc.commonVolume);
    setIfSignificant(f.VolumeMikto, mAcc.totalGrossVolume);
    const double dravinTotal = generalValue("DravinTotal");
    f.DravinOikopedo.setFloat(dravinTotal > 10 && dravinTotal <= 1000 ? dravinTotal : 1000.0);
    f.PartofOikopedo.setFloat(R2(held((0.001L * mAcc.plotArea) * f.DravinOikopedo.asFloat())));
    f.PosostoDapanes1.setFloat(1000.0);
    f.PosostoDapanes2.setFloat(1000.0);
    mSpaces.post();

    const double melontika = generalValue("Dravinmelontika");
    if (melontika > 1) {
        positionOnFutureRow();
        f.IDfloor.setInteger(kFutureFloor);
        f.IDXoros.setInteger(kFutureXoros);
        f.Name2Floor.clear();
        f.NumberXoros.clear();
        f.AreaClear.clear();
        f.Height.clear();
        f.DravinOikopedo.setFloat(R2(melontika));
        f.PartofOikopedo.setFloat(R2(held((LD(mAcc.plotArea) * melontika) * 0.001L)));
        mSpaces.post();
    }
}

// A floor total row must never show sums that no longer hold: the rows of floors
// without spaces any more, and second rows of a floor, are removed.
void Computation::removeStaleFloorTotals() {
    SpaceFields f(mSpaces);
    std::vector<Table::Bookmark> stale;
    std::vector<bool> seen(mAcc.floorTotals.size(), false);
    for (mSpaces.first(); !mSpaces.eof(); mSpaces.next()) {
        const int floor = f.IDfloor.asInteger();
        if (f.IDXoros.asInteger() != kFloorTotalXoros || f.IDXoros.isNull() ||
            floor < ComputeAccumulators::kLowestFloor ||
            floor > ComputeAccumulators::kHighestFloor) {
            continue;
        }
        const size_t i = static_cast<size_t>(floor - ComputeAccumulators::kLowestFloor);
        if (!(mAcc.floorTotals[i].clearArea > 0) || seen[i]) {
            stale.push_back(mSpaces.bookmark());
        }
        seen[i] = true;
    }
    // These rows are the computation's own: no question is asked.
    auto confirm = std::move(mSpaces.beforeDelete);
    mSpaces.beforeDelete = nullptr;
    try {
        for (const auto b : stale) {
            if (mSpaces.gotoBookmark(b)) {
                mSpaces.remove();
            }
        }
    } catch (...) {
        mSpaces.beforeDelete = std::move(confirm);
        throw;
    }
    mSpaces.beforeDelete = std::move(confirm);
}

}  // namespace dravin
