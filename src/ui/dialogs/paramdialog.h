#pragma once

#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "ui/dialogs/tformlockclosehelplow.h"

class QTableView;
class QToolButton;

namespace dravin {

class CursorLink;
class Table;
class TableModel;
class TDravinDataT;

// What tells the floor dialog from the space-kind dialog.
struct ParamDialogSpec {
    struct Column {
        const char* field;
        const char* title;
        int percent;  // share of the grid's width
    };
    const char* caption;
    const char* helpTopic;
    Table TDravinDataT::*master;
    Table TDravinDataT::*study;
    std::array<Column, 7> columns;
};

// A grid over one parameter table, the master's or the study's, opened read-only and
// locked; unlocking makes the table writable and offers the whole navigator.
class ParamDialog : public TFormLockCloseHelpLow {
    Q_OBJECT
public:
    ParamDialog(QWidget* owner, TDravinDataT& data, const ParamDialogSpec& spec);
    ~ParamDialog() override;

    Table* Table1 = nullptr;
    QString CaptionSuffix;
    QTableView* DBGrid1;
    QFrame* DBNavigator1;

    // false: the master table, whose rows future studies inherit; true: the study's own.
    void SelectTable(bool study);
    // Column widths for a grid whose client area is clientWidth pixels wide.
    std::vector<int> columnWidths(int clientWidth) const;
    void applyColumnWidths(int clientWidth);
    QToolButton* navigatorButton(const char* name) const;

public slots:
    void LockBtnClick() override;
    void done(int result) override;

protected:
    void FormShow() override;
    void FormResize() override;
    void HelpBtnClick() override;

private:
    void buildNavigator();
    void showAllNavigatorButtons(bool all);
    void paintGrid();
    bool applyTableLock();  // false when the table could not be reopened
    // Posts an edit still pending; a refusal is reported and the row stays in edit mode.
    bool settleEdit();
    void act(void (Table::*operation)());
    bool run(const std::function<void()>& operation);

    TDravinDataT& mData;
    const ParamDialogSpec& mSpec;
    TableModel* mModel = nullptr;
    CursorLink* mLink = nullptr;
};

}  // namespace dravin
