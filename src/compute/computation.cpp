#include "computation.h"

#include <vector>

#include "coefficients.h"
#include "data/errors.h"
#include "data/feedback.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"
#include "numeric.h"
#include "spacefields.h"

namespace dravin {
namespace {

using LD = long double;

// Stores R2(x), or blank when x is negligible.
void setRounded(Field f, double x) {
    if (IsNegligible(x)) {
        f.clear();
    } else {
        f.setFloat(R2(x));
    }
}

bool inRange(double dravinTotal) noexcept { return dravinTotal > 10 && dravinTotal <= 1000; }

// Whether the space the computation starts on may receive every residue: a space of a
// kind below 20 that takes part in the distributions. The future row does not: its
// shares are rewritten by the last pass, which would drop the residues again.
bool mayReceiveResidues(SpaceFields& f) {
    const int kind = f.IDXoros.asInteger();
    const int floor = f.IDfloor.asInteger();
    if (kind >= 20 || floor < ComputeAccumulators::kLowestFloor ||
        floor > ComputeAccumulators::kHighestFloor) {
        return false;
    }
    return !(floor == kFutureFloor && kind == 0);
}

}  // namespace

Computation::Computation(TDravinDataT& data)
    : mData(data),
      mSpaces(data.DravinT),
      mKeyFields{mSpaces.field("IDfloor"), mSpaces.field("IDXoros"),
                 mSpaces.field("NumberXoros")} {}

Computation::Key Computation::currentKey() {
    return {mKeyFields[0].value(), mKeyFields[1].value(), mKeyFields[2].value()};
}

std::optional<Computation::Key> Computation::residueTarget(
    const std::optional<Key>& lastReceiver) const {
    if (mData.ResidualTargetSet) {
        return mData.ResidualTargetKey;
    }
    return lastReceiver;
}

void Computation::correct(const std::optional<Key>& target, const char* field, long double residue,
                          const char* secondField, long double secondResidue) {
    // No record to take the residue, or the captured one is gone: nothing to correct,
    // rather than landing on whatever record the cursor stands on.
    if (!target || !mSpaces.findKey({(*target)[0], (*target)[1], (*target)[2]})) {
        return;
    }
    mSpaces.edit();
    Field f = mSpaces.field(field);
    f.setFloat(held(f.asFloat() + residue));
    if (secondField) {
        Field s = mSpaces.field(secondField);
        s.setFloat(held(s.asFloat() + secondResidue));
    }
    mSpaces.post();
}

double Computation::generalValue(const char* field) {
    Table& general = mData.GenDataT;
    if (!general.isOpen() || general.isEmpty()) {
        return 0.0;
    }
    return general.rowValue(0, *general.def().fieldIndex(field)).toReal();
}

void Computation::positionOnFutureRow() {
    // The future row is the record (40, 0); failing that, the first record of floor 40.
    if ((mFutureSource && mSpaces.gotoBookmark(*mFutureSource)) ||
        mSpaces.findKey({Value::integer(kFutureFloor), Value::integer(0)}) ||
        mSpaces.findKey({Value::integer(kFutureFloor)})) {
        mSpaces.edit();
    } else {
        mSpaces.insert();
    }
}

void Computation::positionOrInsert(const std::vector<Value>& leadingKey) {
    if (mSpaces.findKey(leadingKey)) {
        mSpaces.edit();
    } else {
        mSpaces.insert();
    }
}

// ------------------------------------------------------------------ passes 1 and 2

void Computation::ClearComputedFields() {
    SpaceFields f(mSpaces);
    for (mSpaces.first(); !mSpaces.eof(); mSpaces.next()) {
        mSpaces.edit();
        if (f.IDfloor.asInteger() >= kFutureFloor) {
            f.Height.clear();  // the volume rule clears VolumeClear with it
        }
        for (Field* c : {&f.AreaMikto, &f.AreaKoin, &f.VolumeMikto, &f.VolumeKoin,
                         &f.DravinOikopedo, &f.PartofOikopedo, &f.PosostoDapanes1,
                         &f.PosostoDapanes2, &f.PosostoDapanes3}) {
            c->clear();
        }
        mSpaces.post();
    }
}

void Computation::ReapplyCoefficients() {
    SpaceFields f(mSpaces);
    for (mSpaces.first(); !mSpaces.eof(); mSpaces.next()) {
        mSpaces.edit();
        ApplyFloorCoefficients(mSpaces, mData.FloorT,
                               rowWithKey(mData.FloorT, "IDFloor", f.IDfloor.value()));
        ApplyXorosCoefficients(mSpaces, mData.XorosT,
                               rowWithKey(mData.XorosT, "IDXoros", f.IDXoros.value()));
        mSpaces.post();
    }
}

// ------------------------------------------------------------------ passes 3 to 5

void Computation::findFutureSource() {
    mFutureSource.reset();
    if (!(generalValue("Dravinmelontika") > 1)) {
        return;
    }
    if (mSpaces.findKey({Value::integer(kFutureFloor), Value::integer(0)}) ||
        mSpaces.findKey({Value::integer(kFutureFloor)})) {
        mFutureSource = mSpaces.bookmark();
        // A space that turns into the future row loses its key and its shares: it
        // cannot take the residues either.
        if (mData.ResidualTargetSet && currentKey() == mData.ResidualTargetKey) {
            mData.ResidualTargetSet = false;
        }
    }
}

bool Computation::isFutureSource() {
    return mFutureSource && mSpaces.bookmark() == *mFutureSource;
}

void Computation::SumClearAreas() {
    mAcc = ComputeAccumulators{};
    // The record that becomes the future row in pass 6 weighs nothing already now, so
    // that one computation gives what the next one would.
    findFutureSource();
    SpaceFields f(mSpaces);
    for (mSpaces.first(); !mSpaces.eof(); mSpaces.next()) {
        if (isFutureSource()) {
            continue;
        }
        const int floor = f.IDfloor.asInteger();
        const int kind = f.IDXoros.asInteger();
        const double area = f.AreaClear.asFloat();
        const double volume = f.VolumeClear.asFloat();
        const bool common = kind >= 211 && kind <= 220;
        if ((floor <= ComputeAccumulators::kHighestFloor && kind <= 900 &&
             floor < ComputeAccumulators::kLowestFloor) ||
            (common && (floor < ComputeAccumulators::kLowestFloor ||
                        floor > ComputeAccumulators::kHighestFloor))) {
            throw RangeError("Ο χώρος " + std::to_string(floor) + "/" + std::to_string(kind) + "/" +
                             f.NumberXoros.asString() +
                             " βρίσκεται σε όροφο έξω από τα όρια -100 έως 100.");
        }
        if (floor <= ComputeAccumulators::kHighestFloor && kind <= 900) {
            auto& sums = mAcc.floor(floor);
            accumulate(sums.clearArea, area);
            accumulate(sums.clearVolume, volume);
            accumulate(mAcc.totalClearArea, area);
            accumulate(mAcc.totalClearVolume, volume);
            if (kind < 200) {
                const LD fcoef2 = f.FCoef2.asFloat();
                const LD xcoef3 = f.XCoef3.asFloat();
                accumulate(mAcc.weightedPrivateArea, (fcoef2 * area) * xcoef3);
                accumulate(mAcc.weightedPrivateVolume, (fcoef2 * volume) * xcoef3);
            }
        }
        if (common) {
            accumulate(mAcc.commonArea, area);
            accumulate(mAcc.commonVolume, volume);
        }
    }
    mAcc.weightedPrivateArea = R2(mAcc.weightedPrivateArea);
    mAcc.weightedPrivateVolume = R2(mAcc.weightedPrivateVolume);
}

void Computation::ComputeCommonShares() {
    SpaceFields f(mSpaces);
    double sumArea = 0;
    double sumVolume = 0;
    std::optional<Key> areaTarget;
    const bool areaShares = IsSignificant(mAcc.weightedPrivateArea);
    const bool volumeShares = IsSignificant(mAcc.weightedPrivateVolume);
    for (mSpaces.first(); !mSpaces.eof(); mSpaces.next()) {
        if (f.IDfloor.asInteger() > ComputeAccumulators::kHighestFloor ||
            f.IDXoros.asInteger() >= 200 || isFutureSource()) {
            continue;
        }
        mSpaces.edit();
        const LD fcoef2 = f.FCoef2.asFloat();
        const LD xcoef3 = f.XCoef3.asFloat();
        f.AreaKoin.clear();
        if (areaShares) {
            const double s = held(((LD(f.AreaClear.asFloat()) *
                                    (LD(mAcc.commonArea) / mAcc.weightedPrivateArea)) *
                                   fcoef2) *
                                  xcoef3);
            if (IsSignificant(s)) {
                f.AreaKoin.setFloat(R2(s));
                areaTarget = currentKey();
            }
            accumulate(sumArea, f.AreaKoin.asFloat());
        }
        f.VolumeKoin.clear();
        if (volumeShares) {
            const double s = held(((LD(f.VolumeClear.asFloat()) *
                                    (LD(mAcc.commonVolume) / mAcc.weightedPrivateVolume)) *
                                   fcoef2) *
                                  xcoef3);
            if (IsSignificant(s)) {
                f.VolumeKoin.setFloat(R2(s));
            }
            accumulate(sumVolume, f.VolumeKoin.asFloat());
        }
        mSpaces.post();
    }
    correct(residueTarget(areaTarget), "AreaKoin", LD(mAcc.commonArea) - sumArea, "VolumeKoin",
            LD(mAcc.commonVolume) - sumVolume);
}

void Computation::ComputeGrossAndWeights() {
    SpaceFields f(mSpaces);
    mAcc.totalGrossArea = mAcc.totalGrossVolume = 0;
    mAcc.valueWeightTotal = mAcc.commonExpenseWeightTotal = mAcc.elevatorWeightTotal = 0;
    for (mSpaces.first(); !mSpaces.eof(); mSpaces.next()) {
        const int floor = f.IDfloor.asInteger();
        if (floor > ComputeAccumulators::kHighestFloor || f.IDXoros.asInteger() > 200 ||
            isFutureSource()) {
            continue;  // the first pass left the five fields blank
        }
        mSpaces.edit();
        const double areaClear = f.AreaClear.asFloat();
        const double m = held(LD(areaClear) + f.AreaKoin.asFloat());
        setRounded(f.AreaMikto, m);
        accumulate(mAcc.totalGrossArea, f.AreaMikto.asFloat());

        // Future constructions bear no common share in their value.
        const double base = floor == kFutureFloor ? areaClear : m;
        const double w = held((((LD(f.FCoef1.asFloat()) * base) * f.XCoef1.asFloat()) *
                               f.XCoef2.asFloat()) *
                              f.XCoef7.asFloat());
        setRounded(f.DravinOikopedo, w);
        accumulate(mAcc.valueWeightTotal, w);

        const double e1 = held(LD(f.XCoef4.asFloat()) * m);
        setRounded(f.PosostoDapanes1, e1);
        accumulate(mAcc.commonExpenseWeightTotal, e1);

        const double e2 = held((LD(f.FCoef3.asFloat()) * areaClear) * f.XCoef5.asFloat());
        setRounded(f.PosostoDapanes2, e2);
        accumulate(mAcc.elevatorWeightTotal, e2);

        const double v = held(LD(f.VolumeClear.asFloat()) + f.VolumeKoin.asFloat());
        setRounded(f.VolumeMikto, v);
        accumulate(mAcc.totalGrossVolume, f.VolumeMikto.asFloat());
        mSpaces.post();
    }
}

// ------------------------------------------------------------------ pass 6

void Computation::NormalizeShares() {
    SpaceFields f(mSpaces);
    const double areaOikopedo = generalValue("AreaOikopedo");
    const double dravinTotal = generalValue("DravinTotal");
    const double melontika = generalValue("Dravinmelontika");
    mAcc.plotArea = areaOikopedo;
    if (inRange(dravinTotal)) {
        mAcc.perMilleTotal = dravinTotal;
        mAcc.distributablePlotArea = held((LD(dravinTotal) * 0.001L) * areaOikopedo);
    } else {
        mAcc.perMilleTotal = 1000;
        mAcc.distributablePlotArea = areaOikopedo;
    }

    if (melontika > 1) {
        positionOnFutureRow();
        f.IDfloor.setInteger(kFutureFloor);
        f.IDXoros.setInteger(0);
        f.Name2Floor.clear();
        f.NumberXoros.clear();
        f.AreaClear.clear();
        f.DravinOikopedo.setFloat(R2(melontika));
        const double p = R2(held((LD(mAcc.plotArea) * melontika) * 0.001L));
        f.PartofOikopedo.setFloat(p);
        mAcc.distributablePlotArea = held(LD(mAcc.distributablePlotArea) - p);
        mSpaces.post();
        mAcc.perMilleTotal = held(LD(mAcc.perMilleTotal) - f.DravinOikopedo.asFloat());
        if (!(mAcc.perMilleTotal > 1)) {
            // The spaces then share a whole 1000 on top of the future row, and so the
            // whole plot.
            mAcc.perMilleTotal = 1000;
            mAcc.distributablePlotArea = mAcc.plotArea;
        }
    }

    double sumPerMille = 0, sumPlot = 0, sumCommon = 0, sumElevator = 0;
    std::optional<Key> perMilleTarget, commonTarget, elevatorTarget;
    const bool values = IsSignificant(mAcc.valueWeightTotal);
    const bool commons = IsSignificant(mAcc.commonExpenseWeightTotal);
    const bool elevators = IsSignificant(mAcc.elevatorWeightTotal);
    for (mSpaces.first(); !mSpaces.eof(); mSpaces.next()) {
        const bool futureLike =
            f.IDfloor.asInteger() == kFutureFloor && f.AreaClear.asFloat() == 0.0;
        const bool perMille = values && IsSignificant(f.DravinOikopedo.asFloat()) && !futureLike;
        const bool common = commons && IsSignificant(f.PosostoDapanes1.asFloat());
        const bool elevator = elevators && IsSignificant(f.PosostoDapanes2.asFloat());
        if (!perMille && !common && !elevator) {
            continue;
        }
        mSpaces.edit();
        if (perMille) {
            perMilleTarget = currentKey();
            const double x = R2(held((LD(f.DravinOikopedo.asFloat()) * mAcc.perMilleTotal) /
                                     mAcc.valueWeightTotal));
            accumulate(sumPerMille, x);
            f.DravinOikopedo.setFloat(x);
            const double p = R2(held((LD(mAcc.plotArea) * x) * 0.001L));
            f.PartofOikopedo.setFloat(p);
            accumulate(sumPlot, p);
        }
        if (common) {
            commonTarget = currentKey();
            const double x =
                R2(held((LD(f.PosostoDapanes1.asFloat()) * 1000) / mAcc.commonExpenseWeightTotal));
            accumulate(sumCommon, x);
            f.PosostoDapanes1.setFloat(x);
        }
        if (elevator) {
            elevatorTarget = currentKey();
            const double x =
                R2(held((LD(f.PosostoDapanes2.asFloat()) * 1000) / mAcc.elevatorWeightTotal));
            accumulate(sumElevator, x);
            f.PosostoDapanes2.setFloat(x);
        }
        mSpaces.post();
    }
    correct(residueTarget(perMilleTarget), "DravinOikopedo", LD(mAcc.perMilleTotal) - sumPerMille,
            "PartofOikopedo", LD(mAcc.distributablePlotArea) - sumPlot);
    correct(residueTarget(commonTarget), "PosostoDapanes1", 1000.0L - sumCommon);
    correct(residueTarget(elevatorTarget), "PosostoDapanes2", 1000.0L - sumElevator);
}

}  // namespace dravin

