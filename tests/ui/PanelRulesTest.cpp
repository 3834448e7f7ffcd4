// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that need no program, and the quick-view window.
#include <random>

#include "UiTestSupport.h"
#include "ui/PanelRules.h"
#include "ui/QuickView.h"
#include "ui/QuickViewSizing.h"
#include "ui/Twips.h"

namespace vw::ui::test {

// 100 twips a character, narrow letters 40.
static int Measure(const QString& text) {
    return static_cast<int>(text.size() * 100 - text.count(u'i') * 60);
}

// Whether shown stands for element: the element itself, or its start and end around "…".
static bool StandsFor(const QString& shown, const QString& element) {
    const qsizetype cut = shown.indexOf(u'…');
    return cut < 0 ? shown == element
                   : shown.size() <= element.size() && element.startsWith(shown.left(cut)) &&
                         element.endsWith(shown.mid(cut + 1));
}

// A path that fits is kept; otherwise the root and ".../" are followed by whole elements of the
// path's end, the folder nearest the file always among them, and only the last two may be
// shortened, with "…"; the bare prefix is left when not even that fits.
TEST(ShortenPath, FitsKeepsTheNearestFolderAndMarksEveryCut) {
    std::mt19937 random(7);
    const QString pieces[] = {u"a"_s, u"iii"_s, u"docs"_s, u"reports 2024"_s, u"x.txt"_s};
    for (int round = 0; round < 3000; ++round) {
        QString path = random() % 2 ? u"/"_s : QString();
        for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n)
            path += pieces[random() % 5] + (n > 1 ? u"/"_s : QString());
        const int width = 300 + static_cast<int>(random() % 4000);
        const QString shortened = ShortenPath(path, width, Measure);
        SCOPED_TRACE(path.toStdString() + " " + std::to_string(width) + " " +
                     shortened.toStdString());
        if (Measure(path) < width - 200) {
            EXPECT_EQ(shortened, path);
            continue;
        }
        const QString prefix = path.startsWith(u'/') ? u"/.../"_s : u".../"_s;
        ASSERT_TRUE(shortened.startsWith(prefix));
        if (shortened == prefix) continue;
        EXPECT_LT(Measure(shortened), width - 200);
        const QStringList shown = shortened.mid(prefix.size()).split(u'/');
        const QStringList elements = path.mid(prefix.size() - 4).split(u'/');
        ASSERT_LE(shown.size(), elements.size());
        EXPECT_GE(shown.size(), std::min<qsizetype>(elements.size(), 2)); // the nearest folder
        for (qsizetype i = 1; i <= shown.size(); ++i) {
            const QString& part = shown[shown.size() - i];
            EXPECT_TRUE(i <= 2 ? StandsFor(part, elements[elements.size() - i])
                               : part == elements[elements.size() - i]);
        }
    }
    // Folders go whole; then the name is shortened beside its folder, or the folder beside it.
    const std::tuple<const char*, int, const char*> rows[] = {
        {"/home/user/quarterly/summary-final.txt", 3500, "/.../quarterly/summary-final.txt"},
        {"/home/user/quarterly/summary-final.txt", 2700, "/.../quarterly/summ….txt"},
        {"/home/user/quarterly/a.txt", 1600, "/.../q…/a.txt"},
        {"/home/user/quarterly/summary-final.txt", 1300, "/.../q…y/…"},
        {"/averyverylongname.txt", 2200, "/.../averyve…me.txt"},
        {"docs/a.txt", 600, ".../"}};
    for (const auto& [path, width, shortened] : rows)
        EXPECT_EQ(ShortenPath(QString::fromUtf8(path), width, Measure).toStdString(), shortened);
}

TEST(PanelCaptions, TimeEstimateSizeAttributesAndTwips) {
    const double seconds[] = {0, 59.9, 61, 120, 125};
    const QString captions = u"0 min 1 sec |0 min 59 sec |1 min 1 sec |2 min 1 sec |2 min 5 sec "_s;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(TimeEstimateCaption(static_cast<qint64>(seconds[i] * kProtectBytesPerSecond)),
                  captions.split(u'|')[i]);
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    EXPECT_EQ(SizeCaption(1234567, italian) + AttributeSuffix(AttributeText(true, true, true)),
              u"1.234.567 Bytes  (Systemfile  Read-only  Hidden)"_s);
    EXPECT_EQ(AttributeSuffix(AttributeText(false, false, false)), QString());
    // Fifteen twips to a pixel; twips round to the nearest pixel, halves to even.
    EXPECT_EQ(std::tuple(PixelsToTwips(477), TwipsToPixels(22), TwipsToPixels(23),
                         RoundHalfEven(2.5), RoundHalfEven(3.5)),
              std::tuple(7155, 1, 2, 2, 4));
}

