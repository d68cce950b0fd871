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
        window->startModule();
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
        window->setScheme(2);
        QString error;
        ASSERT_TRUE(window->openDatabaseFile(dir_.filePath("second.sqlite"), &error)) << error.toStdString();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ORV Desktop - ORV - %1").arg(dir_.filePath("second.sqlite")));
        window->stopModule();
    }
    const auto again = Window("first.sqlite");
    EXPECT_EQ(again->colors().scheme(), 2u);
    EXPECT_TRUE(again->statusBar()->currentMessage().isEmpty());
    again->setScheme(0);
    again->stopModule();
}

}  // namespace
}  // namespace orv
