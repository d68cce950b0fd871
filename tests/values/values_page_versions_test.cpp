// The pages on a host that offers change versions, here read from SQLite's
// data_version through a connection of their own, so that every commit (the
// module's and another program's) changes them: bringing pages to the front
// reads nothing while nothing changed, and a value stored by another program
// still shows the next time the Values page comes to the front.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTableView>

#include <sqlite3.h>

#include "data/HostExtensions.h"
#include "ui/PluginMainWindow.h"
#include "ui/controls/Grid.h"
#include "ui/values/ValuesPage.h"
#include "values/ValuesFixture.h"

namespace orv {
namespace {

namespace st = hostdb::starter;

class DataVersions final : public HostExtensions {
public:
    explicit DataVersions(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &stmt_, nullptr);
    }
    ~DataVersions() {
        sqlite3_finalize(stmt_);
        sqlite3_close_v2(db_);
    }
    uint64_t ChangeVersion(int32_t) override {
        uint64_t version = 0;
        if (sqlite3_step(stmt_) == SQLITE_ROW) version = static_cast<uint64_t>(sqlite3_column_int64(stmt_, 0)) + 1;
        sqlite3_reset(stmt_);
        return version;
    }
    int32_t BeginChange() override { return 0; }
    int32_t EndChange(int32_t) override { return 0; }
    int32_t IsReadOnly() override { return 0; }
    int32_t DatabasePath(char*, int32_t) override { return 0; }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

class ValuesPageVersionsTest : public test::ValuesFixture {
protected:
    void SetUp() override {
        ValuesFixture::SetUp();
        versions_ = std::make_unique<DataVersions>(db().path());
        SetCurrentHostExtensions(versions_.get());
    }
    void TearDown() override {
        ValuesFixture::TearDown();
        SetCurrentHostExtensions(nullptr);
    }

    ValuesPage& Page() { return *static_cast<ValuesPage*>(OpenMainWindow().PageAt(Tab::Values)); }
    QString TopNotes() { return Page().grid()->cell(0, QString::fromLatin1(ValuesPage::kNotesColumn)); }
    int32_t Noon(int day) { return Seconds(Date(2008, 8, day, 12, 0, 0)); }

    std::unique_ptr<DataVersions> versions_;
};

TEST_F(ValuesPageVersionsTest, PagesReadNothingUntilAnotherProgramStoresAValue) {
    SeedValue(st::kInsulinGroup, st::kRapidInsulin, 4, Noon(1), "first");
    ValuesPage& page = Page();
    PluginMainWindow& window = OpenMainWindow();
    ASSERT_EQ(page.grid()->rowCount(), 1);
    const uint64_t loaded = cache().Generation();
    QSignalSpy refills(page.grid()->view()->model(), &QAbstractItemModel::modelReset);

    for (const Tab tab : {Tab::Charts, Tab::Tables, Tab::Groups, Tab::Values}) window.SelectTab(tab);
    EXPECT_EQ(cache().Generation(), loaded) << "no loader read its table";
    EXPECT_EQ(refills.count(), 0) << "the grid kept its rows";
    EXPECT_EQ(page.grid()->currentRow(), 0);

    // Another program stores a value.
    std::string error;
    auto other = hostdb::SqliteHostDatabase::Open(db().path(), &error);
    ASSERT_TRUE(other) << error;
    FieldMap fields{{"ID", "900"},
                    {"INDEX", "900"},
                    {"NAME", "elsewhere"},
                    {"CREATORID", "0"},
                    {"MATTERID", IntText(st::kInsulinGroup)},
                    {"ITEMID", IntText(st::kRapidInsulin)},
                    {"VALUE", "1.0"},
                    {"ITEMINDEX", "1"},
                    {"PCATEGORYID", "0"},
                    {"SECONDS", IntText(Noon(2))}};
    ASSERT_EQ(other->Values()->Add(&fields), 0);

    window.SelectTab(Tab::Charts);
    window.SelectTab(Tab::Values);
    EXPECT_EQ(page.grid()->rowCount(), 2);
    EXPECT_EQ(TopNotes(), "elsewhere");
}

}  // namespace
}  // namespace orv
