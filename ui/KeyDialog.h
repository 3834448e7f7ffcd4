#pragma once
// frmKey: the password dialog. The password is typed twice; the meter rates it; an accepted
// OK holds it in the shared state. Shown modally (exec) and ended by hiding itself.
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

    QLineEdit* txtCode() const { return txtCode_; }
    QLineEdit* txtConfirm() const { return txtConfirm_; }
    QProgressBar* meter() const { return meter_; }
    QCheckBox* check1() const { return check1_; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

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
    QLabel* lblCode_ = nullptr;
    QLineEdit* txtCode_ = nullptr;
    QLabel* lblConfirm_ = nullptr;
    QLineEdit* txtConfirm_ = nullptr;
    QLabel* lblQuality_ = nullptr;
    QProgressBar* meter_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace vw::ui
