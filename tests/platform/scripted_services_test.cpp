// The scripted Prompter and DialogRunner that page tests rely on: they must
// record exactly what was shown, answer in script order and fail loudly when
// the script and the code disagree.

#include "platform/Services.h"
#include "support/QtPrinters.h"
#include "support/ScriptedServices.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace orv::test {
namespace {

// A dialog with a name field whose OK refuses an empty name through the
// current Prompter, the way the module's dialogs validate.
class NameDialog : public QDialog {
public:
    NameDialog() {
        setWindowTitle("Add unit");
        auto* layout = new QVBoxLayout(this);
        name = new QLineEdit(this);
        layout->addWidget(name);
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &NameDialog::tryAccept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
    void showEvent(QShowEvent* event) override {
        shownOnce = true;
        QDialog::showEvent(event);
    }
    void tryAccept() {
        if (name->text().isEmpty()) {
            Services::prompter().error(this, "ORV Desktop", "The unit name is empty!!!");
            return;
        }
        accept();
    }
    QPushButton* ok() const { return buttons->button(QDialogButtonBox::Ok); }

    QLineEdit* name = nullptr;
    QDialogButtonBox* buttons = nullptr;
    bool shownOnce = false;
};

TEST(ScriptedPrompter, RecordsEveryMessageExactly) {
    ScriptedServices services;
    const QString text = "This item cannot be deleted, as the database contains\nthe values referencing this item";
    Services::prompter().information(nullptr, "ORV Diabetes", text);
    Services::prompter().error(nullptr, "ORV Desktop", "Item name is empty!!!");
    Services::prompter().show(nullptr, {"cap", "<< Click here >>", MessageIcon::Warning, MessageButtons::Ok});

    ASSERT_EQ(services.prompter.count(), 3u);
    const RecordedMessage& first = services.prompter.messages()[0];
    EXPECT_EQ(first.caption(), "ORV Diabetes");
    EXPECT_EQ(first.text(), text);
    EXPECT_EQ(first.icon(), MessageIcon::Information);
    EXPECT_EQ(first.buttons(), MessageButtons::Ok);
    EXPECT_EQ(first.answer, MessageAnswer::Ok);
    EXPECT_EQ(services.prompter.messages()[1].icon(), MessageIcon::Error);
    EXPECT_EQ(services.prompter.last().text(), "<< Click here >>");
}

TEST(ScriptedPrompter, AnswersQuestionsInScriptOrderAndSkipsOkBoxes) {
    ScriptedServices services;
    services.prompter.answerYes();
    services.prompter.answerNo();

    EXPECT_TRUE(Services::prompter().askYesNo(nullptr, "ORV Diabetes", "Remove this group?"));
    // An OK box in between must not eat the next answer.
    Services::prompter().information(nullptr, "ORV Diabetes", "Select a row to edit");
    EXPECT_FALSE(Services::prompter().askYesNo(nullptr, "ORV Diabetes", "Proceed anyway?"));

    ASSERT_EQ(services.prompter.count(), 3u);
    EXPECT_EQ(services.prompter.messages()[0].buttons(), MessageButtons::YesNo);
    EXPECT_EQ(services.prompter.messages()[0].icon(), MessageIcon::Question);
    EXPECT_EQ(services.prompter.messages()[0].answer, MessageAnswer::Yes);
    EXPECT_EQ(services.prompter.messages()[2].answer, MessageAnswer::No);
}

TEST(ScriptedPrompter, UnscriptedQuestionFailsAndAnswersNo) {
    ScriptedServices services;
    bool answer = true;
    EXPECT_NONFATAL_FAILURE(answer = Services::prompter().askYesNo(nullptr, "ORV Plugin", "Remove this unit?"),
                            "Unscripted question");
    EXPECT_FALSE(answer);

    services.prompter.setDefaultAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(Services::prompter().askYesNo(nullptr, "ORV Plugin", "Remove this unit?"));
}

TEST(ScriptedPrompter, CountsBeepsAndClearForgetsEverything) {
    ScriptedServices services;
    Services::prompter().beep();
    Services::prompter().beep();
    Services::prompter().information(nullptr, "a", "b");
    services.prompter.answerYes();
    EXPECT_EQ(services.prompter.beeps(), 2);

    services.prompter.clear();
    EXPECT_EQ(services.prompter.beeps(), 0);
    EXPECT_EQ(services.prompter.count(), 0u);
    EXPECT_EQ(services.prompter.unusedAnswers(), 0u);
    EXPECT_NONFATAL_FAILURE(services.prompter.last(), "No message was shown");
}

TEST(ScriptedPrompter, ObserverSeesTheMessageWhileItIsShown) {
    ScriptedServices services;
    NameDialog dialog;
    QString fieldAtMessage = "unset";
    services.prompter.setObserver([&](const Message&) { fieldAtMessage = dialog.name->text(); });
    dialog.name->setText("kg");
    Services::prompter().error(&dialog, "ORV Desktop", "The unit name must be unique !");
    EXPECT_EQ(fieldAtMessage, "kg");
}

TEST(ScriptedDialogRunner, HandlerFillsTheShownDialogAndAccepts) {
    ScriptedServices services;
    services.dialogs.expectDialog([](QDialog& shown) {
        auto& dialog = static_cast<NameDialog&>(shown);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.shownOnce);
        dialog.name->setText("mmol/L");
        dialog.ok()->click();
    });
    NameDialog dialog;
    EXPECT_EQ(Services::dialogs().run(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.name->text(), "mmol/L");
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(services.dialogs.dialogs().size(), 1u);
    EXPECT_EQ(services.dialogs.dialogs()[0].title, "Add unit");
    EXPECT_EQ(services.dialogs.dialogs()[0].result, QDialog::Accepted);
}

TEST(ScriptedDialogRunner, TypedHandlerFailsOnAnotherDialogClass) {
    ScriptedServices services;
    services.dialogs.expect<NameDialog>([](NameDialog& named) { named.accept(); });
    QDialog plain;
    QDialog::DialogCode result = QDialog::Accepted;
    EXPECT_NONFATAL_FAILURE(result = Services::dialogs().run(plain), "Expected a");
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST(ScriptedDialogRunner, RefusedOkKeepsTheDialogOpenUntilTheHandlerCancels) {
    ScriptedServices services;
    services.dialogs.expectDialog([&](QDialog& shown) {
        auto& dialog = static_cast<NameDialog&>(shown);
        dialog.ok()->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(services.prompter.last().text(), "The unit name is empty!!!");
        dialog.buttons->button(QDialogButtonBox::Cancel)->click();
    });
    NameDialog dialog;
    EXPECT_EQ(Services::dialogs().run(dialog), QDialog::Rejected);
    EXPECT_EQ(services.dialogs.dialogs().back().result, QDialog::Rejected);
}

TEST(ScriptedDialogRunner, DialogReusedAfterAcceptStartsRejectedAgain) {
    ScriptedServices services;
    NameDialog dialog;
    services.dialogs.acceptNext();
    services.dialogs.expectDialog([](QDialog& shown) { shown.hide(); });
    EXPECT_EQ(Services::dialogs().run(dialog), QDialog::Accepted);
    // Merely hiding the dialog is not an OK.
    EXPECT_EQ(Services::dialogs().run(dialog), QDialog::Rejected);
}

TEST(ScriptedDialogRunner, DialogsOpenedFromAHandlerTakeTheNextHandlers) {
    ScriptedServices services;
    std::vector<QString> order;
    services.dialogs.expectDialog([&](QDialog& outer) {
        order.push_back(outer.windowTitle());
        NameDialog inner;
        inner.setWindowTitle("Select target");
        EXPECT_EQ(Services::dialogs().run(inner), QDialog::Rejected);
        outer.accept();
    });
    services.dialogs.expectDialog([&](QDialog& inner) {
        order.push_back(inner.windowTitle());
        inner.reject();
    });
    NameDialog outer;
    outer.setWindowTitle("Edit group");
    EXPECT_EQ(Services::dialogs().run(outer), QDialog::Accepted);
    EXPECT_EQ(order, (std::vector<QString>{"Edit group", "Select target"}));
}

TEST(ScriptedDialogRunner, UnscriptedOrAbandonedDialogsFailAndAreRejected) {
    ScriptedServices services;
    NameDialog dialog;
    QDialog::DialogCode result = QDialog::Accepted;
    EXPECT_NONFATAL_FAILURE(result = Services::dialogs().run(dialog), "Unscripted dialog");
    EXPECT_EQ(result, QDialog::Rejected);

    services.dialogs.expectDialog([](QDialog&) {});
    result = QDialog::Accepted;
    EXPECT_NONFATAL_FAILURE(result = Services::dialogs().run(dialog), "left open");
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ScriptedDialogRunner, SaveFileAnswersFromTheScriptAndRecordsTheRequest) {
    ScriptedServices services;
    services.dialogs.answerSaveFile("/tmp/values.xlsx");
    services.dialogs.answerSaveFile(std::nullopt);

    SaveFileRequest request;
    request.caption = "Save as";
    request.filters = QStringList{"Excel workbooks (*.xlsx)"};
    request.defaultSuffix = "xlsx";
    request.confirmOverwrite = false;
    EXPECT_EQ(Services::dialogs().saveFileName(request), std::optional<QString>("/tmp/values.xlsx"));
    EXPECT_EQ(Services::dialogs().saveFileName(request), std::nullopt);

    ASSERT_EQ(services.dialogs.saveRequests().size(), 2u);
    EXPECT_EQ(services.dialogs.saveRequests()[0].request.defaultSuffix, "xlsx");
    EXPECT_FALSE(services.dialogs.saveRequests()[0].request.confirmOverwrite);
    EXPECT_EQ(services.dialogs.saveRequests()[1].answer, std::nullopt);
    EXPECT_NONFATAL_FAILURE(Services::dialogs().saveFileName(request), "Unscripted save-file");
}

TEST(ScriptedServices, UnusedScriptsFailWhenTheServicesGoAway) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedServices services;
            services.prompter.answerYes();
        },
        "never asked");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedServices services;
            services.dialogs.acceptNext();
        },
        "never opened");
    // Opting out keeps quiet.
    ScriptedServices services;
    services.prompter.answerNo();
    services.allowUnusedScripts();
}

}  // namespace
}  // namespace orv::test
