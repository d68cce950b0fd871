// orv-desktop's window with the built module loaded as the program loads
// it: the title names the module and the open database, and the colour
// scheme is remembered.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStatusBar>
#include <QTemporaryDir>

#include <memory>

#include "host/HostWindow.h"
#include "host/PluginLoader.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv {
namespace {

class HostWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The host's own settings are kept under its organisation's name.
        QCoreApplication::setOrganizationName(QStringLiteral("OrvMain"));
        QString error;
        library_ = host::PluginLibrary::Load(QStringLiteral(ORV_MODULE_PATH), &error).release();
        ASSERT_NE(library_, nullptr) << error.toStdString();
    }
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::unique_ptr<host::HostWindow> Window(const char* name) {
        std::string error;
        auto db = hostdb::SqliteHostDatabase::Open(dir_.filePath(name).toStdString(), &error);
        EXPECT_TRUE(db) << error;
        auto window = std::make_unique<host::HostWindow>(*library_, std::move(db), dir_.filePath(name));
        window->StartModule();
        return window;
    }

    // Deliberately never unloaded: see PluginLibrary's destructor.
    static host::PluginLibrary* library_;
    QTemporaryDir dir_;
};

host::PluginLibrary* HostWindowTest::library_ = nullptr;

TEST_F(HostWindowTest, TitleNamesEachOpenedDatabaseAndTheColourSchemeIsRemembered) {
    ASSERT_GE(host::ColorSchemes().size(), 3u);
    {
        const auto window = Window("first.sqlite");
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ORV Desktop - ORV - %1").arg(dir_.filePath("first.sqlite")));
        window->SetScheme(2);
        QString error;
        ASSERT_TRUE(window->OpenDatabaseFile(dir_.filePath("second.sqlite"), &error)) << error.toStdString();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ORV Desktop - ORV - %1").arg(dir_.filePath("second.sqlite")));
        window->StopModule();
    }
    const auto again = Window("first.sqlite");
    EXPECT_EQ(again->Colors().Scheme(), 2u);
    EXPECT_TRUE(again->statusBar()->currentMessage().isEmpty());
    again->SetScheme(0);
    again->StopModule();
}

}  // namespace
}  // namespace orv
