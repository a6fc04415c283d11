#pragma once

#include <array>

#include "ui/dialogs/generaldatadialog.h"

class QLabel;
class QLineEdit;

namespace dravin {

class Prompter;
class Table;
class TDravinDataT;

// The plot area with the building's total and future per-mille, in the study's
// general-data record, which is posted however the dialog is left.
class TDravinEmbada : public GeneralDataDialog {
    Q_OBJECT
public:
    TDravinEmbada(TDravinDataT& data, Prompter& prompter, QWidget* owner = nullptr);
    ~TDravinEmbada() override;

    // AreaOikopedo, DravinTotal, Dravinmelontika, top to bottom.
    std::array<QLineEdit*, 3> edits{};
    QLabel* Note;

protected:
    void HelpBtnClick() override;

private:
    void storeEdits() override;
};

}  // namespace dravin
