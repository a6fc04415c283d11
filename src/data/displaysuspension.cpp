#include "displaysuspension.h"

#include <exception>

#include "table.h"

namespace dravin {

DisplaySuspension::DisplaySuspension(Table& table)
    : mTable(table), mUncaught(std::uncaught_exceptions()) {
    mTable.disableControls();
}

DisplaySuspension::~DisplaySuspension() noexcept(false) {
    if (std::uncaught_exceptions() > mUncaught) {
        try {
            mTable.enableControls();
        } catch (...) {
            // The error already on its way is the one to report.
        }
        return;
    }
    mTable.enableControls();
}

}  // namespace dravin
