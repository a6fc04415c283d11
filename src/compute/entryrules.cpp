#include "entryrules.h"

#include "coefficients.h"
#include "data/errors.h"
#include "data/feedback.h"
#include "data/tdravindatat.h"
#include "numeric.h"
#include "spacefields.h"

#include <memory>

namespace dravin {
namespace {

void volumeRule(SpaceFields& f) {
    f.VolumeClear.clear();
    const double v = held(static_cast<long double>(f.AreaClear.asFloat()) * f.Height.asFloat());
    if (IsSignificant(v)) {
        f.VolumeClear.setFloat(R2(v));
    }
}

// The floor and kind are looked up by the number assigned, so that code and user get
// the same result; a floor or kind the study lacks leaves the copied fields blank.
void floorRule(TDravinDataT& data, Table& spaces, SpaceFields& f, const Table& floors) {
    if (data.Importing) {
        return;
    }
    spaces.edit();
    const Value floorId = f.IDfloor.value();
    const int row = rowWithKey(floors, "IDFloor", floorId);
    const auto value = [&](const char* name) {
        return row < 0 ? Value() : floors.rowValue(row, *floors.def().fieldIndex(name));
    };
    f.Height.setValue(value("Height"));
    f.Name2Floor.setValue(value("Name2"));
    if (f.IDXoros.asInteger() == 0) {
        f.IDXoros.setInteger(floorId.toInteger() < 0 ? 20 : 10);
    }
    f.XCoef7.setFloat(1.0);
    f.XCoef8.setFloat(1.0);
    ApplyFloorCoefficients(spaces, floors, row);
}

void kindRule(TDravinDataT& data, Table& spaces, SpaceFields& f, const Table& kinds) {
    if (data.Importing) {
        return;
    }
    spaces.edit();
    f.XCoef7.setFloat(1.0);
    f.XCoef8.setFloat(1.0);
    ApplyXorosCoefficients(spaces, kinds, rowWithKey(kinds, "IDXoros", f.IDXoros.value()));
}

void install(TDravinDataT& data, Prompter& prompter, Table& spaces, const Table& floors,
             const Table& kinds) {
    // Resolved once: the rules fire for every assignment of the computation too.
    auto f = std::make_shared<SpaceFields>(spaces);
    spaces.setFieldChangeHandler("AreaClear", [f](Field) { volumeRule(*f); });
    spaces.setFieldChangeHandler("Height", [f](Field) { volumeRule(*f); });
    spaces.setFieldChangeHandler("IDfloor", [&data, &spaces, &floors, f](Field) {
        floorRule(data, spaces, *f, floors);
    });
    spaces.setFieldChangeHandler("IDXoros", [&data, &spaces, &kinds, f](Field) {
        kindRule(data, spaces, *f, kinds);
    });
    // A key clash is the user's to correct; any other failure is reported as it is.
    spaces.onPostError = [&prompter](Table&, const std::exception& e) {
        if (dynamic_cast<const KeyViolationError*>(&e) == nullptr) {
            return PostErrorAction::Fail;
        }
        prompter.inform(kDuplicateSpaceMessage);
        return PostErrorAction::Abort;
    };
    spaces.beforeDelete = [&prompter](Table&) {
        return prompter.confirm(kConfirmDeleteMessage, false) == Prompter::Answer::Yes;
    };
}

}  // namespace

void installEntryRules(TDravinDataT& data, Prompter& prompter) {
    install(data, prompter, data.DravinT, data.FloorT, data.XorosT);
    install(data, prompter, data.DravinT1, data.FloorT1, data.XorosT1);
}

}  // namespace dravin
