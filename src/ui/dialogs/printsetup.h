#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "reports/layouts/reportoptions.h"

class QWidget;

namespace dravin {

class Prompter;
struct PrintSettings;

// Shows the font dialog on the print font; a confirmed choice becomes the print font
// of every table printed afterwards. False when the user cancels.
bool choosePrintFont(QWidget* parent, PrintSettings& settings);

// The printers installed on the system.
QStringList availablePrinterNames();

// The printer set-up: the printer chosen in the print dialog, which starts on the
// current one (the default when empty). With no printer installed the prompter says
// so and nothing is chosen; a cancelled dialog chooses nothing either.
std::optional<QString> choosePrinter(QWidget* parent, const QString& current, Prompter& prompter,
                                     const QStringList& available = availablePrinterNames());

// The line-spacing command: the dialog shows the row distance and, however it is
// closed, its choice is read back into the two values.
void chooseLineSpacing(QWidget* parent, Prompter& prompter, bool& useLineSpacing,
                       float& lineSpacing);

// What a table command hands its layout: the print font and the row distance.
ReportOptions reportOptions(const PrintSettings& settings, bool useLineSpacing, float lineSpacing);

inline constexpr const char* kNoPrinterMessage =
    "Δεν υπάρχει εγκατεστημένος εκτυπωτής: δεν μπορεί να επιλεγεί εκτυπωτής.";

}  // namespace dravin
