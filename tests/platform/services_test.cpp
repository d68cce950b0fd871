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
#include <QLineEdit>
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

TEST(Services, SettersReturnThePreviousServiceAndNullRestoresTheDefault) {
    const FixedClock first(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    const FixedClock second(QDateTime(QDate(2010, 1, 1), QTime(0, 0, 0)));

    EXPECT_EQ(Services::SetClock(&first), nullptr);
    EXPECT_EQ(Services::Clock().Now(), first.Now());
    EXPECT_EQ(Services::SetClock(&second), &first);
    EXPECT_EQ(Services::Clock().Now(), second.Now());
    EXPECT_EQ(Services::SetClock(nullptr), &second);
    EXPECT_NE(dynamic_cast<const SystemClock*>(&Services::Clock()), nullptr);
}

TEST(Clock, SystemClockTellsWholeSecondsOfLocalTime) {
    const QDateTime now = SystemClock().Now();
    EXPECT_EQ(now.time().msec(), 0);
    EXPECT_EQ(now.timeSpec(), Qt::LocalTime);
    EXPECT_TRUE(now.isValid());
}

TEST(Shell, InvalidAddressIsRefusedWithoutAskingTheDesktop) { EXPECT_FALSE(DesktopShell().OpenUrl(QUrl())); }

TEST(QtPrompter, ShowsCaptionAndTextAsGivenAndMapsYesNo) {
    QtPrompter prompter;
    const QString text =
        QStringLiteral("If this group is removed, all the\ncorresponding items <b>&</b>\nProceed anyway?");

    for (const auto& [button, expected] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        QString seenCaption, seenText;
        Qt::TextFormat seenFormat = Qt::AutoText;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        OnceShown<QMessageBox>([&, button = button](QMessageBox& box) {
            seenCaption = box.windowTitle();
            seenText = box.text();
            seenFormat = box.textFormat();
            seenIcon = box.icon();
            box.button(button)->click();
        });
        EXPECT_EQ(prompter.AskYesNo(nullptr, "ORV Diabetes", text), expected);
        EXPECT_EQ(seenCaption, "ORV Diabetes");
        EXPECT_EQ(seenText, text);
        EXPECT_EQ(seenFormat, Qt::PlainText);
        EXPECT_EQ(seenIcon, QMessageBox::Question);
    }
}

TEST(QtPrompter, ErrorBoxHasOnlyOkAndTheCriticalIcon) {
    QtPrompter prompter;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    OnceShown<QMessageBox>([&](QMessageBox& box) {
        buttons = box.standardButtons();
        icon = box.icon();
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(
        prompter.Show(nullptr, {"ORV Desktop", "The unit name is empty!!!", MessageIcon::Error, MessageButtons::Ok}),
        MessageAnswer::Ok);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(QtDialogRunner, SaveFileDialogIsConfiguredFromTheRequest) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // The overwrite prompt is Qt's own, asked for unless the request says not to.
    for (const bool confirmOverwrite : {true, false}) {
        SaveFileRequest request;
        request.caption = "Export values";
        request.directory = folder.path();
        request.filters = QStringList{"Excel workbooks (*.xlsx)", "All files (*)"};
        request.defaultSuffix = "xlsx";
        request.confirmOverwrite = confirmOverwrite;

        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        QString suffix;
        QStringList filters;
        bool noOverwritePrompt = confirmOverwrite;
        OnceShown<QFileDialog>([&](QFileDialog& dialog) {
            mode = dialog.acceptMode();
            suffix = dialog.defaultSuffix();
            filters = dialog.nameFilters();
            noOverwritePrompt = dialog.testOption(QFileDialog::DontConfirmOverwrite);
            dialog.selectFile(folder.filePath("values.xlsx"));
            static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept is protected
        });
        const std::optional<QString> chosen = QtDialogRunner().SaveFileName(request);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(*chosen, folder.filePath("values.xlsx"));
        EXPECT_EQ(mode, QFileDialog::AcceptSave);
        EXPECT_EQ(suffix, "xlsx");
        EXPECT_EQ(filters, request.filters);
        EXPECT_EQ(noOverwritePrompt, !confirmOverwrite) << "confirmOverwrite " << confirmOverwrite;
    }

    OnceShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(QtDialogRunner().SaveFileName(SaveFileRequest{}).has_value());
}

}  // namespace
}  // namespace orv
