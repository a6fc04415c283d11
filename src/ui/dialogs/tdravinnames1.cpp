#include "ui/dialogs/tdravinnames1.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "data/errors.h"
#include "data/feedback.h"
#include "data/tdravindatat.h"
#include "ui/helpsystem.h"

namespace dravin {

namespace {

struct NameSpec {
    const char* field;
    const char* label;
};

// Name10 is edited nowhere.
constexpr std::array<NameSpec, 9> kNames = {{
    {"Name1", "Οικοδομή "},
    {"Name2", "Ιδιοκτησία"},
    {"Name3", "Οδός"},
    {"Name4", "Πόλη"},
    {"Name5", "Τεχνικό Γραφείο"},
    {"Name6", "Διεύθυνση"},
    {"Name7", "Πόλη"},
    {"Name8", "Τηλέφωνα"},
    {"Name9", "Ημερομηνία"},
}};

// First edit of each group: the building, the engineering office, the date.
constexpr std::array<size_t, 3> kGroupStarts = {0, 4, 8};

}  // namespace

TDravinNames1::TDravinNames1(TDravinDataT& data, Prompter& prompter, QWidget* owner)
    : GeneralDataDialog(data, prompter, owner) {
    setObjectName("TDravinNames1");
    resize(520, 360);
    mGenData.open();
    mGenData.edit();
    setWindowTitle("Ονομασίες");
    CloseBtn->setText("Επ/φή");
    HelpBtn->setText("Βοήθεια");

    auto* column = new QVBoxLayout(Panel1);
    QFormLayout* group = nullptr;
    for (size_t i = 0; i < kNames.size(); ++i) {
        if (std::find(kGroupStarts.begin(), kGroupStarts.end(), i) != kGroupStarts.end()) {
            group = new QFormLayout;
            column->addLayout(group);
            column->addSpacing(8);
        }
        auto* edit = new QLineEdit(Panel1);
        edit->setObjectName(QString("DBEdit%1").arg(i + 1));
        const Field f = mGenData.field(kNames[i].field);
        edit->setMaxLength(f.def()->size);
        edit->setText(QString::fromStdString(f.asString()));
        auto* label = new QLabel(kNames[i].label, Panel1);
        label->setObjectName(QString("Label%1").arg(i + 1));
        label->setBuddy(edit);
        group->addRow(label, edit);
        edits[i] = edit;
        if (i > 0) {
            setTabOrder(edits[i - 1], edit);
        }
    }
    column->addStretch(1);
}

TDravinNames1::~TDravinNames1() {
    saveOnRelease();  // released without having been closed
}

void TDravinNames1::HelpBtnClick() {
    HelpSystem::ShowHelpTopic("Properties_09");
}

void TDravinNames1::storeEdits() {
    for (size_t i = 0; i < kNames.size(); ++i) {
        Field f = mGenData.field(kNames[i].field);
        const std::string text = edits[i]->text().toStdString();
        if (text != f.asString()) {
            f.setString(text);
        }
    }
}

}  // namespace dravin
