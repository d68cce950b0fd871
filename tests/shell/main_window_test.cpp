// The main window on a real SQLite host database: page creation and
// selection, period routing between Charts and Tables, focus, colours and
// saving.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/QtPrompter.h"
#include "settings/ViewSettings.h"
#include "support/ModuleFixture.h"
#include "support/WidgetDriver.h"
#include "ui/PluginMainWindow.h"
#include "ui/charts/ChartsPage.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/ColoredTab.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/tables/TablesPage.h"
#include "ui/values/ValueEntryDialog.h"

namespace orv {
namespace {

class MainWindowTest : public test::ModuleFixture {
protected:
    PluginMainWindow& Open() { return OpenMainWindow(); }
    ViewSettings Reloaded() { return ReloadedSettings(); }
};

TEST_F(MainWindowTest, ShowsThePageStoredInTheViewSettings) {
    settings().currentPage = 2;
    settings().Save(&db());
    settings().currentPage = 0;  // the window must load it from the host itself

    PluginMainWindow& w = Open();
    EXPECT_EQ(w.TabControl()->currentIndex(), 2);
    EXPECT_EQ(w.ShownPage(), w.PageAt(Tab::Tables));
    EXPECT_TRUE(w.PageAt(Tab::Tables)->isVisibleTo(host_.get()));
    EXPECT_FALSE(w.PageAt(Tab::Values)->isVisibleTo(host_.get()));
}

TEST_F(MainWindowTest, AStoredPageOutOfRangeShowsValues) {
    settings().currentPage = 17;
    settings().Save(&db());
    PluginMainWindow& w = Open();
    EXPECT_EQ(w.ShownPage(), w.PageAt(Tab::Values));
}

TEST_F(MainWindowTest, TabChangeShowsOnePageBelowTheTabs) {
    PluginMainWindow& w = Open();
    w.SelectTab(Tab::Units);
    PluginPage* units = w.PageAt(Tab::Units);
    EXPECT_EQ(w.ShownPage(), units);
    EXPECT_TRUE(units->isVisibleTo(host_.get()));
    int visible = 0;
    for (int i = 0; i < kTabCount; ++i) visible += w.PageAt(static_cast<Tab>(i))->isVisibleTo(host_.get()) ? 1 : 0;
    EXPECT_EQ(visible, 1);
}

TEST_F(MainWindowTest, PeriodSelectionsReachOnlyTheOtherPage) {
    PluginMainWindow& w = Open();
    PeriodSyncBlock fromCharts;
    fromCharts.periodIndex = 3;
    fromCharts.targetIndex = 1;
    fromCharts.date.wYear = 2026;
    fromCharts.date.wMonth = 5;
    fromCharts.date.wDay = 14;
    emit w.Charts()->periodSelected(fromCharts);
    EXPECT_EQ(w.Tables()->periodBox()->currentIndex(), 3);
    EXPECT_EQ(w.Tables()->targetBox()->currentIndex(), 1);
    EXPECT_EQ(w.Tables()->dateControl()->date(), QDate(2026, 5, 14));
    EXPECT_EQ(w.Charts()->periodBox()->currentIndex(), 0) << "the sender is not told";

    PeriodSyncBlock fromTables;
    fromTables.periodIndex = 4;
    emit w.Tables()->periodSelected(fromTables);
    EXPECT_EQ(w.Charts()->periodBox()->currentIndex(), 4);
    EXPECT_EQ(w.Charts()->chartView()->labels().size(), 120);
    EXPECT_EQ(w.Tables()->periodBox()->currentIndex(), 3) << "the sender is not told";
}

TEST_F(MainWindowTest, TabAndShiftTabStayInsideTheModule) {
    // A host control beside the module's window, and two controls on the page.
    QWidget top;
    auto* layout = new QVBoxLayout(&top);
    auto* hostEdit = new QLineEdit(&top);
    layout->addWidget(hostEdit);
    auto* moduleParent = new QWidget(&top);
    moduleParent->setMinimumSize(600, 400);
    layout->addWidget(moduleParent);
    window_ = std::make_unique<PluginMainWindow>(&db(), settings(), cache(), &colors_);
    window_->Create(moduleParent);
    PluginPage* page = window_->ShownPage();
    auto* first = new QLineEdit(page);
    auto* second = new QLineEdit(page);
    first->show();
    second->show();
    top.show();
    QApplication::setActiveWindow(&top);
    first->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), first);

    for (int i = 0; i < 6; ++i) {
        test::pressKey(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_NE(QApplication::focusWidget(), hostEdit) << "Shift+Tab left the module after " << i + 1;
    }
    for (int i = 0; i < 6; ++i) {
        test::pressKey(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), hostEdit) << "Tab left the module after " << i + 1;
    }
    // Backwards from the second control lands on the first.
    second->setFocus();
    test::pressKey(second, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), first);
}

TEST_F(MainWindowTest, ADialogOfAPageMovesItsOwnFocusWithTabAndShiftTab) {
    PluginMainWindow& w = Open();
    host_->show();
    ValueEntryDialog dialog(cache(), ValueRecord{}, ValueEntryDialog::Mode::Add, w.ShownPage());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QLineEdit* amount = dialog.amountEdit();
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
    PluginMainWindow& w = Open();
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
        prompter.show(w.ShownPage(), Message{QStringLiteral("ORV Diabetes"), QStringLiteral("Remove this value?"),
                                             MessageIcon::Question, MessageButtons::YesNo});
    EXPECT_EQ(focusAfterTab, "No");
    EXPECT_EQ(answer, MessageAnswer::No);
}

TEST_F(MainWindowTest, HostColoursReachTheTabs) {
    PluginMainWindow& w = Open();
    ColoredTab* tab = w.TabControl();
    colors_.first = 0x0000FF;   // red
    colors_.second = 0x00FF00;  // green
    colors_.background = 0xFF0000;
    EXPECT_EQ(w.ApplyColors(), 0);
    EXPECT_EQ(tab->firstBackground(), QColor(255, 0, 0));
    EXPECT_EQ(tab->firstText(), QColor(0, 0, 0));
    EXPECT_EQ(tab->secondBackground(), QColor(0, 255, 0));
    EXPECT_EQ(tab->secondText(), QColor(0x32, 0x32, 0x32));
    EXPECT_EQ(tab->background(), QColor(0, 0, 255));
}

TEST_F(MainWindowTest, SaveAndCloseStoreTheSelectedTab) {
    PluginMainWindow& w = Open();
    w.SelectTab(Tab::Targets);
    EXPECT_EQ(w.Save(), 0);
    EXPECT_EQ(Reloaded().currentPage, 4);

    w.SelectTab(Tab::Charts);
    w.Destroy();
    EXPECT_EQ(w.Window(), nullptr);
    EXPECT_EQ(Reloaded().currentPage, 1);
    EXPECT_TRUE(host_->findChildren<QWidget*>().isEmpty());
}

TEST_F(MainWindowTest, AWindowTheHostDestroysStillStoresTheSelectedTab) {
    PluginMainWindow& w = Open();
    w.SelectTab(Tab::Units);
    host_.reset();  // the host destroys its window, and the module's with it
    EXPECT_EQ(w.Window(), nullptr);
    EXPECT_EQ(Reloaded().currentPage, 5);
    EXPECT_EQ(w.Save(), 0) << "nothing left to save, nothing breaks";
}

}  // namespace
}  // namespace orv
