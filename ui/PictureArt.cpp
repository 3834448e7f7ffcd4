// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PictureArt.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace vw::ui {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vw::ui::PictureArt)
};

// The house colours.
const QColor kNavy(0x1f, 0x3a, 0x5f);
const QColor kNavyDark(0x14, 0x27, 0x42);
const QColor kTeal(0x2a, 0x9d, 0x8f);
const QColor kTealLight(0x6f, 0xc9, 0xbc);
const QColor kGold(0xe9, 0xb9, 0x49);
const QColor kRed(0xc8, 0x3c, 0x3c);
const QColor kFaceTop(0xff, 0xff, 0xff);
const QColor kFaceBottom(0xdf, 0xe8, 0xf2);
const QColor kFaceBorder(0x9f, 0xb3, 0xc8);
const QColor kPressedTop(0xb9, 0xc8, 0xd8);
const QColor kPressedBottom(0xd3, 0xdd, 0xe8);
const QColor kPressedBorder(0x5f, 0x77, 0x91);

QImage Canvas(QSize size, QColor fill) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QFont SansFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A heraldic shield filling r, pointed at the bottom.
QPainterPath ShieldPath(const QRectF& r) {
    const double x0 = r.left(), x1 = r.right(), y0 = r.top(), y1 = r.bottom();
    const double w = r.width(), h = r.height(), cx = r.center().x();
    QPainterPath p;
    p.moveTo(cx, y0);
    p.cubicTo(cx + w * 0.22, y0 + h * 0.09, x1 - w * 0.12, y0 + h * 0.10, x1, y0 + h * 0.08);
    p.lineTo(x1, y0 + h * 0.46);
    p.cubicTo(x1, y0 + h * 0.74, cx + w * 0.22, y0 + h * 0.90, cx, y1);
    p.cubicTo(cx - w * 0.22, y0 + h * 0.90, x0, y0 + h * 0.74, x0, y0 + h * 0.46);
    p.lineTo(x0, y0 + h * 0.08);
    p.cubicTo(x0 + w * 0.12, y0 + h * 0.10, cx - w * 0.22, y0 + h * 0.09, cx, y0);
    p.closeSubpath();
    return p;
}

// A keyhole centred on c; s is its overall height.
QPainterPath KeyholePath(QPointF c, double s) {
    QPainterPath p;
    const double radius = s * 0.26;
    const QPointF head(c.x(), c.y() - s * 0.22);
    p.addEllipse(head, radius, radius);
    QPainterPath stem;
    stem.moveTo(c.x() - s * 0.10, head.y());
    stem.lineTo(c.x() + s * 0.10, head.y());
    stem.lineTo(c.x() + s * 0.19, c.y() + s * 0.50);
    stem.lineTo(c.x() - s * 0.19, c.y() + s * 0.50);
    stem.closeSubpath();
    return p.united(stem);
}

// The shield with its keyhole as used by the icon and the main picture.
void PaintShield(QPainter& painter, const QRectF& r, double opacity) {
    painter.save();
    painter.setOpacity(opacity);
    const QPainterPath shield = ShieldPath(r);
    QLinearGradient body(r.topLeft(), r.bottomRight());
    body.setColorAt(0.0, kNavy.lighter(125));
    body.setColorAt(1.0, kNavyDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawPath(shield);

    // Rim: the shield again, a little smaller, outlined in teal.
    const double inset = r.width() * 0.07;
    const QRectF inner = r.adjusted(inset, inset * 0.9, -inset, -inset * 1.4);
    QPen rim(kTealLight, std::max(1.0, r.width() * 0.035));
    rim.setJoinStyle(Qt::RoundJoin);
    painter.setPen(rim);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(ShieldPath(inner));

    // A soft highlight on the left half.
    QPainterPath left;
    left.addRect(QRectF(r.left(), r.top(), r.width() / 2, r.height()));
    QLinearGradient shine(r.topLeft(), QPointF(r.center().x(), r.bottom()));
    shine.setColorAt(0.0, QColor(255, 255, 255, 60));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawPath(shield.intersected(left));

    const QPointF keyCentre(r.center().x(), r.top() + r.height() * 0.47);
    QLinearGradient metal(keyCentre - QPointF(0, r.height() * 0.2),
                          keyCentre + QPointF(0, r.height() * 0.2));
    metal.setColorAt(0.0, kGold.lighter(115));
    metal.setColorAt(1.0, kGold.darker(115));
    painter.setBrush(metal);
    painter.drawPath(KeyholePath(keyCentre, r.height() * 0.36));
    painter.restore();
}

// Plain face of a picture button; pressed faces are darker and lit from below.
void PaintButtonFace(QPainter& painter, const QRectF& r, bool pressed) {
    painter.fillRect(r, Qt::white);
    const QRectF face = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0.0, pressed ? kPressedTop : kFaceTop);
    fill.setColorAt(1.0, pressed ? kPressedBottom : kFaceBottom);
    painter.setBrush(fill);
    painter.setPen(QPen(pressed ? kPressedBorder : kFaceBorder, 1.0));
    painter.drawRoundedRect(face, 6, 6);
    // Bevel: a light line along the top edge when raised, a dark one when sunken.
    const QRectF bevel = face.adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(pressed ? QColor(0, 0, 0, 50) : QColor(255, 255, 255, 200), 1.0));
    painter.drawLine(QPointF(bevel.left() + 4, bevel.top()),
                     QPointF(bevel.right() - 4, bevel.top()));
    if (!pressed) {
        painter.setPen(QPen(QColor(0x1f, 0x3a, 0x5f, 30), 1.0));
        painter.drawLine(QPointF(bevel.left() + 4, bevel.bottom()),
                         QPointF(bevel.right() - 4, bevel.bottom()));
    }
}

