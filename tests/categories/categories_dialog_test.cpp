// Edit Categories and Edit Category on a real SQLite host database: what the
// list shows, which number a new category gets, the refusals, and that every
// change reaches the host.

#include <gtest/gtest.h>

#include <QtTest/QTest>

#include <QLineEdit>
#include <QListWidget>

#include <memory>
#include <string>
#include <vector>

#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "host/db/SqliteHostDatabase.h"
#include "support/ScriptedServices.h"
#include "support/WidgetDriver.h"
#include "ui/categories/CategoriesDialog.h"
#include "ui/categories/CategoryDialog.h"

namespace orv {
namespace {

class CategoriesDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(":memory:", &error);
        ASSERT_TRUE(db_) << error;
        cache_.LoadUnitCategories(db_.get());
        ASSERT_EQ(Units().names.size(), 16);
    }

    CategorySet& Units() { return *cache_.MutableCategories(RecordKind::Unit); }

    // Names the unit slots on the host, slot i getting names[i] ("" clears),
    // and reloads the cache, as if another session had named them.
    void NameUnitSlots(const std::vector<std::string>& names) {
        HostCategoryTable* table = db_->UnitCategories();
        for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) {
            HostNamed& named = table->Current()->Named();
            const auto number = static_cast<std::size_t>(named.GetIndex());
            ASSERT_EQ(named.SetName(number < names.size() ? names[number].c_str() : ""), 0);
        }
        cache_.LoadUnitCategories(db_.get());
    }

    // The unit slot names as a fresh load from the host sees them.
    std::vector<std::string> HostUnitNames() {
        RecordCache fresh;
        fresh.LoadUnitCategories(db_.get());
        std::vector<std::string> names;
        for (const int32_t number : fresh.UnitCategories().names.Ids())
            names.push_back(fresh.UnitCategories().names.NameOf(number));
        return names;
    }

    static QStringList Entries(const CategoriesDialog& dialog) {
        QStringList texts;
        for (int row = 0; row < dialog.list()->count(); ++row) texts << dialog.list()->item(row)->text();
        return texts;
    }

    // Queues an Edit Category that is given `name` and accepted.
    void AnswerName(const QString& name) {
        services_.dialogs.expect<CategoryDialog>([name](CategoryDialog& dialog) {
            test::typeText(dialog.nameEdit(), name);
            test::clickButton(&dialog, QStringLiteral("OK"));
        });
    }

    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    RecordCache cache_;
    test::ScriptedServices services_;
};

std::vector<std::string> NumberedNames(int count) {
    std::vector<std::string> names{"Unfiled"};
    for (int i = 1; i < count; ++i) names.push_back("C" + std::to_string(i));
    return names;
}

// --- Filling -----------------------------------------------------------------

TEST_F(CategoriesDialogTest, ListsNamedSlotsInLoadOrderWithTheirNumbers) {
    NameUnitSlots({"Unfiled", "", "Food", "", "", "Drinks"});
    CategoriesDialog dialog(Units(), nullptr);

    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "Food", "Drinks"}));
    EXPECT_EQ(dialog.NumberAt(0), 0);
    EXPECT_EQ(dialog.NumberAt(1), 2);
    EXPECT_EQ(dialog.NumberAt(2), 5);
    EXPECT_EQ(dialog.offeredNumber(), 6) << "the number after the last named slot";
}

// --- New ---------------------------------------------------------------------

TEST_F(CategoriesDialogTest, FifteenNamedOffersOneMoreThenTheMaximum) {
    NameUnitSlots(NumberedNames(15));
    CategoriesDialog dialog(Units(), nullptr);
    EXPECT_EQ(dialog.offeredNumber(), 15);

    services_.dialogs.expect<CategoryDialog>([](CategoryDialog& edit) {
        EXPECT_EQ(edit.name(), "") << "a new category starts empty";
        test::typeText(edit.nameEdit(), QStringLiteral("Last"));
        edit.accept();
    });
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("New")));
    EXPECT_EQ(dialog.list()->count(), 16);
    EXPECT_EQ(HostUnitNames().at(15), "Last");
    EXPECT_EQ(services_.prompter.count(), 0u);

    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("New")));
    EXPECT_EQ(services_.prompter.last().text(), "The maximum number of categories is 16!");
}

