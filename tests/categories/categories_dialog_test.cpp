// Edit Categories and Edit Category on a real SQLite host database: what the
// list shows, which number a new category gets, the refusals, and that every
// change reaches the host.

#include <QLineEdit>
#include <QListWidget>
#include <QtTest/QTest>

#include <optional>
#include <string>
#include <vector>

#include "data/ModifiedFlag.h"
#include "support/ModuleFixture.h"
#include "ui/categories/CategoriesDialog.h"
#include "ui/categories/CategoryDialog.h"

namespace orv {
namespace {

class CategoriesDialogTest : public test::ModuleFixture {
protected:
    CategorySet& Units() { return *Cache().MutableCategories(RecordKind::Unit); }

    // Names the unit slots on the host and reloads them into the cache.
    void NameUnitSlots(const std::vector<std::string>& names) {
        NameCategories(RecordKind::Unit, names);
        Cache().LoadUnitCategories(&Db());
    }

    // The unit slot names as a fresh load from the host sees them.
    std::vector<std::string> HostUnitNames() {
        const RecordCache stored = Stored();
        std::vector<std::string> names;
        for (const int32_t number : stored.UnitCategories().names.Ids())
            names.push_back(stored.UnitCategories().names.NameOf(number));
        return names;
    }

    static QStringList Entries(const CategoriesDialog& dialog) {
        QStringList texts;
        for (int row = 0; row < dialog.List()->count(); ++row) texts << dialog.List()->item(row)->text();
        return texts;
    }

    // Selects `row` of the list and clicks `button`, as a user would.
    static bool ClickOnRow(CategoriesDialog& dialog, int row, const char* button) {
        dialog.List()->setCurrentRow(row);
        return test::ClickButton(&dialog, QString::fromLatin1(button));
    }
};

std::vector<std::string> NumberedNames(int count) {
    std::vector<std::string> names{"Unfiled"};
    for (int i = 1; i < count; ++i) names.push_back("C" + std::to_string(i));
    return names;
}

// Which slot New would fill, after the slots were named and the listed rows
// deleted one after another in this dialog.
TEST_F(CategoriesDialogTest, NewOffersTheSlotAfterTheLastNamedOrTheLowestFreeOneAndNoneWhenAllAreNamed) {
    const std::vector<std::string> gaps{"Unfiled", "A", "", "", "", "", "", "", "", "", "", "", "", "", "", "Last"};
    const struct {
        const char* name;
        std::vector<std::string> names;
        std::vector<int> deletedRows;
        std::optional<int32_t> offered;
    } rows[] = {
        {"named with gaps", {"Unfiled", "", "Food", "", "", "Drinks"}, {}, 6},
        {"fifteen named", NumberedNames(15), {}, 15},
        {"last slot named: the lowest free slot", gaps, {}, 2},
        {"a slot cleared here is passed over", gaps, {1}, 2},
        {"every free slot cleared here", NumberedNames(16), {3}, std::nullopt},
        {"the highest named deleted", {"Unfiled", "Food", "Drinks"}, {2}, 2},
        {"slot 0 cleared before every named slot", {"Temp"}, {0}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        NameUnitSlots(row.names);
        CategoriesDialog dialog(Units(), nullptr);
        for (const int deleted : row.deletedRows) {
            ASSERT_TRUE(ClickOnRow(dialog, deleted, "Delete"));
        }
        EXPECT_EQ(dialog.OfferedNumber(), row.offered);
    }

    // With every slot named, New is refused.
    NameUnitSlots(NumberedNames(16));
    CategoriesDialog full(Units(), nullptr);
    ASSERT_TRUE(test::ClickButton(&full, QStringLiteral("New")));
    EXPECT_EQ(services_.prompter.last().text(), "The maximum number of categories is 16!");
    EXPECT_EQ(services_.dialogs.Opened(), 0u);
}

TEST_F(CategoriesDialogTest, ListsNamedSlotsAndNewAndDeleteReachTheHost) {
    NameUnitSlots({"Unfiled", "", "Food", "", "", "Drinks"});
    CategoriesDialog dialog(Units(), nullptr);
    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "Food", "Drinks"}));
    EXPECT_EQ(dialog.NumberAt(2), 5);

    services_.dialogs.Expect<CategoryDialog>([](CategoryDialog& edit) {
        EXPECT_EQ(edit.Name(), "") << "a new category starts empty";
        test::TypeText(edit.NameEdit(), QStringLiteral("Snacks"));
        edit.accept();
    });
    ASSERT_TRUE(test::ClickButton(&dialog, QStringLiteral("New")));
    EXPECT_EQ(HostUnitNames().at(6), "Snacks");
    ASSERT_TRUE(ClickOnRow(dialog, 1, "Delete"));
    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "Drinks", "Snacks"}));
    EXPECT_EQ(HostUnitNames().at(2), "");
    EXPECT_EQ(dialog.ClearedNumbers(), std::vector<int32_t>{2});
    EXPECT_EQ(Units().names.size(), 16) << "slots are never removed";
    EXPECT_EQ(services_.prompter.count(), 0u);
    // A dialog opened afterwards forgets what the last one cleared.
    EXPECT_EQ(CategoriesDialog(Units(), nullptr).OfferedNumber(), 7);
}

