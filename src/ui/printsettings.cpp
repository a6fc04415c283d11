#include "ui/printsettings.h"

namespace dravin {

PrintSettings& PrintSettings::instance() {
    static PrintSettings settings;
    return settings;
}

}  // namespace dravin