// An open folder in a 22 × 22 box at origin.
void PaintFolderGlyph(QPainter& painter, QPointF o) {
    painter.save();
    painter.translate(o);
    painter.setPen(QPen(kNavy, 1.2));
    QLinearGradient back(0, 3, 0, 19);
    back.setColorAt(0, kGold.lighter(110));
    back.setColorAt(1, kGold.darker(110));
    painter.setBrush(back);
    QPainterPath tab;
    tab.moveTo(1.5, 18.5);
    tab.lineTo(1.5, 4.5);
    tab.lineTo(7.5, 4.5);
    tab.lineTo(9.5, 6.5);
    tab.lineTo(18.5, 6.5);
    tab.lineTo(18.5, 18.5);
    tab.closeSubpath();
    painter.drawPath(tab);
    QLinearGradient front(0, 9, 0, 19);
    front.setColorAt(0, QColor(0xf7, 0xd7, 0x86));
    front.setColorAt(1, kGold);
    painter.setBrush(front);
    QPainterPath flap;
    flap.moveTo(1.5, 18.5);
    flap.lineTo(4.5, 9.5);
    flap.lineTo(21.0, 9.5);
    flap.lineTo(18.5, 18.5);
    flap.closeSubpath();
    painter.drawPath(flap);
    painter.restore();
}

// A padlock in a 22 × 22 box at origin.
void PaintPadlockGlyph(QPainter& painter, QPointF o) {
    painter.save();
    painter.translate(o);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kNavy.lighter(130), 2.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath shackle;
    shackle.moveTo(6, 10);
    shackle.lineTo(6, 7);
    shackle.arcTo(QRectF(6, 1.5, 10, 10), 180, -180);
    shackle.lineTo(16, 10);
    painter.drawPath(shackle);
    QLinearGradient body(0, 9, 0, 21);
    body.setColorAt(0, kTeal.lighter(120));
    body.setColorAt(1, kTeal.darker(130));
    painter.setPen(QPen(kNavyDark, 1.0));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(3.5, 9.5, 15, 11.5), 2.5, 2.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(KeyholePath(QPointF(11, 15.6), 7.0));
    painter.restore();
}

// A power sign centred on c with radius rr.
void PaintPowerGlyph(QPainter& painter, QPointF c, double rr, QColor color) {
    painter.save();
    QPen pen(color, rr * 0.32, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF ring(c.x() - rr, c.y() - rr, 2 * rr, 2 * rr);
    // Open at the top: from 60 degrees round to 120 degrees (Qt counts in 1/16 degrees).
    painter.drawArc(ring, 120 * 16, 300 * 16);
    painter.drawLine(QPointF(c.x(), c.y() - rr * 1.15), QPointF(c.x(), c.y() - rr * 0.15));
    painter.restore();
}

// A speech bubble holding "SMS", in box r.
void PaintSmsBubble(QPainter& painter, const QRectF& r, QColor fill, QColor text) {
    painter.save();
    QPainterPath bubble;
    const QRectF body = r.adjusted(0, 0, 0, -r.height() * 0.22);
    bubble.addRoundedRect(body, body.height() * 0.28, body.height() * 0.28);
    QPainterPath tail;
    tail.moveTo(body.left() + body.width() * 0.22, body.bottom() - 1);
    tail.lineTo(body.left() + body.width() * 0.16, r.bottom());
    tail.lineTo(body.left() + body.width() * 0.42, body.bottom() - 1);
    tail.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(bubble.united(tail));
    painter.setPen(text);
    painter.setFont(SansFont(std::max(6, static_cast<int>(body.height() * 0.46)), true));
    painter.drawText(body, Qt::AlignCenter, QStringLiteral("SMS"));
    painter.restore();
}

} // namespace

