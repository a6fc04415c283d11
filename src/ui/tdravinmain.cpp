#include "ui/tdravinmain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

#include "compute/computation.h"
#include "compute/entryrules.h"
#include "data/errors.h"
#include "data/paradox/paradoxconversion.h"
#include "data/studyfiles.h"
#include "data/tdravindatat.h"
#include "entry/studychoice.h"
#include "import/berokimport.h"
#include "reports/layouts/tdravinreport00.h"
#include "reports/preview/reportpreview.h"
#include "reports/preview/reportprinting.h"
#include "ui/dialogs/printsetup.h"
#include "ui/dialogs/tdravinembada.h"
#include "ui/dialogs/tdravineqfloors.h"
#include "ui/dialogs/tdravinmemo.h"
#include "ui/dialogs/tdravinnames1.h"
#include "ui/dialogs/tdravinowners.h"
#include "ui/dialogs/tdravinparam1.h"
#include "ui/dialogs/tdravinparam2.h"
#include "ui/filechooser.h"
#include "ui/helpsystem.h"
#include "ui/modelview/columnwidth.h"
#include "ui/modelview/cursorlink.h"
#include "ui/modelview/gridlook.h"
#include "ui/modelview/lookupdelegate.h"
#include "ui/modelview/resizewatch.h"
#include "ui/modelview/tablemodel.h"
#include "ui/printsettings.h"
#include "ui/qtprompter.h"
#include "ui/tdravinabout.h"
#include "ui/tinfoform.h"

