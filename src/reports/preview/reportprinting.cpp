#include "reports/preview/reportprinting.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "data/errors.h"
#include "reports/engine/reportrenderer.h"
#include "reports/layouts/tdravinreport00.h"

namespace dravin {

namespace {

QPrinterInfo printerOf(const QString& printerName) {
    return printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                 : QPrinterInfo::printerInfo(printerName);
}

}  // namespace

void requirePrinter(const QString& printerName) {
    if (printerOf(printerName).isNull()) {
        throw IoError(printerName.isEmpty()
                          ? "Δεν υπάρχει διαθέσιμος εκτυπωτής· ο πίνακας δεν τυπώθηκε."
                          : "Ο εκτυπωτής " + printerName.toStdString() +
                                " δεν είναι διαθέσιμος· ο πίνακας δεν τυπώθηκε.");
    }
}

void printReport(TDravinReport00& layout, const QString& printerName) {
    requirePrinter(printerName);
    const QPrinterInfo info = printerOf(printerName);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
    ReportRenderer(layout.generate()).print(printer);
}

}  // namespace dravin
