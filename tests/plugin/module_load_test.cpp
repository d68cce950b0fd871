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
        ASSERT_EQ(Api().Init(db_.get(), nullptr, parent_.get(), 0, 0), 0);
    }
    void TearDown() override {
        if (library_) Api().Close();
    }

    static const host::PluginEntryPoints& Api() { return library_->Api(); }

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
    EXPECT_NE(Api().SetHostExtensions, nullptr);
    char buffer[1024] = {};
    EXPECT_EQ(Api().GetTitle(nullptr), 0);
    EXPECT_EQ(Api().GetTitle(buffer), 1);
    EXPECT_STREQ(buffer, "ORV");
    ASSERT_NE(Api().GetIcon(), nullptr);
    EXPECT_FALSE(Api().GetIcon()->isNull());
    std::unique_ptr<QMenu> menu(Api().GetPlugMenu());
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->actions().size(), 3);

    EXPECT_EQ(Api().Save(), 0) << "Save before Run";
    EXPECT_EQ(Api().Close(), 1) << "Close before Run";
    ASSERT_EQ(Api().Run(), 0);
    QWidget* window = Api().GetWnd();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), parent_.get());
    EXPECT_EQ(Api().ChangeColorScheme(), 0);
    EXPECT_EQ(Api().GetOnCommandID(0, 4711), 0);
    EXPECT_EQ(Api().IsModified(), 0) << "nothing was changed";
    parent_.reset();  // the host destroys its window, and the module's with it
    EXPECT_EQ(Api().GetWnd(), nullptr);
    EXPECT_EQ(Api().Save(), 0);
    EXPECT_EQ(Api().ChangeColorScheme(), 0);
    EXPECT_EQ(Api().Close(), 1);
}

}  // namespace
}  // namespace orv
