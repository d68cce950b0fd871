// The main window on a real SQLite host database: page creation and
// selection, period routing between Charts and Tables, focus and saving.
//
// Chart Preferences: the dialog on a copy of the display settings, and the
// save to the host that follows OK.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <tuple>

#include "platform/QtPrompter.h"
#include "settings/ChartPreferencesDialog.h"
#include "support/ModuleFixture.h"
#include "ui/charts/ChartsPage.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/ColoredTab.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/tables/TablesPage.h"
#include "ui/values/ValueEntryDialog.h"

namespace orv {
namespace {

using MainWindowTest = test::ModuleFixture;

TEST_F(MainWindowTest, ShowsTheStoredPageAndThenOnlyThePageOfTheChosenTab) {
    for (const auto& [stored, shown] : {std::pair{2, Tab::Tables}, std::pair{17, Tab::Values}}) {
        SCOPED_TRACE(stored);
        window_.reset();
        Settings().currentPage = stored;
        Settings().Save(&Db());
        Settings().currentPage = 0;  // the window must load it from the host itself
        PluginMainWindow& w = OpenMainWindow();
        EXPECT_EQ(w.ShownPage(), w.PageAt(shown));
        EXPECT_EQ(w.TabControl()->currentIndex(), static_cast<int>(shown));
    }
    PluginMainWindow& w = OpenMainWindow();
    w.SelectTab(Tab::Units);
    EXPECT_EQ(w.ShownPage(), w.PageAt(Tab::Units));
    for (int i = 0; i < kTabCount; ++i) {
        EXPECT_EQ(w.PageAt(static_cast<Tab>(i))->isVisibleTo(host_.get()), static_cast<Tab>(i) == Tab::Units) << i;
    }
}

TEST_F(MainWindowTest, PeriodSelectionsReachOnlyTheOtherPage) {
    PluginMainWindow& w = OpenMainWindow();
    emit w.Charts()->periodSelected(
        {.periodIndex = 3, .date = {.wYear = 2026, .wMonth = 5, .wDay = 14}, .targetIndex = 1});
    EXPECT_EQ(std::tuple(w.Tables()->PeriodBox()->currentIndex(), w.Tables()->TargetBox()->currentIndex(),
                         w.Tables()->DateControl()->date()),
              std::tuple(3, 1, QDate(2026, 5, 14)));
    EXPECT_EQ(w.Charts()->PeriodBox()->currentIndex(), 0) << "the sender is not told";

    emit w.Tables()->periodSelected({.periodIndex = 4, .date = {}, .targetIndex = -1});
    EXPECT_EQ(w.Charts()->PeriodBox()->currentIndex(), 4);
    EXPECT_EQ(w.Charts()->Chart()->labels().size(), 120);
    EXPECT_EQ(w.Tables()->PeriodBox()->currentIndex(), 3) << "the sender is not told";
}

TEST_F(MainWindowTest, TabAndShiftTabStayInsideTheModule) {
    // A control of the host beside the module's window, and two controls on the page.
    auto* hostEdit = new QLineEdit(host_.get());
    PluginPage* page = OpenMainWindow().ShownPage();
    auto* first = new QLineEdit(page);
    auto* second = new QLineEdit(page);
    host_->show();
    QApplication::setActiveWindow(host_.get());

    // From the last control of the module's chain round the whole module,
    // either way, without reaching the host's control.
    for (const auto& [key, modifier] : {std::pair{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Backtab, Qt::ShiftModifier}}) {
        second->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), second);
        for (int i = 0; i < 40; ++i) {
            test::PressKey(QApplication::focusWidget(), key, modifier);
            ASSERT_NE(QApplication::focusWidget(), hostEdit) << "key " << key << " left the module after " << i + 1;
        }
    }
    // Backwards from the second control lands on the first.
    second->setFocus();
    test::PressKey(second, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), first);
}

