#pragma once

// What the crash worker does and the harness expects, shared by both.

#include <array>
#include <string>

#include "data/value.h"

namespace dravin::test {

// Repetitions: the spaces of one floor, repeated onto floors that hold none yet.
inline constexpr int kRepeatSource = 1;
inline constexpr std::array<int, 12> kRepeatTargets = {13, 14, 15, 16, 17, 18,
                                                       19, 20, 21, 22, 23, 24};

// Posts come in blocks: even blocks are posted one by one, odd blocks inside one
// display suspension, as a grid does while the display is held back.
inline constexpr int kPostBlock = 8;
inline bool postGrouped(int post) noexcept {
    return (post / kPostBlock) % 2 == 1;
}

// One grid edit: one field of one space record, named by its place in the table as
// opened before the first post. Every value tells its post apart from the others; a
// new NumberXoros moves the record to another key, never onto a taken one.
struct PlannedPost {
    int record = 0;
    const char* field = "";
    Value value;
};

inline PlannedPost plannedPost(int post, int recordCount) {
    PlannedPost p;
    p.record = static_cast<int>((static_cast<long long>(post) * 7919 + 13) % recordCount);
    switch (post % 6) {
        case 0:
            p.field = "NumberXoros";
            p.value = Value::integer(100000 + post);
            break;
        case 1:
            p.field = "NumberofRooms";
            p.value = Value::integer(1000 + post);
            break;
        case 2:
            p.field = "IDowner";
            p.value = Value::integer(1 + post);
            break;
        case 3:
            p.field = "PosostoDapanes3";
            p.value = Value::real(post + 0.25);
            break;
        case 4:
            p.field = "XCoef6";
            p.value = Value::real(post * 0.5 + 0.125);
            break;
        default:
            p.field = "Name2Floor";
            p.value = Value::bytes(std::to_string(post % 1000));
            break;
    }
    return p;
}

}  // namespace dravin::test
