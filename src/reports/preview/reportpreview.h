#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QScrollArea;
class QSpinBox;

namespace dravin {

class ReportRenderer;
class TDravinReport00;

// The modal preview of a table: pages one at a time, zoomed to the page width at
// first; paging, zoom, printing through the print dialog and saving as PDF or PNG.
// Printing generates the table again, so its numbering starts again at 1.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    explicit ReportPreview(TDravinReport00& layout, QWidget* parent = nullptr);
    ~ReportPreview() override;

    int pageCount() const noexcept;
    int currentPage() const noexcept { return mPage; }  // from 0
    void showPage(int index);
    // Dots per inch of the page shown; zero zooms to the page width.
    void setZoom(double dotsPerInch);
    double zoom() const noexcept { return mDotsPerInch; }

public slots:
    void printClick();
    void savePdfClick();
    void savePngClick();

    // The width of the page as shown, in pixels.
    int shownPageWidth() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double shownDotsPerInch() const;
    void refresh();
    void fitIntoScreen();

    TDravinReport00& mLayout;
    std::unique_ptr<ReportRenderer> mRenderer;
    QScrollArea* mScroll;
    QLabel* mPageView;
    QSpinBox* mPageBox;
    QLabel* mPageTotal;
    int mPage = 0;
    double mDotsPerInch = 0;
};

}  // namespace dravin
