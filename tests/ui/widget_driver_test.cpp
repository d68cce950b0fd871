// The helpers page tests drive widgets with: they must act as a user's
// gesture does (signals included) and fail the test when a control is missing.

#include "support/QtPrinters.h"
#include "support/WidgetDriver.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(WidgetDriver, ButtonsAreFoundByTextWithoutMnemonics) {
    QWidget page;
    auto* edit = new QPushButton("&Edit categories", &page);
    auto* remove = new QPushButton("Remove", &page);
    QSignalSpy clicks(edit, &QPushButton::clicked);

    EXPECT_EQ(findButton(&page, "Edit categories"), edit);
    EXPECT_TRUE(clickButton(&page, "Edit categories"));
    EXPECT_EQ(clicks.count(), 1);

    remove->setEnabled(false);
    EXPECT_FALSE(clickButton(&page, "Remove"));
    bool clicked = true;
    EXPECT_NONFATAL_FAILURE(clicked = clickButton(&page, "New"), "No button \"New\"");
    EXPECT_FALSE(clicked);
}

TEST(WidgetDriver, ChoosingAComboEntryReportsItAsTheUsersChoice) {
    QComboBox combo;
    combo.addItems({"All", "Weight", "Glucose"});
    QSignalSpy activated(&combo, &QComboBox::activated);
    EXPECT_TRUE(chooseComboText(&combo, "Glucose"));
    EXPECT_EQ(combo.currentIndex(), 2);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toInt(), 2);
    EXPECT_FALSE(chooseComboText(&combo, "glucose"));
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST(WidgetDriver, TypingReplacesTheTextAndFinishesEditing) {
    QLineEdit edit("old name");
    QSignalSpy finished(&edit, &QLineEdit::editingFinished);
    typeText(&edit, "mmol/L");
    EXPECT_EQ(edit.text(), "mmol/L");
    EXPECT_EQ(finished.count(), 1);
}

TEST(WidgetDriver, ActionsAreFoundByTheirFullText) {
    QWidget widget;
    QAction add("Add Row\tIns", &widget);
    widget.addAction(&add);
    EXPECT_EQ(findAction(&widget, "Add Row\tIns"), &add);
    EXPECT_NONFATAL_FAILURE(findAction(&widget, "Add Row"), "No action");
}

}  // namespace
}  // namespace orv::test