namespace dravin {

namespace {

// The passes with the display suspended: resuming it commits what they wrote.
void computeSuspended(TDravinDataT& data) {
    Table& spaces = data.DravinT;
    DisplaySuspension floorsSuspended(data.FloorT);
    DisplaySuspension kindsSuspended(data.XorosT);
    DisplaySuspension spacesSuspended(spaces);

    // Remember where the user stands, and whether that space takes the residues. A
    // pending edit is read as it stands; the first pass posts it.
    SpaceFields f(spaces);
    const std::array<Value, 3> startKey = {f.IDfloor.value(), f.IDXoros.value(),
                                           f.NumberXoros.value()};
    const bool onRecord = !spaces.isEmpty() || spaces.state() == TableState::Insert;
    if (onRecord) {
        data.ResidualTargetSet = mayReceiveResidues(f);
        if (data.ResidualTargetSet) {
            data.ResidualTargetKey = startKey;
        }
    } else {
        data.ResidualTargetSet = false;
    }
    // A refused pending edit stays with the user, who sees why (the entry rules).
    spaces.checkBrowseMode();
    // Back to the start record on every path, found by its key: its place may move.
    // The space that becomes the future row changes its key; it is found by bookmark.
    struct ReturnToStart {
        Table& t;
        const std::array<Value, 3>& key;
        bool onRecord;
        Table::Bookmark mark;
        ~ReturnToStart() {
            try {
                t.cancel();  // a half-written record of a failed pass
                if (onRecord && !t.findKey({key[0], key[1], key[2]}) && !t.gotoBookmark(mark)) {
                    t.first();
                }
            } catch (...) {
            }
        }
    } returnToStart{spaces, startKey, onRecord, spaces.bookmark()};

    Computation c(data);
    c.ClearComputedFields();
    c.ReapplyCoefficients();
    c.SumClearAreas();
    c.ComputeCommonShares();
    c.ComputeGrossAndWeights();
    c.NormalizeShares();
    c.WriteTotalRows();
}

}  // namespace

void ComputeAll(TDravinDataT& data, ProgressReporter& progress) {
    if (!data.DravinT.isOpen()) {
        throw EngineError(kNoStudyOpenMessage);
    }
    BusyScope busy(progress, "Υπολογισμοί");
    computeSuspended(data);
    // Only now are the writes committed; a failed commit leaves the data changed.
    data.DataChanged = false;
}

}  // namespace dravin
