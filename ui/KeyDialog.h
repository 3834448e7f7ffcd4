// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// frmKey: the password dialog (its controls carry their design names as object names). The password
// is typed twice; the meter rates it; an accepted OK holds it in the shared state. Shown modally
// (exec) and ended by hiding itself.
#include <QDialog>

#include "ui/UiState.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vw::ui {

class KeyDialog : public QDialog {
    Q_OBJECT
  public:
    explicit KeyDialog(UiState& state, QWidget* parent = nullptr);

    // Esc and the close box work as "Chiudi".
    void reject() override;

  signals:
    // A password was accepted and the dialog hidden (the main window updates its commands).
    void passwordAccepted();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void codeChanged(const QString& text);
    void setMasked(bool masked);
    void wipe();
    void okClicked();
    void cancelClicked();

    UiState& state_;
    QLabel* codeLabel_ = nullptr;
    QLineEdit* codeBox_ = nullptr;
    QLabel* confirmLabel_ = nullptr;
    QLineEdit* confirmBox_ = nullptr;
    QLabel* qualityLabel_ = nullptr;
    QProgressBar* qualityMeter_ = nullptr;
    QCheckBox* hideTyping_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace vw::ui
