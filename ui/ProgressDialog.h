// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// frmProgress: the dialog every protect or restore job runs in. Shown modally; when it becomes
// active it runs the job, reports a failure, brings the main window up to date and hides.
#include <QDialog>

#include "ui/UiState.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vw::ui {

class MainWindow;

class ProgressDialog : public QDialog {
    Q_OBJECT
  public:
    ProgressDialog(UiState& state, MainWindow& mainWindow);

    // The job run of one activation. A second activation during the same showing does
    // nothing, so one showing never starts two jobs.
    void activate();

    QLabel* lblName() const { return lblName_; }
    QProgressBar* progressBar() const { return progressBar_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

    // Esc presses "Interrompi"; the dialog never closes itself on it.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Centred on the screen that shows the main window, whatever the main window's place.
    void centreOnScreen();
    void runJob();
    void actOnStatus();
    void requestCancel();

    UiState& state_;
    MainWindow& mainWindow_;
    bool activated_ = false; // this showing already ran its activation
    QLabel* lblName_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace vw::ui
