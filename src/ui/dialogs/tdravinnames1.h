#pragma once

#include <array>

#include "ui/dialogs/generaldatadialog.h"

class QLineEdit;

namespace dravin {

class Prompter;
class Table;
class TDravinDataT;

// The names printed in the heading of the tables: the building, the engineering office
// and the date. Edits the study's general-data record, which is posted however the
// dialog is left.
class TDravinNames1 : public GeneralDataDialog {
    Q_OBJECT
public:
    TDravinNames1(TDravinDataT& data, Prompter& prompter, QWidget* owner = nullptr);
    ~TDravinNames1() override;

    // Name1 … Name9, top to bottom.
    std::array<QLineEdit*, 9> edits{};

protected:
    void HelpBtnClick() override;

private:
    // Stores the edits and posts; false (after saying why) when that failed.
    void storeEdits() override;
};

}  // namespace dravin
