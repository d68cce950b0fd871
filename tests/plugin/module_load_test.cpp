// Loads the built ORVUnits.upg with dlopen and drives it through its entry
// points exactly as orv-desktop does, on a real SQLite host database.

#include <gtest/gtest.h>

#include <QMenu>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

#include "host/PluginLoader.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv {
namespace {

class ModuleLoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QString error;
        library_ = host::PluginLibrary::Load(QStringLiteral(ORV_MODULE_PATH), &error).release();
        ASSERT_NE(library_, nullptr) << error.toStdString();
    }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(dir_.filePath("orv.sqlite").toStdString(), &error);
        ASSERT_TRUE(db_) << error;
        ASSERT_EQ(api().Init(db_.get(), nullptr, parent_.get(), 0, 0), 0);
    }
    void TearDown() override {
        if (library_) api().Close();
    }

    static const host::PluginEntryPoints& api() { return library_->api(); }

    // Deliberately never unloaded: see PluginLibrary's destructor.
    static host::PluginLibrary* library_;
    QTemporaryDir dir_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    std::unique_ptr<QWidget> parent_ = std::make_unique<QWidget>();
};

host::PluginLibrary* ModuleLoad::library_ = nullptr;

// Every entry point resolves by name, the optional one for the host's
// extensions included, and answers as the host expects through a lifecycle.
TEST_F(ModuleLoad, EntryPointsAsTheHostDrivesThem) {
    EXPECT_NE(api().SetHostExtensions, nullptr);
    char buffer[1024] = {};
    EXPECT_EQ(api().GetTitle(nullptr), 0);
    EXPECT_EQ(api().GetTitle(buffer), 1);
    EXPECT_STREQ(buffer, "ORV");
    ASSERT_NE(api().GetIcon(), nullptr);
    EXPECT_FALSE(api().GetIcon()->isNull());
    std::unique_ptr<QMenu> menu(api().GetPlugMenu());
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->actions().size(), 3);

    EXPECT_EQ(api().Save(), 0) << "Save before Run";
    EXPECT_EQ(api().Close(), 1) << "Close before Run";
    ASSERT_EQ(api().Run(), 0);
    QWidget* window = api().GetWnd();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), parent_.get());
    EXPECT_EQ(api().ChangeColorScheme(), 0);
    EXPECT_EQ(api().GetOnCommandID(0, 4711), 0);
    EXPECT_EQ(api().IsModified(), 0) << "nothing was changed";
    parent_.reset();  // the host destroys its window, and the module's with it
    EXPECT_EQ(api().GetWnd(), nullptr);
    EXPECT_EQ(api().Save(), 0);
    EXPECT_EQ(api().ChangeColorScheme(), 0);
    EXPECT_EQ(api().Close(), 1);
}

}  // namespace
}  // namespace orv
