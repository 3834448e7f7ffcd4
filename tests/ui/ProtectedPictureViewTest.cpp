// The quick view of a protected picture: restored into memory only, shown, wiped on closing.
#include <sys/inotify.h>
#include <unistd.h>

#include "UiTestSupport.h"
#include "ui/ProtectedPictureView.h"

namespace vw::ui::test {

using ProtectedPictureViewTest = ProgramFixture;

TEST_F(ProtectedPictureViewTest, RestoredInMemoryOnlyShownAtTheQuickViewSizeAndWipedOnClosing) {
    QTemporaryDir home, vault;                // the user's folders, and the protected files' own
    QImage red(64, 32, QImage::Format_RGB32); // 2:1: 3800 × 1900 twips in a 3800 × 2300 window
    red.fill(Qt::red);
    QBuffer bmp;
    EXPECT_TRUE(bmp.open(QIODevice::WriteOnly) && red.save(&bmp, "BMP"));
    start();
    for (const auto& [name, contents] :
         {std::pair{u"foto.bmp"_s, bmp.data()}, {u"nota.txt"_s, "x"}}) {
        select(file(name, contents));
        runJob(u"Secret1"_s, QDir(vault.path()).filePath(name));
    }
    select(QDir(vault.path()).filePath(u"foto.vwx"_s));
    runJob(u"Wrong12"_s, pathOf(u"out.bmp"_s)); // the job's own message for a wrong password
    const char* const places[] = {"HOME", "XDG_CACHE_HOME", "TMPDIR"};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = qgetenv(places[i]);
        qputenv(places[i], home.path().toLocal8Bit());
    }
    const int watch = inotify_init1(IN_NONBLOCK);
    for (const QString& dir : {home.path(), vault.path(), folder.path()})
        EXPECT_GE(inotify_add_watch(watch, QFile::encodeName(dir).constData(),
                                    IN_CREATE | IN_MODIFY | IN_MOVED_TO),
                  0);
    const auto click = [this] {
        SendMouse(control<QWidget>("imgIcon"), QEvent::MouseButtonPress);
        SendMouse(control<QWidget>("imgIcon"), QEvent::MouseButtonRelease);
    };
    click(); // with the wrong password held
    state().forgetPassword();
    answerPassword(u"Secret1"_s);
    click();
    auto* view = Child<ProtectedPictureView>(&main(), "frmProtectedView");
    state().password = u"Wrong12"_s;
    click(); // the picture on show is not restored again
    select(QDir(vault.path()).filePath(u"nota.vwx"_s));
    state().password = u"Secret1"_s;
    click();
    char events[4096];
    EXPECT_EQ(read(watch, events, sizeof events), -1) << "a file was written";
    close(watch);
    for (int i = 0; i < 3; ++i)
        saved[i].isNull() ? qunsetenv(places[i]) : qputenv(places[i], saved[i]);
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(
        std::tuple(prompts.messages[1].icon, prompts.messages[1].title, prompts.messages[1].text),
        std::tuple(prompts.messages[0].icon, prompts.messages[0].title, prompts.messages[0].text));
    EXPECT_EQ(prompts.messages[2].text, u"Anteprima non disponibile per questo file"_s);
    ASSERT_TRUE(view);
    const QImage shot = view->grab().toImage();
    EXPECT_EQ(std::tuple(view->windowTitle(), view->size(), shot.pixel(126, 76), shot.pixel(1, 1)),
              std::tuple(u"foto.bmp (file protetto)"_s, QSize(253, 153), qRgb(255, 0, 0),
                         qRgb(255, 255, 255)));
    const QImage shared = view->picture(); // shares the pixels on show
    view->close();
    EXPECT_TRUE(view->picture().isNull() && shared.size() == QSize(64, 32));
    EXPECT_EQ(QByteArrayView(shared.constBits(), shared.sizeInBytes()).count('\0'),
              shared.sizeInBytes());
}

} // namespace vw::ui::test