namespace dravin {
namespace {

using Look = ColumnSpec::Look;

// The five tabs: caption, grid name and columns (field, title, share of the width, look).
struct TabSpec {
    const char* caption;
    const char* grid;
    std::vector<ColumnSpec> columns;
};

ColumnSpec floorColumn(double f) {
    return {"Name1Floor", "Οροφος", f, false, Look::Normal, false, true};
}
ColumnSpec kindColumn(double f) {
    return {"NameXoros", "Χώρος", f, false, Look::Normal, false, true};
}
ColumnSpec ownerColumn(double f) {
    return {"NameOwner", "Ιδιοκτήτης", f, false, Look::Normal, false, true};
}
ColumnSpec plain(const char* field, const char* title, double f, bool titleLeft = false) {
    return {field, title, f, false, Look::Normal, true, titleLeft};
}
ColumnSpec coefficient(const char* field, const char* title, double f, bool readOnly = true) {
    return {field, title, f, readOnly, Look::Coefficient, true, false};
}
ColumnSpec result(const char* field, const char* title, double f, bool titleLeft = false) {
    return {field, title, f, false, Look::Result, true, titleLeft};
}

std::vector<TabSpec> tabs() {
    return {
        {"Ονομασίες-Εμβαδά",
         "DBGrid1",
         {floorColumn(0.15), plain("Name2Floor", "Οροφ", 0.05, true),
          plain("NumberXoros", "Αρ. Χωρ.", 0.06, true), kindColumn(0.19),
          plain("NumberofRooms", "Αρ. Δωμ. ", 0.07), plain("AreaClear", "Καθ. Εμβαδό m2", 0.12),
          plain("Height", "Υψος m", 0.07), plain("VolumeClear", "Καθ. Ογκος m3", 0.11, true),
          ownerColumn(0.16)}},
        {"Επιφάνειες m2",
         "DBGrid3",
         {floorColumn(0.15), plain("Name2Floor", "*", 0.03), plain("NumberXoros", "*", 0.03),
          kindColumn(0.15), plain("AreaClear", "Καθ. Εμβ. m2", 0.11),
          coefficient("FCoef2", "Σ. Κοιν-1", 0.08), coefficient("XCoef3", "Σ. Κοιν-2", 0.08),
          result("AreaKoin", "Αναλογ. Κ.Χ", 0.11), result("AreaMikto", "Μικτό Εμβ m2", 0.11),
          ownerColumn(0.13)}},
        {"Ογκοι m3",
         "DBGrid2",
         {floorColumn(0.14), plain("Name2Floor", "*", 0.03), plain("NumberXoros", "*", 0.03),
          kindColumn(0.15), plain("AreaClear", "Καθ. Εμβ. m2", 0.10),
          result("AreaKoin", "Αναλογ. Κ.Χ. ", 0.10), result("AreaMikto", "Μικτό Εμβ. m2", 0.11),
          plain("VolumeClear", "Καθ. Ογκ. m3", 0.11), result("VolumeKoin", "Αναλογ. Κ.Χ", 0.10),
          result("VolumeMikto", "Μικτός Ογκ. m3", 0.11)}},
        {"Χιλιοστά ο/οο",
         "DBGrid4",
         {floorColumn(0.14), plain("Name2Floor", "*", 0.03), plain("NumberXoros", "*", 0.03),
          kindColumn(0.15), coefficient("AreaMikto", "Μικτό Εμβ. m2ς", 0.11),
          coefficient("FCoef1", "Σ.Α.Αξ-1", 0.07), coefficient("XCoef1", "Σ.Α.Αξ-2", 0.07),
          coefficient("XCoef2", "Σ.Α.Αξ-3", 0.07), plain("XCoef7", "Σ.Α.Αξ-4", 0.07),
          result("DravinOikopedo", "ο/οο Οικοπ.", 0.12),
          result("PartofOikopedo", "Ε Οικοπ m2", 0.12)}},
        {"Κοινόχρηστα-Ανελκυστήρας",
         "DBGrid5",
         {floorColumn(0.14),
          plain("Name2Floor", "*", 0.03),
          plain("NumberXoros", "*", 0.03),
          kindColumn(0.15),
          {"AreaClear", "Καθ. Εμβ. m2", 0.11, true},
          coefficient("AreaMikto", "Μικτό Εμβ. m2", 0.10),
          coefficient("XCoef4", "Σ. Κοιν-3", 0.08),
          coefficient("FCoef3", "Σ.Ασανσ-1", 0.08),
          coefficient("XCoef5", "Σ.Ασανσ-2", 0.08, false),
          result("PosostoDapanes1", "ο/οο Κοιν.", 0.09),
          result("PosostoDapanes2", "ο/οο Ανελκ.", 0.09, true)}},
    };
}

}  // namespace

TDravinMain::TDravinMain(QWidget* owner)
    : TFormTopCloseHelpLove(owner),
      PageControl1(new QTabWidget(Panel1)),
      BitBtn7(new QToolButton(Panel2)),
      BitBtn8(new QToolButton(Panel2)),
      mData(std::make_unique<TDravinDataT>()),
      mBerok(std::make_unique<BerokImport>(*mData)),
      mPrompter(std::make_unique<RoutingPrompter>(this)),
      mWait(new TInfoForm(this)),
      mFiles(std::make_shared<DialogFileChooser>()),
      mMenuBar(new QMenuBar(this)),
      mLink(new CursorLink(
          mData->DravinT, [this](const std::function<void()>& op) { return run(op); }, this)) {
    setObjectName("TDravinMain");
    mData->setProgress(mWait);
    installEntryRules(*mData, *mPrompter);
    PrintSettings::instance().fontPointSize = 8;
    resize(747, 518 + 57);
    buildTopBar();
    buildGrids();
    buildMenu();
    CloseBtn->setText("Εξοδος");
    HelpBtn->setText("Βοήθεια");
    LoveBtn->hide();  // lies under the help button in the design: never reachable
    // The run's own window: a full title bar, sizeable, with minimise and maximise.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
}

TDravinMain::~TDravinMain() {
    // The grids let go of the tables before the data module closes them.
    for (auto*& g : mGrids) {
        if (g) {
            g->setModel(nullptr);
        }
    }
    for (auto* m : mModels) {
        delete m;
    }
    mBerok.reset();
    mData.reset();
}

void TDravinMain::setFileChooser(std::shared_ptr<FileChooser> chooser) {
    mFiles = chooser ? std::move(chooser) : std::make_shared<DialogFileChooser>();
}

QAction* TDravinMain::action(const QString& name) const {
    return findChild<QAction*>(name);
}

QTableView* TDravinMain::grid(int number) const {
    return findChild<QTableView*>(QString("DBGrid%1").arg(number));
}

// ------------------------------------------------------------------ construction

void TDravinMain::buildTopBar() {
    auto* navigator = new QFrame(Panel2);
    navigator->setObjectName("DBNavigator1");
    navigator->setGeometry(10, 14, 189, 25);
    auto* row = new QHBoxLayout(navigator);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    struct Button {
        const char* name;
        const char* glyph;
        const char* hint;
        std::function<void(Table&)> act;
    };
    const Button buttons[] = {
        {"nbFirst", "|◀", "πρώτη εγγραφή", [](Table& t) { t.first(); }},
        {"nbPrior", "◀", "προηγούμενη εγγραφή", [](Table& t) { t.prior(); }},
        {"nbNext", "▶", "επόμενη εγγραφή", [](Table& t) { t.next(); }},
        {"nbLast", "▶|", "τελευταία εγγραφή", [](Table& t) { t.last(); }},
        {"nbInsert", "+", "παραμβολή εγγραφής", [](Table& t) { t.insert(); }},
        {"nbDelete", "−", "διαγραφή εγγραφής", [](Table& t) { t.remove(); }},
        {"nbEdit", "▲", "αλλαγή εγγραφής", [](Table& t) { t.edit(); }},
        {"nbPost", "✓", "καταχώρηση αλλαγών", [](Table& t) { t.post(); }},
        {"nbCancel", "✗", "ακύρωση αλλαγών", [](Table& t) { t.cancel(); }},
    };
    for (const Button& b : buttons) {
        auto* button = new QToolButton(navigator);
        button->setObjectName(b.name);
        button->setText(QString::fromUtf8(b.glyph));
        button->setToolTip(b.hint);
        row->addWidget(button);
        auto act = b.act;
        const bool keepsText = std::string_view(b.name) != "nbCancel";
        connect(button, &QToolButton::clicked, this, [this, act, keepsText] {
            navigate([this, act] { act(mData->DravinT); }, keepsText);
        });
    }
    BitBtn7->setObjectName("BitBtn7");
    BitBtn7->setText("Υπολ/σμοί");
    BitBtn7->setToolTip("υπολογισμοί χιλιοστών");
    BitBtn7->setGeometry(244, 5, 101, 43);
    connect(BitBtn7, &QToolButton::clicked, this, &TDravinMain::BitBtn7Click);
    BitBtn8->setObjectName("BitBtn8");
    BitBtn8->setText("⇊");
    BitBtn8->setToolTip("επανάληψη ορόφου");
    BitBtn8->setGeometry(358, 5, 51, 43);
    connect(BitBtn8, &QToolButton::clicked, this, &TDravinMain::BitBtn8Click);
}

void TDravinMain::buildGrids() {
    PageControl1->setObjectName("PageControl1");
    auto* layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1, 1);
    this->layout()->setMenuBar(mMenuBar);  // above the button bar, as a window's menu
    Table& spaces = mData->DravinT;
    size_t i = 0;
    for (TabSpec& tab : tabs()) {
        auto* view = new QTableView;
        view->setObjectName(tab.grid);
        auto* model = new TableModel(spaces, std::move(tab.columns));
        view->setModel(model);
        view->setSelectionBehavior(QAbstractItemView::SelectItems);
        applyGridLook(view);
        view->verticalHeader()->setVisible(false);
        view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed |
                              QAbstractItemView::SelectedClicked);
        // A delegate serves one view: its editors' signals reach every view it serves.
        auto* floors = new LookupDelegate(mData->FloorT, "IDFloor", "Name1", 14, view);
        auto* kinds = new LookupDelegate(mData->XorosT, "IDXoros", "Name", 19, view);
        auto* owners = new LookupDelegate(mData->OwnersT, "ID", "Name", 8, view);
        for (int c = 0; c < model->columnCount(); ++c) {
            const std::string field = model->column(c).field;
            if (field == "Name1Floor") {
                view->setItemDelegateForColumn(c, floors);
            } else if (field == "NameXoros") {
                view->setItemDelegateForColumn(c, kinds);
            } else if (field == "NameOwner") {
                view->setItemDelegateForColumn(c, owners);
            }
        }
        connect(model, &TableModel::failed, this,
                [this](const QString& message) { mPrompter->error(message.toStdString()); });
        mLink->addGrid(view, model);
        if (i == 0) {
            // All grids share one size; the first one's client width sets every column.
            watchWidth(view->viewport(), [this](int w) { applyColumnWidths(w); });
        }
        PageControl1->addTab(view, tab.caption);
        mGrids[i] = view;
        mModels[i] = model;
        ++i;
    }
    PageControl1->setCurrentIndex(0);
}

