// Studies at the limits of what the tables hold, printed in every variant: each text
// stays whole, inside its cell and the frame, clear of every other text and rule, and
// every note line and every space is printed exactly once.

#include <gtest/gtest.h>

#include <QMap>
#include <QRegularExpression>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "reports/engine/textmeasurer.h"
#include "reports/layouts/tdravinreport00.h"
#include "reporttestsupport.h"
#include "support/studyfixture.h"

namespace dravin {
namespace {

constexpr int kFloorTotal = 990;
// Lines and boxes that meet at an edge do not overlap; positions are designed to a
// tenth of a millimetre.
constexpr double kTouch = 0.06;

// A text of exactly n characters, words of Greek capitals and blanks.
std::string greekText(int n, const std::string& word = "ΟΙΚΟΔΟΜΙΚΟΣ ") {
    std::u32string out;
    const std::u32string w = QString::fromStdString(word).toStdU32String();
    while (static_cast<int>(out.size()) < n) {
        out += w;
    }
    out.resize(n);
    if (out.back() == U' ') {
        out.back() = U'Α';
    }
    return QString::fromStdU32String(out).toStdString();
}

std::string noteLine(int n) {
    return "Σημείωση " + std::to_string(n) + ": οι επιφάνειες μετρήθηκαν επί τόπου";
}

struct ExtremeCase {
    int code;
    const char* family;
    double points;
    int noteLines;
};
std::ostream& operator<<(std::ostream& os, const ExtremeCase& c) {
    return os << "code " << c.code << ", " << c.family << " " << c.points << " pt, " << c.noteLines
              << " note lines";
}

class ExtremeStudyTest : public test::StudyFixture,
                         public ::testing::WithParamInterface<ExtremeCase> {
protected:
    ExtremeStudyTest() {
        mData.OpenStudy(mStudiesDir, "X");
        Table& g = mData.GenDataT;
        g.first();
        g.edit();
        for (int i = 1; i <= 9; ++i) {
            g.field("Name" + std::to_string(i)).setString(greekText(80));
        }
        std::string notes;
        for (int n = 1; n <= GetParam().noteLines; ++n) {
            notes += noteLine(n) + "\r\n";
        }
        g.field("Notes1").setString(notes);
        g.post();

        for (Table* t : {&mData.FloorT, &mData.XorosT}) {
            for (t->first(); !t->eof(); t->next()) {
                t->edit();
                if (t == &mData.FloorT) {
                    t->field("Name1").setString(greekText(16, "ΥΠΟΓΕΙΟΟΡΟΦΟΣ "));
                    t->field("Name2").setString("ΥΠΟ");
                } else {
                    t->field("Name").setString(greekText(30, "ΚΑΤΑΣΤΗΜΑ ΓΩΝΙΑΚΟ "));
                }
                t->post();
            }
        }
        // Names of 40 letters with no blank or hyphen to break at.
        addOwner(greekText(40, "ΠΑΠΑΧΡΙΣΤΟΔΟΥΛΟΠΟΥΛΟΥ"), 1);
        addOwner(greekText(40, "ΚΩΝΣΤΑΝΤΙΝΟΠΟΥΛΟΥ-ΑΛΕΞΑΝΔΡΟΠΟΥΛΟΥ "), 2);

        // Every number as wide as its display format lets a real study have it.
        for (int floor : {0, 1}) {
            for (int n = 1; n <= kSpacesPerFloor; ++n) {
                addWideSpace(floor, 10, n, 1 + n % 2, 999.99);
            }
            addWideSpace(floor, kFloorTotal, 0, 0, 999.99);
        }
        addWideSpace(110, 991, 0, 0, 1000.0);
    }

    void addWideSpace(int floor, int kind, int number, int owner, double perMille) {
        Table& d = mData.DravinT;
        d.append();
        d.field("IDfloor").setInteger(floor);
        d.field("IDXoros").setInteger(kind);
        d.field("NumberXoros").setInteger(number);
        d.field("Name2Floor").setString("ΥΠΟ");
        d.field("NumberofRooms").setInteger(99);
        for (const char* f : {"AreaClear", "AreaMikto", "AreaKoin", "PartofOikopedo"}) {
            d.field(f).setFloat(9999.99);
        }
        for (const char* f : {"VolumeClear", "VolumeMikto", "VolumeKoin"}) {
            d.field(f).setFloat(99999.99);
        }
        for (const char* f : {"DravinOikopedo", "PosostoDapanes1", "PosostoDapanes2"}) {
            d.field(f).setFloat(perMille);
        }
        d.field("Height").setFloat(99.99);
        for (const char* f :
             {"FCoef1", "FCoef2", "FCoef3", "XCoef1", "XCoef2", "XCoef3", "XCoef4", "XCoef5"}) {
            d.field(f).setFloat(99.99);
        }
        d.field("XCoef7").setFloat(99.99);
        if (owner > 0) {
            d.field("IDowner").setInteger(owner);
        }
        d.post();
    }

    static constexpr int kSpacesPerFloor = 6;
};

// The part of a text line that prints: its box less the leading of its font.
QRectF ink(const TextItem& item, const TextLine& line) {
    static const TextMeasurer measurer;
    QRectF r = line.rect;
    r.setHeight(measurer.textHeight(item.font));
    return r.adjusted(kTouch, kTouch, -kTouch, -kTouch);
}

bool within(const QRectF& inner, const QRectF& outer) {
    return inner.left() >= outer.left() - kTouch && inner.right() <= outer.right() + kTouch &&
           inner.top() >= outer.top() - kTouch && inner.bottom() <= outer.bottom() + kTouch;
}

bool crosses(const QLineF& rule, const QRectF& r) {
    if (rule.y1() == rule.y2()) {
        const double y = rule.y1();
        return y > r.top() && y < r.bottom() && std::max(rule.x1(), rule.x2()) > r.left() &&
               std::min(rule.x1(), rule.x2()) < r.right();
    }
    const double x = rule.x1();
    return x > r.left() && x < r.right() && std::max(rule.y1(), rule.y2()) > r.top() &&
           std::min(rule.y1(), rule.y2()) < r.bottom();
}

struct Line {
    const TextItem* item;
    const TextLine* line;
};

TEST_P(ExtremeStudyTest, EveryTextWholeInsideItsCellAndTheFrameOnEveryPage) {
    const ExtremeCase& c = GetParam();
    ReportOptions options;
    options.printFont = QFont(QString::fromUtf8(c.family));
    options.printFont.setPointSizeF(c.points);
    auto layout = TDravinReport00::create(mData, c.code, options);
    const PageModel model = layout->generate();
    const QRectF frame = layout->report().page().printableRect();

    QMap<QString, int> notes;
    QMap<QString, int> serials;
    for (const ReportPage& page : model.pages) {
        std::vector<Line> lines;
        for (const TextItem& item : page.texts) {
            for (const TextLine& line : item.lines) {
                if (!line.text.trimmed().isEmpty()) {
                    lines.push_back({&item, &line});
                }
            }
        }
        for (const Line& l : lines) {
            const QString where = QStringLiteral("page %1, %2 \"%3\"")
                                      .arg(page.number)
                                      .arg(l.item->control, l.line->text);
            // Inside its cell (or its own box), the frame and its band, and never cut.
            EXPECT_TRUE(within(ink(*l.item, *l.line), l.item->box)) << where.toStdString();
            EXPECT_TRUE(within(ink(*l.item, *l.line), frame)) << where.toStdString();
            if (l.item->clip) {
                EXPECT_TRUE(within(ink(*l.item, *l.line), *l.item->clip)) << where.toStdString();
            }
            // The page number is designed to stand half a millimetre above its band.
            bool inBand = l.item->control == "PageNumber";
            for (const PlacedBand& band : page.bands) {
                inBand = inBand || within(ink(*l.item, *l.line), band.rect);
            }
            EXPECT_TRUE(inBand) << where.toStdString();
            for (const LineItem& rule : page.lines) {
                EXPECT_FALSE(crosses(rule.line, ink(*l.item, *l.line)))
                    << where.toStdString() << " crossed by a rule at (" << rule.line.x1() << ", "
                    << rule.line.y1() << ")–(" << rule.line.x2() << ", " << rule.line.y2() << ")";
            }
            if (l.item->control == "Notes") {
                static const QRegularExpression marker(QStringLiteral("Σημείωση \\d+:"));
                for (auto m = marker.globalMatch(l.line->text); m.hasNext();) {
                    ++notes[m.next().captured()];
                }
            }
            if (l.item->control == "Serial") {
                ++serials[l.line->text.trimmed()];
            }
        }
        for (size_t i = 0; i < lines.size(); ++i) {
            for (size_t j = i + 1; j < lines.size(); ++j) {
                EXPECT_FALSE(ink(*lines[i].item, *lines[i].line)
                                 .intersects(ink(*lines[j].item, *lines[j].line)))
                    << "page " << page.number << ": " << lines[i].item->control.toStdString()
                    << " \"" << lines[i].line->text.toStdString() << "\" and "
                    << lines[j].item->control.toStdString() << " \""
                    << lines[j].line->text.toStdString() << "\"";
            }
        }
    }
    ASSERT_EQ(notes.size(), c.noteLines);
    for (auto it = notes.cbegin(); it != notes.cend(); ++it) {
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
    }
    ASSERT_EQ(serials.size(), 2 * kSpacesPerFloor);
    for (auto it = serials.cbegin(); it != serials.cend(); ++it) {
        EXPECT_EQ(it.value(), 1) << "space " << it.key().toStdString();
    }
}

// Every variant code once; fonts, sizes and note lengths rotate over them, so that each
// layout meets the small and the large sizes and both lengths of notes.
INSTANTIATE_TEST_SUITE_P(
    AllCodes, ExtremeStudyTest,
    ::testing::Values(
        ExtremeCase{0, "Liberation Sans", 6, 50}, ExtremeCase{1, "Courier New", 10, 150},
        ExtremeCase{2, "DejaVu Sans", 14, 50}, ExtremeCase{3, "Liberation Sans", 20, 150},
        ExtremeCase{4, "Courier New", 6, 50}, ExtremeCase{5, "DejaVu Sans", 10, 150},
        ExtremeCase{6, "Liberation Sans", 14, 150}, ExtremeCase{7, "Courier New", 20, 50},
        ExtremeCase{8, "DejaVu Sans", 6, 150}, ExtremeCase{9, "Liberation Sans", 10, 50},
        ExtremeCase{10, "Courier New", 14, 150}, ExtremeCase{11, "DejaVu Sans", 20, 50},
        ExtremeCase{12, "Courier New", 14, 50}, ExtremeCase{13, "DejaVu Sans", 20, 150}));

}  // namespace
}  // namespace dravin
