// The password dialog: its refusals, what it holds and what it leaves behind.
#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "UiTestSupport.h"
#include "ui/KeyDialog.h"

namespace vw::ui {
namespace {

using namespace Qt::StringLiterals;

class KeyDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { dialog.show(); }

    void type(const QString& code, const QString& confirm) {
        txtCode->setText(code);
        txtConfirm->setText(confirm);
    }
    void press(QWidget* widget, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(widget, &event);
    }
    QString boxes() const { return txtCode->text() + txtConfirm->text(); }

    test::ScriptedPrompts prompts;
    UiState state;
    KeyDialog dialog{state};
    QLineEdit* txtCode = test::Child<QLineEdit>(&dialog, "txtCode");
    QLineEdit* txtConfirm = test::Child<QLineEdit>(&dialog, "txtConfirm");
    QPushButton* cmdOK = test::Child<QPushButton>(&dialog, "cmdOK");
};

// Refused in this order: entries that differ, characters outside Windows-1252, too short.
TEST_F(KeyDialogTest, RefusalsInOrderWipeBothBoxesAndKeepTheHeldPassword) {
    state.password = QStringLiteral("earlier1");
    const QString outside = QStringLiteral("La password contiene caratteri non ammessi: ");
    const QString rows[][3] = {
        {u"abcde"_s, u"abcdE"_s, u"Le password non conincidono"_s},
        {u"\u043f\u0430\u04401"_s, u"\u043f\u0430\u04402"_s, u"Le password non conincidono"_s},
        {u"\u043f1"_s, u"\u043f1"_s, outside + u"\u043f"_s},
        {u"abcd"_s, u"abcd"_s, u"Password troppo corta"_s},
    };
    for (const auto& [code, confirm, refusal] : rows) {
        prompts.messages.clear();
        type(code, confirm);
        cmdOK->click();
        ASSERT_EQ(prompts.messages.size(), 1u) << code.toStdString();
        EXPECT_EQ(prompts.messages[0].text, refusal);
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Lumora"));
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(boxes(), QString());
        EXPECT_EQ(dialog.focusWidget(), txtCode);
        EXPECT_EQ(state.password, QStringLiteral("earlier1"));
    }
}

TEST_F(KeyDialogTest, EnterMovesOnThenAcceptsWipingTheBoxesAndTheOldPassword) {
    QString longPassword; // beyond a text box's default limit: the boxes have none
    for (int i = 0; longPassword.size() < 40000; ++i)
        longPassword += QString::number(i);
    type(longPassword, longPassword);
    EXPECT_EQ(boxes(), longPassword + longPassword);

    state.password = QString::fromLatin1("earlier1"); // a buffer of its own
    const QChar* earlier = state.password.constData();
    type(QStringLiteral("Abcd1!"), QString());
    EXPECT_EQ(test::Child<QProgressBar>(&dialog, "ProgressBar1")->value(), 46);
    press(txtCode, Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), txtConfirm);
    auto accepted = test::Spy(&dialog, &KeyDialog::passwordAccepted);
    txtConfirm->setText(QStringLiteral("Abcd1!"));
    press(txtConfirm, Qt::Key_Return);
    EXPECT_EQ(*accepted, 1);
    EXPECT_EQ(state.password, QStringLiteral("Abcd1!"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(boxes(), QString());
    // The old password was blanked before the new one was written over it.
    EXPECT_EQ(QStringView(earlier, 8), QStringView(u"Abcd1!\0 ", 8)); // "\0": the text's end
}

TEST_F(KeyDialogTest, CloseAndEscapeKeepTheHeldPasswordAndEveryShowingStartsMasked) {
    state.password = QStringLiteral("earlier1");
    for (const bool escape : {false, true}) {
        dialog.show();
        EXPECT_EQ(txtConfirm->echoMode(), QLineEdit::Password);
        test::Child<QCheckBox>(&dialog, "Check1")->click(); // shows the typing
        EXPECT_EQ(txtConfirm->echoMode(), QLineEdit::Normal);
        type(QStringLiteral("other12"), QStringLiteral("other12"));
        escape ? press(&dialog, Qt::Key_Escape)
               : test::Child<QPushButton>(&dialog, "cmdCancel")->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(state.password, QStringLiteral("earlier1"));
        EXPECT_EQ(boxes(), QString());
    }
}

} // namespace
} // namespace vw::ui
