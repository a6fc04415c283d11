// Holds a table open as another running program would, until its standard input ends.
// Tables named like the master tables are floor or kind tables, others space tables.
//
//   table_holder DIR TABLE read|write [NUMBER]
//
// Prints "open" once the table is open, or "refused <message>" and exits 1. In write
// mode with NUMBER, first posts a space of that number and prints "posted".

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "data/table.h"
#include "data/tabledefinitions.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: table_holder DIR TABLE read|write [NUMBER]\n");
        return 2;
    }
    const bool write = std::string(argv[3]) == "write";
    const std::string name = argv[2];
    dravin::Table table("T", name.rfind("DrvFloor", 0) == 0   ? dravin::floorTableDef()
                             : name.rfind("DrvXoros", 0) == 0 ? dravin::xorosTableDef()
                                                              : dravin::dravinTableDef());
    try {
        table.setDirectory(argv[1]);
        table.setTableName(argv[2]);
        table.setReadOnly(!write);
        table.open();
        std::printf("open\n");
        std::fflush(stdout);
        if (write && argc > 4) {
            table.insert();
            table.field("IDfloor").setInteger(1);
            table.field("IDXoros").setInteger(10);
            table.field("NumberXoros").setInteger(std::atoi(argv[4]));
            table.post();
            std::printf("posted\n");
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::printf("refused %s\n", e.what());
        return 1;
    }
    while (std::getchar() != EOF) {
    }
    return 0;
}