QAction* TDravinMain::addItem(QMenu* menu, const char* name, const QString& caption,
                              std::function<void()> handler) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (handler) {
        connect(a, &QAction::triggered, this, [this, handler] { runCommand(handler); });
    }
    return a;
}

void TDravinMain::buildMenu() {
    auto sub = [this](const char* name, const QString& caption) {
        QMenu* m = mMenuBar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    QMenu* files = sub("N1", "Αρχεία");
    QAction* open = addItem(files, "OpenFile", "Ανοιγμα");
    connect(open, &QAction::triggered, this, [this, open] { OpenFileClick(open); });
    QAction* create = addItem(files, "NewFile", "Δημιουργία");
    connect(create, &QAction::triggered, this, [this, create] { OpenFileClick(create); });
    addItem(files, "SaveAsFile", "Αποθήκευση Ως", [this] { SaveAsFileClick(); });
    files->addSeparator()->setObjectName("N24");
    addItem(files, "DeleteFiles", "Διαγραφή Αρχείων", [this] { DeleteFilesClick(); });
    files->addSeparator()->setObjectName("N30");
    addItem(files, "ExitofProgram", "Εξοδος", [this] { ExitofProgramClick(); });

    QMenu* import = sub("N8", "Εισαγωγή");
    addItem(import, "DataFromBerok97", "Εισαγωγή δεδομένων από winΒΕΡΟΚ",
            [this] { DataFromBerok97Click(); });

    QMenu* settings = sub("N2", "Ρυθμίσεις ");
    addItem(settings, "N6", "Παράμετροι ανά όροφο",
            [this] { showParameters<TDravinParam1>(false); });
    addItem(settings, "N7", "Παράμετροι με είδος χώρου",
            [this] { showParameters<TDravinParam2>(false); });

    QMenu* building = sub("N3", "Οικοδομή");
    addItem(building, "N17", "Λίστα Ιδιοκτητών", [this] { showDialog<TDravinOwners>(); });
    building->addSeparator()->setObjectName("N16");
    addItem(building, "N9", "Ονομασίες", [this] { showDialog<TDravinNames1>(); });
    addItem(building, "N10", "Εμβαδόν Οικοπέδου", [this] { showDialog<TDravinEmbada>(); });
    addItem(building, "N11", "Χιλιοστά Μελλοντικών", [this] { showDialog<TDravinEmbada>(); });
    addItem(building, "N21", "Σημειώσεις", [this] { showDialog<TDravinMemo>(); });
    building->addSeparator()->setObjectName("N15");
    addItem(building, "N12", "Παράμετροι ανά όροφο",
            [this] { showParameters<TDravinParam1>(true); });
    addItem(building, "N13", "Παράμετροι με είδος χώρου",
            [this] { showParameters<TDravinParam2>(true); });
    addItem(building, "N14", "Αρχικοποίηση παραμέτρων", [this] { N14Click(); });

    QMenu* compute = sub("N32", "Υπολογισμοί");
    addItem(compute, "N33", "Υπολογισμοί Χιλιοστών-Ποσοστών ", [this] { BitBtn7Click(); });
    QAction* n34 = addItem(compute, "N34", "Απενεργοποίηση Αυτόματου Υπολογισμού");
    n34->setCheckable(true);
    connect(n34, &QAction::triggered, this, [this] { N34Click(); });

    struct PrintItem {
        const char* number;
        const char* caption;
    };
    const PrintItem printItems[] = {
        {"01", "Σύντομη εκτύπωση Α4 οριζόντιο (A4 landscape)"},
        {"02", "Σύντομη (+) εκτύπωση Α4 οριζόντιο (A4 landscape)"},
        {"03", "Σύντομη εκτύπωση Α3 κατακόρυφο  (A3 portrait)"},
        {"04", "Σύντομη (+) εκτύπωση Α3 κατακόρυφο  (A3 portrait)"},
        {nullptr, "N26"},
        {"11", "Ανεπτυγμένη εκτύπωση A3 οριζόντιο (A3 landscape)"},
        {"12", "Ανεπτυγμένη (+) εκτύπωση A3 οριζόντιο (A3 landscape)"},
        {"13", "Ανεπτυγμένη εκτύπωση A2 κατακόρυφο (A2 portrait)"},
        {"14", "Ανεπτυγμένη (+) εκτύπωση A2 κατακόρυφο (A2 portrait)"},
        {nullptr, "N29"},
        {"20", "Πλήρης  εκτύπωση A4 οριζόντιο (A4 landscape)"},
        {"30", "Πλήρης (+) εκτύπωση A4 οριζόντιο (A4 landscape)"},
        {"21", "Πλήρης  εκτύπωση A3 οριζόντιο (A3 landscape)"},
        {"22", "Πλήρης (+) εκτύπωση A3 οριζόντιο (A3 landscape)"},
        {"23", "Πλήρης εκτύπωση A2 κατακόρυφο (A2 portrait)"},
        {"24", "Πλήρης (+) εκτύπωση A2 κατακόρυφο (A2 portrait)"},
        {nullptr, "N27"},
    };
    for (const bool preview : {false, true}) {
        QMenu* m = preview ? sub("N22", "Προεπισκόπηση ") : sub("N4", "Εκτυπώσεις");
        int separators = 0;
        for (const PrintItem& p : printItems) {
            if (!p.number) {
                // The preview submenu's separators carry no names of their own.
                m->addSeparator()->setObjectName(preview ? QString("Nsep%1").arg(++separators)
                                                         : QString(p.caption));
                continue;
            }
            const QString name = QString(preview ? "ME" : "MP") + p.number;
            QAction* item = addItem(m, name.toLatin1().constData(), p.caption);
            const QString number = p.number;
            void (TDravinMain::*handler)(QAction*) = &TDravinMain::Print04Click;
            if (number < "10") {
                handler = &TDravinMain::Print01Click;
            } else if (number < "20") {
                handler = &TDravinMain::Print02Click;
            } else if (number != "20" && number != "30") {
                handler = &TDravinMain::Print03Click;
            }
            connect(item, &QAction::triggered, this,
                    [this, item, handler] { (this->*handler)(item); });
        }
        addItem(m, preview ? "Ne25" : "N25", "Γραμματοσειρά εκτύπωσης",
                [this] { choosePrintFont(this, PrintSettings::instance()); });
        addItem(m, preview ? "Ne31" : "N31", "Εκτυπωτής", [this] { N31Click(); });
        addItem(m, preview ? "N28" : "N23", "Απόσταση γραμμών σε χιλιοστά",
                [this] { chooseLineSpacing(this, prompter(), UseLineSpacing, LineSpacing); });
    }

    QMenu* help = sub("N5", "Βοήθεια");
    addItem(help, "N18", "Βοήθεια", [this] { N18Click(); });
    help->addSeparator()->setObjectName("N19");
    QMenu* book = help->addMenu("Βιβλίο προγράμματος");
    book->setObjectName("Book");
    book->menuAction()->setObjectName("Book");
    addItem(book, "bookdoc", "DOC (Word)", [this] { bookdocClick(); });
    addItem(book, "bookPDF", "PDF (Acrobat)", [this] { bookPDFClick(); });
    help->addSeparator()->setObjectName("N35");
    addItem(help, "N20", "Για το πρόγραμμα", [this] { N20Click(); });
}

// ------------------------------------------------------------------ behaviour

bool TDravinMain::run(const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const AbortError&) {
        // The user was told already, or declined.
    } catch (const std::exception& e) {
        mPrompter->error(e.what());
    }
    return false;
}

