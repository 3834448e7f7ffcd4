// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the picture buttons, the panel's states and the entropy feed.
#include "UiTestSupport.h"
#include "ui/Artwork.h"
#include "ui/Driver.h"
#include "ui/ElidingLabel.h"
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

TEST_F(MainWindowTest, PictureButtonsActOnReleaseOverThemAndPointerMovesFeedTheEntropyPool) {
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
    // Pressed, dragged off (and back), released: the look follows the pointer, and only a
    // release over the button counts; the second half of a double click is a click too.
    const std::tuple<QEvent::Type, QPointF, bool, int> steps[] = {
        {QEvent::MouseButtonPress, {5, 5}, true, 0},
        {QEvent::MouseMove, {-9, 5}, false, 0},
        {QEvent::MouseMove, {6, 6}, true, 0},
        {QEvent::MouseMove, {5, 40}, false, 0},
        {QEvent::MouseButtonRelease, {5, 40}, false, 0},
        {QEvent::MouseButtonPress, {5, 5}, true, 0},
        {QEvent::MouseButtonRelease, {5, 5}, false, 1},
        {QEvent::MouseButtonDblClick, {5, 5}, true, 1},
        {QEvent::MouseButtonRelease, {5, 5}, false, 2}};
    for (const auto& [name, designLook, pressed, released, acted] : rows) {
        SCOPED_TRACE(name);
        auto* button = Child<QLabel>(&window, name);
        EXPECT_EQ(button->pixmap().toImage(), designLook.toImage());
        for (const auto& [type, at, down, count] : steps) {
            SendMouse(button, type, at);
            EXPECT_EQ(std::tuple(shown(button), *acted),
                      std::tuple(ColourOf(down ? pressed : released), count));
        }
    }
    // The caption of the process button works it as the picture does, file name or not.
    auto processes = Spy(&window, &MainWindow::cryptoRequested);
    auto* caption = Child<QLabel>(&window, "Label4");
    for (const QPointF release : {QPointF(5, 5), QPointF(90, 5), QPointF(5, 5)}) {
        Child<QLabel>(&window, "lblFileName")->setText(release.x() > 50 ? u"b.txt"_s : QString());
        SendMouse(caption, QEvent::MouseButtonPress);
        SendMouse(caption, QEvent::MouseButtonRelease, release); // at 90 it is off the button
    }
    EXPECT_EQ(*processes, 2);
    EXPECT_EQ(caption->toolTip(), u"Crypta"_s);
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

// Tab goes round the controls, a mark showing where the keyboard is; Space and Enter work them;
// the held-back menus' commands have their keys.
TEST_F(MainWindowTest, KeyboardReachesAndWorksEveryCommand) {
    QTemporaryDir folder;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(&window, "Picture3")); // "Apri" first
    const std::pair<const char*, std::shared_ptr<int>> controls[] = {
        {"Picture3", Spy(&window, &MainWindow::selectFileRequested)},
        {"Picture4", Spy(&window, &MainWindow::cryptoRequested)},
        {"imgIcon", Spy(&window, &MainWindow::quickViewRequested)},
        {"Picture2", Spy(&window, &MainWindow::exitRequested)},
        {"Picture1", Spy(&window, &MainWindow::partnerPageRequested)},
        {"Panel2", Spy(&window, &MainWindow::makerPageRequested)}};
    for (const bool file : {false, true}) { // the icon takes the focus only while it shows a file
        state.selectedPath = file ? WriteFile(QDir(folder.path()), u"a.txt"_s, "a") : QString();
        window.showSelection(state.selectedPath, QString());
        window.RefreshFilePanel();
        Child<QWidget>(&window, "Picture3")->setFocus(Qt::MouseFocusReason);
        QStringList order;
        for (int i = 0; i < 6; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const QString expected = file ? u"Picture3 Picture4 imgIcon Picture2 Picture1 Panel2"_s
                                      : u"Picture3 Picture4 Picture2 Picture1 Panel2 Picture3"_s;
        EXPECT_EQ(order.join(u' '), expected);
    }
    // The mark shows once the keyboard brought the focus, not after a click.
    auto* process = Child<QWidget>(&window, "Picture4");
    const QImage plain = process->grab().toImage();
    process->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(process->grab().toImage(), plain);
    QTest::keyClick(process, Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(process->hasFocus() && process->grab().toImage() != plain);
    // Space (on its release) and Enter work each control once.
    for (const auto& [name, acted] : controls) {
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
            Child<QWidget>(&window, name)->setFocus(Qt::TabFocusReason);
            const int start = *acted;
            QTest::keyPress(QApplication::focusWidget(), key);
            const int onPress = *acted - start;
            QTest::keyRelease(QApplication::focusWidget(), key);
            EXPECT_EQ(std::tuple(onPress, *acted - start - onPress),
                      key == Qt::Key_Space ? std::tuple(0, 1) : std::tuple(1, 0))
                << name << " " << key;
        }
    }
    // Ctrl+O and F1 wherever the focus is; Ctrl+Q closes the window.
    auto help = Spy(&window, &MainWindow::helpRequested);
    auto closing = Spy(&window, &MainWindow::closing);
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(std::tuple(*controls[0].second, *help, *closing), std::tuple(3, 1, 0));
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(*closing, window.isVisible()), std::tuple(1, false));
}

