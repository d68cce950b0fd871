// The service registry and the Qt implementations behind it.

#include "platform/Services.h"
#include "platform/Clock.h"
#include "platform/QtDialogRunner.h"
#include "platform/QtPrompter.h"
#include "platform/Shell.h"
#include "support/QtPrinters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

// Runs handler on the first visible top-level widget of type T once the event
// loop of a modal exec() is running. If none is there the test fails and every
// visible dialog is rejected, so a mistake never leaves the test hanging.
template <class T>
void OnceShown(std::function<void(T&)> handler) {
    QTimer::singleShot(0, [handler] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<T*>(widget); found && found->isVisible()) {
                handler(*found);
                return;
            }
        }
        ADD_FAILURE() << "No " << T::staticMetaObject.className() << " was shown";
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) dialog->reject();
        }
    });
}

TEST(Services, SystemClockTellsWholeSecondsOfLocalTimeAndTheShellRefusesInvalidAddresses) {
    const QDateTime now = SystemClock().Now();
    EXPECT_EQ(now.time().msec(), 0);
    EXPECT_EQ(now.timeSpec(), Qt::LocalTime);
    EXPECT_FALSE(DesktopShell().OpenUrl(QUrl()));
}

TEST(QtPrompter, ShowsCaptionAndTextAsGivenWithTheButtonsAndIconOfTheKind) {
    QtPrompter prompter;
    const QString text =
        QStringLiteral("If this group is removed, all the\ncorresponding items <b>&</b>\nProceed anyway?");
    for (const auto& [button, expected] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        QString seen;
        OnceShown<QMessageBox>([&, button = button](QMessageBox& box) {
            seen = box.windowTitle() + "|" + box.text();
            EXPECT_EQ(box.textFormat(), Qt::PlainText);
            EXPECT_EQ(box.icon(), QMessageBox::Question);
            box.button(button)->click();
        });
        EXPECT_EQ(prompter.AskYesNo(nullptr, "ORV Diabetes", text), expected);
        EXPECT_EQ(seen, "ORV Diabetes|" + text);
    }

    QMessageBox::StandardButtons buttons;
    OnceShown<QMessageBox>([&](QMessageBox& box) {
        buttons = box.standardButtons();
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(
        prompter.Show(nullptr, {"ORV Desktop", "The unit name is empty!!!", MessageIcon::Error, MessageButtons::Ok}),
        MessageAnswer::Ok);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtDialogRunner, SaveFileDialogIsConfiguredFromTheRequest) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // The overwrite prompt is Qt's own, asked for unless the request says not to.
    for (const bool confirmOverwrite : {true, false}) {
        SCOPED_TRACE(confirmOverwrite ? "confirm overwrite" : "no overwrite prompt");
        SaveFileRequest request;
        request.directory = folder.path();
        request.filters = QStringList{"Excel workbooks (*.xlsx)", "All files (*)"};
        request.defaultSuffix = "xlsx";
        request.confirmOverwrite = confirmOverwrite;
        OnceShown<QFileDialog>([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(dialog.defaultSuffix(), "xlsx");
            EXPECT_EQ(dialog.nameFilters(), request.filters);
            EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), !confirmOverwrite);
            dialog.selectFile(folder.filePath("values.xlsx"));
            static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept is protected
        });
        EXPECT_EQ(QtDialogRunner().SaveFileName(request), std::optional<QString>(folder.filePath("values.xlsx")));
    }
    OnceShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(QtDialogRunner().SaveFileName(SaveFileRequest{}).has_value());
}

}  // namespace
}  // namespace orv
