// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The quick view of a protected picture: restored into memory only, told by its content, shown
// fitted to its window, wiped on closing.
#include <random>
#include <sys/inotify.h>
#include <unistd.h>

#include "UiTestSupport.h"
#include "ui/Driver.h"
#include "ui/ProtectedPictureView.h"

namespace vw::ui::test {

// Where the view shows red.
static QRect RedArea(QWidget* view) {
    const QImage shot = view->grab().toImage();
    QRect red;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == qRgb(255, 0, 0)) red |= QRect(x, y, 1, 1);
    return red;
}

static QImage Red(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::red);
    return picture;
}

TEST_F(ProgramFixture, ProtectedPictureRestoredInMemoryOnlyAndToldByItsContent) {
    QTemporaryDir home; // the user's folders
    start();
    QImage noise(64, 64, QImage::Format_RGB32);
    std::mt19937 random(3);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noise.setPixel(x, y, static_cast<uint>(random()));
    // Each protected under a name of its own, to a .vwx file of the same base name.
    ASSERT_TRUE(Red({64, 32}).save(pathOf(u"foto.png"_s), "PNG") &&
                Red({30, 40}).save(pathOf(u"scatto.jpeg"_s), "JPEG") &&
                Red({16, 16}).save(pathOf(u"icona.txt"_s), "ICO") &&
                noise.save(pathOf(u"grande.bmp"_s), "PNG") && !file(u"nota.txt"_s, "x").isEmpty() &&
                !file(u"lungo.bmp"_s, QByteArray(8192, 'x')).isEmpty());
    for (const QString& name : {u"foto.png"_s, u"scatto.jpeg"_s, u"icona.txt"_s, u"grande.bmp"_s,
                               u"nota.txt"_s, u"lungo.bmp"_s})
        ProcessFile(pathOf(name).toStdString(), pathOf(name).toStdString(), "Secret1", "");
    const int watch = inotify_init1(IN_NONBLOCK), written = IN_CREATE | IN_MODIFY | IN_MOVED_TO;
    for (const QString& dir : {home.path(), folder.path()})
        ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(dir).constData(), written), 0);
    std::vector<std::pair<const char*, QByteArray>> saved;
    for (const char* place : {"HOME", "XDG_CACHE_HOME", "TMPDIR"})
        saved.emplace_back(place, qgetenv(place)), qputenv(place, home.path().toLocal8Bit());
    const QString none = u"Anteprima non disponibile per questo file"_s;
    // File, password held ("" asks for it), most bytes restored, message or picture shown.
    const std::tuple<const char*, const char*, std::size_t, QString, QSize> rows[] = {
        {"nota", "Secret1", kMostPictureBytes, none, {}},
        {"foto", "Wrong12", kMostPictureBytes, u"wrong"_s, {}},
        {"foto", "", kMostPictureBytes, {}, {64, 32}},
        {"foto", "Wrong12", kMostPictureBytes, {}, {64, 32}}, // on show: not restored again
        {"scatto", "Secret1", kMostPictureBytes, {}, {30, 40}},
        {"icona", "Secret1", kMostPictureBytes, {}, {16, 16}},
        {"grande", "Secret1", 4096, u"Immagine troppo grande per l'anteprima"_s, {16, 16}},
        {"lungo", "Secret1", 4096, none, {16, 16}}};
    for (const auto& [name, password, most, message, shown] : rows) {
        SCOPED_TRACE(name);
        select(pathOf(QLatin1String(name) + u".vwx"_s));
        state().holdPassword(QString::fromLatin1(password));
        if (state().password.isEmpty()) answerPassword(u"Secret1"_s);
        prompts.messages.clear();
        ProtectedPictureView::ShowSelected(
            state(), [this] { return program->commands().EnsurePassword(); }, &main(), most);
        const QString said = prompts.messages.empty() ? QString() : prompts.messages[0].text;
        EXPECT_EQ(message == u"wrong"_s ? said.contains(u"Password errata"_s) : said == message,
                  true)
            << said.toStdString();
        auto* view = main().findChild<ProtectedPictureView*>(u"frmProtectedView"_s);
        EXPECT_EQ(view ? view->picture().size() : QSize(), shown);
    }
    for (const auto& [place, value] : saved)
        value.isNull() ? qunsetenv(place) : qputenv(place, value);
    EXPECT_EQ(read(watch, std::array<char, 4096>().data(), 4096), -1) << "a file was written";
    close(watch);
}

// Opened at the picture's size within the screen, the title whole or shortened; the picture then
// follows the window, never beyond its own size unless asked; Escape closes and wipes it.
TEST_F(ProgramFixture, PictureViewFitsTheScreenFollowsTheWindowAndClosesOnEscape) {
    start();
    auto* view = new ProtectedPictureView(&main());
    const QRect screen = main().screen()->availableGeometry();
    view->showPicture(Red({64, 32}), u"foto.png"_s);
    EXPECT_EQ(view->windowTitle(), u"foto.png (file protetto)"_s);
    const QRect small = RedArea(view);
    EXPECT_EQ(std::tuple(small.size(), small.center()),
              std::tuple(QSize(64, 32), view->rect().center()));
    // Wider and taller: still at its own size, in the middle; asked to, it fills the window.
    view->resize(view->width() + 200, view->height() + 100);
    EXPECT_EQ(RedArea(view).size(), QSize(64, 32));
    Child<QAction>(view, "actFill")->trigger();
    const QRect filled = RedArea(view);
    EXPECT_TRUE(filled.width() == view->width() || filled.height() == view->height());
    EXPECT_NEAR(filled.width(), 2 * filled.height(), 2);
    Child<QAction>(view, "actFill")->trigger();
    // Narrower than the picture: smaller, its proportions kept.
    view->resize(40, 200);
    EXPECT_EQ(RedArea(view).size(), QSize(40, 20));
    // A picture larger than the screen opens wholly on it; a long name is shortened in its middle.
    view->close();
    const QString name = QString(300, u'n') + u".png"_s;
    view->showPicture(Red(screen.size() * 2), name);
    EXPECT_TRUE(screen.contains(view->frameGeometry()))
        << view->frameGeometry().width() << "x" << view->frameGeometry().height();
    const QRect big = RedArea(view);
    EXPECT_TRUE(big.width() == view->width() || big.height() == view->height());
    EXPECT_NEAR(big.width() * screen.height(), big.height() * screen.width(), screen.width());
    const QString title = view->windowTitle();
    EXPECT_TRUE(title.contains(u"n…n"_s) && title.endsWith(u".png (file protetto)"_s) &&
                title.size() < name.size())
        << title.toStdString();
    // Escape and Ctrl+W close it, the pixels wiped.
    for (const QKeyCombination key :
         {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
        view->showPicture(Red({8, 8}), u"a.png"_s);
        const QImage shared = view->picture();
        QTest::keyClick(view, key.key(), key.keyboardModifiers());
        EXPECT_FALSE(view->isVisible());
        EXPECT_EQ(QByteArrayView(shared.constBits(), shared.sizeInBytes()).count('\0'), 8 * 8 * 4);
    }
}

} // namespace vw::ui::test
