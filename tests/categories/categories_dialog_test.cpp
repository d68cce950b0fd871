// Edit Categories and Edit Category on a real SQLite host database: what the
// list shows, which number a new category gets, the refusals, and that every
// change reaches the host.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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

    EXPECT_EQ(dialog.windowTitle(), "Edit Categories");
    EXPECT_EQ(dialog.findChild<QListWidget*>(QStringLiteral("control1389")), dialog.list());
    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "Food", "Drinks"}));
    EXPECT_EQ(dialog.NumberAt(0), 0);
    EXPECT_EQ(dialog.NumberAt(1), 2);
    EXPECT_EQ(dialog.NumberAt(2), 5);
    EXPECT_EQ(dialog.NumberAt(3), -1);
    EXPECT_EQ(dialog.list()->currentRow(), 0);
    EXPECT_EQ(dialog.offeredNumber(), 6) << "the number after the last named slot";
}

// --- New ---------------------------------------------------------------------

TEST_F(CategoriesDialogTest, SixteenNamedRefusesNewWithTheMaximumMessage) {
    NameUnitSlots(NumberedNames(16));
    CategoriesDialog dialog(Units(), nullptr);
    EXPECT_FALSE(dialog.offeredNumber());

    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("New")));
    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().caption(), "ORV Desktop");
    EXPECT_EQ(services_.prompter.last().text(), "The maximum number of categories is 16!");
    EXPECT_EQ(services_.prompter.last().icon(), MessageIcon::Information);
    EXPECT_TRUE(services_.dialogs.dialogs().empty()) << "no Edit Category is opened";
}

TEST_F(CategoriesDialogTest, FifteenNamedOffersOneMoreThenTheMaximum) {
    NameUnitSlots(NumberedNames(15));
    CategoriesDialog dialog(Units(), nullptr);
    EXPECT_EQ(dialog.offeredNumber(), 15);

    services_.dialogs.expect<CategoryDialog>([](CategoryDialog& edit) {
        EXPECT_EQ(edit.windowTitle(), "Edit Category");
        EXPECT_EQ(edit.name(), "") << "a new category starts empty";
        test::typeText(edit.nameEdit(), QStringLiteral("Last"));
        edit.accept();
    });
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("New")));
    EXPECT_EQ(dialog.list()->count(), 16);
    EXPECT_EQ(dialog.list()->item(15)->text(), "Last");
    EXPECT_EQ(Units().names.NameOf(15), "Last");
    EXPECT_EQ(Units().byNumber.at(15).name, "Last");
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
    EXPECT_EQ(Units().names.NameOf(2), "");
    EXPECT_EQ(Units().byNumber.at(2).name, "");
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
    EXPECT_EQ(services_.prompter.last().caption(), "ORV Desktop");
    dialog.list()->setCurrentRow(1);
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));
    EXPECT_EQ(services_.prompter.last().text(), "The category 'Unfiled' can not be deleted!");
    EXPECT_EQ(services_.prompter.last().caption(), "ORV Desktop");
    EXPECT_EQ(services_.prompter.last().icon(), MessageIcon::Information);

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

