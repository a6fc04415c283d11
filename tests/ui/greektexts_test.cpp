// Qt's own dialogs, buttons and menus speak Greek once a run is set up, and the program's
// message boxes carry its name.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTreeView>
#include <functional>
#include <memory>

#include "ui/qtprompter.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

// Texts that read the same in Greek: none has a Latin word.
bool needsNoGreek(const QString& text) {
    static const QRegularExpression latinWord("[A-Za-z]{2,}");
    QString bare = text;
    bare.remove('&');
    return bare == "OK" || !latinWord.match(bare).hasMatch();
}

bool hasGreek(const QString& text) {
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Greek) {
            return true;
        }
    }
    return false;
}

// What a window says on its title, labels, buttons, group boxes and tooltips, hidden
// parts included; lists of names (files, fonts, printers) are left out.
QStringList captions(const QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        texts << w->toolTip();
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            texts << l->text();
        } else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            texts << b->text();
        } else if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
            texts << g->title();
        }
    }
    return texts;
}

QStringList menuTexts(QMenu& menu) {
    QStringList texts;
    for (const QAction* a : menu.actions()) {
        texts << a->text();
        if (a->menu()) {
            texts << a->menu()->title();
        }
    }
    return texts;
}

QStringList comboItems(const QComboBox& combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i) {
        texts << combo.itemText(i);
    }
    return texts;
}

// The texts left in English, one line each.
std::string englishAmong(const QStringList& texts) {
    QStringList english;
    for (const QString& t : texts) {
        if (!needsNoGreek(t) && !hasGreek(t)) {
            english << t;
        }
    }
    return english.join('\n').toStdString();
}

QString bare(QString text) {
    return text.remove('&');
}

// A program directory whose run has been set up; nothing else stands between the tests
// and Qt's texts.
class GreekTextsTest : public ProgramFixture {
protected:
    void SetUp() override { start(standalone()); }
};

TEST_F(GreekTextsTest, FileDialogsSayEverythingInGreek) {
    for (const auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        QFileDialog dialog(nullptr, "Ανοιγμα", qs(mStudiesDir),
                           "Αρχεία Κατανομής Χιλιοστών (*.DVT)");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(mode);
        dialog.show();
        const QStringList texts = captions(dialog);
        EXPECT_EQ(englishAmong(texts), "") << "mode " << mode;
        EXPECT_TRUE(texts.contains(mode == QFileDialog::AcceptOpen ? "Ά&νοιγμα" : "Απο&θήκευση"));
        EXPECT_TRUE(texts.contains("Άκυρο"));
        EXPECT_TRUE(texts.contains("Αναζήτηση σε:"));

        auto* list = dialog.findChild<QTreeView*>();
        ASSERT_NE(list, nullptr);
        QStringList columns;
        for (int c = 0; c < list->header()->count(); ++c) {
            columns << list->model()->headerData(c, Qt::Horizontal).toString();
        }
        EXPECT_EQ(columns.join(" | ").toStdString(),
                  "Όνομα | Μέγεθος | Τύπος | Ημερομηνία τροποποίησης");
        dialog.close();
    }
}

TEST_F(GreekTextsTest, FontDialogSaysEverythingInGreek) {
    QFontDialog dialog(QFont("Liberation Sans", 10));
    dialog.show();
    QStringList texts = captions(dialog);
    for (const QComboBox* combo : dialog.findChildren<QComboBox*>()) {
        texts << comboItems(*combo);  // the writing systems
    }
    EXPECT_EQ(englishAmong(texts), "");
    EXPECT_TRUE(texts.contains("Επιλογή γραμματοσειράς"));
    EXPECT_TRUE(texts.contains("&Γραμματοσειρά"));
    dialog.close();
}

TEST_F(GreekTextsTest, PrintDialogSaysEverythingInGreek) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer);
    dialog.show();
    const QStringList texts = captions(dialog);
    EXPECT_EQ(englishAmong(texts), "");
    EXPECT_TRUE(texts.contains("Εκτύπωση"));
    dialog.close();
}

TEST_F(GreekTextsTest, EditMenusAreGreek) {
    QLineEdit line("κείμενο");
    std::unique_ptr<QMenu> lineMenu(line.createStandardContextMenu());
    QTextEdit text("κείμενο");
    std::unique_ptr<QMenu> textMenu(text.createStandardContextMenu());
    for (QMenu* menu : {lineMenu.get(), textMenu.get()}) {
        const QStringList texts = menuTexts(*menu);
        EXPECT_EQ(englishAmong(texts), "");
        QStringList shown;
        for (const QString& t : texts) {
            shown << bare(t).section('\t', 0, 0);
        }
        for (const char* item :
             {"Αναίρεση", "Αποκοπή", "Αντιγραφή", "Επικόλληση", "Επιλογή όλων"}) {
            EXPECT_TRUE(shown.contains(item)) << item;
        }
    }
}

// ------------------------------------------------------------------ message boxes

struct BoxCase {
    const char* name;
    std::function<void(QtPrompter&)> ask;
    QStringList buttons;  // without their accelerator marks
};

class PrompterBoxTest : public GreekTextsTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(PrompterBoxTest, TitledWithTheProgramsNameAndGreekButtons) {
    QString title;
    QStringList buttons;
    whenShown("QMessageBox", [&](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        title = box->windowTitle();
        for (QAbstractButton* b : box->buttons()) {
            buttons << bare(b->text());
        }
        box->reject();
        return true;
    });
    QtPrompter prompter;
    GetParam().ask(prompter);

    EXPECT_EQ(title, "Πίνακας Χιλιοστών");
    buttons.sort();
    QStringList expected = GetParam().buttons;
    expected.sort();
    EXPECT_EQ(buttons, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PrompterBoxTest,
    ::testing::Values(
        BoxCase{"Inform", [](QtPrompter& p) { p.inform("Μήνυμα"); }, {"OK"}},
        BoxCase{"Error", [](QtPrompter& p) { p.error("Σφάλμα"); }, {"OK"}},
        BoxCase{"YesNo", [](QtPrompter& p) { p.confirm("Ερώτηση;", false); }, {"Ναι", "Όχι"}},
        BoxCase{"YesNoCancel",
                [](QtPrompter& p) { p.confirm("Ερώτηση;", true); },
                {"Ναι", "Όχι", "Άκυρο"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dravin::test