bool TDravinMain::runCommand(const std::function<void()>& command) {
    mLink->commitEditors();
    const bool done = run([&] {
        mData->DravinT.checkBrowseMode();
        command();
    });
    mLink->follow();
    return done;
}

void TDravinMain::navigate(const std::function<void()>& move, bool keepsEditorText) {
    if (keepsEditorText) {
        mLink->commitEditors();
    } else {
        mLink->revertEditors();
    }
    run(move);
    mLink->follow();
}

void TDravinMain::applyColumnWidths(int w) {
    for (size_t g = 0; g < mGrids.size(); ++g) {
        if (!mGrids[g]) {
            continue;
        }
        const auto& columns = mModels[g]->columns();
        for (size_t c = 0; c < columns.size(); ++c) {
            // The last column of the fifth grid is one pixel narrower than the rule.
            const int margin = g == 4 && c + 1 == columns.size() ? 2 : 1;
            const int width = shareOfWidth(w, columns[c].share) - margin;
            mGrids[g]->setColumnWidth(static_cast<int>(c), std::max(0, width));
        }
    }
}

void TDravinMain::FormResize() {
    // The grids are laid out after the window: their own resize sets the widths again.
    applyColumnWidths(mGrids[0]->viewport()->width());
}

void TDravinMain::FormShow() {
    updateCaption();
    CloseBtn->setText("Εξοδος");
    FormResize();
}