TEST_F(MainWindowTest, ADialogOfAPageMovesItsOwnFocusWithTabAndShiftTab) {
    PluginMainWindow& w = OpenMainWindow();
    host_->show();
    ValueEntryDialog dialog(Cache(), ValueRecord{}, ValueEntryDialog::Mode::Add, w.ShownPage());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QLineEdit* amount = dialog.AmountEdit();
    amount->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), amount);

    // "9", Shift+Tab, "8": the 8 goes to the control before the amount.
    amount->selectAll();
    QTest::keyClicks(amount, "9");
    QTest::keyClick(amount, Qt::Key_Backtab, Qt::ShiftModifier);
    QWidget* before = QApplication::focusWidget();
    EXPECT_NE(before, amount);
    EXPECT_EQ(before ? before->window() : nullptr, &dialog);
    QTest::keyClicks(before, "8");
    EXPECT_EQ(amount->text(), "9");
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), amount);
    dialog.reject();
}

TEST_F(MainWindowTest, TabThenSpaceInAQuestionOfAPageAnswersTheButtonTabReached) {
    PluginMainWindow& w = OpenMainWindow();
    host_->show();
    QString focusAfterTab;  // the text of the button Tab moved to
    // Runs inside the message box's own event loop, once it is shown.
    QTimer::singleShot(0, [&focusAfterTab] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        QApplication::setActiveWindow(box);
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : box;
        QTest::keyClick(focus, Qt::Key_Tab);
        QWidget* reached = QApplication::focusWidget();
        if (auto* button = qobject_cast<QPushButton*>(reached); button && button->window() == box) {
            focusAfterTab = button->text().remove(QLatin1Char('&'));
        }
        QTest::keyClick(reached ? reached : box, Qt::Key_Space);
        if (box->isVisible()) box->reject();  // never leave the loop hanging
    });
    QtPrompter prompter;
    const MessageAnswer answer =
        prompter.Show(w.ShownPage(), Message{QStringLiteral("ORV Diabetes"), QStringLiteral("Remove this value?"),
                                             MessageIcon::Question, MessageButtons::YesNo});
    EXPECT_EQ(focusAfterTab, "No");
    EXPECT_EQ(answer, MessageAnswer::No);
}

TEST_F(MainWindowTest, SaveCloseAndAWindowTheHostDestroysStoreTheSelectedTab) {
    PluginMainWindow& w = OpenMainWindow();
    w.SelectTab(Tab::Targets);
    EXPECT_EQ(w.Save(), 0);
    EXPECT_EQ(ReloadedSettings().currentPage, 4);
    w.SelectTab(Tab::Charts);
    w.Destroy();
    EXPECT_EQ(w.Window(), nullptr);
    EXPECT_EQ(ReloadedSettings().currentPage, 1);
    EXPECT_TRUE(host_->findChildren<QWidget*>().isEmpty());

    window_.reset();
    OpenMainWindow().SelectTab(Tab::Units);
    host_.reset();  // the host destroys its window, and the module's with it
    EXPECT_EQ(window_->Window(), nullptr);
    EXPECT_EQ(ReloadedSettings().currentPage, 5);
    EXPECT_EQ(window_->Save(), 0) << "nothing left to save, nothing breaks";
}

// A step the list does not offer opens on its first entry; OK saves to the
// host at once.
TEST_F(MainWindowTest, ChartPreferencesOpenOnAStepTheListOffersAndOkStoresTheChoice) {
    Settings().Save(&Db());  // a record exists, so a later load reads the store
    Settings().display.showGrid = 0;
    Settings().display.gridStep = 12;
    Settings().display.horizontalGridStep = 7;
    services_.dialogs.ExpectDialog([](QDialog& d) {
        auto& dialog = static_cast<ChartPreferencesDialog&>(d);
        EXPECT_EQ(dialog.HorizontalStepList()->currentText(), "7");
        dialog.GridBox()->click();
        EXPECT_EQ(dialog.GridStepList()->currentText(), "5");
        dialog.HorizontalGridBox()->click();
        dialog.AverageLineBox()->click();
        dialog.accept();
    });
    EXPECT_TRUE(EditChartPreferences(Settings(), &Db(), nullptr));
    EXPECT_EQ(Settings().display.gridStep, 5);
    // Scale untouched; grid on at 5; horizontal grid off, its step kept; no average line.
    EXPECT_EQ(ReloadedSettings().display, (ChartDisplaySettings{1, 1, 5, 0, 7, 0}));
}

}  // namespace
}  // namespace orv