TEST_F(CategoriesDialogTest, NamedLastSlotWithGapsOffersTheLowestFreeSlot) {
    NameUnitSlots({"Unfiled", "A", "", "", "", "", "", "", "", "", "", "", "", "", "", "Last"});
    CategoriesDialog dialog(Units(), nullptr);
    EXPECT_EQ(dialog.offeredNumber(), 2) << "16 has no slot";

    AnswerName(QStringLiteral("B"));
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("New")));
    EXPECT_EQ(HostUnitNames().at(2), "B");
    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "A", "B", "Last"}));
    EXPECT_EQ(dialog.offeredNumber(), 3);

    // A slot cleared in this dialog is passed over.
    dialog.list()->setCurrentRow(1);
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));
    EXPECT_EQ(dialog.offeredNumber(), 3);
    EXPECT_EQ(dialog.clearedNumbers(), std::vector<int32_t>{1});
}

TEST_F(CategoriesDialogTest, NamedLastSlotWithEveryFreeSlotClearedOffersNothing) {
    NameUnitSlots(NumberedNames(16));
    CategoriesDialog dialog(Units(), nullptr);
    dialog.list()->setCurrentRow(3);
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));
    EXPECT_FALSE(dialog.offeredNumber()) << "slot 3 was just cleared and 16 has no slot";
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("New")));
    EXPECT_EQ(services_.prompter.last().text(), "The maximum number of categories is 16!");
}

// --- Delete ------------------------------------------------------------------

TEST_F(CategoriesDialogTest, DeletingTheHighestNamedOffersItsNumberNext) {
    NameUnitSlots({"Unfiled", "Food", "Drinks"});
    CategoriesDialog dialog(Units(), nullptr);
    EXPECT_EQ(dialog.offeredNumber(), 3);

    dialog.list()->setCurrentRow(2);
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));
    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "Food"}));
    EXPECT_EQ(dialog.offeredNumber(), 2);
    EXPECT_EQ(HostUnitNames().at(2), "");
    EXPECT_EQ(Units().names.size(), 16) << "slots are never removed";
}

TEST_F(CategoriesDialogTest, ClearedSlotBeforeEveryNamedSlotIsNotOfferedAgain) {
    NameUnitSlots({"Temp"});
    CategoriesDialog dialog(Units(), nullptr);
    EXPECT_EQ(dialog.offeredNumber(), 1);

    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));
    EXPECT_EQ(dialog.list()->count(), 0);
    EXPECT_EQ(dialog.offeredNumber(), 1) << "slot 0 was cleared in this dialog";

    AnswerName(QStringLiteral("X"));
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("New")));
    EXPECT_EQ(HostUnitNames().at(1), "X");
    EXPECT_EQ(HostUnitNames().at(0), "");

    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));
    EXPECT_EQ(dialog.offeredNumber(), 2);
    EXPECT_EQ(dialog.clearedNumbers(), (std::vector<int32_t>{0, 1}));

    // A dialog opened afterwards forgets what the last one cleared.
    CategoriesDialog later(Units(), nullptr);
    EXPECT_EQ(later.offeredNumber(), 0);
}

// --- Refusals ----------------------------------------------------------------

TEST_F(CategoriesDialogTest, UnfiledCanBeNeitherRenamedNorDeleted) {
    NameUnitSlots({"Food", "Unfiled"});
    CategoriesDialog dialog(Units(), nullptr);
    dialog.list()->setCurrentRow(1);

    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Rename")));
    EXPECT_EQ(services_.prompter.last().text(), "The category 'Unfiled' can not be renamed!");
    dialog.list()->setCurrentRow(1);
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));
    EXPECT_EQ(services_.prompter.last().text(), "The category 'Unfiled' can not be deleted!");

    EXPECT_TRUE(services_.dialogs.dialogs().empty());
    EXPECT_EQ(Entries(dialog), (QStringList{"Food", "Unfiled"}));
    EXPECT_EQ(HostUnitNames().at(1), "Unfiled");
    EXPECT_TRUE(dialog.clearedNumbers().empty());
}