QSize ButtonPictureSize(PictureButton button) {
    return button == PictureButton::Exit ? QSize(32, 32) : QSize(100, 32);
}

QImage DrawButtonPicture(PictureButton button, ButtonLook look) {
    const QSize size = ButtonPictureSize(button);
    QImage image = Canvas(size, Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool pressed = look == ButtonLook::Pressed;
    PaintButtonFace(painter, QRectF(QPointF(0, 0), QSizeF(size)), pressed);
    // A pressed glyph sinks by one pixel.
    const QPointF sink = pressed ? QPointF(1, 1) : QPointF(0, 0);
    switch (button) {
    case PictureButton::Open:
        PaintFolderGlyph(painter, QPointF(8, 5) + sink);
        break;
    case PictureButton::Process:
        PaintPadlockGlyph(painter, QPointF(8, 5) + sink);
        break;
    case PictureButton::Exit:
        PaintPowerGlyph(painter, QPointF(16, 16.5) + sink, 8.0, pressed ? kRed.darker(130) : kRed);
        break;
    }
    return image;
}

QString ButtonPictureFile(PictureButton button, ButtonLook look) {
    if (look == ButtonLook::Normal) return {};
    const char* const prefix[] = {"2", "3", "0"}; // Open, Process, Exit
    const char* const suffix = look == ButtonLook::Pressed ? "2.jpg" : "1.jpg";
    return QString::fromLatin1(prefix[static_cast<int>(button)]) + QLatin1String(suffix);
}

QImage DrawMainPicture() {
    QImage image = Canvas(kMainPictureSize, Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A thin rule under the rows of text at the top, fading to the right.
    QLinearGradient rule(8, 0, 288, 0);
    rule.setColorAt(0.0, kTeal);
    rule.setColorAt(1.0, QColor(0x2a, 0x9d, 0x8f, 0));
    painter.fillRect(QRectF(8, 52, 280, 1.5), rule);

    // The vault dial behind the shield: faint rings and ticks.
    const QPointF dial(214, 134);
    QRadialGradient glow(dial, 84);
    glow.setColorAt(0.0, QColor(0xe8, 0xf1, 0xf8));
    glow.setColorAt(1.0, QColor(0xe8, 0xf1, 0xf8, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(dial, 84, 84);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xc9, 0xd7, 0xe6), 1.2));
    painter.drawEllipse(dial, 70, 70);
    painter.setPen(QPen(QColor(0xdb, 0xe5, 0xef), 1.0));
    painter.drawEllipse(dial, 60, 60);
    for (int i = 0; i < 60; ++i) {
        const double a = i * 2 * std::numbers::pi / 60;
        const double inner = (i % 5 == 0) ? 62 : 65;
        painter.setPen(QPen(QColor(0xb8, 0xc9, 0xdb), i % 5 == 0 ? 1.6 : 0.9));
        painter.drawLine(QPointF(dial.x() + inner * std::cos(a), dial.y() + inner * std::sin(a)),
                         QPointF(dial.x() + 69 * std::cos(a), dial.y() + 69 * std::sin(a)));
    }

    PaintShield(painter, QRectF(dial.x() - 40, dial.y() - 50, 80, 98), 0.92);

    // Three fine lines sweeping in from the left, like a data stream being locked away.
    for (int i = 0; i < 3; ++i) {
        QPainterPath stream;
        const double y = 150 + i * 12;
        stream.moveTo(8, y + 14);
        stream.cubicTo(60, y + 14, 100, y - 6 - i * 4, 150, y - 12 - i * 6);
        QLinearGradient fade(8, 0, 150, 0);
        fade.setColorAt(0.0, QColor(0x2a, 0x9d, 0x8f, 0));
        fade.setColorAt(1.0, QColor(0x2a, 0x9d, 0x8f, 110 - i * 25));
        painter.setPen(QPen(QBrush(fade), 1.4));
        painter.drawPath(stream);
    }
    return image;
}

QImage DrawBanner() {
    QImage image = Canvas(kBannerSize, kNavy);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(kBannerSize));

    QLinearGradient back(all.topLeft(), all.topRight());
    back.setColorAt(0.0, kTeal.darker(115));
    back.setColorAt(0.55, kNavy);
    back.setColorAt(1.0, kNavyDark);
    painter.fillRect(all, back);
    // Soft circles for depth.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 18));
    painter.drawEllipse(QPointF(40, 62), 60, 60);
    painter.drawEllipse(QPointF(330, -20), 70, 70);

    // A phone with a message bubble.
    painter.setBrush(QColor(0xf4, 0xf7, 0xfa));
    painter.setPen(QPen(kNavyDark, 1.2));
    painter.drawRoundedRect(QRectF(16, 8, 26, 44), 5, 5);
    painter.setBrush(kTealLight.lighter(120));
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRectF(19, 14, 20, 30));
    painter.setBrush(kNavyDark);
    painter.drawEllipse(QPointF(29, 48), 1.8, 1.8);
    PaintSmsBubble(painter, QRectF(34, 4, 34, 24), kGold, kNavyDark);

    painter.setPen(Qt::white);
    painter.setFont(SansFont(22, true));
    painter.drawText(QRectF(84, 6, 250, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     Texts::tr("Invia SMS"));
    painter.setPen(QColor(0xd6, 0xe6, 0xf2));
    painter.setFont(SansFont(12, false));
    painter.drawText(QRectF(85, 34, 270, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     Texts::tr("dal tuo computer, in pochi secondi"));

    // The call to action.
    const QRectF pill(352, 16, 102, 28);
    QLinearGradient gold(pill.topLeft(), pill.bottomLeft());
    gold.setColorAt(0.0, kGold.lighter(115));
    gold.setColorAt(1.0, kGold.darker(108));
    painter.setBrush(gold);
    painter.setPen(QPen(kGold.darker(140), 1.0));
    painter.drawRoundedRect(pill, 14, 14);
    painter.setPen(kNavyDark);
    painter.setFont(SansFont(13, true));
    painter.drawText(pill, Qt::AlignCenter, Texts::tr("Prova ora ›"));
    return image;
}

QImage DrawBannerPointer() {
    QImage image = Canvas(kBannerPointerSize, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The arrow, tip at the hot spot.
    QPainterPath arrow;
    arrow.moveTo(1.5, 1.5);
    arrow.lineTo(1.5, 19.5);
    arrow.lineTo(6.0, 15.5);
    arrow.lineTo(9.0, 22.5);
    arrow.lineTo(12.0, 21.0);
    arrow.lineTo(9.0, 14.5);
    arrow.lineTo(14.5, 14.5);
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(arrow);
    // A small message bubble below right of the tip, with three dots: too small for text.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(14.5, 18.5, 16, 10), 3.5, 3.5);
    QPainterPath tail;
    tail.moveTo(17, 28);
    tail.lineTo(16, 31.5);
    tail.lineTo(21, 28);
    tail.closeSubpath();
    painter.setPen(QPen(kNavyDark, 1.0));
    painter.setBrush(kGold);
    painter.drawPath(bubble.united(tail));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNavyDark);
    for (int i = 0; i < 3; ++i)
        painter.drawEllipse(QPointF(18.5 + i * 4, 23.5), 1.2, 1.2);
    return image;
}

QPoint BannerPointerHotSpot() {
    return QPoint(1, 1);
}

QImage DrawProgramIcon(int size) {
    QImage image = Canvas(QSize(size, size), Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    // Small sizes get a larger share of the square, so the keyhole stays visible.
    const double margin = size <= 24 ? s * 0.03 : s * 0.06;
    const double width = s - 2 * margin;
    const double height = width * 1.12 > s - 2 * margin ? s - 2 * margin : width * 1.12;
    const double shieldWidth = height / 1.12;
    PaintShield(painter, QRectF((s - shieldWidth) / 2, (s - height) / 2, shieldWidth, height), 1.0);
    return image;
}

} // namespace vw::ui
