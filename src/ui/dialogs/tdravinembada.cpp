#include "ui/dialogs/tdravinembada.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "data/displayformat.h"
#include "data/errors.h"
#include "data/feedback.h"
#include "data/tdravindatat.h"
#include "ui/helpsystem.h"

namespace dravin {

namespace {

struct NumberSpec {
    const char* field;
    const char* label;
};

constexpr std::array<NumberSpec, 3> kNumbers = {{
    {"AreaOikopedo", "Ολικό Εμβαδόν Οικοπέδου τ.μ"},
    {"DravinTotal", "Σύνολο Χιλιοστών κτιρίου ο/οο"},
    {"Dravinmelontika", "Χιλιοστά Μελλοντικών ο/οο"},
}};

constexpr const char* kPicture = "####0.000";

QString shown(const Field& f) {
    return QString::fromStdString(formatValue(f.value(), kPicture));
}

}  // namespace

TDravinEmbada::TDravinEmbada(TDravinDataT& data, Prompter& prompter, QWidget* owner)
    : GeneralDataDialog(data, prompter, owner), Note(new QLabel(Panel1)) {
    setObjectName("TDravinEmbada");
    resize(430, 240);
    mGenData.open();
    mGenData.edit();
    setWindowTitle("Οικόπεδο-Μελλοντικά");
    CloseBtn->setText("Επ/φή");
    HelpBtn->setText("Βοήθεια");

    auto* column = new QVBoxLayout(Panel1);
    auto* form = new QFormLayout;
    column->addLayout(form);
    for (size_t i = 0; i < kNumbers.size(); ++i) {
        auto* edit = new QLineEdit(Panel1);
        edit->setObjectName(QString("DBEdit%1").arg(i + 1));
        edit->setAlignment(Qt::AlignRight);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression("-?\\d{0,9}([.,]\\d{0,6})?"), edit));
        edit->setText(shown(mGenData.field(kNumbers[i].field)));
        auto* label = new QLabel(kNumbers[i].label, Panel1);
        label->setObjectName(QString("Label%1").arg(i + 1));
        label->setBuddy(edit);
        form->addRow(label, edit);
        edits[i] = edit;
    }
    // Plot area, future per-mille, then the building's total.
    setTabOrder(edits[0], edits[2]);
    setTabOrder(edits[2], edits[1]);
    Note->setObjectName("Label4");
    Note->setWordWrap(true);
    Note->setText(
        "(προσοχή τα χιλιοστά μελλοντικών που καθορίζετε θα χρησιμοποιηθούν στα Μελλοντικά. "
        "Σε αυτή την περίπτωση ότι καθορίζετε σαν εμβαδόν Μελλοντικών δεν θα "
        "χρησιμοποιηθεί.");
    column->addWidget(Note);
    column->addStretch(1);
}

TDravinEmbada::~TDravinEmbada() {
    saveOnRelease();  // released without having been closed
}

void TDravinEmbada::HelpBtnClick() {
    HelpSystem::ShowHelpTopic("InData_03");
}

void TDravinEmbada::storeEdits() {
    for (size_t i = 0; i < kNumbers.size(); ++i) {
        Field f = mGenData.field(kNumbers[i].field);
        QString text = edits[i]->text().trimmed();
        // An untouched value keeps its stored precision.
        if (text == shown(f)) {
            continue;
        }
        if (text.isEmpty()) {
            f.clear();
            continue;
        }
        bool ok = false;
        const double v = text.replace(',', '.').toDouble(&ok);
        if (!ok) {
            throw RangeError("Το «" + edits[i]->text().toStdString() +
                             "» δεν είναι έγκυρος αριθμός.");
        }
        f.setFloat(v);
    }
}

}  // namespace dravin
