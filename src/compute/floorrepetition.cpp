#include "floorrepetition.h"

#include <vector>

#include "coefficients.h"
#include "data/errors.h"
#include "data/tdravindatat.h"
#include "spacefields.h"

namespace dravin {

void RepeatFloor(TDravinDataT& data, int source, int target) {
    if (source == target) {
        throw RangeError("Ο αρχικός όροφος και ο όροφος προορισμού είναι ο ίδιος.");
    }
    Table& spaces = data.DravinT;
    if (!spaces.isOpen()) {
        throw EngineError(kNoStudyOpenMessage);
    }
    if (!data.FloorTo.isOpen()) {
        throw EngineError("Ο πίνακας παραμέτρων των ορόφων δεν είναι ανοιχτός.");
    }
    BusyScope busy(data.progress());
    DisplaySuspension floorsSuspended(data.FloorT);
    DisplaySuspension kindsSuspended(data.XorosT);
    DisplaySuspension spacesSuspended(spaces);

    const int masterRow = rowWithKey(data.FloorTo, "IDFloor", Value::integer(target));
    if (masterRow < 0) {
        return;
    }
    const Value name2 = data.FloorTo.rowValue(masterRow, *data.FloorTo.def().fieldIndex("Name2"));

    struct Copy {
        std::int32_t kind, number, rooms;
        double area, height;
    };
    std::vector<Copy> copies;
    SpaceFields f(spaces);
    Field rooms = spaces.field("NumberofRooms");
    for (spaces.first(); !spaces.eof(); spaces.next()) {
        // Total rows (kinds above 900) are the computation's, not spaces to repeat.
        if (f.IDfloor.asInteger() != source || f.IDfloor.isNull() || f.IDXoros.asInteger() > 900) {
            continue;
        }
        if (copies.size() == kMaxRepeatedSpaces) {
            throw RangeError("Ο όροφος " + std::to_string(source) + " έχει περισσότερους από " +
                             std::to_string(kMaxRepeatedSpaces) + " χώρους για επανάληψη.");
        }
        copies.push_back({f.IDXoros.asInteger(), f.NumberXoros.asInteger(), rooms.asInteger(),
                          f.AreaClear.asFloat(), f.Height.asFloat()});
    }
    for (const Copy& c : copies) {
        spaces.append();
        try {
            f.IDfloor.setInteger(target);
            f.IDXoros.setInteger(c.kind);
            f.NumberXoros.setInteger(c.number);
            f.Name2Floor.setValue(name2);
            rooms.setInteger(c.rooms);
            f.AreaClear.setFloat(c.area);
            f.Height.setFloat(c.height);
            spaces.post();
        } catch (...) {
            // A refused copy must not stay pending: the next move would post it again.
            spaces.cancel();
            throw;
        }
    }
}

}  // namespace dravin
