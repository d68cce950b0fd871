#include "platform/QtKeyValueStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "settings/FakeSettingsStore.h"
#include "settings/ViewSettings.h"
#include "util/FakeHostDatabase.h"

namespace orv {
namespace {

constexpr const char* kPath = "Software\\OrvMain\\ORV\\ORVDesktop\\Base\\General";

class QtKeyValueStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // What an administrator would put in the system file.
    void WriteSystem(const QString& key, const QVariant& value) {
        QSettings system(File("system.ini"), QSettings::IniFormat);
        system.setValue(key, value);
        system.sync();
    }

    QTemporaryDir dir;
    QtKeyValueStore store{File("user.ini"), File("system.ini")};
};

TEST_F(QtKeyValueStoreTest, WritesTheUserScopeUnderTheRegistryPath) {
    ASSERT_TRUE(store.WriteInt(kPath, "ORV", "ORVGRIDSTEP", 15));
    EXPECT_EQ(store.ReadInt(KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"), 15);
    EXPECT_FALSE(store.ReadInt(KeyScope::System, kPath, "ORV", "ORVGRIDSTEP"));
    QSettings raw(File("user.ini"), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/ORVGRIDSTEP").toInt(), 15);
}

TEST_F(QtKeyValueStoreTest, ReadsTheSystemScopeAndRejectsNonNumbers) {
    WriteSystem("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/ORVSHOWGRID", 0);
    WriteSystem("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/BIG", "4294967295");
    WriteSystem("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/TEXT", "ten");
    WriteSystem("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/HUGE", "99999999999");
    EXPECT_EQ(store.ReadInt(KeyScope::System, kPath, "ORV", "ORVSHOWGRID"), 0);
    EXPECT_EQ(store.ReadInt(KeyScope::System, kPath, "ORV", "BIG"), -1);  // a DWORD keeps its bits
    EXPECT_FALSE(store.ReadInt(KeyScope::System, kPath, "ORV", "TEXT"));
    EXPECT_FALSE(store.ReadInt(KeyScope::System, kPath, "ORV", "HUGE"));
    EXPECT_FALSE(store.ReadInt(KeyScope::System, kPath, "ORV", "MISSING"));
    EXPECT_FALSE(store.ReadInt(KeyScope::User, kPath, "ORV", "ORVSHOWGRID"));
}

TEST_F(QtKeyValueStoreTest, UnwritableUserFileReportsFailure) {
    QFile blocker(File("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QtKeyValueStore broken(File("plain") + "/sub/user.ini", File("system.ini"));
    EXPECT_FALSE(broken.WriteInt(kPath, "ORV", "ORVGRIDSTEP", 5));
    EXPECT_FALSE(broken.ReadInt(KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"));
}

TEST_F(QtKeyValueStoreTest, ViewSettingsUseSystemScopeUntilTheUserSaves) {
    WriteSystem("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/ORVGRIDSTEP", 20);
    test::FakeHostDatabase db;
    test::FakeSettingsStore records;
    db.settingsStore = &records;
    records.Put("ORVORV", {});

    ViewSettings settings(&store);
    settings.Load(&db);
    EXPECT_EQ(settings.display.gridStep, 20);

    settings.display.gridStep = 5;
    settings.Save(&db);
    QtKeyValueStore reopened(File("user.ini"), File("system.ini"));
    EXPECT_TRUE(reopened.IsWrittenHere(kPath));
    ViewSettings again(&reopened);
    again.Load(&db);
    EXPECT_EQ(again.display.gridStep, 5);
}

}  // namespace
}  // namespace orv
