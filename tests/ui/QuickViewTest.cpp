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

TEST(QuickViewSizing, WidePictureFitsTheWidthOfANewWindow) {
    // 3800 / 2 = 1900 fits a window 2800 high.
    const QuickViewLayout l = Layout(1234, 5678, false, 2.0);
    ASSERT_TRUE(l.hasPicture);
    EXPECT_EQ(l.pictureWidth, 3800);
    EXPECT_EQ(l.pictureHeight, 1900);
    EXPECT_EQ(l.windowWidth, 3800);
    EXPECT_EQ(l.windowHeight, 2300);
    EXPECT_EQ(l.pictureLeft, 0);
    EXPECT_EQ(l.pictureTop, 200);
}

TEST(QuickViewSizing, FourToThreePictureFitsTheHeightAndNarrowsTheWindow) {
    // 3800 / (4/3) = 2850 is taller than 2800: height 2800 - 250, width 4/3 of it.
    const QuickViewLayout l = Layout(0, 0, false, PictureRatio(640, 480));
    ASSERT_TRUE(l.hasPicture);
    EXPECT_EQ(l.pictureHeight, 2550);
    EXPECT_EQ(l.pictureWidth, 3400);
    EXPECT_EQ(l.windowWidth, 3400);
    EXPECT_EQ(l.windowHeight, 2800);
    EXPECT_EQ(l.pictureLeft, 0);
    EXPECT_EQ(l.pictureTop, 125);
}

TEST(QuickViewSizing, VisibleWindowIsMadeSquareOnItsLargerSide) {
    // Wider than high: 5000 × 5000; a 2:1 picture then fits the width.
    QuickViewLayout l = Layout(5000, 3000, true, 2.0);
    EXPECT_EQ(l.pictureWidth, 5000);
    EXPECT_EQ(l.pictureHeight, 2500);
    EXPECT_EQ(l.windowWidth, 5000);
    EXPECT_EQ(l.windowHeight, 2900);

    // Higher than wide: 4500 × 4500; a 1:2 picture is too tall for the width.
    l = Layout(3000, 4500, true, 0.5);
    EXPECT_EQ(l.pictureHeight, 4250);
    EXPECT_EQ(l.pictureWidth, 2125);
    EXPECT_EQ(l.windowWidth, 2125);
    EXPECT_EQ(l.windowHeight, 4500);

    // A square picture in a square window: the whole width fits exactly.
    l = Layout(3000, 3000, true, 1.0);
    EXPECT_EQ(l.pictureWidth, 3000);
    EXPECT_EQ(l.pictureHeight, 3000);
    EXPECT_EQ(l.windowHeight, 3400);
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

TEST_F(QuickViewWindowTest, FourToThreeJpegNarrowsTheWindow) {
    window.showPicture(writePicture("photo.jpg", 640, 480, "JPG"));
    EXPECT_EQ(window.width(), TwipsToPixels(3400));
    EXPECT_EQ(window.height(), TwipsToPixels(2800));
    EXPECT_EQ(window.pictureArea()->size(), QSize(TwipsToPixels(3400), TwipsToPixels(2550)));
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
