// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ClickLabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vw::ui {
namespace {

constexpr double kFocusMarkWidth = 2.0;

// A click label as assistive tools see it: its role, its name (the label's text when no
// accessible name is set) and, for a button or a link, the press action.
class ClickLabelAccessible : public QAccessibleWidget {
  public:
    explicit ClickLabelAccessible(ClickLabel* label)
        : QAccessibleWidget(label, label->accessibleRole()) {}

    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }

    QAccessible::Role role() const override { return label()->accessibleRole(); }

    QString text(QAccessible::Text t) const override {
        QString shown = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && shown.isEmpty()) shown = label()->text();
        return shown;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (acts()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && acts() && label()->isEnabled()) return label()->activate();
        QAccessibleWidget::doAction(name);
    }

  private:
    bool acts() const { return role() == QAccessible::Button || role() == QAccessible::Link; }
};

QAccessibleInterface* ClickLabelFactory(const QString&, QObject* object) {
    if (auto* label = qobject_cast<ClickLabel*>(object)) return new ClickLabelAccessible(label);
    return nullptr;
}

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&ClickLabelFactory);
        return true;
    }();
    (void)installed;
}

} // namespace

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
    InstallAccessibleFactory();
}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    InstallAccessibleFactory();
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (inDoubleClick_) {
        inDoubleClick_ = false;
        return;
    }
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    inDoubleClick_ = true;
    emit doubleClicked();
}

bool ClickLabel::IsActivationKey(const QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return mods == Qt::NoModifier &&
           (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    if (focusPolicy() == Qt::NoFocus || !IsActivationKey(event))
        return QLabel::keyPressEvent(event);
    event->accept();
    showFocusMark();
    if (event->isAutoRepeat()) return;
    // Enter clicks at once; Space when it comes up, as with every button.
    if (event->key() == Qt::Key_Space) {
        spaceHeld_ = true;
    } else {
        activate();
    }
}

void ClickLabel::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !spaceHeld_)
        return QLabel::keyReleaseEvent(event);
    event->accept();
    spaceHeld_ = false;
    activate();
}

void ClickLabel::showFocusMark() {
    if (focusMark_) return;
    focusMark_ = true;
    update();
}

void ClickLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        showFocusMark();
}

void ClickLabel::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    spaceHeld_ = false;
    // Moving to another window keeps the mark for the return; anything else ends it.
    if (event->reason() != Qt::ActiveWindowFocusReason) focusMark_ = false;
    update();
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!focusMark_ || !hasFocus()) return;
    // A ring in the selection colour just inside the edge (styles draw their own focus frame
    // only for the controls they know).
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusMarkWidth));
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
}

} // namespace vw::ui
