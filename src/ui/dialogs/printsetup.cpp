#include "ui/dialogs/printsetup.h"

#include <QFontDialog>
#include <QFontInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "data/feedback.h"
#include "ui/dialogs/tdravinlinespace.h"
#include "ui/printsettings.h"

namespace dravin {

bool choosePrintFont(QWidget* parent, PrintSettings& settings) {
    // The dialog lists installed families only: a name such as "Courier New" is shown as
    // the family it prints with, and stays as it is unless another family is chosen.
    const QString shown = QFontInfo(QFont(settings.fontFamily)).family();
    QFontDialog dialog(QFont(shown, settings.fontPointSize), parent);
    dialog.setObjectName("FontDialog1");
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const QFont chosen = dialog.selectedFont();
    if (chosen.family() != shown) {
        settings.fontFamily = chosen.family();
    }
    // Sizes come in whole points; a pixel-sized font keeps the size it had.
    if (chosen.pointSize() > 0) {
        settings.fontPointSize = chosen.pointSize();
    }
    return true;
}

QStringList availablePrinterNames() {
    return QPrinterInfo::availablePrinterNames();
}

std::optional<QString> choosePrinter(QWidget* parent, const QString& current, Prompter& prompter,
                                     const QStringList& available) {
    if (available.isEmpty()) {
        prompter.error(kNoPrinterMessage);
        return std::nullopt;
    }
    QPrinter printer(QPrinterInfo::defaultPrinter());
    if (available.contains(current)) {
        printer.setPrinterName(current);
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName("PrinterSetupDialog1");
    // Only the printer and its properties: the tables set their own paper and pages.
    dialog.setOptions({});
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return printer.printerName();
}

void chooseLineSpacing(QWidget* parent, Prompter& prompter, bool& useLineSpacing,
                       float& lineSpacing) {
    TDravinLineSpace dialog(parent, prompter);
    dialog.LoadSpacing(useLineSpacing, lineSpacing);
    dialog.exec();
    dialog.ReadSpacing(useLineSpacing, lineSpacing);
}

ReportOptions reportOptions(const PrintSettings& settings, bool useLineSpacing, float lineSpacing) {
    ReportOptions options;
    options.printFont = QFont(settings.fontFamily, settings.fontPointSize);
    options.useLineSpacing = useLineSpacing;
    options.lineSpacing = static_cast<double>(lineSpacing);
    return options;
}

}  // namespace dravin
