// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program's picture files into one folder:
//   01.jpg 02.jpg  exit button, released and pressed
//   21.jpg 22.jpg  open button, released and pressed
//   31.jpg 32.jpg  process button, released and pressed
//   vaultwise.png and vaultwise-<size>.png  the program icon
// Usage: make_pictures <output folder>
#include "ui/PictureArt.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

using vw::ui::ButtonLook;
using vw::ui::PictureButton;

namespace {

bool Save(const QImage& image, const QString& path, const char* format, int quality) {
    if (image.save(path, format, quality)) return true;
    std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures <output folder>\n");
        return 2;
    }
    // Text needs a font database, which needs a GUI application; no screen is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "make_pictures: cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    for (PictureButton button :
         {PictureButton::Exit, PictureButton::Open, PictureButton::Process}) {
        for (ButtonLook look : {ButtonLook::Released, ButtonLook::Pressed}) {
            const QString name = vw::ui::ButtonPictureFile(button, look);
            // Opaque RGB: JPEG keeps no alpha channel.
            const QImage picture =
                vw::ui::DrawButtonPicture(button, look).convertToFormat(QImage::Format_RGB32);
            ok = Save(picture, out.filePath(name), "JPG", 95) && ok;
        }
    }
    for (int size : vw::ui::kIconSizes) {
        ok = Save(vw::ui::DrawProgramIcon(size),
                  out.filePath(QStringLiteral("vaultwise-%1.png").arg(size)), "PNG", -1) &&
             ok;
    }
    ok = Save(vw::ui::DrawProgramIcon(256), out.filePath(QStringLiteral("vaultwise.png")), "PNG",
              -1) &&
         ok;
    return ok ? 0 : 1;
}
