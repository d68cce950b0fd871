#include "support/ModuleFixture.h"

#include "data/FieldText.h"
#include "data/HostExtensions.h"
#include "data/ModifiedFlag.h"
#include "data/RecordChanges.h"

namespace orv::test {

void ModuleFixture::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    std::string error;
    // A short wait, so that tests of a database held by another program
    // see the refusal at once; the host's extensions as orv-desktop hands them over.
    hostdb::SqliteHostDatabase::OpenOptions options;
    options.busyTimeoutMs = 200;
    db_ = hostdb::SqliteHostDatabase::Open(dir_.filePath("orv.sqlite").toStdString(), options, &error);
    ASSERT_TRUE(db_) << error;
    SetCurrentHostExtensions(db_->Extensions());
    store_ = std::make_unique<QtKeyValueStore>(dir_.filePath("user.ini"), dir_.filePath("system.ini"));
    settings_ = std::make_unique<ViewSettings>(store_.get());
    host_ = std::make_unique<QWidget>();
    host_->resize(900, 640);
    ClearModifiedFlag();
}

void ModuleFixture::TearDown() {
    window_.reset();
    host_.reset();
    SetCurrentHostExtensions(nullptr);
}

PluginMainWindow& ModuleFixture::OpenMainWindow() {
    if (!window_) {
        window_ = std::make_unique<PluginMainWindow>(db_.get(), *settings_, cache_, &colors_);
        window_->Create(host_.get());
    }
    return *window_;
}

ViewSettings ModuleFixture::ReloadedSettings() {
    ViewSettings fresh(store_.get());
    fresh.Load(db_.get());
    return fresh;
}

RecordCache ModuleFixture::Stored() {
    RecordCache fresh;
    fresh.LoadAll(db_.get());
    return fresh;
}

int32_t ModuleFixture::Seconds(const HostDateTime& date) {
    int32_t seconds = 0;
    EXPECT_GE(db_->DateToSeconds(&seconds, &date), 0);
    return seconds;
}

int32_t ModuleFixture::SeedValue(int32_t group, int32_t item, double amount, int32_t seconds, const std::string& notes,
                                 int32_t itemIndex) {
    const FieldMap fields{{"NAME", notes},           {"CREATORID", "0"},           {"MATTERID", IntText(group)},
                          {"ITEMID", IntText(item)}, {"VALUE", RealText(amount)},  {"ITEMINDEX", IntText(itemIndex)},
                          {"PCATEGORYID", "0"},      {"SECONDS", IntText(seconds)}};
    int32_t id = 0;
    EXPECT_EQ(AddRecord(*db_, cache_, RecordKind::Value, fields, &id), kChangeOk);
    ClearModifiedFlag();
    return id;
}

void ModuleFixture::NameCategories(RecordKind kind, const std::vector<std::string>& names) {
    HostCategoryTable* table = db_->Categories(kind);
    ASSERT_NE(table, nullptr);
    for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) {
        HostNamed& named = table->Current()->Named();
        const auto slot = static_cast<std::size_t>(named.GetIndex());
        ASSERT_EQ(named.SetName(slot < names.size() ? names[slot].c_str() : ""), 0);
    }
}

int ModuleFixture::RowOf(const Grid& grid, const QString& column, const QString& text) {
    for (int row = 0; row < grid.rowCount(); ++row) {
        if (grid.cell(row, column) == text) return row;
    }
    return -1;
}

QStringList ModuleFixture::Column(const Grid& grid, const QString& column) {
    QStringList cells;
    for (int row = 0; row < grid.rowCount(); ++row) cells << grid.cell(row, column);
    return cells;
}

}  // namespace orv::test
