#include "ui/dialogs/tdravinowners.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QToolButton>
#include <cmath>

#include "data/displayformat.h"
#include "data/errors.h"
#include "data/feedback.h"
#include "data/tdravindatat.h"
#include "ui/helpsystem.h"
#include "ui/modelview/columnwidth.h"
#include "ui/modelview/cursorlink.h"
#include "ui/modelview/gridlook.h"
#include "ui/modelview/resizewatch.h"
#include "ui/modelview/tablemodel.h"

namespace dravin {

namespace {

struct EditSpec {
    const char* field;
    const char* label;
    int row;
    int column;  // 0 left, 1 right
    bool fullWidth;
};

// Tab order follows this list.
constexpr std::array<EditSpec, 7> kEdits = {{
    {"Name", "Ονομ/πώνυμο", 0, 0, false},
    {"ID", "Αριθμός ID", 0, 1, false},
    {"Address", "Διεύθυνση", 1, 0, true},
    {"AFM", "Α.Φ.Μ.", 2, 0, false},
    {"DOY", "Δ.Ο.Υ.", 2, 1, false},
    {"Tel1", "Τηλέφωνο-1", 3, 0, false},
    {"Tel2", "Τηλέφωνο-2", 3, 1, false},
}};

}  // namespace

TDravinOwners::TDravinOwners(TDravinDataT& data, Prompter& prompter, QWidget* owner)
    : TFormCloseHelp(owner),
      DBGrid1(new QTableView(Panel1)),
      mOwners(data.OwnersT),
      mPrompter(prompter),
      mModel(nullptr) {
    setObjectName("TDravinOwners");
    resize(680, 230);
    mOwners.open();

    auto* upper = new QHBoxLayout(Panel1);
    auto* form = new QGridLayout;
    upper->addLayout(form, 1);
    upper->addWidget(DBGrid1);
    for (size_t i = 0; i < kEdits.size(); ++i) {
        const EditSpec& s = kEdits[i];
        auto* label = new QLabel(Panel1);
        label->setObjectName(QString("Label%1").arg(i + 1));
        auto* edit = new QLineEdit(Panel1);
        edit->setObjectName(QString("DBEdit%1").arg(i + 1));
        label->setBuddy(edit);
        const FieldDef* def = mOwners.field(s.field).def();
        if (def->type == FieldType::Integer) {
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression("-?\\d{0,9}"), edit));
        } else {
            edit->setMaxLength(def->size);
        }
        const int column = s.column * 2;
        form->addWidget(label, s.row, column);
        form->addWidget(edit, s.row, column + 1, 1, s.fullWidth ? 3 : 1);
        edits[i] = edit;
        connect(edit, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { fieldEdited(static_cast<int>(i), text); });
        if (i > 0) {
            setTabOrder(edits[i - 1], edit);
        }
    }
    form->setRowStretch(static_cast<int>(kEdits.back().row) + 1, 1);

    mModel = new TableModel(
        mOwners,
        {ColumnSpec{"Name", "Ονομασία", 0.75, true, ColumnSpec::Look::Normal, false, false},
         ColumnSpec{"ID", "ID", 0.25, true}},
        this);
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->setModel(mModel);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setVisible(false);
    applyGridLook(DBGrid1);
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setFixedWidth(260);
    watchWidth(DBGrid1->viewport(), [this](int w) { applyColumnWidths(w); });
    setTabOrder(edits.back(), DBGrid1);

    // The edits show the current owner whenever the table has changed or moved.
    mLink = new CursorLink(
        mOwners, [this](const std::function<void()>& op) { return run(op); }, this);
    mLink->addGrid(DBGrid1, mModel);
    connect(mLink, &CursorLink::followed, this, &TDravinOwners::showRecord);
    connect(mModel, &TableModel::cursorMoved, this, &TDravinOwners::showRecord);
    connect(mModel, &QAbstractItemModel::modelReset, this, &TDravinOwners::showRecord);
    connect(mModel, &QAbstractItemModel::dataChanged, this, &TDravinOwners::showRecord);
    connect(mModel, &TableModel::failed, this,
            [this](const QString& message) { mPrompter.error(message.toStdString()); });

    auto* navigator = new QFrame(Panel2);
    navigator->setObjectName("DBNavigator1");
    auto* buttons = new QHBoxLayout(navigator);
    buttons->setContentsMargins(10, 0, 0, 0);
    buttons->setSpacing(0);
    struct Button {
        const char* name;
        const char* glyph;
        const char* hint;
        std::function<void(TDravinOwners&)> act;
    };
    const Button kButtons[] = {
        {"nbFirst", "|◀", "πρώτη εγγραφή", [](TDravinOwners& d) { d.mOwners.first(); }},
        {"nbPrior", "◀", "προηγούμενη εγγραφή", [](TDravinOwners& d) { d.mOwners.prior(); }},
        {"nbNext", "▶", "επόμενη εγγραφή", [](TDravinOwners& d) { d.mOwners.next(); }},
        {"nbLast", "▶|", "τελευταία εγγραφή", [](TDravinOwners& d) { d.mOwners.last(); }},
        {"nbInsert", "+", "παραμβολή εγγραφής", [](TDravinOwners& d) { d.mOwners.insert(); }},
        {"nbDelete", "−", "διαγραφή εγγραφής",
         [](TDravinOwners& d) {
             if (!d.mOwners.isEmpty() &&
                 d.mPrompter.confirm("Διαγραφή εγγραφής;", false) == Prompter::Answer::Yes) {
                 d.mOwners.remove();
             }
         }},
        {"nbEdit", "▲", "αλλαγή εγγραφής", [](TDravinOwners& d) { d.mOwners.edit(); }},
        {"nbPost", "✓", "καταχώρηση αλλαγών", [](TDravinOwners& d) { d.mOwners.post(); }},
        {"nbCancel", "✗", "ακύρωση αλλαγών", [](TDravinOwners& d) { d.mOwners.cancel(); }},
    };
    for (const Button& b : kButtons) {
        auto* button = new QToolButton(navigator);
        button->setObjectName(b.name);
        button->setText(QString::fromUtf8(b.glyph));
        button->setToolTip(b.hint);
        buttons->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, act = b.act] {
            run([this, &act] { act(*this); });
            mLink->follow();
        });
    }
    static_cast<QHBoxLayout*>(Panel2->layout())->insertWidget(0, navigator);

    FormShow();
    mLink->follow();
    showRecord();
}