TEST_F(CategoriesDialogTest, RenameAndDeleteWithoutSelectionAskForOne) {
    NameUnitSlots({"Unfiled", "Food"});
    CategoriesDialog dialog(Units(), nullptr);
    dialog.list()->clearSelection();

    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Rename")));
    EXPECT_EQ(services_.prompter.last().text(), "Please choose the category to rename!");
    EXPECT_EQ(services_.prompter.last().icon(), MessageIcon::Information);
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));
    EXPECT_EQ(services_.prompter.last().text(), "Please choose the category to delete!");
    EXPECT_EQ(services_.prompter.last().caption(), "ORV Desktop");
    EXPECT_TRUE(services_.dialogs.dialogs().empty());
    EXPECT_EQ(HostUnitNames().at(1), "Food");

    // An empty list has nothing to choose either.
    NameUnitSlots({});
    CategoriesDialog empty(Units(), nullptr);
    ASSERT_TRUE(test::clickButton(&empty, QStringLiteral("Delete")));
    EXPECT_EQ(services_.prompter.last().text(), "Please choose the category to delete!");
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
        EXPECT_EQ(dialog.objectName(), "dialog418");
        dialog.list()->setCurrentRow(1);
        test::clickButton(&dialog, QStringLiteral("Rename"));
        EXPECT_EQ(dialog.list()->item(1)->text(), "Meals & more");
        test::clickButton(&dialog, QStringLiteral("Done"));
    });
    services_.dialogs.expect<CategoryDialog>([](CategoryDialog& edit) {
        EXPECT_EQ(edit.objectName(), "dialog419");
        EXPECT_EQ(edit.name(), "Food") << "opens with the current name";
        test::typeText(edit.nameEdit(), QStringLiteral("Meals & more"));
        test::clickButton(&edit, QStringLiteral("OK"));
    });
    EditCategories(cache_, RecordKind::Group, nullptr);
    EXPECT_EQ(ModifiedFlag(), 1) << "a rename is a change the host must hear of";

    RecordCache fresh;
    fresh.LoadGroupCategories(db_.get());
    EXPECT_EQ(fresh.GroupCategories().names.NameOf(1), "Meals & more");
    EXPECT_EQ(fresh.GroupCategories().NumberOf("Meals & more"), 1);
    EXPECT_EQ(fresh.UnitCategories().NumberOf("Meals & more"), -1) << "only the group slots change";
}

TEST_F(CategoriesDialogTest, LongAndNonAsciiNamesAreStoredWhole) {
    NameUnitSlots({"Unfiled", "Food"});
    CategoriesDialog dialog(Units(), nullptr);
    const QString longName = QString(600, QChar(u'é'));  // 1200 bytes of UTF-8
    dialog.list()->setCurrentRow(1);
    services_.dialogs.expect<CategoryDialog>([&longName](CategoryDialog& edit) {
        edit.nameEdit()->setText(longName);  // pasted rather than typed
        edit.accept();
    });
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Rename")));
    EXPECT_EQ(Units().names.NameOf(1), longName.toStdString());
    EXPECT_EQ(dialog.list()->item(1)->text(), longName);
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
    EXPECT_EQ(Units().names.NameOf(1), "Food");
    EXPECT_EQ(HostUnitNames().at(1), "Food");
}

// --- Host calls and kinds ----------------------------------------------------

// A category slot that records the calls it receives, in order.
class RecordingCategory final : public HostCategory {
public:
    int32_t AfterRename(int32_t flag) override {
        calls.push_back("after " + std::to_string(flag));
        return 0;
    }
    int32_t GetId() override { return 0; }
    int32_t GetIndex() override { return 0; }
    int32_t GetName(char*, int32_t) override { return 0; }
    int32_t SetName(const char* text) override {
        calls.push_back(std::string("name ") + text);
        return 0;
    }
    std::vector<std::string> calls;
};

TEST(CategoriesWithoutHostTest, NamingIsFollowedByTheHostsConfirmationButClearingIsNot) {
    test::ScriptedServices services;
    RecordingCategory host;
    CategorySet set;
    CategoryRecord record;
    record.object = &host;
    record.number = 0;
    set.names.Append(0, 0, "");
    set.byNumber.emplace(0, record);

    CategoriesDialog dialog(set, nullptr);
    services.dialogs.expectDialog([](QDialog& edit) {
        test::typeText(static_cast<CategoryDialog&>(edit).nameEdit(), QStringLiteral("Food"));
        edit.accept();
    });
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("New")));
    services.dialogs.expectDialog([](QDialog& edit) {
        test::typeText(static_cast<CategoryDialog&>(edit).nameEdit(), QStringLiteral("Meals"));
        edit.accept();
    });
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Rename")));
    ASSERT_TRUE(test::clickButton(&dialog, QStringLiteral("Delete")));

    EXPECT_EQ(host.calls, (std::vector<std::string>{"name Food", "after 1", "name Meals", "after 1", "name "}));
}

TEST(CategoriesWithoutHostTest, KindsWithoutEditableCategoriesOpenNothing) {
    test::ScriptedServices services;
    RecordCache cache;
    EditCategories(cache, RecordKind::Item, nullptr);
    EditCategories(cache, RecordKind::Value, nullptr);
    EXPECT_TRUE(services.dialogs.dialogs().empty());
}

}  // namespace
}  // namespace orv
