#include "ui/dialogs/generaldatadialog.h"

#include "data/errors.h"
#include "data/feedback.h"
#include "data/tdravindatat.h"

namespace dravin {

GeneralDataDialog::GeneralDataDialog(TDravinDataT& data, Prompter& prompter, QWidget* owner)
    : TFormCloseHelp(owner), mGenData(data.GenDataT), mPrompter(prompter) {}

void GeneralDataDialog::done(int result) {
    if (save()) {
        TFormCloseHelp::done(result);
    }
}

void GeneralDataDialog::saveOnRelease() noexcept {
    if (mGenData.state() != TableState::Edit && mGenData.state() != TableState::Insert) {
        return;
    }
    if (!save()) {
        try {
            mGenData.cancel();  // not left in edit mode for the next command
        } catch (const std::exception&) {
        }
    }
}

bool GeneralDataDialog::save() {
    try {
        mGenData.edit();
        storeEdits();
        mGenData.post();
        return true;
    } catch (const AbortError&) {
    } catch (const std::exception& e) {
        mPrompter.error(e.what());
    }
    return false;
}

}  // namespace dravin
