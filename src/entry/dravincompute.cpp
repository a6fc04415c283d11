#include "entry/dravincompute.h"

#include <QApplication>
#include <QMessageBox>
#include <QWindow>
#include <cstdio>

#include "entry/entryarguments.h"
#include "entry/inifile.h"
#include "entry/loadtimesettings.h"
#include "entry/run.h"
#include "ui/qtprompter.h"

namespace {

constexpr std::int32_t kCode1 = 51873;
constexpr std::int32_t kCode2 = 27406;

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The host may have its own application object; otherwise the library makes one,
// which lives as long as the process (the host keeps the library loaded).
bool ensureApplication() {
    if (QApplication::instance()) {
        return true;
    }
    if (!hasDisplay()) {
        return false;
    }
    static int argc = 1;
    static char name[] = "dravin";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    return true;
}

void report(const QString& text) {
    if (QApplication::instance()) {
        QMessageBox::critical(nullptr, dravin::programName(), text);
    } else {
        std::fprintf(stderr, "dravin: %s\n", text.toLocal8Bit().constData());
    }
}

}  // namespace

extern "C" std::uint8_t DravinCompute(std::int32_t code1, std::int32_t code2,
                                      std::uint32_t hostWindow, const char* dataDir,
                                      const char* studiesDir, const char* studyName,
                                      const unsigned char* printFontName, std::uint8_t embedded) {
    // The font name is copied first, whatever follows: one length byte, then the text.
    const dravin::FontNameBytes font = dravin::copyFontName(printFontName);
    if (code1 != kCode1 || code2 != kCode2) {
        return 0;
    }
    try {
        if (!ensureApplication()) {
            report("Δεν υπάρχει οθόνη για το παράθυρο του προγράμματος.");
            return 0;
        }
        // Once per process, whoever made the application object.
        static const bool loaded = (dravin::applyLoadTimeSettings(), true);
        (void)loaded;
        const dravin::EntryArguments texts =
            dravin::decodeEntryArguments(font, dataDir, studiesDir, studyName, embedded != 0);
        dravin::RunArguments args;
        args.programDir = dravin::executablePath().parent_path();
        args.embedded = embedded != 0;
        args.dataDir = QString::fromStdString(texts.dataDir);
        args.studiesDir = QString::fromStdString(texts.studiesDir);
        args.studyName = QString::fromStdString(texts.studyName);
        args.printFontName = QString::fromStdString(texts.printFontName);
        args.hostWindow = hostWindow;
        dravin::Run(std::move(args)).execute();
    } catch (const std::exception& e) {
        report(QString::fromStdString(e.what()));
    } catch (...) {
        report("Το πρόγραμμα σταμάτησε από απρόβλεπτο σφάλμα.");
    }
    return 0;
}
