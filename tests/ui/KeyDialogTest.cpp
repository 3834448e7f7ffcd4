#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/KeyDialog.h"

namespace vw::ui {
namespace {

void PressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                    key == Qt::Key_Return ? QStringLiteral("\r") : QString());
    QCoreApplication::sendEvent(widget, &press);
}

class KeyDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog.show();
        ASSERT_TRUE(dialog.isVisible());
    }
    void TearDown() override { dialog.hide(); }

    void type(const QString& code, const QString& confirm) {
        dialog.txtCode()->setText(code);
        dialog.txtConfirm()->setText(confirm);
    }

    test::ScriptedPrompts prompts;
    UiState state;
    KeyDialog dialog{state};
};

TEST_F(KeyDialogTest, EveryShowingStartsEmptyAndMasked) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Password"));
    // Leave the dialog with unmasked text and a meter value, then show it again.
    dialog.check1()->setChecked(false);
    EXPECT_EQ(dialog.txtCode()->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(dialog.txtConfirm()->echoMode(), QLineEdit::Normal);
    type(QStringLiteral("Secret1"), QStringLiteral("Secret1"));
    dialog.cmdCancel()->click();
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();

    EXPECT_TRUE(dialog.txtCode()->text().isEmpty());
    EXPECT_TRUE(dialog.txtConfirm()->text().isEmpty());
    EXPECT_EQ(dialog.txtCode()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.txtConfirm()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dialog.check1()->isChecked());
    EXPECT_EQ(dialog.meter()->value(), 0);
    EXPECT_FALSE(dialog.cmdOK()->isEnabled());
    EXPECT_EQ(dialog.focusWidget(), dialog.txtCode());
    EXPECT_EQ(dialog.txtCode()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                   dialog.txtCode()),
              '*');
}

TEST_F(KeyDialogTest, TypingRatesTheCodeAndEnablesOk) {
    dialog.txtCode()->setText(QStringLiteral("A"));
    EXPECT_TRUE(dialog.cmdOK()->isEnabled());
    EXPECT_EQ(dialog.meter()->value(), 3);
    dialog.txtCode()->setText(QStringLiteral("Abcd1!"));
    EXPECT_EQ(dialog.meter()->value(), 46);
    dialog.txtCode()->setText(QStringLiteral("ab\u00e9")); // 233 in the code page: a symbol
    EXPECT_EQ(dialog.meter()->value(), 14);
    dialog.txtCode()->clear();
    EXPECT_FALSE(dialog.cmdOK()->isEnabled());
    EXPECT_EQ(dialog.meter()->value(), 0);
    // The confirmation box changes neither.
    dialog.txtConfirm()->setText(QStringLiteral("Abcdef1!"));
    EXPECT_FALSE(dialog.cmdOK()->isEnabled());
    EXPECT_EQ(dialog.meter()->value(), 0);
}

TEST_F(KeyDialogTest, EnterMovesOnThenPressesOk) {
    dialog.txtConfirm()->setText(QStringLiteral("Secret1"));
    PressKey(dialog.txtConfirm(), Qt::Key_Return); // the confirmation alone: nothing happens
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(state.password.isEmpty());
    dialog.txtConfirm()->clear();
    dialog.txtCode()->setFocus();
    PressKey(dialog.txtCode(), Qt::Key_Return); // empty: nothing happens
    EXPECT_EQ(dialog.focusWidget(), dialog.txtCode());
    EXPECT_TRUE(dialog.txtCode()->text().isEmpty());

    dialog.txtCode()->setText(QStringLiteral("Secret1"));
    PressKey(dialog.txtCode(), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.txtConfirm());
    EXPECT_EQ(dialog.txtCode()->text(), QStringLiteral("Secret1")); // no character added

    auto accepted = test::Spy(&dialog, &KeyDialog::passwordAccepted);
    dialog.txtConfirm()->setText(QStringLiteral("Secret1"));
    PressKey(dialog.txtConfirm(), Qt::Key_Enter);
    EXPECT_EQ(state.password, QStringLiteral("Secret1"));
    EXPECT_EQ(*accepted, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.txtCode()->text().isEmpty());
    EXPECT_TRUE(dialog.txtConfirm()->text().isEmpty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(KeyDialogTest, RefusalsWipeBothBoxesAndKeepTheDialogOpen) {
    state.password = QStringLiteral("earlier1");
    struct Case {
        const char* code;
        const char* confirm;
        const char* message;
    };
    for (const Case& c :
         {Case{"\u043f\u0430\u0440\u043e\u043b\u044c1", "\u043f\u0430\u0440\u043e\u043b\u044c1",
               "La password contiene caratteri non ammessi: \u043f, \u0430, \u0440, "
               "\u043e, \u043b, \u044c"},
          Case{"abcd", "abcd", "Password troppo corta"},
          Case{"ababab", "ababab", "Password troppo corta"},
          Case{"abcde", "abcdE", "Le password non conincidono"}}) {
        prompts.messages.clear();
        type(QString::fromUtf8(c.code), QString::fromUtf8(c.confirm));
        dialog.cmdOK()->click();
        ASSERT_EQ(prompts.messages.size(), 1u) << c.code;
        EXPECT_EQ(prompts.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Lumora"));
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.txtCode()->text().isEmpty());
        EXPECT_TRUE(dialog.txtConfirm()->text().isEmpty());
        EXPECT_EQ(dialog.focusWidget(), dialog.txtCode());
        EXPECT_EQ(state.password, QStringLiteral("earlier1"));
    }
}

TEST_F(KeyDialogTest, CloseAndEscapeKeepTheHeldPassword) {
    state.password = QStringLiteral("earlier1");
    for (const bool escape : {false, true}) {
        dialog.show();
        type(QStringLiteral("other12"), QStringLiteral("other12"));
        escape ? PressKey(&dialog, Qt::Key_Escape) : dialog.cmdCancel()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(state.password, QStringLiteral("earlier1"));
        EXPECT_TRUE(dialog.txtCode()->text().isEmpty());
        EXPECT_TRUE(dialog.txtConfirm()->text().isEmpty());
    }
}

TEST_F(KeyDialogTest, ModalShowingReturnsWhenAcceptedAndKeepsALongPasswordWhole) {
    dialog.hide();
    QString longPassword; // beyond a text box's default limit, and no piece repeated
    for (int i = 0; longPassword.size() < 40000; ++i)
        longPassword += QString::number(i);
    test::WhenShown(&dialog, [this, longPassword] {
        type(longPassword, longPassword);
        dialog.cmdOK()->click();
    });
    dialog.exec();
    EXPECT_EQ(state.password, longPassword);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace vw::ui
