// The program's pictures: sizes, the looks of the picture buttons and the files beside the program.
#include "ui/PictureArt.h"
#include "ui/ProgramPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vw::ui {
namespace {

const PictureButton kButtons[] = {PictureButton::Open, PictureButton::Process, PictureButton::Exit};

// Mean brightness, 0..255.
double Brightness(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

// Fraction of pixels that differ between two images of one size.
double Differing(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return double(count) / (a.width() * a.height());
}

TEST(PictureArt, PicturesHaveTheirDesignSizes) {
    EXPECT_EQ(DrawMainPicture().size(), QSize(296, 231));
    EXPECT_EQ(DrawBanner().size(), QSize(468, 60));
    EXPECT_EQ(DrawBannerPointer().size(), QSize(32, 32));
    for (int size : kIconSizes)
        EXPECT_EQ(DrawProgramIcon(size).size(), QSize(size, size));
    for (PictureButton button : kButtons)
        for (ButtonLook look : {ButtonLook::Normal, ButtonLook::Pressed, ButtonLook::Released})
            EXPECT_EQ(DrawButtonPicture(button, look).size(),
                      button == PictureButton::Exit ? QSize(32, 32) : QSize(100, 32));
    // What the main window shows when no picture lies beside the program.
    EXPECT_EQ(DesignMainPicture().size(), QSize(296, 231));
    EXPECT_EQ(DesignBannerPicture().size(), QSize(468, 60));
    EXPECT_EQ(DesignBannerCursor().pixmap().size(), QSize(32, 32));
    EXPECT_EQ(DesignButtonPicture(PictureButton::Exit).size(), QSize(32, 32));
    EXPECT_FALSE(DesignProgramIcon().isNull());
}

TEST(PictureArt, PressedLookIsDarkerThanReleased) {
    for (PictureButton button : kButtons) {
        const QImage pressed = DrawButtonPicture(button, ButtonLook::Pressed);
        const QImage released = DrawButtonPicture(button, ButtonLook::Released);
        EXPECT_GT(Differing(pressed, released), 0.3);
        EXPECT_LT(Brightness(pressed) + 10, Brightness(released));
        // Settling back after a release does not jump away from the design-time look.
        EXPECT_EQ(released, DrawButtonPicture(button, ButtonLook::Normal));
    }
}

TEST(PictureArt, ButtonsDifferAndLeaveTheirCaptionAreaPlain) {
    const QImage open = DrawButtonPicture(PictureButton::Open, ButtonLook::Normal);
    const QImage process = DrawButtonPicture(PictureButton::Process, ButtonLook::Normal);
    EXPECT_GT(Differing(open, process), 0.02);
    // The caption label sits at x 38..91, y 8..27: the face there is one smooth light shade
    // per row, so text drawn on top reads.
    for (const QImage& face : {open, process}) {
        for (int y = 8; y < 27; ++y) {
            const QRgb first = face.pixel(38, y);
            EXPECT_GT(qGray(first), 190);
            for (int x = 39; x < 92; ++x)
                ASSERT_EQ(face.pixel(x, y), first) << x << "," << y;
        }
    }
}

TEST(PictureArt, MainPictureIsLightUnderTheText) {
    const QImage picture = DrawMainPicture();
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    // The rows of panel text (top 50 pixels) stay white.
    EXPECT_GT(Brightness(picture.copy(0, 0, 296, 50)), 250);
    EXPECT_GT(Brightness(picture), 200);
}

TEST(PictureArt, IconAndPointerAreTransparentAroundTheirShape) {
    for (int size : kIconSizes) {
        const QImage icon = DrawProgramIcon(size);
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
    const QImage pointer = DrawBannerPointer();
    EXPECT_EQ(qAlpha(pointer.pixel(31, 0)), 0);
    const QPoint hot = BannerPointerHotSpot();
    EXPECT_GT(qAlpha(pointer.pixel(hot + QPoint(1, 2))), 0);
}

TEST(ProgramPictures, ReadsFromTheProgramFolderAndGivesNullWhenMissing) {
    EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath());
    EXPECT_TRUE(LoadProgramPicture("no-such-picture-here.jpg").isNull());
    EXPECT_TRUE(LoadProgramPicture("").isNull());

    const QString name = "vw-test-picture.png";
    const QString path = ProgramFolder() + "/" + name;
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(path, "PNG"));
    EXPECT_EQ(LoadProgramPicture(name).size(), QSize(7, 5));
    EXPECT_EQ(LoadProgramPicture("\\" + name).size(), QSize(7, 5)); // the old-style name
    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a picture");
    broken.close();
    EXPECT_TRUE(LoadProgramPicture(name).isNull());
    QFile::remove(path);
}

#ifdef VW_PICTURE_DIR
TEST(GeneratedPictures, LieBesideTheBuiltProgram) {
    const QDir folder(QStringLiteral(VW_PICTURE_DIR));
    for (PictureButton button : kButtons) {
        for (ButtonLook look : {ButtonLook::Pressed, ButtonLook::Released}) {
            const QString name = ButtonPictureFile(button, look);
            QImageReader reader(folder.filePath(name));
            EXPECT_EQ(reader.format(), "jpeg") << name.toStdString();
            const QImage picture = reader.read();
            ASSERT_FALSE(picture.isNull()) << name.toStdString();
            EXPECT_EQ(picture.size(), ButtonPictureSize(button));
            // JPEG keeps the look closely.
            EXPECT_NEAR(Brightness(picture), Brightness(DrawButtonPicture(button, look)), 3.0);
        }
    }
    for (int size : kIconSizes) {
        const QImage icon(folder.filePath(QStringLiteral("vaultwise-%1.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size));
    }
}
#endif

} // namespace
} // namespace vw::ui