// Both look at the last four characters, upper-cased: the panel at its picture list, the
// quick view at its own (".ICO" yes, "JPEG" no).
TEST(PictureExtensions, PanelAndQuickView) {
    const std::tuple<const char*, bool, bool> rows[] = {
        {"/a/PHOTO.Jpg", true, true}, {"photo.jpeg", true, false}, {"x.bmp", true, true},
        {"y.Wmf", true, true},        {"z.GIF", true, true},       {"app.ico", false, true},
        {"/a/notajpeg", true, false}, {".jpg", true, false},       {"x.png", false, false},
        {"x.jpg.txt", false, false},  {"", false, false}};
    for (const auto& [path, panel, quickView] : rows) {
        EXPECT_EQ(IsPanelPicture(QString::fromLatin1(path)), panel) << path;
        EXPECT_EQ(QuickViewWindow::acceptsPath(QString::fromLatin1(path)), quickView) << path;
    }
}

// The picture keeps its aspect ratio (whole twips taken, not rounded) inside the window.
TEST(QuickViewSizing, PictureHoldsItsRatioInsideTheWindow) {
    for (const int width : {100, 1234, 3000, 5000, 9000})
        for (const int height : {100, 2800, 4500})
            for (const bool visible : {false, true})
                for (const double ratio : {0.25, 0.5, 1.0, 4.0 / 3, 2.0, 3.0}) {
                    const QuickViewLayout l =
                        ComputeQuickViewLayout({width, height, visible, ratio});
                    SCOPED_TRACE(testing::Message() << width << "x" << height << " " << ratio);
                    EXPECT_TRUE(l.hasPicture && l.pictureHeight > 0 &&
                                std::abs(l.pictureWidth - l.pictureHeight * ratio) <
                                    std::max(ratio, 1.0));
                    EXPECT_TRUE(l.pictureLeft + l.pictureWidth <= l.windowWidth &&
                                l.pictureTop + l.pictureHeight <= l.windowHeight);
                }
    // A new window is 3800 x 2800; a visible one is made square on its larger side.
    const QuickViewLayout wide = ComputeQuickViewLayout({1234, 5678, false, 2.0});
    EXPECT_EQ(std::tuple(wide.pictureWidth, wide.pictureHeight, wide.pictureTop, wide.windowHeight),
              std::tuple(3800, 1900, 200, 2300));
    const QuickViewLayout tall = ComputeQuickViewLayout({3000, 4500, true, 0.5});
    EXPECT_EQ(std::tuple(tall.pictureWidth, tall.pictureHeight, tall.pictureTop, tall.windowWidth),
              std::tuple(2125, 4250, 125, 2125));
    EXPECT_EQ(ComputeQuickViewLayout({0, 0, false, 3.0}).pictureHeight, 1266);
    EXPECT_FALSE(ComputeQuickViewLayout({6000, 2000, true, 0.0}).hasPicture);
}

// Pictures at their aspect ratio; an unreadable file keeps the last one; closed, it starts anew.
TEST(QuickViewWindow, HoldsEachPictureAndKeepsTheLastOneRead) {
    QTemporaryDir dir;
    QuickViewWindow window;
    QWidget owner;
    window.showPicture(dir.filePath("missing.jpg"), &owner);
    EXPECT_FALSE(window.isVisible()); // nothing read yet
    auto* image = Child<QLabel>(&window, "Image1");
    for (const QSize size : {QSize(200, 100), QSize(100, 300)}) {
        QImage picture(size, QImage::Format_RGB32);
        const QString path = dir.filePath(u"p%1.bmp"_s.arg(size.width()));
        ASSERT_TRUE(picture.save(path, "BMP"));
        window.showPicture(path, &owner);
        EXPECT_TRUE(window.isVisible() && window.rect().contains(image->geometry()));
        EXPECT_EQ(image->pixmap().size(), size);
        EXPECT_NEAR(image->width() * size.height(), image->height() * size.width(), 2.0 * 300);
        EXPECT_EQ(owner.cursor().shape(), Qt::ArrowCursor); // the busy pointer is gone again
    }
    // Resized by the user, the window keeps the picture filling it, its proportions kept.
    window.resize(300, 330);
    EXPECT_EQ(image->geometry(), QRect(95, 0, 110, 330));
    WriteFile(QDir(dir.path()), u"drawing.wmf"_s, "not a picture");
    window.showPicture(dir.filePath("drawing.wmf"));
    EXPECT_EQ(image->pixmap().size(), QSize(100, 300));
    EXPECT_EQ(window.windowTitle(), u"drawing.wmf"_s);
    QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier); // Escape: the job flow's test
    EXPECT_FALSE(window.isVisible());
    window.showPicture(dir.filePath("p200.bmp"));
    EXPECT_EQ(window.size(), QSize(TwipsToPixels(3800), TwipsToPixels(2300)));
}

} // namespace vw::ui::test
