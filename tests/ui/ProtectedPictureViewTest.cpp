// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The quick view of a protected picture: restored into memory only, shown, wiped on closing.
#include <sys/inotify.h>
#include <unistd.h>

#include "UiTestSupport.h"
#include "ui/Driver.h"
#include "ui/ProtectedPictureView.h"

namespace vw::ui::test {

TEST_F(ProgramFixture, ProtectedPictureRestoredInMemoryOnlyShownAtQuickViewSizeAndWipedOnClose) {
    QTemporaryDir home;                       // the user's folders
    QImage red(64, 32, QImage::Format_RGB32); // 2:1: 3800 × 1900 twips in a 3800 × 2300 window
    red.fill(Qt::red);
    start();
    ASSERT_TRUE(red.save(pathOf(u"foto.bmp"_s)) && !file(u"nota.txt"_s, "x").isEmpty());
    for (const QString& name : {u"nota.txt"_s, u"foto.bmp"_s}) // to nota.vwx and foto.vwx
        ProcessFile(pathOf(name).toStdString(), pathOf(name).toStdString(), "Secret1", "");
    const int watch = inotify_init1(IN_NONBLOCK), written = IN_CREATE | IN_MODIFY | IN_MOVED_TO;
    for (const QString& dir : {home.path(), folder.path()})
        ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(dir).constData(), written), 0);
    std::vector<std::pair<const char*, QByteArray>> saved;
    for (const char* place : {"HOME", "XDG_CACHE_HOME", "TMPDIR"})
        saved.emplace_back(place, qgetenv(place)), qputenv(place, home.path().toLocal8Bit());
    // Not a picture, held wrong, none held (asked), the same again (on show: no restore).
    for (const QString& row :
         {u"nota Secret1"_s, u"foto Wrong12"_s, u"foto"_s, u"foto Wrong12"_s}) {
        select(pathOf(row.section(' ', 0, 0) + u".vwx"_s));
        state().holdPassword(row.section(' ', 1));
        if (state().password.isEmpty()) answerPassword(u"Secret1"_s);
        program->commands().ShowQuickView(); // the icon's click
    }
    for (const auto& [place, value] : saved)
        value.isNull() ? qunsetenv(place) : qputenv(place, value);
    EXPECT_EQ(read(watch, std::array<char, 4096>().data(), 4096), -1) << "a file was written";
    close(watch);
    runJob(u"Wrong12"_s, pathOf(u"out.bmp"_s)); // the job's own message for a wrong password
    const auto& said = prompts.messages;
    EXPECT_EQ(std::tuple(said.size(), said.at(0).text, said.at(1).text),
              std::tuple(3u, u"Anteprima non disponibile per questo file"_s, said.at(2).text));
    auto* view = Child<ProtectedPictureView>(&main(), "frmProtectedView");
    ASSERT_TRUE(view);
    const QImage shot = view->grab().toImage(), shared = view->picture(); // the pixels on show
    EXPECT_EQ(std::tuple(view->windowTitle(), view->size(), shot.pixel(126, 76), shot.pixel(1, 1)),
              std::tuple(u"foto.bmp (file protetto)"_s, QSize(253, 153), qRgb(255, 0, 0),
                         qRgb(255, 255, 255)));
    view->close();
    EXPECT_EQ(QByteArrayView(shared.constBits(), shared.sizeInBytes()).count('\0'), 64 * 32 * 4);
}

} // namespace vw::ui::test