// "Unfiled", in any slot, can be neither renamed nor deleted; in another
// case it is an ordinary name.
TEST_F(CategoriesDialogTest, UnfiledCanBeNeitherRenamedNorDeletedButOtherCasesCan) {
    NameUnitSlots({"Food", "Unfiled", "unfiled", "UNFILED"});
    CategoriesDialog dialog(Units(), nullptr);
    ASSERT_TRUE(ClickOnRow(dialog, 1, "Rename"));
    EXPECT_EQ(services_.prompter.last().text(), "The category 'Unfiled' can not be renamed!");
    ASSERT_TRUE(ClickOnRow(dialog, 1, "Delete"));
    EXPECT_EQ(services_.prompter.last().text(), "The category 'Unfiled' can not be deleted!");
    EXPECT_EQ(services_.dialogs.Opened(), 0u);
    EXPECT_TRUE(dialog.ClearedNumbers().empty());

    Confirm<CategoryDialog>([](CategoryDialog& edit) { test::TypeText(edit.NameEdit(), QStringLiteral("Snacks")); });
    ASSERT_TRUE(ClickOnRow(dialog, 2, "Rename"));
    ASSERT_TRUE(ClickOnRow(dialog, 3, "Delete"));
    EXPECT_EQ(services_.prompter.count(), 2u);
    EXPECT_EQ(Entries(dialog), (QStringList{"Food", "Unfiled", "Snacks"}));
    const std::vector<std::string> stored = HostUnitNames();
    ASSERT_GE(stored.size(), 4u);
    EXPECT_EQ(std::vector(stored.begin() + 1, stored.begin() + 4), (std::vector<std::string>{"Unfiled", "Snacks", ""}));
}

TEST_F(CategoriesDialogTest, RenameThroughEditCategoriesReachesTheHost) {
    NameCategories(RecordKind::Group, {"Unfiled", "Food"});
    Cache().LoadGroupCategories(&Db());
    services_.dialogs.Expect<CategoriesDialog>([](CategoriesDialog& dialog) {
        dialog.List()->setCurrentRow(1);
        test::ClickButton(&dialog, QStringLiteral("Rename"));
        EXPECT_EQ(dialog.List()->item(1)->text(), "Meals & more");
        test::ClickButton(&dialog, QStringLiteral("Done"));
    });
    Confirm<CategoryDialog>([](CategoryDialog& edit) {
        EXPECT_EQ(edit.Name(), "Food") << "opens with the current name";
        test::TypeText(edit.NameEdit(), QStringLiteral("Meals & more"));
    });
    EditCategories(Cache(), RecordKind::Group, nullptr);
    EXPECT_EQ(ModifiedFlag(), 1) << "a rename is a change the host must hear of";

    const RecordCache stored = Stored();
    EXPECT_EQ(stored.GroupCategories().names.NameOf(1), "Meals & more");
    EXPECT_EQ(stored.UnitCategories().NumberOf("Meals & more"), -1) << "only the group slots change";
}

TEST_F(CategoriesDialogTest, AnEmptyNameIsRefusedAndAskedForAgain) {
    NameUnitSlots({"Unfiled", "Food"});
    CategoriesDialog dialog(Units(), nullptr);
    dialog.List()->setCurrentRow(1);
    for (const char* name : {"", "   "}) {
        services_.dialogs.Expect<CategoryDialog>([name](CategoryDialog& edit) {
            test::TypeText(edit.NameEdit(), QString::fromLatin1(name));
            QTest::keyClick(edit.NameEdit(), Qt::Key_Return);
        });
    }
    services_.dialogs.Expect<CategoryDialog>([](CategoryDialog& edit) {
        EXPECT_EQ(edit.Name(), "   ") << "the text is kept";
        edit.reject();
    });
    ASSERT_TRUE(test::ClickButton(&dialog, QStringLiteral("Rename")));
    ASSERT_EQ(services_.prompter.count(), 2u);
    EXPECT_EQ(services_.prompter.last().text(), "A category needs a name.");
    EXPECT_EQ(HostUnitNames().at(1), "Food");
    EXPECT_EQ(Entries(dialog), (QStringList{"Unfiled", "Food"}));
}

}  // namespace
}  // namespace orv
