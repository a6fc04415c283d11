#pragma once

#include "ui/dialogs/generaldatadialog.h"

class QPlainTextEdit;

namespace dravin {

class Prompter;
class Table;
class TDravinDataT;

// The free notes printed under the table (Notes1 of the study's general-data record),
// posted however the dialog is left. The stored text ends every line with CR LF.
class TDravinMemo : public GeneralDataDialog {
    Q_OBJECT
public:
    TDravinMemo(TDravinDataT& data, Prompter& prompter, QWidget* owner = nullptr);
    ~TDravinMemo() override;

    QPlainTextEdit* DBMemo1;

    // Adds a line at the end, as a new line of the notes with its line break.
    void addLine(const QString& line);

protected:
    void HelpBtnClick() override;

private:
    void storeEdits() override;

    QString mLoaded;  // the stored text as shown
};

}  // namespace dravin