void TDravinMain::closeEvent(QCloseEvent* event) {
    // A pending edit is posted as leaving the grid would; if it cannot be, the window
    // stays open for the user to correct it.
    if (!runCommand([] {})) {
        event->ignore();
        return;
    }
    TFormTopCloseHelpLove::closeEvent(event);
}

void TDravinMain::keyPressEvent(QKeyEvent* event) {
    // Escape belongs to the grids' editors; it never ends the run.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    TFormTopCloseHelpLove::keyPressEvent(event);
}

void TDravinMain::CloseBtnClick() {
    close();  // through closeEvent, as the menu's Εξοδος
}

void TDravinMain::updateCaption() {
    setWindowTitle("Πίνακας Χιλιοστών [" + StudiesDir + "\\" + StudyName + "]");
}

void TDravinMain::WriteStudyMarker() {
    writeStudyMarker(StudiesDir.toStdString(), StudyName.toStdString());
}

void TDravinMain::setEmbeddedMenus(bool embedded) {
    for (const char* name : {"OpenFile", "NewFile", "SaveAsFile", "DeleteFiles"}) {
        action(name)->setEnabled(!embedded);
    }
    action("DataFromBerok97")->setEnabled(embedded);
}

void TDravinMain::HelpBtnClick() {
    HelpSystem::ShowHelpTopic("InData_09");
}

