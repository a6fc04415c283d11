#include "ui/dialogs/paramdialog.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "data/errors.h"
#include "data/tdravindatat.h"
#include "ui/helpsystem.h"
#include "ui/modelview/columnwidth.h"
#include "ui/modelview/cursorlink.h"
#include "ui/modelview/gridlook.h"
#include "ui/modelview/resizewatch.h"
#include "ui/modelview/tablemodel.h"

namespace dravin {
namespace {

struct NavigatorButton {
    const char* name;
    const char* glyph;
    const char* hint;
    void (Table::*operation)();
    bool moves;  // offered while locked
};

const NavigatorButton kNavigator[] = {
    {"nbFirst", "|◀", "πρώτη εγγραφή", &Table::first, true},
    {"nbPrior", "◀", "προηγούμενη εγγραφή", &Table::prior, true},
    {"nbNext", "▶", "επόμενη εγγραφή", &Table::next, true},
    {"nbLast", "▶|", "τελευταία εγγραφή", &Table::last, true},
    {"nbInsert", "+", "παραμβολή εγγραφής", &Table::insert, false},
    {"nbDelete", "−", "διαγραφή εγγραφής", &Table::remove, false},
    {"nbEdit", "▲", "αλλαγή εγγραφής", &Table::edit, false},
    {"nbPost", "✓", "καταχώρηση αλλαγών", &Table::post, false},
    {"nbCancel", "✗", "ακύρωση αλλαγών", &Table::cancel, false},
};

const QColor kLockedGrid(255, 255, 225);

bool editing(const Table& t) {
    return t.state() == TableState::Edit || t.state() == TableState::Insert;
}

}  // namespace

ParamDialog::ParamDialog(QWidget* owner, TDravinDataT& data, const ParamDialogSpec& spec)
    : TFormLockCloseHelpLow(owner),
      DBGrid1(new QTableView(Panel1)),
      DBNavigator1(new QFrame(Panel2)),
      mData(data),
      mSpec(spec) {
    DBGrid1->setObjectName("DBGrid1");
    applyGridLook(DBGrid1);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    watchWidth(DBGrid1->viewport(), [this](int w) { applyColumnWidths(w); });
    auto* content = new QVBoxLayout(Panel1);
    content->setContentsMargins(0, 0, 0, 0);
    content->addWidget(DBGrid1);
    buildNavigator();
    // Close, lock and help from left to right; the print button lies behind help.
    Panel3->setFixedWidth(253);
    CloseBtn->setGeometry(10, 9, 75, 25);
    LockBtn->setGeometry(88, 9, 75, 25);
    HelpBtn->setGeometry(166, 9, 75, 25);
    PrintBtn->setGeometry(HelpBtn->geometry());
    PrintBtn->lower();
    PrintBtn->hide();
    resize(560, 360);
    paintGrid();
}

ParamDialog::~ParamDialog() {
    DBGrid1->setModel(nullptr);
    delete mLink;
    delete mModel;
    // The table stays open with its read-only state; the dialog only lets go of it.
    Table1 = nullptr;
}

void ParamDialog::buildNavigator() {
    DBNavigator1->setObjectName("DBNavigator1");
    auto* row = new QHBoxLayout(DBNavigator1);
    row->setContentsMargins(10, 11, 0, 11);
    row->setSpacing(0);
    for (const NavigatorButton& b : kNavigator) {
        auto* button = new QToolButton(DBNavigator1);
        button->setObjectName(b.name);
        button->setText(QString::fromUtf8(b.glyph));
        button->setToolTip(b.hint);
        button->setFixedSize(25, 25);
        row->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, op = b.operation] { act(op); });
    }
    if (auto* bar = qobject_cast<QHBoxLayout*>(Panel2->layout())) {
        bar->insertWidget(0, DBNavigator1);
    }
    showAllNavigatorButtons(false);
}

QToolButton* ParamDialog::navigatorButton(const char* name) const {
    return DBNavigator1->findChild<QToolButton*>(name);
}

void ParamDialog::showAllNavigatorButtons(bool all) {
    for (const NavigatorButton& b : kNavigator) {
        navigatorButton(b.name)->setVisible(all || b.moves);
    }
}

void ParamDialog::paintGrid() {
    QPalette p = DBGrid1->palette();
    p.setColor(QPalette::Base, Locked ? kLockedGrid : QColor(Qt::white));
    DBGrid1->setPalette(p);
}

