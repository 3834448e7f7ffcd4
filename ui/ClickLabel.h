// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label that reports clicks and double clicks of the left mouse button: a double click
// reports the click of its first half, then the double click. Given a focus policy it also
// works from the keyboard (Space or Enter click it) and shows a focus mark once the keyboard
// has been used on it. Assistive tools see it in the role given by setAccessibleRole (static
// text unless told otherwise), with a press action when it is a button or a link.
#include <QAccessible>
#include <QLabel>

namespace vw::ui {

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent = nullptr);
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

    void setAccessibleRole(QAccessible::Role role) { role_ = role; }
    QAccessible::Role accessibleRole() const { return role_; }

    // What a click does, for the keyboard and for assistive tools.
    virtual void activate() { emit clicked(); }

  signals:
    void clicked();
    void doubleClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // True for the keys that work the control: Space, Return and Enter, without modifiers.
    static bool IsActivationKey(const QKeyEvent* event);
    // From now until it loses the focus, the control shows its focus mark.
    void showFocusMark();

  private:
    QAccessible::Role role_ = QAccessible::StaticText;
    bool inDoubleClick_ = false; // the release that ends a double click is no new click
    bool focusMark_ = false;     // the keyboard brought or used the focus
    bool spaceHeld_ = false;     // Space went down on the control
};

} // namespace vw::ui