int TDravinOwners::nameColumnWidth(int w) noexcept {
    return shareOfWidth(w, 75) - 1;
}

int TDravinOwners::idColumnWidth(int w) noexcept {
    return shareOfWidth(w, 25) - 2;
}

void TDravinOwners::applyColumnWidths(int w) {
    DBGrid1->setColumnWidth(0, std::max(0, nameColumnWidth(w)));
    DBGrid1->setColumnWidth(1, std::max(0, idColumnWidth(w)));
}

void TDravinOwners::FormShow() {
    setWindowTitle("Ονόματα Ιδιοκτητών");
    for (size_t i = 0; i < kEdits.size(); ++i) {
        findChild<QLabel*>(QString("Label%1").arg(i + 1))->setText(kEdits[i].label);
    }
}

void TDravinOwners::FormResize() {
    applyColumnWidths(DBGrid1->viewport()->width());
}

void TDravinOwners::HelpBtnClick() {
    HelpSystem::ShowHelpTopic("InData_02");
}

void TDravinOwners::showRecord() {
    if (mWriting || mInCommand) {
        return;
    }
    mShowing = true;
    const bool any =
        mOwners.isOpen() && (!mOwners.isEmpty() || mOwners.state() == TableState::Insert);
    for (size_t i = 0; i < kEdits.size(); ++i) {
        QString text;
        if (any) {
            const Field f = mOwners.field(kEdits[i].field);
            text = QString::fromStdString(formatValue(f.value(), f.def()->displayFormat));
        }
        if (edits[i]->text() != text) {
            edits[i]->setText(text);
        }
    }
    mShowing = false;
}

void TDravinOwners::fieldEdited(int i, const QString& text) {
    if (mShowing) {
        return;
    }
    // Typing starts editing the current owner (or the first one of an empty list).
    mWriting = true;
    const bool ok = run([this, i, &text] {
        mOwners.edit();
        Field f = mOwners.field(kEdits[static_cast<size_t>(i)].field);
        if (text.isEmpty()) {
            f.clear();
        } else if (f.def()->type == FieldType::Integer) {
            f.setInteger(text.toInt());
        } else {
            f.setString(text.toStdString());
        }
    });
    mWriting = false;
    if (!ok) {
        showRecord();
    }
}

bool TDravinOwners::run(const std::function<void()>& command) {
    const bool outer = !mInCommand;
    mInCommand = true;
    struct Reset {
        bool& flag;
        bool outer;
        ~Reset() {
            if (outer) {
                flag = false;
            }
        }
    } reset{mInCommand, outer};
    try {
        command();
        return true;
    } catch (const AbortError&) {
        // Already told, or declined.
    } catch (const std::exception& e) {
        mPrompter.error(e.what());
    }
    return false;
}

}  // namespace dravin
