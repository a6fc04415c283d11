#include "tabledefinitions.h"

namespace dravin {
namespace {

FieldDef integer(const char* name, const char* format = "") {
    return {name, FieldType::Integer, 0, format, Alignment::Right};
}
FieldDef real(const char* name, const char* format = "") {
    return {name, FieldType::Float, 0, format, Alignment::Right};
}
FieldDef alpha(const char* name, int size) {
    return {name, FieldType::Alpha, size, "", Alignment::Left};
}
FieldDef memo(const char* name, FieldType type = FieldType::Memo) {
    return {name, type, 0, "", Alignment::Left};
}

}  // namespace

TableDef floorTableDef() {
    TableDef d;
    d.fields = {integer("IDFloor"),     alpha("Name1", 16),     alpha("Name2", 3),
                real("Coef1", "#0.00"), real("Coef2", "#0.00"), real("Coef3", "#0.00"),
                real("Coef4", "#0.00"), real("Coef5", "#0.00"), real("Area"),
                real("AreaKoin"),       real("Height", "#0.00")};
    d.primaryKey = {"IDFloor"};
    d.primaryIndexName = "FloorTIndex3";
    return d;
}

TableDef xorosTableDef() {
    TableDef d;
    d.fields = {integer("IDXoros"),     alpha("Name", 30),      real("Coef1", "#0.00"),
                real("Coef2", "#0.00"), real("Coef3", "#0.00"), real("Coef4", "#0.00"),
                real("Coef5", "#0.00"), real("Coef6", "#0.00"), real("Coef7", "#0.00"),
                real("Coef8", "#0.00"), integer("FloorID"),     alpha("FloorName1", 16),
                alpha("FloorName2", 3), integer("Number"),      integer("RoomNumbers"),
                real("Area"),           real("Volume")};
    d.primaryKey = {"IDXoros"};
    d.primaryIndexName = "XorosToIndex1";
    return d;
}

TableDef ownersTableDef() {
    TableDef d;
    FieldDef id = integer("ID", "00000");
    id.alignment = Alignment::Center;
    d.fields = {alpha("Name", 40),    id,
                alpha("Address", 80), alpha("AFM", 16),
                alpha("DOY", 30),     alpha("Tel1", 20),
                alpha("Tel2", 20)};
    d.primaryKey = {"Name", "ID"};
    d.primaryIndexName = "OwnersTIndex2";
    return d;
}

TableDef dravinTableDef() {
    TableDef d;
    d.fields = {
        integer("IDfloor"),
        integer("IDXoros"),
        integer("NumberXoros"),
        alpha("Name2Floor", 3),
        integer("NumberofRooms", "##"),
        real("AreaClear", "###0.00"),
        real("AreaMikto", "###0.00"),
        real("AreaKoin", "###0.00"),
        real("Height", "#0.00"),
        real("VolumeClear", "####0.00"),
        real("VolumeMikto", "####0.00"),
        real("VolumeKoin", "####0.00"),
        real("DravinOikopedo", "###0.00  "),
        real("PartofOikopedo", "###0.00"),
        real("PosostoDapanes1", "####.00"),
        real("PosostoDapanes2", "####.00"),
        real("PosostoDapanes3", "####.00"),
        integer("IDowner"),
        real("FCoef1", "#0.00"),
        real("FCoef2", "#0.00"),
        real("FCoef3", "#0.00"),
        real("FCoef4", "#0.00"),
        real("FCoef5", "#0.00"),
        real("XCoef1", "#0.00"),
        real("XCoef2", "#0.00"),
        real("XCoef3", "#0.00"),
        real("XCoef4", "#0.00"),
        real("XCoef5", "#0.00"),
        real("XCoef6", "#0.00"),
        real("XCoef7", "#0.00"),
        real("XCoef8", "#0.00"),
    };
    d.primaryKey = {"IDFloor", "IDXoros", "NumberXoros"};
    d.primaryIndexName = "DravinTIndex1";
    // Declared order: IDfloor, IDXoros, NumberXoros, Name1Floor, Name2Floor, NameXoros, ...,
    // IDowner, NameOwner, FCoef1 ...
    d.lookups = {
        {"Name1Floor", "IDfloor", "FloorT", "IDFloor", "Name1", 16, 3},
        {"NameXoros", "IDXoros", "XorosT", "IDXoros", "Name", 30, 5},
        {"NameOwner", "IDowner", "OwnersT", "ID", "Name", 40, 20},
    };
    return d;
}

TableDef genDataTableDef() {
    TableDef d;
    d.fields = {alpha("Name1", 80),
                alpha("Name2", 80),
                alpha("Name3", 80),
                alpha("Name4", 80),
                alpha("Name5", 80),
                alpha("Name7", 80),
                alpha("Name6", 80),
                alpha("Name8", 80),
                alpha("Name9", 80),
                alpha("Name10", 80),
                real("AreaOikopedo", "####0.000"),
                real("DravinTotal", "####0.000"),
                real("Dravinmelontika", "####0.000"),
                memo("Notes1", FieldType::FormattedMemo),
                memo("Notes2"),
                memo("Notes3")};
    return d;
}

}  // namespace dravin
