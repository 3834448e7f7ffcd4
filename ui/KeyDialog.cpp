// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/KeyDialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <limits>

#include "engine/text/PasswordRules.h"
#include "platform/TextCodec.h"
#include "ui/AppInfo.h"
#include "ui/Artwork.h"
#include "ui/PanelRules.h"
#include "ui/Prompts.h"
#include "ui/StarMaskStyle.h"

namespace vw::ui {
namespace {

constexpr int kDialogWidth = 320;
constexpr int kDialogHeight = 186;
// No length limit: the largest length a text box takes (its default would cut a password
// at 32767 characters without a word).
constexpr int kUnlimitedLength = std::numeric_limits<int>::max();

bool IsEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

KeyDialog::KeyDialog(UiState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmKey"));
    setWindowTitle(tr("Password"));
    setWindowIcon(ProgramIcon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kDialogWidth, kDialogHeight);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* mask = new StarMaskStyle();
    mask->setParent(this);

    codeLabel_ = new QLabel(tr("Inserisci la password"), this);
    codeLabel_->setGeometry(16, 12, 288, 18);
    codeBox_ = new QLineEdit(this);
    codeBox_->setObjectName(QStringLiteral("txtCode"));
    codeBox_->setGeometry(16, 32, 288, 24);
    confirmLabel_ = new QLabel(tr("Ripeti password"), this);
    confirmLabel_->setGeometry(16, 62, 288, 18);
    confirmBox_ = new QLineEdit(this);
    confirmBox_->setObjectName(QStringLiteral("txtConfirm"));
    confirmBox_->setGeometry(16, 82, 288, 24);
    qualityLabel_ = new QLabel(tr("Key Quality"), this);
    qualityLabel_->setGeometry(16, 116, 80, 18);
    qualityMeter_ = new QProgressBar(this);
    qualityMeter_->setObjectName(QStringLiteral("ProgressBar1"));
    qualityMeter_->setRange(0, 100);
    qualityMeter_->setTextVisible(false);
    qualityMeter_->setGeometry(100, 117, 204, 16);
    hideTyping_ = new QCheckBox(tr("&Hide typing"), this);
    hideTyping_->setObjectName(QStringLiteral("Check1"));
    hideTyping_->setGeometry(16, 148, 110, 24);
    closeButton_ = new QPushButton(tr("Chiudi"), this);
    closeButton_->setObjectName(QStringLiteral("cmdCancel"));
    closeButton_->setGeometry(144, 146, 76, 28);
    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setGeometry(228, 146, 76, 28);

    for (QLineEdit* box : {codeBox_, confirmBox_}) {
        box->setMaxLength(kUnlimitedLength);
        box->setStyle(mask);
        box->installEventFilter(this);
    }
    // Enter belongs to the text boxes; neither button presses itself on it.
    okButton_->setAutoDefault(false);
    closeButton_->setAutoDefault(false);
    // Assistive tools name each box and the meter by the label before it.
    codeLabel_->setBuddy(codeBox_);
    confirmLabel_->setBuddy(confirmBox_);
    qualityLabel_->setBuddy(qualityMeter_);
    setTabOrder(codeBox_, confirmBox_);
    setTabOrder(confirmBox_, hideTyping_);
    setTabOrder(hideTyping_, okButton_);
    setTabOrder(okButton_, closeButton_);

    connect(codeBox_, &QLineEdit::textChanged, this, &KeyDialog::codeChanged);
    connect(hideTyping_, &QCheckBox::toggled, this, &KeyDialog::setMasked);
    connect(okButton_, &QPushButton::clicked, this, &KeyDialog::okClicked);
    connect(closeButton_, &QPushButton::clicked, this, &KeyDialog::cancelClicked);
}

void KeyDialog::showEvent(QShowEvent* event) {
    okButton_->setEnabled(false);
    codeBox_->clear();
    confirmBox_->clear();
    setMasked(true);
    hideTyping_->setChecked(true);
    qualityMeter_->setValue(0);
    codeBox_->setFocus();
    QDialog::showEvent(event);
}

void KeyDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The main window's picture, unscaled, behind the controls.
    static const QPixmap picture = MainPicturePixmap();
    QPainter(this).drawPixmap(0, 0, picture);
}

bool KeyDialog::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnterKey(event)) {
        if (watched == codeBox_) {
            if (!codeBox_->text().isEmpty()) confirmBox_->setFocus();
            return true;
        }
        if (watched == confirmBox_) {
            if (!confirmBox_->text().isEmpty() && okButton_->isEnabled()) okClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void KeyDialog::codeChanged(const QString& text) {
    qualityMeter_->setValue(RateKeyQuality(ToCp1252(text)));
    okButton_->setEnabled(!text.isEmpty());
}

void KeyDialog::setMasked(bool masked) {
    const auto mode = masked ? QLineEdit::Password : QLineEdit::Normal;
    codeBox_->setEchoMode(mode);
    confirmBox_->setEchoMode(mode);
}

void KeyDialog::wipe() {
    codeBox_->clear();
    confirmBox_->clear();
}

void KeyDialog::okClicked() {
    const QString refusal = PasswordRefusal(codeBox_->text(), confirmBox_->text());
    if (!refusal.isEmpty()) {
        CurrentPrompts().showMessage(this, MessageIcon::Critical, kMessageTitle, refusal);
        wipe();
        codeBox_->setFocus();
        return;
    }
    state_.holdPassword(codeBox_->text());
    wipe();
    hide();
    emit passwordAccepted();
}

void KeyDialog::cancelClicked() {
    wipe();
    hide();
}

void KeyDialog::reject() {
    cancelClicked();
}

} // namespace vw::ui
