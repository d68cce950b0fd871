// The built ORVUnits.upg loaded with dlopen as orv-desktop loads it: its entry
// points driven exactly as the host drives them, on a real SQLite host
// database, and the host's window with it: the title names the module and
// the open database and says when it is read-only, and the colour scheme is
// remembered.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMenu>
#include <QPixmap>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

#include "host/HostWindow.h"
#include "host/PluginLoader.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv {
namespace {

// The module, loaded once and deliberately never unloaded: see
// PluginLibrary's destructor.
host::PluginLibrary& Module() {
    static host::PluginLibrary* library = [] {
        QString error;
        auto loaded = host::PluginLibrary::Load(QStringLiteral(ORV_MODULE_PATH), &error);
        EXPECT_NE(loaded, nullptr) << error.toStdString();
        return loaded.release();
    }();
    return *library;
}

class ModuleLoad : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(dir_.filePath("orv.sqlite").toStdString(), &error);
        ASSERT_TRUE(db_) << error;
        ASSERT_EQ(Api().Init(db_.get(), nullptr, parent_.get(), 0, 0), 0);
    }
    void TearDown() override { Api().Close(); }

    static const host::PluginEntryPoints& Api() { return Module().Api(); }

    QTemporaryDir dir_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    std::unique_ptr<QWidget> parent_ = std::make_unique<QWidget>();
};

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

    EXPECT_EQ(Api().GetWnd(), nullptr);
    EXPECT_EQ(Api().Save(), 0) << "Save before Run";
    EXPECT_EQ(Api().Close(), 1) << "Close before Run";
    ASSERT_EQ(Api().Run(), 0);
    QWidget* window = Api().GetWnd();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), parent_.get());
    EXPECT_TRUE(window->isVisibleTo(parent_.get()));
    ASSERT_EQ(Api().Run(), 0);
    EXPECT_EQ(Api().GetWnd(), window) << "a second Run keeps the window";
    EXPECT_EQ(Api().Close(), 1);
    EXPECT_EQ(Api().GetWnd(), nullptr);
    EXPECT_TRUE(parent_->findChildren<QWidget*>().isEmpty()) << "Close destroys the window";
    ASSERT_EQ(Api().Run(), 0) << "a later Run starts over";
    ASSERT_NE(Api().GetWnd(), nullptr);
    EXPECT_EQ(Api().ChangeColorScheme(), 0);
    EXPECT_EQ(Api().GetOnCommandID(0, 4711), 0);
    EXPECT_EQ(Api().IsModified(), 0) << "nothing was changed";
    parent_.reset();  // the host destroys its window, and the module's with it
    EXPECT_EQ(Api().GetWnd(), nullptr);
    EXPECT_EQ(Api().Save(), 0);
    EXPECT_EQ(Api().ChangeColorScheme(), 0);
    EXPECT_EQ(Api().Close(), 1);
}

class HostWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The host's own settings are kept under its organisation's name.
        QCoreApplication::setOrganizationName(QStringLiteral("OrvMain"));
        ASSERT_TRUE(dir_.isValid());
    }

    std::unique_ptr<host::HostWindow> Window(const char* name, bool readOnly = false) {
        std::string error;
        hostdb::SqliteHostDatabase::OpenOptions options;
        options.readOnly = readOnly;
        auto db = hostdb::SqliteHostDatabase::Open(dir_.filePath(name).toStdString(), options, &error);
        EXPECT_TRUE(db) << error;
        auto window = std::make_unique<host::HostWindow>(Module(), std::move(db), dir_.filePath(name));
        window->StartModule();
        return window;
    }

    QTemporaryDir dir_;
};

TEST_F(HostWindowTest, TitleNamesEachOpenedDatabaseAndWhetherItIsReadOnlyAndTheSchemeIsRemembered) {
    ASSERT_GE(host::ColorSchemes().size(), 3u);
    {
        const auto window = Window("first.sqlite");
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ORV Desktop - ORV - %1").arg(dir_.filePath("first.sqlite")));
        window->SetScheme(2);
        QString error;
        ASSERT_TRUE(window->OpenDatabaseFile(dir_.filePath("second.sqlite"), &error)) << error.toStdString();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ORV Desktop - ORV - %1").arg(dir_.filePath("second.sqlite")));
    }  // closing the window stops the module
    const auto again = Window("first.sqlite");
    EXPECT_EQ(again->Colors().Scheme(), 2u);
    EXPECT_TRUE(again->statusBar()->currentMessage().isEmpty());
    again->SetScheme(0);
    again->StopModule();

    const auto readOnly = Window("first.sqlite", true);
    EXPECT_EQ(readOnly->windowTitle(),
              QStringLiteral("ORV Desktop - ORV - %1 (read-only)").arg(dir_.filePath("first.sqlite")));
}

}  // namespace
}  // namespace orv
