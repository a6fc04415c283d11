// Posts space records one by one into a table until killed; the crash-safety test
// kills it at a random moment and checks what the table holds.
//
//   crash_poster DIR COUNT [BATCH]
//
// Prints "P <n>" once the post of record n has returned. With BATCH, the records are
// posted BATCH at a time inside a display suspension, and "C <n>" follows the resume
// that committed records 0 .. n-1.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "data/table.h"
#include "data/tabledefinitions.h"

namespace {

// Later records sort before earlier ones, so every post inserts in front.
void postRecord(dravin::Table& table, int n, int count) {
    table.insert();
    table.field("IDfloor").setInteger(1);
    table.field("IDXoros").setInteger(10);
    table.field("NumberXoros").setInteger(count - n);
    table.field("AreaClear").setFloat(n + 0.5);
    table.field("Name2Floor").setString("Α");
    table.post();
}

void acknowledge(char what, int n) {
    std::printf("%c %d\n", what, n);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: crash_poster DIR COUNT [BATCH]\n");
        return 2;
    }
    const int count = std::atoi(argv[2]);
    const int batch = argc > 3 ? std::atoi(argv[3]) : 0;
    try {
        dravin::Table table("DravinT", dravin::dravinTableDef());
        table.setDirectory(argv[1]);
        table.setTableName("CrashDravin_DRAVIN");
        if (!table.exists()) {
            table.createTable();
        }
        table.open();
        int n = 0;
        while (n < count) {
            if (batch <= 0) {
                postRecord(table, n, count);
                acknowledge('P', n++);
                continue;
            }
            {
                dravin::DisplaySuspension suspended(table);
                for (int i = 0; i < batch && n < count; ++i) {
                    postRecord(table, n, count);
                    acknowledge('P', n++);
                }
            }
            acknowledge('C', n);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "crash_poster: %s\n", e.what());
        return 1;
    }
    return 0;
}
