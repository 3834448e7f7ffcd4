// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line label that shows a text too wide for it shortened in the middle with "…", so that
// its end (a file name's extension) stays in view; its text, its accessible name and the
// tooltip it then shows keep the whole text.
#include <QLabel>

namespace vw::ui {

class ElidingLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

    // The text as the label shows it in its width.
    QString shownText() const;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vw::ui