TEST_F(CategoriesDialogTest, UnfiledInAnotherCaseIsAnOrdinaryName) {
    NameUnitSlots({"Unfiled", "unfiled", "UNFILED"});
    CategoriesDialog dialog(Units(), nullptr);

    dialog.list()->setCurrentRow(1);
    AnswerName(QStringLiteral("Snacks"));
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Rename")));
    dialog.list()->setCurrentRow(2);
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));

    EXPECT_EQ(services_.prompter.count(), 0u);
    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "Snacks"}));
    EXPECT_EQ(HostUnitNames().at(1), "Snacks");
    EXPECT_EQ(HostUnitNames().at(2), "");
}

// --- Rename and the host -----------------------------------------------------

TEST_F(CategoriesDialogTest, RenameThroughEditCategoriesReachesTheHost) {
    HostCategoryTable* groups = db_->GroupCategories();
    groups->MoveFirst();
    groups->MoveNext();
    ASSERT_EQ(groups->Current()->Named().SetName("Food"), 0);
    cache_.LoadGroupCategories(db_.get());
    ClearModifiedFlag();

    services_.dialogs.expect<CategoriesDialog>([](CategoriesDialog& dialog) {
        dialog.list()->setCurrentRow(1);
        test::clickButton(&dialog, QStringLiteral("Rename"));
        EXPECT_EQ(dialog.list()->item(1)->text(), "Meals & more");
        test::clickButton(&dialog, QStringLiteral("Done"));
    });
    services_.dialogs.expect<CategoryDialog>([](CategoryDialog& edit) {
        EXPECT_EQ(edit.name(), "Food") << "opens with the current name";
        test::typeText(edit.nameEdit(), QStringLiteral("Meals & more"));
        test::clickButton(&edit, QStringLiteral("OK"));
    });
    EditCategories(cache_, RecordKind::Group, nullptr);
    EXPECT_EQ(ModifiedFlag(), 1) << "a rename is a change the host must hear of";

    RecordCache fresh;
    fresh.LoadGroupCategories(db_.get());
    EXPECT_EQ(fresh.GroupCategories().names.NameOf(1), "Meals & more");
    EXPECT_EQ(fresh.UnitCategories().NumberOf("Meals & more"), -1) << "only the group slots change";
}

TEST_F(CategoriesDialogTest, AnEmptyNameIsRefusedAndAskedForAgain) {
    NameUnitSlots({"Unfiled", "Food"});
    CategoriesDialog dialog(Units(), nullptr);
    dialog.list()->setCurrentRow(1);
    for (const char* name : {"", "   "}) {
        services_.dialogs.expect<CategoryDialog>([name](CategoryDialog& edit) {
            test::typeText(edit.nameEdit(), QString::fromLatin1(name));
            QTest::keyClick(edit.nameEdit(), Qt::Key_Return);
        });
    }
    services_.dialogs.expect<CategoryDialog>([](CategoryDialog& edit) {
        EXPECT_EQ(edit.name(), "   ") << "the text is kept";
        edit.reject();
    });
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Rename")));
    ASSERT_EQ(services_.prompter.count(), 2u);
    EXPECT_EQ(services_.prompter.last().text(), "A category needs a name.");
    EXPECT_EQ(HostUnitNames().at(1), "Food");
    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "Food"}));
}

TEST_F(CategoriesDialogTest, CancelledRenameChangesNothing) {
    NameUnitSlots({"Unfiled", "Food"});
    CategoriesDialog dialog(Units(), nullptr);
    dialog.list()->setCurrentRow(1);
    services_.dialogs.expectDialog([](QDialog& edit) {
        test::typeText(static_cast<CategoryDialog&>(edit).nameEdit(), QStringLiteral("Other"));
        edit.reject();
    });
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Rename")));
    EXPECT_EQ(HostUnitNames().at(1), "Food");
}

}  // namespace
}  // namespace orv
