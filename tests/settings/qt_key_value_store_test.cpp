#include "platform/QtKeyValueStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace orv {
namespace {

constexpr const char* kKeyPath = "Software\\OrvMain\\ORV\\ORVDesktop\\Base\\General";

class QtKeyValueStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // What an administrator would put in the system file.
    void WriteSystem(const char* name, const QVariant& value) {
        QSettings system(File("system.ini"), QSettings::IniFormat);
        system.setValue(QStringLiteral("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/") + name, value);
        system.sync();
    }

    QTemporaryDir dir;
    QtKeyValueStore store{File("user.ini"), File("system.ini")};
};

TEST_F(QtKeyValueStoreTest, WritesTheUserScopeUnderTheRegistryPathOrReportsFailure) {
    ASSERT_TRUE(store.WriteInt(kKeyPath, "ORV", "ORVGRIDSTEP", 15));
    EXPECT_EQ(store.ReadInt(KeyScope::User, kKeyPath, "ORV", "ORVGRIDSTEP"), 15);
    EXPECT_FALSE(store.ReadInt(KeyScope::System, kKeyPath, "ORV", "ORVGRIDSTEP"));
    QSettings raw(File("user.ini"), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/ORVGRIDSTEP").toInt(), 15);

    // A user file that cannot be made: a plain file stands where its folder should be.
    ASSERT_TRUE(QFile(File("plain")).open(QIODevice::WriteOnly));
    QtKeyValueStore broken(File("plain") + "/sub/user.ini", File("system.ini"));
    EXPECT_FALSE(broken.WriteInt(kKeyPath, "ORV", "ORVGRIDSTEP", 5));
    EXPECT_FALSE(broken.ReadInt(KeyScope::User, kKeyPath, "ORV", "ORVGRIDSTEP"));
}

TEST_F(QtKeyValueStoreTest, ReadsTheSystemScopeAndRejectsNonNumbers) {
    WriteSystem("ORVSHOWGRID", 0);
    WriteSystem("BIG", "4294967295");
    WriteSystem("TEXT", "ten");
    WriteSystem("HUGE", "99999999999");
    EXPECT_EQ(store.ReadInt(KeyScope::System, kKeyPath, "ORV", "ORVSHOWGRID"), 0);
    EXPECT_EQ(store.ReadInt(KeyScope::System, kKeyPath, "ORV", "BIG"), -1);  // a DWORD keeps its bits
    for (const char* name : {"TEXT", "HUGE", "MISSING"})
        EXPECT_FALSE(store.ReadInt(KeyScope::System, kKeyPath, "ORV", name));
    EXPECT_FALSE(store.ReadInt(KeyScope::User, kKeyPath, "ORV", "ORVSHOWGRID"));
}

}  // namespace
}  // namespace orv