void TDravinMain::N18Click() {
    HelpSystem::ShowHelpTopic("Contents");
}

void TDravinMain::BitBtn7Click() {
    runCommand([this] {
        // Just below the toolbar, which lies under the menu bar.
        const QPoint origin = mapToGlobal(QPoint(0, 0));
        const QPoint toolbar = Panel2->mapToGlobal(QPoint(0, 0));
        mWait->setPlace(QPoint(origin.x() + width() / 3, toolbar.y() + Panel2->height()));
        ComputeAll(*mData, *mWait);
    });
}

void TDravinMain::Print01Click(QAction* sender) {
    tableCommand(sender, {{"01", 0}, {"02", 1}, {"03", 2}, {"04", 3}});
}

void TDravinMain::Print02Click(QAction* sender) {
    tableCommand(sender, {{"11", 4}, {"12", 5}, {"13", 6}, {"14", 7}});
}

void TDravinMain::Print03Click(QAction* sender) {
    tableCommand(sender, {{"21", 8}, {"22", 9}, {"23", 10}, {"24", 11}});
}

void TDravinMain::Print04Click(QAction* sender) {
    tableCommand(sender, {{"20", 12}, {"30", 13}});
}

void TDravinMain::tableCommand(QAction* sender,
                               std::initializer_list<std::pair<const char*, int>> codes) {
    const QString name = sender ? sender->objectName() : QString();
    int code = -1;
    for (const auto& [number, c] : codes) {
        if (name.mid(2) == QLatin1String(number)) {
            code = c;
        }
    }
    const bool print = name.startsWith("MP");
    if (code < 0 || (!print && !name.startsWith("ME"))) {
        return;
    }
    runCommand([&] {
        if (print) {
            requirePrinter(PrintSettings::instance().printerName);  // before anything changes
        }
        if (AutoCompute && mData->DataChanged) {
            const QPoint origin = mapToGlobal(QPoint(0, 0));
            const QPoint toolbar = Panel2->mapToGlobal(QPoint(0, 0));
            mWait->setPlace(QPoint(origin.x() + width() / 3, toolbar.y() + Panel2->height()));
            ComputeAll(*mData, *mWait);
        }
        BeginReport();
        struct EndGuard {
            TDravinMain* window;
            ~EndGuard() { window->EndReport(); }
        } guard{this};
        const ReportOptions options =
            reportOptions(PrintSettings::instance(), UseLineSpacing, LineSpacing);
        const auto layout = TDravinReport00::create(*mData, code, options);
        if (print) {
            printReport(*layout, PrintSettings::instance().printerName);
        } else {
            ReportPreview preview(*layout, this);
            preview.exec();
        }
    });
}

void TDravinMain::BeginReport() {
    for (Table* t : {&mData->FloorT, &mData->XorosT, &mData->DravinT}) {
        t->disableControls();
    }
    ReportBookmark = mData->DravinT.bookmark();
}

void TDravinMain::EndReport() {
    if (mData->DravinT.bookmarkValid(ReportBookmark)) {
        mData->DravinT.gotoBookmark(ReportBookmark);
    }
    for (Table* t : {&mData->FloorT, &mData->XorosT, &mData->DravinT}) {
        t->enableControls();
    }
}

