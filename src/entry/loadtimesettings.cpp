#include "entry/loadtimesettings.h"

#include <QString>

#include "entry/inifile.h"
#include "ui/standardlook.h"

namespace dravin {

void applyLoadTimeSettings() {
    std::int32_t font = 0;
    DefaultIniExchangeInteger("MAIN", "FONT", font, false);
    setWindowFontName(QString::fromStdString(windowFontName(font)));
}

}  // namespace dravin