void ParamDialog::SelectTable(bool study) {
    showAllNavigatorButtons(false);
    Table& table = mData.*(study ? mSpec.study : mSpec.master);
    table.close();
    Table1 = &table;
    std::vector<ColumnSpec> columns;
    for (const ParamDialogSpec::Column& c : mSpec.columns) {
        columns.push_back({c.field, QString::fromUtf8(c.title), c.percent / 100.0});
    }
    DBGrid1->setModel(nullptr);
    delete mLink;
    delete mModel;
    mModel = new TableModel(table, std::move(columns), this);
    DBGrid1->setModel(mModel);
    connect(mModel, &TableModel::failed, this, &ParamDialog::reportError);
    mLink = new CursorLink(
        table, [this](const std::function<void()>& op) { return run(op); }, this);
    mLink->addGrid(DBGrid1, mModel);
    CaptionSuffix = study ? " (Οικοδομής)" : " (Προγράμματος)";
    table.setReadOnly(true);
    table.open();
    paintGrid();
    applyColumnWidths(DBGrid1->viewport()->width());
}

void ParamDialog::FormShow() {
    setWindowTitle(QString::fromUtf8(mSpec.caption) + CaptionSuffix);
    applyColumnWidths(DBGrid1->viewport()->width());
}

void ParamDialog::FormResize() {
    applyColumnWidths(DBGrid1->viewport()->width());
}

std::vector<int> ParamDialog::columnWidths(int clientWidth) const {
    std::vector<int> widths;
    for (size_t i = 0; i < mSpec.columns.size(); ++i) {
        const int margin = i + 1 < mSpec.columns.size() ? 1 : 2;
        widths.push_back(
            std::max(0, shareOfWidth(clientWidth, mSpec.columns[i].percent) - margin));
    }
    return widths;
}

void ParamDialog::applyColumnWidths(int clientWidth) {
    if (!mModel) {
        return;
    }
    const std::vector<int> widths = columnWidths(clientWidth);
    for (size_t i = 0; i < widths.size(); ++i) {
        DBGrid1->setColumnWidth(static_cast<int>(i), widths[i]);
    }
}

void ParamDialog::HelpBtnClick() {
    HelpSystem::ShowHelpTopic(QString::fromUtf8(mSpec.helpTopic));
}

bool ParamDialog::run(const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const AbortError&) {
        // The user was told already, or declined.
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    }
    return false;
}

bool ParamDialog::settleEdit() {
    if (mLink) {
        mLink->commitEditors();
    }
    if (!Table1 || !Table1->isOpen() || !editing(*Table1)) {
        return true;
    }
    const bool posted = run([this] { Table1->post(); });
    mLink->follow();
    return posted;
}

void ParamDialog::LockBtnClick() {
    // Closing the table for the new lock would throw away a typed but unposted value.
    if (!settleEdit()) {
        LockBtn->setChecked(!Locked);
        return;
    }
    // An installed copy's master tables belong to another user: no question, one answer.
    if (Locked && Table1 == &(mData.*mSpec.master) && !Table1->fileWritable()) {
        LockBtn->setChecked(false);
        reportError(QString::fromUtf8(kMastersReadOnlyMessage));
        return;
    }
    TFormLockCloseHelpLow::LockBtnClick();
    if (!applyTableLock() && !Locked) {
        // Another program holds the table: here it can only be read.
        TFormLockCloseHelpLow::LockBtnClick();
        applyTableLock();
    }
}

bool ParamDialog::applyTableLock() {
    showAllNavigatorButtons(!Locked);
    paintGrid();
    if (!Table1) {
        return true;
    }
    Table1->close();
    Table1->setReadOnly(Locked);
    try {
        Table1->open();
        return true;
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
        return false;
    }
}

void ParamDialog::done(int result) {
    // An edit left pending would outlive the only view of it, to be posted or lost by
    // whatever touches the table next.
    if (!settleEdit()) {
        return;
    }
    TFormLockCloseHelpLow::done(result);
}

void ParamDialog::act(void (Table::*operation)()) {
    if (!Table1) {
        return;
    }
    // The text of an open cell editor belongs to the record, except for cancel.
    if (operation == &Table::cancel) {
        mLink->revertEditors();
    } else {
        mLink->commitEditors();
    }
    Table* table = Table1;
    run([table, operation] { (table->*operation)(); });
    mLink->follow();
}

}  // namespace dravin
