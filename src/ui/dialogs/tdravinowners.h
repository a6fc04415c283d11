#pragma once

#include <array>
#include <functional>

#include "ui/tformclosehelp.h"

class QLineEdit;
class QTableView;

namespace dravin {

class CursorLink;
class Prompter;
class Table;
class TableModel;
class TDravinDataT;

// The owner list: edits for the current owner, a read-only grid of all owners in name
// order beside them, and a navigator. Closing neither posts nor cancels: an owner is
// written when posted or left.
class TDravinOwners : public TFormCloseHelp {
    Q_OBJECT
public:
    TDravinOwners(TDravinDataT& data, Prompter& prompter, QWidget* owner = nullptr);

    QTableView* DBGrid1;
    // Name, ID, Address, AFM, DOY, Tel1, Tel2.
    std::array<QLineEdit*, 7> edits{};

    // Column widths of the grid for a grid client width w.
    void applyColumnWidths(int w);
    static int nameColumnWidth(int w) noexcept;
    static int idColumnWidth(int w) noexcept;

protected:
    void FormShow() override;
    void FormResize() override;
    void HelpBtnClick() override;

private:
    void showRecord();
    void fieldEdited(int i, const QString& text);
    bool run(const std::function<void()>& command);

    Table& mOwners;
    Prompter& mPrompter;
    TableModel* mModel;
    CursorLink* mLink = nullptr;
    bool mShowing = false;    // filling the edits
    bool mWriting = false;    // an edit is being stored
    bool mInCommand = false;  // the table is being changed; the edits wait for its end
};

}  // namespace dravin
