#include "reports/preview/reportpreview.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <QLabel>
#include <QPushButton>

#include "data/errors.h"
#include "reports/layouts/tdravinreport00.h"
#include "reports/preview/reportprinting.h"
#include "support/studyfixture.h"

namespace dravin {
namespace {

class ReportPreviewTest : public test::StudyFixture {
protected:
    ReportPreviewTest() {
        mData.OpenStudy(mStudiesDir, "T");
        addOwner("Παπαδόπουλος Γεώργιος", 1);
        for (int n = 1; n <= 60; ++n) {
            addSpace(0, 10, n, 40, 1);
        }
        addSpace(110, 991, 0, 2400, 0);
        ReportOptions options;
        options.printFont = QFont(QStringLiteral("Liberation Sans"), 8);
        mLayout = TDravinReport00::create(mData, 1, options);
    }

    std::unique_ptr<TDravinReport00> mLayout;
};

TEST_F(ReportPreviewTest, OpensAtMostAtItsSizeOnTheFirstPageZoomedToThePageWidth) {
    ReportPreview preview(*mLayout);
    EXPECT_LE(preview.width(), 1100);
    EXPECT_LE(preview.height(), 1000);
    EXPECT_GT(preview.pageCount(), 1);
    EXPECT_EQ(preview.currentPage(), 0);
    EXPECT_EQ(preview.zoom(), 0);
    EXPECT_TRUE(preview.isModal());
    const auto* page = preview.findChild<QLabel*>("PageView");
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->pixmap().isNull());
}

TEST_F(ReportPreviewTest, PagesThroughWithinTheTable) {
    ReportPreview preview(*mLayout);
    preview.findChild<QAbstractButton*>("Last")->click();
    EXPECT_EQ(preview.currentPage(), preview.pageCount() - 1);
    preview.findChild<QAbstractButton*>("Next")->click();
    EXPECT_EQ(preview.currentPage(), preview.pageCount() - 1);
    preview.findChild<QAbstractButton*>("Prior")->click();
    EXPECT_EQ(preview.currentPage(), preview.pageCount() - 2);
    preview.findChild<QAbstractButton*>("First")->click();
    EXPECT_EQ(preview.currentPage(), 0);
    preview.showPage(-5);
    EXPECT_EQ(preview.currentPage(), 0);
}

TEST_F(ReportPreviewTest, ZoomStepsAndReturnsToThePageWidth) {
    ReportPreview preview(*mLayout);
    preview.findChild<QAbstractButton*>("ZoomIn")->click();
    const double zoomed = preview.zoom();
    EXPECT_GT(zoomed, 0);
    preview.findChild<QAbstractButton*>("ZoomIn")->click();
    EXPECT_GT(preview.zoom(), zoomed);
    preview.findChild<QAbstractButton*>("PageWidth")->click();
    EXPECT_EQ(preview.zoom(), 0);
}

TEST_F(ReportPreviewTest, PrintingOnAPrinterThatIsNotThereFailsAndPrintsNothing) {
    EXPECT_THROW(requirePrinter(QStringLiteral("no-such-printer-7f3a")), IoError);
    EXPECT_THROW(printReport(*mLayout, QStringLiteral("no-such-printer-7f3a")), IoError);
    EXPECT_EQ(mLayout->rowCounter(), 0);  // never generated
}

}  // namespace
}  // namespace dravin
