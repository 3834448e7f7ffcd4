// The quick-view window: it holds the picture at its aspect ratio and keeps the last one read.
#include "ui/QuickView.h"
#include "ui/Twips.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "UiTestSupport.h"

namespace vw::ui {
namespace {

TEST(QuickViewWindow, HoldsEachPictureAtItsAspectRatio) {
    QTemporaryDir dir;
    QuickViewWindow window;
    QWidget owner;
    window.showPicture(dir.filePath("missing.jpg"), &owner);
    EXPECT_FALSE(window.isVisible()); // nothing read yet
    auto* image = test::Child<QLabel>(&window, "Image1");
    for (const QSize size : {QSize(200, 100), QSize(100, 300), QSize(640, 480), QSize(50, 50)}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString path = dir.filePath(QStringLiteral("p%1.bmp").arg(size.width()));
        ASSERT_TRUE(picture.save(path, "BMP"));
        window.showPicture(path, &owner);
        SCOPED_TRACE(path.toStdString());
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(image->pixmap().size(), size);
        const QRect area = image->geometry();
        EXPECT_TRUE(window.rect().contains(area));
        EXPECT_NEAR(area.width() * size.height(), area.height() * size.width(),
                    2.0 * std::max(size.width(), size.height()));
        EXPECT_EQ(owner.cursor().shape(), Qt::ArrowCursor); // the busy pointer is gone again
    }
    // A picture that cannot be read keeps the previous one under the new name.
    test::WriteFile(QDir(dir.path()), QStringLiteral("drawing.wmf"), "not a picture");
    window.showPicture(dir.filePath("drawing.wmf"));
    EXPECT_EQ(image->pixmap().size(), QSize(50, 50));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("drawing.wmf"));
    // Closed, it starts again at its first size.
    window.close();
    window.showPicture(dir.filePath("p200.bmp"));
    EXPECT_EQ(window.size(), QSize(TwipsToPixels(3800), TwipsToPixels(2300)));
}

} // namespace
} // namespace vw::ui
