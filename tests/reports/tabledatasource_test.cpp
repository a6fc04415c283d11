#include "reports/engine/tabledatasource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/errors.h"
#include "data/table.h"
#include "data/tabledefinitions.h"
#include "reports/engine/fieldcontrol.h"
#include "reports/engine/paginator.h"
#include "reports/engine/reportdefinition.h"
#include "reporttestsupport.h"
#include "support/tempdir.h"

namespace dravin {
namespace {

class TableDataSourceTest : public ::testing::Test {
protected:
    TableDataSourceTest() {
        mOwners = makeTable("OwnersT", ownersTableDef(), "TestOwner_DRAVIN");
        mSpaces = makeTable("DravinT", dravinTableDef(), "TestDravin_DRAVIN");
        mSpaces->setLookupSource("NameOwner", mOwners.get());
        mOwners->append();
        mOwners->field("Name").setString("Παπαδόπουλος");
        mOwners->field("ID").setInteger(1);
        mOwners->post();
        addSpace(1, 2, Value::real(12.345), 1);
        addSpace(0, 1, Value(), 9);  // no such owner; sorts first
    }

    std::unique_ptr<Table> makeTable(const std::string& component, TableDef def,
                                     const std::string& name) {
        auto table = std::make_unique<Table>(component, std::move(def));
        table->setDirectory(mDir.path());
        table->setTableName(name);
        table->createTable();
        table->open();
        return table;
    }
    void addSpace(int floor, int number, const Value& area, int owner) {
        mSpaces->insert();
        mSpaces->field("IDfloor").setInteger(floor);
        mSpaces->field("IDXoros").setInteger(10);
        mSpaces->field("NumberXoros").setInteger(number);
        mSpaces->field("AreaClear").setValue(area);
        mSpaces->field("DravinOikopedo").setFloat(1.5);
        mSpaces->field("IDowner").setInteger(owner);
        mSpaces->post();
    }

    test::TempDir mDir;
    std::unique_ptr<Table> mOwners;
    std::unique_ptr<Table> mSpaces;
};

TEST_F(TableDataSourceTest, RowsAreTheRecordsInKeyOrderAsTheirDisplayText) {
    const TableDataSource source(*mSpaces);
    ASSERT_EQ(source.rowCount(), 2);
    EXPECT_EQ(source.text(0, "NumberXoros", std::nullopt), "1");
    EXPECT_EQ(source.text(1, "NumberXoros", std::nullopt), "2");
    EXPECT_EQ(source.text(1, "AreaClear", std::nullopt), "12.35");
    EXPECT_EQ(source.text(1, "areaclear", std::nullopt), "12.35");
    EXPECT_EQ(source.text(1, "AreaClear", QStringLiteral("#0.0")), "12.3");
    EXPECT_EQ(source.text(1, "DravinOikopedo", std::nullopt), "1.50  ");
    EXPECT_EQ(source.text(0, "AreaClear", std::nullopt), "");  // blank prints nothing
    EXPECT_EQ(source.text(1, "NameOwner", std::nullopt), "Παπαδόπουλος");
    EXPECT_EQ(source.text(0, "NameOwner", std::nullopt), "");
    EXPECT_EQ(source.text(2, "AreaClear", std::nullopt), "");
}

TEST_F(TableDataSourceTest, AFieldTheTableLacksIsAnEngineError) {
    const TableDataSource source(*mSpaces);
    try {
        source.text(0, "NoSuchField", std::nullopt);
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("NoSuchField"), std::string::npos) << e.what();
    }
}

TEST_F(TableDataSourceTest, AReportPrintsTheTable) {
    ReportDefinition report;
    report.setDataSource(std::make_shared<TableDataSource>(*mSpaces));
    auto& detail = report.addBand(BandKind::Detail, 8);
    detail.add<FieldControl>("Owner", "NameOwner").setGeometry(0, 0, 40, 8);
    detail.add<FieldControl>("Area", "AreaClear").setGeometry(40, 0, 20, 8);

    const PageModel model = Paginator(report).paginate();
    ASSERT_EQ(model.pages.size(), 1u);
    const auto owners = test::textsOf(model.pages[0], "Owner");
    const auto areas = test::textsOf(model.pages[0], "Area");
    ASSERT_EQ(owners.size(), 1u);
    EXPECT_EQ(owners[0]->text(), "Παπαδόπουλος");
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0]->text(), "12.35");
    EXPECT_EQ(areas[0]->box.top(), 18);  // the second row, under the first
}

}  // namespace
}  // namespace dravin