TEST_F(MainWindowTest, PanelFollowsTheSelectedFile) {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(u"Documenti"_s);
    const auto action = [&](const char* name) { return Child<QAction>(&window, name); };
    const QString quickView = u" Click here for a quick view "_s;
    const QString longName = u"relazione-"_s.repeated(12) + u"finale.txt"_s;
    const std::tuple<QString, PanelState, const char*, const char*, QString> rows[] = {
        {{}, PanelState::NoFile, "&Encode", "", {}},
        {u"photo.jpeg"_s, PanelState::Picture, "&Encrypt", "Unprotected", quickView},
        {u"b.vwx"_s, PanelState::Other, "&Decrypt", "Crypto version: ", {}},
        {u"Documenti/"_s + longName, PanelState::Other, "&Encrypt", "Unprotected", {}}};
    for (const auto& [name, panel, crypto, version, tip] : rows) {
        SCOPED_TRACE(name.toStdString());
        const bool file = !name.isEmpty();
        const QByteArray contents(name.startsWith(u'b') ? 0 : 1, 'x'); // an empty file too
        state.selectedPath = file ? WriteFile(QDir(folder.path()), name, contents) : QString();
        window.showSelection(state.selectedPath, u"Lumora "_s);
        window.RefreshFilePanel();
        EXPECT_EQ(state.panelState, panel);
        EXPECT_EQ(action("mnuView")->isEnabled(), panel == PanelState::Picture);
        EXPECT_EQ(action("mnuShell")->isEnabled(), file);
        EXPECT_TRUE(action("mnuCrypto")->isEnabled() &&
                    action("mnuCrypto")->text() == QLatin1String(crypto));
        EXPECT_EQ(Child<QLabel>(&window, "imgIcon")->toolTip(), tip);
        if (!file) continue;
        const QString base = name.section(u'/', -1);
        EXPECT_EQ(window.windowTitle(), u"Lumora "_s + base);
        EXPECT_EQ(Child<QLabel>(&window, "lblVersion")->text(), QLatin1String(version));
        EXPECT_EQ(Child<QLabel>(&window, "lblSize")->text(), u"%1 Bytes"_s.arg(contents.size()));
        // A name too long for its label shows shortened in the middle, its end in view; the
        // path keeps the folder the file is in.
        auto* label = Child<ElidingLabel>(&window, "lblFileName");
        const QString shown = label->shownText();
        EXPECT_EQ(label->text(), base);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->width());
        EXPECT_TRUE(shown == base || (shown.contains(u'…') && shown.endsWith(u"finale.txt"_s)))
            << shown.toStdString();
        const QString path = Child<QLabel>(&window, "lblSource")->text();
        EXPECT_TRUE(path.contains(name.section(u'/', 0, 0)) &&
                    path.contains(u'…') == (shown != base))
            << path.toStdString();
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
