#pragma once

#include "data/table.h"

namespace dravin {

// The fields of a space table, resolved once: a pass touches them for every record.
struct SpaceFields {
    explicit SpaceFields(Table& t)
        : IDfloor(t.field("IDfloor")),
          IDXoros(t.field("IDXoros")),
          NumberXoros(t.field("NumberXoros")),
          Name2Floor(t.field("Name2Floor")),
          AreaClear(t.field("AreaClear")),
          AreaMikto(t.field("AreaMikto")),
          AreaKoin(t.field("AreaKoin")),
          Height(t.field("Height")),
          VolumeClear(t.field("VolumeClear")),
          VolumeMikto(t.field("VolumeMikto")),
          VolumeKoin(t.field("VolumeKoin")),
          DravinOikopedo(t.field("DravinOikopedo")),
          PartofOikopedo(t.field("PartofOikopedo")),
          PosostoDapanes1(t.field("PosostoDapanes1")),
          PosostoDapanes2(t.field("PosostoDapanes2")),
          PosostoDapanes3(t.field("PosostoDapanes3")),
          FCoef1(t.field("FCoef1")),
          FCoef2(t.field("FCoef2")),
          FCoef3(t.field("FCoef3")),
          XCoef1(t.field("XCoef1")),
          XCoef2(t.field("XCoef2")),
          XCoef3(t.field("XCoef3")),
          XCoef4(t.field("XCoef4")),
          XCoef5(t.field("XCoef5")),
          XCoef7(t.field("XCoef7")),
          XCoef8(t.field("XCoef8")) {}

    Field IDfloor, IDXoros, NumberXoros, Name2Floor;
    Field AreaClear, AreaMikto, AreaKoin, Height, VolumeClear, VolumeMikto, VolumeKoin;
    Field DravinOikopedo, PartofOikopedo, PosostoDapanes1, PosostoDapanes2, PosostoDapanes3;
    Field FCoef1, FCoef2, FCoef3;
    Field XCoef1, XCoef2, XCoef3, XCoef4, XCoef5, XCoef7, XCoef8;
};

}  // namespace dravin
