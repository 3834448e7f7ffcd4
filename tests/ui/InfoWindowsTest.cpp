// The options, help-topics and about windows.
#include "ui/InfoWindows.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace vw::ui {
namespace {

QString LabelText(QDialog* dialog, const char* name) {
    auto* label = dialog->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing>");
}

TEST(OptionsWindow, ShowsTheSettingsAsRead) {
    std::unique_ptr<QDialog> on(CreateOptionsWindow({true, "/home/anna/Documenti", true}, nullptr));
    EXPECT_TRUE(LabelText(on.get(), "NewKeys").startsWith("Sì"));
    EXPECT_EQ(LabelText(on.get(), "Folder"), "/home/anna/Documenti");
    EXPECT_EQ(LabelText(on.get(), "PrivateCode"), "Sì");

    std::unique_ptr<QDialog> off(CreateOptionsWindow({false, "", false}, nullptr));
    EXPECT_TRUE(LabelText(off.get(), "NewKeys").startsWith("No"));
    EXPECT_FALSE(LabelText(off.get(), "Folder").isEmpty());
    EXPECT_EQ(LabelText(off.get(), "PrivateCode"), "No");
    EXPECT_EQ(off->windowTitle(), "Opzioni");
}

TEST(OptionsWindow, IsModalAndReturnsWhenClosed) {
    QWidget owner;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = owner.findChild<QDialog*>("frmOptions");
        ASSERT_NE(dialog, nullptr);
        wasModal = dialog->isModal() && dialog->isVisible();
        dialog->accept();
    });
    ShowOptionsWindow({}, &owner);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(owner.findChild<QDialog*>("frmOptions"), nullptr);
}

TEST(HelpTopicsWindow, ModelessSingleWindowThatFollowsTheChosenTopic) {
    QWidget owner;
    QDialog* first = ShowHelpTopicsWindow(&owner);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(ShowHelpTopicsWindow(&owner), first);

    auto* topics = first->findChild<QListWidget*>("topics");
    auto* page = first->findChild<QTextBrowser*>("page");
    ASSERT_NE(topics, nullptr);
    ASSERT_NE(page, nullptr);
    ASSERT_GE(topics->count(), 3);
    EXPECT_TRUE(page->toPlainText().contains(topics->item(0)->text()));
    topics->setCurrentRow(2);
    EXPECT_TRUE(page->toPlainText().contains(topics->item(2)->text()));
    first->close();
}

TEST(AboutWindow, NamesTheProgramItsVersionAndTheSafetyNote) {
    std::unique_ptr<QDialog> about(CreateAboutWindow(nullptr));
    EXPECT_EQ(LabelText(about.get(), "name"), "Vaultwise");
    EXPECT_TRUE(LabelText(about.get(), "version").contains(kProgramVersion));
    EXPECT_TRUE(LabelText(about.get(), "safety").contains("senza cifratura autenticata"));
}

} // namespace
} // namespace vw::ui
