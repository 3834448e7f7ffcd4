// The quick view: sizing in twips, which paths it takes, and the window it shows.
#include "ui/QuickView.h"
#include "ui/QuickViewSizing.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vw::ui {
namespace {

QuickViewLayout Layout(int width, int height, bool visible, double ratio) {
    return ComputeQuickViewLayout({width, height, visible, ratio});
}

TEST(QuickViewSizing, WorkedExamples) {
    struct Case {
        const char* label;
        int width, height;
        bool visible;
        double ratio;
        int pictureWidth, pictureHeight, pictureLeft, pictureTop, windowWidth, windowHeight;
    };
    const Case cases[] = {
        // A new window: 3800 / 2 = 1900 fits a window 2800 high.
        {"2:1, new", 1234, 5678, false, 2.0, 3800, 1900, 0, 200, 3800, 2300},
        // 3800 / (4/3) = 2850 is taller than 2800: height 2800 - 250, width 4/3 of it.
        {"4:3, new", 0, 0, false, PictureRatio(640, 480), 3400, 2550, 0, 125, 3400, 2800},
        // A visible window is made square on its larger side: 5000 x 5000.
        {"2:1, wide", 5000, 3000, true, 2.0, 5000, 2500, 0, 200, 5000, 2900},
        // 4500 x 4500; a 1:2 picture is too tall for the width.
        {"1:2, tall", 3000, 4500, true, 0.5, 2125, 4250, 0, 125, 2125, 4500},
        {"square", 3000, 3000, true, 1.0, 3000, 3000, 0, 200, 3000, 3400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const QuickViewLayout l = Layout(c.width, c.height, c.visible, c.ratio);
        ASSERT_TRUE(l.hasPicture);
        EXPECT_EQ(l.pictureWidth, c.pictureWidth);
        EXPECT_EQ(l.pictureHeight, c.pictureHeight);
        EXPECT_EQ(l.pictureLeft, c.pictureLeft);
        EXPECT_EQ(l.pictureTop, c.pictureTop);
        EXPECT_EQ(l.windowWidth, c.windowWidth);
        EXPECT_EQ(l.windowHeight, c.windowHeight);
    }
}

TEST(QuickViewSizing, WholePartsAreTakenNotRounded) {
    // 3800 / 3 = 1266.67 -> 1266; 2550 * 1.3 = 3315 exactly, 2550 * 1.33 = 3391.5 -> 3391.
    EXPECT_EQ(Layout(0, 0, false, 3.0).pictureHeight, 1266);
    EXPECT_EQ(Layout(0, 0, false, 1.33).pictureWidth, 3391);
}

TEST(QuickViewSizing, NoPictureOnlySizesTheWindow) {
    QuickViewLayout l = Layout(100, 200, false, 0.0);
    EXPECT_FALSE(l.hasPicture);
    EXPECT_EQ(l.windowWidth, 3800);
    EXPECT_EQ(l.windowHeight, 2800);
    l = Layout(6000, 2000, true, 0.0);
    EXPECT_FALSE(l.hasPicture);
    EXPECT_EQ(l.windowHeight, 6000);
    EXPECT_EQ(PictureRatio(0, 10), 0.0);
    EXPECT_EQ(PictureRatio(10, 0), 0.0);
}

TEST(QuickViewSizing, TinyWindowStillGivesAPositivePicture) {
    const QuickViewLayout l = Layout(100, 100, true, 0.25);
    EXPECT_GT(l.pictureHeight, 0);
    EXPECT_GE(l.pictureWidth, 0);
}

TEST(QuickViewSizing, TwipsAndPixels) {
    EXPECT_EQ(TwipsToPixels(3800), 253);
    EXPECT_EQ(TwipsToPixels(2800), 187);
    EXPECT_EQ(PixelsToTwips(477), 7155);
}

TEST(QuickViewPaths, AcceptsTheFivePictureExtensionsInAnyCase) {
    for (const char* path : {"/a/b.JPG", "b.jpg", "x.Ico", "/p/q.bmp", "m.wmf", "anim.GIF"})
        EXPECT_TRUE(QuickViewWindow::acceptsPath(path)) << path;
    for (const char* path : {"", ".jpg", "photo.jpeg", "x.png", "x.jpg.txt", "pic.tif", "jpg"})
        EXPECT_FALSE(QuickViewWindow::acceptsPath(path)) << path;
}

class QuickViewWindowTest : public ::testing::Test {
  protected:
    QString writePicture(const QString& name, int width, int height, const char* format) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(10, 120, 200));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    QTemporaryDir dir;
    QuickViewWindow window;
};

TEST_F(QuickViewWindowTest, FirstViewOfATwoToOnePicture) {
    const QString path = writePicture("wide.bmp", 200, 100, "BMP");
    QWidget owner;
    window.showPicture(path, &owner);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "wide.bmp");
    EXPECT_EQ(window.width(), TwipsToPixels(3800));
    EXPECT_EQ(window.height(), TwipsToPixels(2300));
    QLabel* image = window.pictureArea();
    EXPECT_TRUE(image->isVisible());
    EXPECT_TRUE(image->hasScaledContents());
    EXPECT_EQ(image->width(), TwipsToPixels(3800));
    EXPECT_EQ(image->height(), TwipsToPixels(1900));
    EXPECT_EQ(window.picture().size(), QSize(200, 100));
    // The busy pointer is gone again.
    EXPECT_EQ(owner.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(QuickViewWindowTest, UnreadablePictureKeepsThePreviousOneWithTheNewCaption) {
    window.showPicture(writePicture("first.gif", 300, 100, "PNG")); // read by content
    ASSERT_EQ(window.picture().size(), QSize(300, 100));
    const QString wmf = dir.filePath("drawing.wmf");
    QFile file(wmf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xd7\xcd\xc6\x9a not a picture Qt can read");
    file.close();

    window.showPicture(wmf);
    EXPECT_EQ(window.picture().size(), QSize(300, 100));
    EXPECT_EQ(window.windowTitle(), "drawing.wmf");
    EXPECT_TRUE(window.pictureArea()->isVisible());
    // Still sized for a 3:1 picture in the now square visible window.
    const int side = window.width();
    EXPECT_EQ(window.pictureArea()->width(), side);
}

TEST_F(QuickViewWindowTest, NothingReadableYetLeavesTheWindowHidden) {
    window.showPicture(dir.filePath("missing.jpg"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.picture().isNull());
}

TEST_F(QuickViewWindowTest, ClosedWindowStartsAgainAtItsFirstSize) {
    const QString tall = writePicture("tall.bmp", 100, 200, "BMP");
    window.showPicture(tall);
    window.resize(400, 300);
    window.showPicture(tall); // visible: square on its larger side, 400 × 400 pixels
    EXPECT_EQ(window.height(), 400);
    window.close();
    EXPECT_FALSE(window.isVisible());
    window.showPicture(writePicture("wide.bmp", 200, 100, "BMP"));
    EXPECT_EQ(window.width(), TwipsToPixels(3800));
    EXPECT_EQ(window.height(), TwipsToPixels(2300));
}

} // namespace
} // namespace vw::ui
