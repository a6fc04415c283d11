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

#include "data/tdravindatat.h"
#include "ui/helpsystem.h"
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

// Nearest whole number to value / 100, halves to even; exact for every width.
int roundedHundredths(int value) {
    int q = value / 100;
    const int r = value % 100;
    if (r > 50 || (r == 50 && q % 2 != 0)) {
        ++q;
    }
    return q;
}

}  // namespace

ParamDialog::ParamDialog(QWidget* owner, TDravinDataT& data, const ParamDialogSpec& spec)
    : TFormLockCloseHelpLow(owner),
      DBGrid1(new QTableView(Panel1)),
      DBNavigator1(new QFrame(Panel2)),
      mData(data),
      mSpec(spec) {
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->verticalHeader()->setDefaultSectionSize(20);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    DBGrid1->horizontalHeader()->setMinimumSectionSize(0);  // the widths are computed exactly
    DBGrid1->viewport()->installEventFilter(this);
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
    delete mModel;
    mModel = new TableModel(table, std::move(columns), this);
    DBGrid1->setModel(mModel);
    connect(mModel, &TableModel::failed, this, &ParamDialog::reportError);
    connect(mModel, &TableModel::cursorMoved, this, &ParamDialog::followCursor);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (mFollowing || !current.isValid() || current.row() == mModel->pendingRow() ||
                    current.row() == Table1->currentRow()) {
                    return;
                }
                // Leaving a row posts its edit; a refused post keeps the grid on that row.
                try {
                    Table1->moveTo(current.row());
                } catch (const std::exception& e) {
                    reportError(QString::fromUtf8(e.what()));
                    followCursor(mModel->currentRow());
                }
            });
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

bool ParamDialog::eventFilter(QObject* watched, QEvent* event) {
    // The grid's client area settles after the window's own resize.
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Resize) {
        applyColumnWidths(DBGrid1->viewport()->width());
    }
    return TFormLockCloseHelpLow::eventFilter(watched, event);
}

std::vector<int> ParamDialog::columnWidths(int clientWidth) const {
    std::vector<int> widths;
    for (size_t i = 0; i < mSpec.columns.size(); ++i) {
        const int margin = i + 1 < mSpec.columns.size() ? 1 : 2;
        widths.push_back(
            std::max(0, roundedHundredths(clientWidth * mSpec.columns[i].percent) - margin));
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

bool ParamDialog::settleEdit() {
    if (!Table1 || !Table1->isOpen() || !editing(*Table1)) {
        return true;
    }
    try {
        Table1->post();
        return true;
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
        return false;
    }
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
    try {
        (Table1->*operation)();
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    }
}

void ParamDialog::followCursor(int row) {
    if (row < 0 || !mModel) {
        return;
    }
    mFollowing = true;
    const int column = std::max(0, DBGrid1->currentIndex().column());
    DBGrid1->setCurrentIndex(mModel->index(row, column));
    mFollowing = false;
}

}  // namespace dravin
