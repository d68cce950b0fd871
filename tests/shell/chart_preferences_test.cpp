// Chart Preferences: the dialog on a copy of the display settings, and the
// save to the host that follows OK.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>

#include <memory>

#include "host/db/SqliteHostDatabase.h"
#include "platform/QtKeyValueStore.h"
#include "settings/ChartPreferencesDialog.h"
#include "settings/ViewSettings.h"
#include "support/ScriptedServices.h"
#include "support/WidgetDriver.h"

namespace orv {
namespace {

class ChartPreferencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(dir_.filePath("orv.sqlite").toStdString(), &error);
        ASSERT_TRUE(db_) << error;
        store_ = std::make_unique<QtKeyValueStore>(dir_.filePath("user.ini"), dir_.filePath("system.ini"));
        settings_ = std::make_unique<ViewSettings>(store_.get());
        settings_->Save(db_.get());  // a record exists, so a later load reads the store
    }

    ViewSettings Reloaded() {
        ViewSettings fresh(store_.get());
        fresh.Load(db_.get());
        return fresh;
    }

    QTemporaryDir dir_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    std::unique_ptr<QtKeyValueStore> store_;
    std::unique_ptr<ViewSettings> settings_;
    test::ScriptedServices services_;
};

TEST_F(ChartPreferencesTest, AStepNotOfferedOpensOnTheFirstEntryAndIsStoredAfterOk) {
    settings_->display.gridStep = 12;
    settings_->display.horizontalGridStep = 7;
    services_.dialogs.expectDialog([](QDialog& d) {
        auto& dialog = static_cast<ChartPreferencesDialog&>(d);
        EXPECT_EQ(dialog.gridStepList()->currentText(), "5");
        EXPECT_EQ(dialog.horizontalStepList()->currentText(), "7");
        EXPECT_FALSE(dialog.scaleBox()->isVisible()) << "the scale box is never offered";
        dialog.accept();
    });
    EXPECT_TRUE(EditChartPreferences(*settings_, db_.get(), nullptr));
    EXPECT_EQ(settings_->display.gridStep, 5);
    EXPECT_EQ(Reloaded().display.gridStep, 5) << "saved to the host at once";
    EXPECT_EQ(Reloaded().display.horizontalGridStep, 7);
}

TEST_F(ChartPreferencesTest, StepListsShowOnlyWhileTheirBoxIsTicked) {
    settings_->display.showGrid = 0;
    services_.dialogs.expectDialog([](QDialog& d) {
        auto& dialog = static_cast<ChartPreferencesDialog&>(d);
        EXPECT_FALSE(dialog.gridStepList()->isVisible());
        EXPECT_TRUE(dialog.horizontalStepList()->isVisible());
        dialog.gridBox()->click();
        EXPECT_TRUE(dialog.gridStepList()->isVisible());
        dialog.horizontalGridBox()->click();
        EXPECT_FALSE(dialog.horizontalStepList()->isVisible());
        test::chooseComboText(dialog.gridStepList(), "20");
        dialog.averageLineBox()->click();
        dialog.accept();
    });
    EXPECT_TRUE(EditChartPreferences(*settings_, db_.get(), nullptr));
    const ViewSettings stored = Reloaded();
    EXPECT_EQ(stored.display.showGrid, 1);
    EXPECT_EQ(stored.display.gridStep, 20);
    EXPECT_EQ(stored.display.horizontalGrid, 0);
    EXPECT_EQ(stored.display.averageLine, 0);
}

TEST_F(ChartPreferencesTest, CancelChangesNothing) {
    const ChartDisplaySettings before = settings_->display;
    services_.dialogs.expectDialog([](QDialog& d) {
        auto& dialog = static_cast<ChartPreferencesDialog&>(d);
        dialog.gridBox()->click();
        test::chooseComboText(dialog.horizontalStepList(), "1");
        dialog.reject();
    });
    EXPECT_FALSE(EditChartPreferences(*settings_, db_.get(), nullptr));
    EXPECT_EQ(settings_->display, before);
    EXPECT_EQ(Reloaded().display, before);
}

}  // namespace
}  // namespace orv
