// The password dialog: its refusals, what it holds and what it leaves behind.
#include "UiTestSupport.h"

namespace vw::ui::test {

class KeyDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog.show();
        state.password = QString::fromLatin1("earlier1"); // a buffer of its own
    }
    void type(const QString& code, const QString& confirm) {
        txtCode->setText(code);
        txtConfirm->setText(confirm);
    }
    QString boxes() const { return txtCode->text() + txtConfirm->text(); }

    ScriptedPrompts prompts;
    UiState state;
    KeyDialog dialog{state};
    QLineEdit* txtCode = Child<QLineEdit>(&dialog, "txtCode");
    QLineEdit* txtConfirm = Child<QLineEdit>(&dialog, "txtConfirm");
};

// Refused in this order: entries that differ, characters outside Windows-1252, too short.
TEST_F(KeyDialogTest, RefusalsInOrderWipeBothBoxesAndKeepTheHeldPassword) {
    const QString differ = u"Le password non conincidono"_s;
    const QString rows[][3] = {
        {u"abcde"_s, u"abcdE"_s, differ},
        {u"\u043f\u0430\u04401"_s, u"\u043f\u0430\u04402"_s, differ},
        {u"\u043f1"_s, u"\u043f1"_s, u"La password contiene caratteri non ammessi: \u043f"_s},
        {u"abcd"_s, u"abcd"_s, u"Password troppo corta"_s},
    };
    for (const auto& [code, confirm, refusal] : rows) {
        prompts.messages.clear();
        type(code, confirm);
        Child<QPushButton>(&dialog, "cmdOK")->click();
        ASSERT_EQ(prompts.messages.size(), 1u) << code.toStdString();
        EXPECT_EQ(prompts.messages[0].text, refusal);
        EXPECT_EQ(prompts.messages[0].title, u"Lumora"_s);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(boxes(), QString());
        EXPECT_EQ(dialog.focusWidget(), txtCode);
        EXPECT_EQ(state.password, u"earlier1"_s);
    }
}

TEST_F(KeyDialogTest, EnterMovesOnThenAcceptsWipingTheBoxesAndTheOldPassword) {
    const QString longPassword(40000, u'7'); // beyond a text box's default limit: none here
    type(longPassword, longPassword);
    EXPECT_EQ(boxes(), longPassword + longPassword);
    const QChar* earlier = state.password.constData();
    type(u"Abcd1!"_s, QString());
    EXPECT_EQ(Child<QProgressBar>(&dialog, "ProgressBar1")->value(), 46);
    Press(txtCode, Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), txtConfirm);
    auto accepted = Spy(&dialog, &KeyDialog::passwordAccepted);
    txtConfirm->setText(u"Abcd1!"_s);
    Press(txtConfirm, Qt::Key_Return);
    EXPECT_EQ(*accepted, 1);
    EXPECT_EQ(state.password, u"Abcd1!"_s);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(boxes(), QString());
    // The old password was blanked before the new one was written over it.
    EXPECT_EQ(QStringView(earlier, 8), QStringView(u"Abcd1!\0 ", 8)); // "\0": the text's end
}

TEST_F(KeyDialogTest, CloseAndEscapeKeepTheHeldPasswordAndEveryShowingStartsMasked) {
    for (const bool escape : {false, true}) {
        dialog.show();
        EXPECT_EQ(txtConfirm->echoMode(), QLineEdit::Password);
        Child<QCheckBox>(&dialog, "Check1")->click(); // shows the typing
        EXPECT_EQ(txtConfirm->echoMode(), QLineEdit::Normal);
        type(u"other12"_s, u"other12"_s);
        escape ? Press(&dialog, Qt::Key_Escape) : Child<QPushButton>(&dialog, "cmdCancel")->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(state.password, u"earlier1"_s);
        EXPECT_EQ(boxes(), QString());
    }
}

} // namespace vw::ui::test
