#include "reports/engine/reportrenderer.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QProcess>
#include <QRegularExpression>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "data/errors.h"
#include "reports/engine/fieldcontrol.h"
#include "reports/engine/pagenumbercontrol.h"
#include "reports/engine/paginator.h"
#include "reports/engine/reportdefinition.h"
#include "reports/engine/textcontrol.h"
#include "reporttestsupport.h"
#include "support/tempdir.h"

namespace dravin {
namespace {

using test::MemoryDataSource;
using test::onlyText;
using test::pdfPageSizes;
using test::runTool;

class ReportRendererTest : public ::testing::Test {
protected:
    ReportRendererTest() {
        mReport.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
        mReport.page() = PageSetup::a4(QPageLayout::Landscape);
        mReport.setPageFrame(true);
        auto& title = mReport.addBand(BandKind::PageHeader, 20)
                          .add<TextControl>("Title", "ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ");
        title.setGeometry(138.5, 9.5, 0, 5);
        title.setAutoSize(true);
        title.setAlignment(Alignment::Center);
        title.font().pointSize = 12;
        mReport.addBand(BandKind::ColumnHeader, 10)
            .add<TextControl>("Heading", "ΙΔΙΟΚΤΗΤΗΣ")
            .setGeometry(2, 2, 60, 5);
        auto& detail = mReport.addBand(BandKind::Detail, 8);
        detail.add<FieldControl>("Name", "Name").setGeometry(2, 0, 60, 8);
        detail.setEdgeRules({.bottom = true});
        mReport.addBand(BandKind::PageFooter, 5)
            .add<PageNumberControl>("Page", "Σελ-")
            .setGeometry(239.2, -0.5, 20, 4);
        std::vector<QStringList> rows;
        for (int i = 1; i <= 25; ++i) {
            rows.push_back({QStringLiteral("Χώρος %1 Παπαδόπουλος").arg(i)});
        }
        mReport.setDataSource(std::make_shared<MemoryDataSource>(QStringList{"Name"}, rows));
    }

    ReportRenderer render() { return ReportRenderer(Paginator(mReport).paginate()); }
    QString pdfPath() const { return QString::fromStdString((mDir / "report.pdf").string()); }

    ReportDefinition mReport;
    test::TempDir mDir;
};

TEST_F(ReportRendererTest, PdfHoldsEveryPageWithItsGreekTextExtractable) {
    const ReportRenderer renderer = render();
    ASSERT_EQ(renderer.pageCount(), 2);
    renderer.writePdf(pdfPath(), QStringLiteral("Πίνακας"));

    const QStringList pages = runTool("pdftotext", {"-enc", "UTF-8", pdfPath(), "-"}).split(u'\f');
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ")) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains("Χώρος 1 Παπαδόπουλος"));
    EXPECT_TRUE(pages[0].contains("Σελ-1"));
    EXPECT_FALSE(pages[0].contains("Χώρος 25"));
    EXPECT_TRUE(pages[1].contains("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ"));
    EXPECT_TRUE(pages[1].contains("Χώρος 25 Παπαδόπουλος"));
    EXPECT_TRUE(pages[1].contains("Σελ-2"));
    // Real glyphs of an embedded font, not pictures of text.
    const QString fonts = runTool("pdffonts", {pdfPath()});
    EXPECT_TRUE(fonts.contains("LiberationSans")) << fonts.toStdString();
}

struct PaperCase {
    const char* label;
    PageSetup page;
    QSizeF points;
};

std::ostream& operator<<(std::ostream& os, const PaperCase& c) {
    return os << c.label;
}

class PdfPaperTest : public ReportRendererTest, public ::testing::WithParamInterface<PaperCase> {};

TEST_P(PdfPaperTest, EveryPageHasThePaperSize) {
    mReport.page() = GetParam().page;
    const ReportRenderer renderer = render();
    renderer.writePdf(pdfPath());
    const std::vector<QSizeF> sizes = pdfPageSizes(pdfPath());
    ASSERT_EQ(sizes.size(), static_cast<size_t>(renderer.pageCount()));
    for (const QSizeF& size : sizes) {
        // Qt writes the paper in whole points.
        EXPECT_NEAR(size.width(), GetParam().points.width(), 0.5);
        EXPECT_NEAR(size.height(), GetParam().points.height(), 0.5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Papers, PdfPaperTest,
    ::testing::Values(
        PaperCase{"A4Landscape", PageSetup::a4(QPageLayout::Landscape), {841.89, 595.28}},
        PaperCase{"A3Portrait", PageSetup::a3(QPageLayout::Portrait), {841.89, 1190.55}},
        PaperCase{"A3Landscape", PageSetup::a3(QPageLayout::Landscape), {1190.55, 841.89}},
        PaperCase{"Custom420x594",
                  PageSetup::custom(420, 594, QPageLayout::Portrait),
                  {1190.55, 1683.78}}),
    [](const auto& info) { return std::string(info.param.label); });

bool inked(const QImage& image, const QRectF& mm, double dotsPerMm) {
    const QRect area = QRectF(mm.topLeft() * dotsPerMm, mm.size() * dotsPerMm).toAlignedRect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(ReportRendererTest, PageImagesShowTheModelsPages) {
    const ReportRenderer renderer = render();
    const std::vector<QImage> images = renderer.pageImages(100);
    ASSERT_EQ(images.size(), 2u);
    const double dotsPerMm = 100 / 25.4;
    for (const QImage& image : images) {
        EXPECT_EQ(image.size(), QSize(1169, 827));                       // 297 × 210 mm at 100 dpi
        EXPECT_TRUE(inked(image, QRectF(9.8, 100, 0.4, 1), dotsPerMm));  // the frame
        EXPECT_FALSE(inked(image, QRectF(2, 100, 6, 10), dotsPerMm));    // the margin
    }
    const QRectF title = onlyText(renderer.model().pages[1], "Title").box;
    EXPECT_TRUE(inked(images[1], title, dotsPerMm));
    EXPECT_FALSE(inked(images[1], title.translated(0, 30), dotsPerMm));
}

TEST_F(ReportRendererTest, RefusesWhatItCannotDo) {
    const ReportRenderer renderer = render();
    EXPECT_THROW(renderer.writePdf(QString::fromStdString((mDir / "no/such/dir/r.pdf").string())),
                 IoError);
    EXPECT_THROW(renderer.pageImage(2, 100), RangeError);
    EXPECT_THROW(renderer.pageImage(-1, 100), RangeError);
    EXPECT_THROW(renderer.pageImage(0, 0), RangeError);
    EXPECT_THROW(renderer.pageImage(0, 5000), RangeError);
}

}  // namespace
}  // namespace dravin
