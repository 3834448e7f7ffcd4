// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the picture buttons, the panel's states and the entropy feed.
#include "UiTestSupport.h"
#include "ui/Artwork.h"
#include "ui/Driver.h"
#include "ui/ProgramPictures.h"

namespace vw::ui::test {

// Each picture file is drawn in a colour of its own: red and green from its first characters.
static QRgb ColourOf(const QString& name) {
    return qRgb(name[0].unicode(), name[1].unicode(), 0);
}

struct MainWindowTest : ::testing::Test {
    UiState state;
    MainWindow window{state};
};

TEST_F(MainWindowTest, PictureButtonsActOnReleaseAndPointerMovesFeedTheEntropyPool) {
    window.setPictureLoader([](const QString& name) {
        QPixmap picture(4, 4);
        picture.fill(QColor(ColourOf(name)));
        return picture;
    });
    const auto shown = [&](QLabel* button) { return button->pixmap().toImage().pixel(0, 0); };
    const std::tuple<const char*, QPixmap, QString, QString, std::shared_ptr<int>> rows[] = {
        {"Picture3", OpenButtonPixmap(), "22.jpg", "21.jpg",
         Spy(&window, &MainWindow::selectFileRequested)},
        {"Picture4", ProcessButtonPixmap(), "32.jpg", "31.jpg",
         Spy(&window, &MainWindow::cryptoRequested)},
        {"Picture2", ExitButtonPixmap(), "02.jpg", "01.jpg",
         Spy(&window, &MainWindow::exitRequested)}};
    for (const auto& [name, designLook, pressed, released, acted] : rows) {
        SCOPED_TRACE(name);
        auto* button = Child<QLabel>(&window, name);
        EXPECT_EQ(button->pixmap().toImage(), designLook.toImage());
        SendMouse(button, QEvent::MouseButtonPress);
        EXPECT_EQ(std::tuple(shown(button), *acted), std::tuple(ColourOf(pressed), 0));
        SendMouse(button, QEvent::MouseButtonRelease);
        EXPECT_EQ(std::tuple(shown(button), *acted), std::tuple(ColourOf(released), 1));
    }
    // The caption of the process button works it only while a file name is shown.
    auto processes = Spy(&window, &MainWindow::cryptoRequested);
    for (const QString& name : {QString(), u"b.txt"_s}) {
        Child<QLabel>(&window, "lblFileName")->setText(name);
        SendMouse(Child<QLabel>(&window, "Label4"), QEvent::MouseButtonPress);
        SendMouse(Child<QLabel>(&window, "Label4"), QEvent::MouseButtonRelease);
    }
    EXPECT_EQ(*processes, 1);
    EXPECT_EQ(Child<QLabel>(&window, "Label4")->toolTip(), u"Crypta"_s);
    // The file icon: a click and a double click each ask once for the quick view; the release
    // that ends the double click is no click of its own.
    auto views = Spy(&window, &MainWindow::quickViewRequested);
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        SendMouse(Child<QLabel>(&window, "imgIcon"), type);
    EXPECT_EQ(*views, 2);
    // Every new pointer position over the panel feeds the entropy pool, in twips.
    const std::string before = ProgramEntropy().Bytes();
    const std::pair<const char*, QPointF> moves[] = {
        {"lblSource", {10, 3}}, {"lblSource", {10, 3}}, {"lblTime", {3, 2}}, {"Picture3", {9, 9}}};
    for (const auto& [over, at] : moves)
        SendMouse(Child<QWidget>(&window, over), QEvent::MouseMove, at);
    // A position already fed and the buttons feed nothing.
    const std::string after = ProgramEntropy().Bytes();
    EXPECT_EQ(after.substr(std::min(before.size(), after.size() - 2)),
              (std::string{static_cast<char>(150 ^ 45), static_cast<char>(45 ^ 30)}));
    EXPECT_EQ(after.size(), std::min<std::size_t>(before.size() + 2, EntropyPool::kSize));
}

TEST_F(MainWindowTest, PanelFollowsTheSelectedFile) {
    QTemporaryDir folder;
    const auto action = [&](const char* name) { return Child<QAction>(&window, name); };
    const std::tuple<const char*, PanelState, const char*, const char*> rows[] = {
        {"", PanelState::NoFile, "&Encode", ""},
        {"photo.jpeg", PanelState::Picture, "&Encrypt", "Unprotected"},
        {"b.vwx", PanelState::Other, "&Decrypt", "Crypto version: "}};
    for (const auto& [name, panel, crypto, version] : rows) {
        SCOPED_TRACE(name);
        const bool file = *name != '\0';
        const QByteArray contents(*name == 'b' ? 0 : 1, 'x'); // an empty file shows its size too
        state.selectedPath = file ? WriteFile(QDir(folder.path()), name, contents) : QString();
        window.showSelection(state.selectedPath, u"Lumora "_s);
        window.RefreshFilePanel();
        EXPECT_EQ(state.panelState, panel);
        EXPECT_EQ(action("mnuView")->isEnabled(), panel == PanelState::Picture);
        EXPECT_EQ(action("mnuShell")->isEnabled(), file);
        EXPECT_TRUE(action("mnuCrypto")->isEnabled() &&
                    action("mnuCrypto")->text() == QLatin1String(crypto));
        if (!file) continue;
        EXPECT_EQ(window.windowTitle(), u"Lumora "_s + QLatin1String(name));
        EXPECT_EQ(Child<QLabel>(&window, "lblVersion")->text(), QLatin1String(version));
        EXPECT_EQ(Child<QLabel>(&window, "lblSize")->text(), u"%1 Bytes"_s.arg(contents.size()));
    }
}

// Pictures come from the program's own folder first, then from the installed pictures.
TEST(ProgramPictures, ProgramFolderFirstThenTheInstalledOnes) {
    const QString name = u"vw-test-picture.png"_s;
    QImage(7, 5, QImage::Format_RGB32).save(ProgramFolder() + '/' + name, "PNG");
    EXPECT_EQ(LoadProgramPicture('\\' + name).size(), QSize(7, 5));
    QFile::remove(ProgramFolder() + '/' + name);
    EXPECT_TRUE(LoadProgramPicture(name).isNull());
    EXPECT_EQ(PictureFolders().first(), ProgramFolder());
#ifdef VW_SHARE_DIR
    EXPECT_EQ(PictureFolders().last(), QStringLiteral(VW_SHARE_DIR));
    // An installed tree that was moved: its pictures beside the program's folder.
    const QString moved = PictureFolders()[1];
    ASSERT_TRUE(QDir().mkpath(moved) && QDir(moved).absolutePath().startsWith(
                                            QDir(ProgramFolder() + u"/.."_s).absolutePath()));
    QImage(3, 2, QImage::Format_RGB32).save(moved + '/' + name, "PNG");
    EXPECT_EQ(LoadProgramPicture(name).size(), QSize(3, 2));
    QFile::remove(moved + '/' + name);
#endif
}

} // namespace vw::ui::test
