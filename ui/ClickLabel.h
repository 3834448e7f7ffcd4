// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label that reports clicks and double clicks of the left mouse button: a double click
// reports the click of its first half, then the double click.
#include <QLabel>

namespace vw::ui {

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();
    void doubleClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool inDoubleClick_ = false; // the release that ends a double click is no new click
};

} // namespace vw::ui