void TDravinMain::BitBtn8Click() {
    // Closing the dialog reopens the space table: a pending grid edit is posted first.
    runCommand([this] { showDialog<TDravinEqFloors>(); });
}

// The building dialogs edit the study's tables directly; the general-data record is
// posted however the dialog is closed.
template <typename Dialog>
void TDravinMain::showDialog() {
    Dialog dialog(*mData, prompter(), this);
    dialog.exec();
}

// The parameter dialogs: the master table of the data directory (false) or the
// study's own (true).
template <typename Dialog>
void TDravinMain::showParameters(bool studyTable) {
    Dialog dialog(this, *mData);
    dialog.SelectTable(studyTable);
    dialog.exec();
}

void TDravinMain::N31Click() {
    PrintSettings& settings = PrintSettings::instance();
    if (const auto printer = choosePrinter(this, settings.printerName, prompter())) {
        settings.printerName = *printer;
    }
}

void TDravinMain::N14Click() {
    mData->InitFloorParameters();
    mData->InitXorosParameters();
}

void TDravinMain::N34Click() {
    QAction* n34 = action("N34");
    AutoCompute = !n34->isChecked();
}

void TDravinMain::N20Click() {
    TDravinAbout about(this);
    about.exec();
}

std::optional<QString> TDravinMain::chooseStudy(bool save, const QString& title, bool mustExist) {
    FileChooser::Request r{save ? FileChooser::Kind::Save : FileChooser::Kind::Open,
                           save ? "SaveDialog1" : "OpenDialog1", title, StudiesDir, mustExist};
    return mFiles->choose(this, r);
}

// The chosen file's study, refused at once where the settings file could not keep it.
StudyLocation TDravinMain::chosenStudy(const QString& file) const {
    const StudyLocation where = studyFromMarkerFile(file.toStdString());
    requireStudyChoice(where.directory, where.name);
    return where;
}

// The window's fields follow only what succeeded, so caption and tables never disagree.
void TDravinMain::standOn(const StudyLocation& where) {
    StudiesDir = QString::fromStdString(where.directory.string());
    StudyName = QString::fromStdString(where.name);
    updateCaption();
}

// Makes the chosen file's study current: marker, then the tables.
void TDravinMain::openChosenStudy(const QString& file) {
    const StudyLocation where = chosenStudy(file);
    convertOlderStudyOnOpen(where.directory, where.name, *mPrompter, mData->progress());
    mData->OpenStudyWithMarker(where.directory, where.name);
    standOn(where);
}

void TDravinMain::OpenFileClick(QAction* sender) {
    runCommand([this, sender] {
        const bool open = sender == action("OpenFile");
        const auto file = chooseStudy(false, open ? "Ανοιγμα" : "Δημιουργία", open);
        if (file) {
            openChosenStudy(*file);
        }
    });
}

void TDravinMain::SaveAsFileClick() {
    if (mData->studyName().empty()) {
        throw IoError(kNoStudyToSaveMessage);
    }
    const auto file = chooseStudy(true, "Αποθήκευση ως", false);
    if (!file) {
        return;
    }
    const StudyLocation where = chosenStudy(*file);
    mData->SaveStudyAs(mData->studyDirectory(), mData->studyName(), where.directory, where.name);
    standOn(where);
}

void TDravinMain::DeleteFilesClick() {
    const auto file = chooseStudy(false, "Διαγραφή αρχείων", true);
    if (!file) {
        return;
    }
    const StudyLocation where = studyFromMarkerFile(file->toStdString());
    if (mData->isCurrentStudy(where.directory, where.name)) {
        mPrompter->inform(kStudyInUseMessage);
        return;
    }
    // Only a study whose marker could be removed loses its tables.
    if (!QFile::remove(
            QString::fromStdString(studyMarkerPath(where.directory, where.name).string()))) {
        return;
    }
    mData->DeleteStudy(where.directory, where.name);
}

void TDravinMain::DataFromBerok97Click() {
    mBerok->ImportBerokSpaces();
}

void TDravinMain::ExitofProgramClick() {
    close();
}

void TDravinMain::bookdocClick() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(
        QDir(QCoreApplication::applicationDirPath()).filePath("DOC/winDravinBook.doc")));
}

void TDravinMain::bookPDFClick() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(
        QDir(QCoreApplication::applicationDirPath()).filePath("DOC/winDravinBook.pdf")));
}

}  // namespace dravin
