#pragma once

#include "ui/tformclosehelp.h"

namespace dravin {

class Prompter;
class Table;
class TDravinDataT;

// A dialog over the study's one general-data record: the record is in edit mode while
// the dialog is open, and every way out (close button, close box, Escape, release)
// stores the edits and posts it; an entry that cannot be stored keeps the dialog open.
class GeneralDataDialog : public TFormCloseHelp {
    Q_OBJECT
public:
    GeneralDataDialog(TDravinDataT& data, Prompter& prompter, QWidget* owner);

    void done(int result) override;

protected:
    // Puts the dialog's entries into the record in edit mode; throws for a bad entry.
    virtual void storeEdits() = 0;
    // For the concrete dialog's destructor, while its controls still exist.
    void saveOnRelease() noexcept;

    Table& mGenData;
    Prompter& mPrompter;

private:
    bool save();
};

}  // namespace dravin
