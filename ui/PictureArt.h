// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures, drawn in code: the main picture, the banner and its pointer, the
// program icon and the looks of the three picture buttons. Needs only QtGui.
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace vw::ui {

enum class PictureButton { Open, Process, Exit };
// Normal: the look drawn into the program, shown until a picture file replaces it. Pressed: while a
// mouse button is down. Released: after it.
enum class ButtonLook { Normal, Pressed, Released };

inline constexpr QSize kMainPictureSize{296, 231};
inline constexpr QSize kBannerSize{468, 60};
inline constexpr QSize kBannerPointerSize{32, 32};
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// 100 × 32 for Open and Process, 32 × 32 for Exit.
QSize ButtonPictureSize(PictureButton button);
// Opaque, on the main window's white.
QImage DrawButtonPicture(PictureButton button, ButtonLook look);
// The file in the program's folder that holds a look: "22.jpg" for Open pressed, "21.jpg"
// released, "32.jpg"/"31.jpg" for Process, "02.jpg"/"01.jpg" for Exit; "" for Normal.
QString ButtonPictureFile(PictureButton button, ButtonLook look);

// Background of the main window's top left and of the password dialog; light, so dark text
// reads on it.
QImage DrawMainPicture();
// The "Invia SMS" banner of the partner service.
QImage DrawBanner();
// The pointer shown over the banner (transparent background) and its hot spot.
QImage DrawBannerPointer();
QPoint BannerPointerHotSpot();
// The program icon, size × size with a transparent background.
QImage DrawProgramIcon(int size);

} // namespace vw::ui
