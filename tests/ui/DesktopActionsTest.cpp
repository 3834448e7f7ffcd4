// Opening files and web pages, and the properties of a file, with the desktop scripted.
#include "ui/DesktopActions.h"
#include "ui/Prompts.h"
#include "ui/PropertiesWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace vw::ui {
namespace {

struct ScriptedShell : DesktopShell {
    bool openAnswer = true;
    bool chooserAnswer = true;
    // Answer of the file manager; unset: it answers later, through pendingDone.
    std::optional<bool> fileManagerAnswer = true;

    std::vector<std::pair<QUrl, QString>> opened;
    std::vector<QString> chooserPaths;
    std::vector<QUrl> propertiesAsked;
    std::function<void(bool)> pendingDone;

    bool openUrl(const QUrl& url, const QString& verb) override {
        opened.emplace_back(url, verb);
        return openAnswer;
    }
    bool chooseApplication(const QString& path) override {
        chooserPaths.push_back(path);
        return chooserAnswer;
    }
    void showItemProperties(const QUrl& url, std::function<void(bool)> done) override {
        propertiesAsked.push_back(url);
        if (fileManagerAnswer)
            done(*fileManagerAnswer);
        else
            pendingDone = std::move(done);
    }
};

struct RecordingPrompts : Prompts {
    struct Message {
        MessageIcon icon;
        QString title;
        QString text;
    };
    std::vector<Message> messages;
    void showMessage(QWidget*, MessageIcon icon, const QString& title,
                     const QString& text) override {
        messages.push_back({icon, title, text});
    }
};

class DesktopActionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDesktopShell(&shell);
        SetPrompts(&prompts);
    }
    void TearDown() override {
        SetDesktopShell(nullptr);
        SetPrompts(nullptr);
    }
    QString makeFile(const QString& name, const QByteArray& data = "content") {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return path;
    }
    QTemporaryDir dir;
    ScriptedShell shell;
    RecordingPrompts prompts;
};

TEST(ShellVerb, MediaIsPlayedEverythingElseOpened) {
    for (const char* path : {"song.mp3", "/m/clip.AVI", "a.wav", "x.Mid", "old.mp2"})
        EXPECT_EQ(ShellVerbFor(path), "play") << path;
    for (const char* path : {"notes.txt", "song.mp4", "a.wave", "mp3", "", "photo.jpg"})
        EXPECT_EQ(ShellVerbFor(path), "open") << path;
}

TEST_F(DesktopActionsTest, OpensAnExistingFileWithItsVerbAndFileUrl) {
    const QString song = makeFile("song.mp3");
    const QString notes = makeFile("notes.txt");
    OpenSelectedFile(song);
    OpenSelectedFile(notes);
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened[0].first, QUrl::fromLocalFile(song));
    EXPECT_EQ(shell.opened[0].second, "play");
    EXPECT_EQ(shell.opened[1].first, QUrl::fromLocalFile(notes));
    EXPECT_EQ(shell.opened[1].second, "open");
    EXPECT_TRUE(shell.chooserPaths.empty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DesktopActionsTest, NoProgramOffersTheChooserThenTellsTheUser) {
    const QString odd = makeFile("data.xyz123");
    shell.openAnswer = false;
    OpenSelectedFile(odd);
    EXPECT_EQ(shell.chooserPaths, std::vector<QString>{odd});
    EXPECT_TRUE(prompts.messages.empty());
    shell.chooserAnswer = false;
    OpenSelectedFile(odd);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(prompts.messages[0].title, "Lumora");
    EXPECT_EQ(prompts.messages[0].text, "Tipo File Sconosciuto");
}

TEST_F(DesktopActionsTest, EmptyOrMissingPathDoesNothing) {
    shell.openAnswer = false;
    shell.chooserAnswer = false;
    QWidget owner;
    for (const QString& path : {QString(), dir.filePath("gone.txt"), dir.path()}) {
        OpenSelectedFile(path);
        EXPECT_EQ(ShowFileProperties(path, &owner), kPropertiesNotShown);
    }
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(shell.chooserPaths.empty());
    EXPECT_TRUE(shell.propertiesAsked.empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(owner.findChildren<PropertiesWindow*>().isEmpty());
}

TEST_F(DesktopActionsTest, FileManagerShowsThePropertiesWhenItAnswers) {
    const QString path = makeFile("report.txt");
    QWidget owner;
    EXPECT_EQ(ShowFileProperties(path, &owner), kPropertiesShown);
    ASSERT_EQ(shell.propertiesAsked.size(), 1u);
    EXPECT_EQ(shell.propertiesAsked[0], QUrl::fromLocalFile(path));
    EXPECT_TRUE(owner.findChildren<PropertiesWindow*>().isEmpty());
}

TEST_F(DesktopActionsTest, OwnPropertiesWindowWhenNoFileManagerAnswers) {
    const QString path = makeFile("report.txt", QByteArray(2048, 'x'));
    shell.fileManagerAnswer.reset();
    QWidget owner;
    EXPECT_EQ(ShowFileProperties(path, &owner), kPropertiesShown);
    EXPECT_TRUE(owner.findChildren<PropertiesWindow*>().isEmpty()); // not before the answer
    ASSERT_TRUE(shell.pendingDone);
    shell.pendingDone(false);

    const auto windows = owner.findChildren<PropertiesWindow*>();
    ASSERT_EQ(windows.size(), 1);
    PropertiesWindow* window = windows[0];
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->text(PropertiesWindow::Field::Name), "report.txt");
    EXPECT_EQ(window->text(PropertiesWindow::Field::Folder),
              QFileInfo(dir.path()).absoluteFilePath());
    EXPECT_EQ(window->text(PropertiesWindow::Field::Size), "2,0 KB (2.048 byte)");
    EXPECT_TRUE(window->text(PropertiesWindow::Field::Type).contains("text/plain"));
    EXPECT_TRUE(window->text(PropertiesWindow::Field::Permissions).startsWith("rw"));
    EXPECT_FALSE(window->text(PropertiesWindow::Field::Modified).isEmpty());
    window->close();
}

TEST_F(DesktopActionsTest, OwnerGoneBeforeTheAnswerStillShowsAWindow) {
    const QString path = makeFile("late.txt");
    shell.fileManagerAnswer.reset();
    auto* owner = new QWidget;
    ShowFileProperties(path, owner);
    delete owner;
    shell.pendingDone(false);
    PropertiesWindow* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<PropertiesWindow*>(w); p && p->isVisible()) shown = p;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(PropertiesWindow::Field::Name), "late.txt");
    delete shown;
}

TEST_F(DesktopActionsTest, WebPagesOpenTheirAddresses) {
    OpenWebPage(WebPage::Maker);
    OpenWebPage(WebPage::Partner);
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened[0].first, QUrl(kMakerPageAddress));
    EXPECT_EQ(shell.opened[1].first, QUrl(kPartnerPageAddress));
}

TEST(PropertiesText, SizesAndPermissions) {
    EXPECT_EQ(DescribeSize(0), "0 byte");
    EXPECT_EQ(DescribeSize(1023), "1.023 byte");
    EXPECT_EQ(DescribeSize(1234567), "1,2 MB (1.234.567 byte)");
    QTemporaryDir dir;
    const QString path = dir.filePath("ro.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup);
    // The access words follow what this process may do (an administrator may write anyway).
    EXPECT_TRUE(DescribePermissions(path).startsWith("r--r----- ("))
        << DescribePermissions(path).toStdString();
}

} // namespace
} // namespace vw::ui
