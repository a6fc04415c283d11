#pragma once

#include <QString>

namespace dravin {

class TDravinReport00;

// Prints every page of the table once on the named printer (the system's default when
// the name is empty), without a dialog. No printer at all, or one that cannot be
// printed on, is an I/O error and nothing is printed.
void printReport(TDravinReport00& layout, const QString& printerName = {});

// Raises the error printReport would when the printer is not there; lets a command
// refuse before it changes anything.
void requirePrinter(const QString& printerName = {});

}  // namespace dravin
