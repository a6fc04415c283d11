#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

#include "data/studyfiles.h"
#include "ui/tformtopclosehelplove.h"

class QAction;
class QMenu;
class QMenuBar;
class QTabWidget;
class QTableView;
class QToolButton;

namespace dravin {

class TDravinDataT;
class TableModel;
class RoutingPrompter;
class TInfoForm;
class FileChooser;
class BerokImport;
class CursorLink;

// The window in which a whole run takes place: five tabbed grids over the study's
// spaces, the navigator, the compute and repeat-floor buttons, and the menu from which
// every other command is reached. Owns the data module for the run.
class TDravinMain : public TFormTopCloseHelpLove {
    Q_OBJECT
public:
    explicit TDravinMain(QWidget* owner = nullptr);
    ~TDravinMain() override;

    // The run's state, filled by the entry point.
    QString DataDir;
    QString IniFileName;
    QString StudiesDir;
    QString StudyName;
    float LineSpacing = 8.0f;
    bool UseLineSpacing = false;
    bool AutoCompute = true;
    // The current space record, kept while a table is printed or previewed.
    std::int64_t ReportBookmark = 0;

    TDravinDataT& data() noexcept { return *mData; }
    BerokImport& berok() noexcept { return *mBerok; }
    // Every message and question of the window and its rules goes through this.
    RoutingPrompter& prompter() noexcept { return *mPrompter; }
    void setFileChooser(std::shared_ptr<FileChooser> chooser);

    // Menu items and controls by their component names.
    QAction* action(const QString& name) const;
    QTableView* grid(int number) const;  // DBGrid1 … DBGrid5
    QTabWidget* PageControl1;
    QToolButton* BitBtn7;
    QToolButton* BitBtn8;

    // The caption "Πίνακας Χιλιοστών [dir\name]".
    void updateCaption();
    void WriteStudyMarker();
    // Sets the menu to the standalone or embedded state.
    void setEmbeddedMenus(bool embedded);
    // Runs a command on what the grids show: an open cell editor is committed and a
    // pending edit posted first. An error is shown in the standard error box and the
    // window stays.
    bool runCommand(const std::function<void()>& command);

    // Column widths of every grid for an inner grid width w.
    void applyColumnWidths(int w);

public slots:
    void BitBtn7Click();
    void BitBtn8Click();
    void N14Click();
    void N31Click();
    void N34Click();
    void N18Click();
    void N20Click();
    void OpenFileClick(QAction* sender);
    void SaveAsFileClick();
    void DeleteFilesClick();
    void DataFromBerok97Click();
    void ExitofProgramClick();
    void bookdocClick();
    void bookPDFClick();
    // The table commands: each serves the print (MP…) and preview (ME…) items of one
    // layout and tells the variant from the item.
    void Print01Click(QAction* sender);
    void Print02Click(QAction* sender);
    void Print03Click(QAction* sender);
    void Print04Click(QAction* sender);
    // Keep the grids still while a table runs and return to the current record after.
    void BeginReport();
    void EndReport();

protected:
    void CloseBtnClick() override;
    void HelpBtnClick() override;
    void FormResize() override;
    void FormShow() override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    template <typename Dialog>
    void showParameters(bool studyTable);
    template <typename Dialog>
    void showDialog();
    void buildTopBar();
    void buildGrids();
    void buildMenu();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                     std::function<void()> handler = {});
    void tableCommand(QAction* sender, std::initializer_list<std::pair<const char*, int>> codes);
    // Runs a navigator button: an open cell editor is committed first (dropped for cancel).
    void navigate(const std::function<void()>& move, bool keepsEditorText = true);
    // Runs an operation and shows what it throws.
    bool run(const std::function<void()>& operation);
    std::optional<QString> chooseStudy(bool save, const QString& title, bool mustExist);
    StudyLocation chosenStudy(const QString& file) const;
    void standOn(const StudyLocation& where);
    void openChosenStudy(const QString& file);

    std::unique_ptr<TDravinDataT> mData;
    std::unique_ptr<BerokImport> mBerok;
    std::unique_ptr<RoutingPrompter> mPrompter;
    TInfoForm* mWait;
    std::shared_ptr<FileChooser> mFiles;
    QMenuBar* mMenuBar;
    std::array<QTableView*, 5> mGrids{};
    std::array<TableModel*, 5> mModels{};
    CursorLink* mLink;
};

}  // namespace dravin
