#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace dravin {

class TDravinMain;

// What the host hands to one run.
struct RunArguments {
    std::filesystem::path programDir;  // directory of the host's executable
    QString dataDir;                   // embedded only
    QString studiesDir;                // embedded only
    QString studyName;                 // embedded only
    QString printFontName;
    bool embedded = false;
    unsigned hostWindow = 0;  // the host's window, owner of ours where the platform allows
};

// The help file "TELVO704.HLP": the bare name when it is in the working directory,
// otherwise the first of HLP, HELP, FHLP, FHELP under the program directory that holds
// it, otherwise empty.
QString findHelpFile(const std::filesystem::path& programDir);

// One run of the desktop program: puts Greek texts on Qt's own dialogs and buttons (they
// stay for the process), sets up, shows the main window modally, writes the settings back
// and restores everything else it changed. Exceptions escape only from set-up
// failures the entry point passes on.
class Run {
public:
    explicit Run(RunArguments args);
    void execute();

    // The steps, in order; public so that tests can drive a run without showing it.
    // A settings file that cannot be used is reported once: by the set-up, which then takes
    // the defaults and leaves IniFileName empty so that nothing is written back, or else by
    // the write-back when the file cannot be written.
    void setUp(TDravinMain& main);
    void writeSettingsBack(TDravinMain& main) const;

private:
    QString settingsDirectory() const;

    RunArguments mArgs;
};

// The study file names arrive in code page 1253.
QString fromCodePage(const char* text, size_t maxLength = 4096);

}  // namespace dravin
