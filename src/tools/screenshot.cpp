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
        main.resize(1100, 620);
        main.show();
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
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dravin-screenshot: %s\n", e.what());
        return 1;
    }
    return 0;
}
