// dravin-screenshot: pictures of the main window on a study, one PNG per tab, drawn
// without a display. For the README and for looking at what the program shows.

#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "compute/computation.h"
#include "data/tdravindatat.h"
#include "entry/loadtimesettings.h"
#include "entry/run.h"
#include "ui/dialogs/tdravinembada.h"
#include "ui/dialogs/tdravinlinespace.h"
#include "reports/layouts/tdravinreport00.h"
#include "reports/preview/reportpreview.h"
#include "ui/dialogs/tdravinowners.h"
#include "ui/dialogs/tdravinparam1.h"
#include "ui/dialogs/tdravinparam2.h"
#include "ui/dialogs/printsetup.h"
#include "ui/printsettings.h"
#include "ui/qtprompter.h"
#include "ui/tdravinmain.h"
#include "ui/tinfoform.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: dravin-screenshot DATA-DIR STUDIES-DIR STUDY OUTPUT-PREFIX\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    dravin::applyLoadTimeSettings();
    try {
        dravin::RunArguments args;
        args.embedded = true;
        args.dataDir = argv[1];
        args.studiesDir = argv[2];
        args.studyName = argv[3];
        args.printFontName = "Courier New";
        dravin::TDravinMain main;
        dravin::Run(args).setUp(main);
        main.show();  // at its designed size
        dravin::TInfoForm wait;
        main.data().DravinT.first();
        dravin::ComputeAll(main.data(), wait);
        for (int tab = 0; tab < main.PageControl1->count(); ++tab) {
            main.PageControl1->setCurrentIndex(tab);
            app.processEvents();
            const QString file = QString("%1-tab%2.png").arg(argv[4]).arg(tab + 1);
            if (!main.grab().save(file)) {
                std::fprintf(stderr, "dravin-screenshot: cannot write %s\n", qPrintable(file));
                return 1;
            }
            std::printf("%s\n", qPrintable(file));
        }
        // The dialogs that show a study's own values.
        const auto save = [&](QWidget& w, const char* name) {
            w.show();
            app.processEvents();
            const QString file = QString("%1-%2.png").arg(argv[4], name);
            w.grab().save(file);
            std::printf("%s\n", qPrintable(file));
            w.hide();
        };
        dravin::TDravinParam1 floors(&main, main.data());
        floors.SelectTable(true);
        save(floors, "param-locked");
        floors.ShowUnlocked();
        save(floors, "param-unlocked");
        floors.ShowLocked();
        dravin::TDravinParam2 kinds(&main, main.data());
        kinds.SelectTable(true);
        kinds.ShowUnlocked();
        save(kinds, "kinds-unlocked");
        dravin::TDravinOwners owners(main.data(), main.prompter(), &main);
        save(owners, "owners");
        // The preview as it opens: the short (+) table on A4.
        const auto layout = dravin::TDravinReport00::create(
            main.data(), 1,
            dravin::reportOptions(dravin::PrintSettings::instance(), false, 8.0f));
        dravin::ReportPreview preview(*layout, &main);
        save(preview, "preview");
        wait.ShowInfo(0, 0, "Υπολογισμοί");
        save(wait, "wait");
        dravin::TDravinEmbada plot(main.data(), main.prompter(), &main);
        save(plot, "plot");
        dravin::TDravinLineSpace spacing(&main, main.prompter());
        spacing.LoadSpacing(true, 8.3f);
        save(spacing, "linespace");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dravin-screenshot: %s\n", e.what());
        return 1;
    }
    return 0;
}
