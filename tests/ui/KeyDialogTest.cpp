// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The password dialog: its refusals, what it holds and what it leaves behind.
#include "UiTestSupport.h"

namespace vw::ui::test {

struct KeyDialogTest : ProgramFixture {
    void SetUp() override {
        ProgramFixture::SetUp();
        txtCode = Child<QLineEdit>(dialog(), "txtCode");
        txtConfirm = Child<QLineEdit>(dialog(), "txtConfirm");
        dialog()->show();
        state().password = QString::fromLatin1("earlier1"); // a buffer of its own
    }
    void type(const QString& code, const QString& confirm) {
        txtCode->setText(code);
        txtConfirm->setText(confirm);
    }
    QString boxes() const { return txtCode->text() + txtConfirm->text(); }
    KeyDialog* dialog() { return &program->keyDialog(); }
    QLineEdit *txtCode, *txtConfirm;
};

// Refused in this order: entries that differ, characters outside Windows-1252 (the typed text
// judged whole: characters of two UTF-16 units, lone surrogates), too short.
TEST_F(KeyDialogTest, RefusalsInOrderWipeBothBoxesAndKeepTheHeldPassword) {
    const QString differ = u"Le password non conincidono"_s;
    const QString outside = u"La password contiene caratteri non ammessi: "_s;
    const QString rows[][3] = {
        {u"abcde"_s, u"abcdE"_s, differ},
        {u"\U0001F511\u0100\U0001F511"_s, u"\U0001F511\u0100\U0001F511"_s,
         outside + u"U+1F511, U+0100"_s},
        {QChar(0xD800) + u"abcde"_s, QChar(0xD800) + u"abcde"_s, outside + u"U+FFFD"_s},
        {u"abcd"_s, u"abcd"_s, u"Password troppo corta"_s}};
    for (const auto& [code, confirm, refusal] : rows) {
        prompts.messages.clear();
        type(code, confirm);
        Child<QPushButton>(dialog(), "cmdOK")->click();
        ASSERT_EQ(prompts.messages.size(), 1u) << code.toStdString();
        const ShownMessage& shown = prompts.messages[0];
        EXPECT_EQ(std::tuple(shown.text, shown.title, shown.icon),
                  std::tuple(refusal, u"Lumora"_s, MessageIcon::Critical));
        EXPECT_EQ(
            std::tuple(dialog()->isVisible(), boxes(), dialog()->focusWidget(), state().password),
            std::tuple(true, QString(), static_cast<QWidget*>(txtCode), u"earlier1"_s));
    }
}

TEST_F(KeyDialogTest, EnterMovesOnThenAcceptsWipingTheBoxesAndTheOldPassword) {
    const QString longPassword(40000, u'7'); // beyond a text box's default limit: none here
    type(longPassword, longPassword);
    EXPECT_EQ(boxes(), longPassword + longPassword);
    const QChar* earlier = state().password.constData();
    type(u"Abcd1!"_s, QString());
    EXPECT_EQ(Child<QProgressBar>(dialog(), "ProgressBar1")->value(), 46);
    Press(txtCode, Qt::Key_Return);
    EXPECT_EQ(dialog()->focusWidget(), txtConfirm);
    auto accepted = Spy(dialog(), &KeyDialog::passwordAccepted);
    txtConfirm->setText(u"Abcd1!"_s);
    Press(txtConfirm, Qt::Key_Return);
    EXPECT_EQ(std::tuple(*accepted, state().password, dialog()->isVisible(), boxes()),
              std::tuple(1, u"Abcd1!"_s, false, QString()));
    // The old password was blanked before the new one was written over it.
    EXPECT_EQ(QStringView(earlier, 8), QStringView(u"Abcd1!\0 ", 8)); // "\0": the text's end
}

TEST_F(KeyDialogTest, CloseAndEscapeKeepTheHeldPasswordAndEveryShowingStartsMasked) {
    for (const bool escape : {false, true}) {
        dialog()->show();
        EXPECT_EQ(txtConfirm->echoMode(), QLineEdit::Password);
        Child<QCheckBox>(dialog(), "Check1")->click(); // shows the typing
        EXPECT_EQ(txtConfirm->echoMode(), QLineEdit::Normal);
        type(u"other12"_s, u"other12"_s);
        escape ? Press(dialog(), Qt::Key_Escape)
               : Child<QPushButton>(dialog(), "cmdCancel")->click();
        EXPECT_EQ(std::tuple(dialog()->isVisible(), state().password, boxes()),
                  std::tuple(false, u"earlier1"_s, QString()));
    }
}

} // namespace vw::ui::test
