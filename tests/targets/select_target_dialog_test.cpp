// The Select target dialog over the starter structure: targets by name, and
// targets the group already has never become the choice.

#include <gtest/gtest.h>

#include <QListWidget>

#include <memory>
#include <string>

#include "data/RecordCache.h"
#include "host/db/SqliteHostDatabase.h"
#include "host/db/StarterData.h"
#include "support/ScriptedServices.h"
#include "support/WidgetDriver.h"
#include "ui/targets/SelectTargetDialog.h"

namespace orv {
namespace {

using namespace hostdb::starter;

class SelectTargetDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(":memory:", &error);
        ASSERT_TRUE(db_) << error;
        cache_.LoadAll(db_.get());
        food_ = *cache_.FindGroup(kFoodGroup);
    }
    int RowOf(const SelectTargetDialog& dialog, const QString& name) {
        const QList<QListWidgetItem*> found = dialog.list()->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? -1 : dialog.list()->row(found.front());
    }

    test::ScriptedServices services_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    RecordCache cache_;
    GroupRecord food_;
};

TEST_F(SelectTargetDialogTest, ATargetTheGroupHasClearsTheSelectionAndKeepsTheLastChoice) {
    SelectTargetDialog dialog(cache_, food_, 0, nullptr);
    dialog.show();
    dialog.list()->setCurrentRow(RowOf(dialog, "Fat"));
    EXPECT_EQ(services_.prompter.last().text(), "This target is already in the list!");
    EXPECT_TRUE(dialog.list()->selectedItems().isEmpty());
    EXPECT_EQ(dialog.chosenTarget(), 0);

    ASSERT_TRUE(test::clickButton(&dialog, "OK"));
    EXPECT_EQ(services_.prompter.last().text(), "Please, select the target to add.");
    EXPECT_TRUE(dialog.isVisible());

    dialog.list()->setCurrentRow(RowOf(dialog, "Blood glucose"));
    dialog.list()->setCurrentRow(RowOf(dialog, "Energy"));
    EXPECT_EQ(dialog.chosenTarget(), kBloodGlucoseTarget);
    ASSERT_TRUE(test::clickButton(&dialog, "OK"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace orv
