#include "ui/KeyDialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <limits>

#include "engine/PasswordRules.h"
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
    setWindowTitle(QStringLiteral("Password"));
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

    lblCode_ = new QLabel(QStringLiteral("Inserisci la password"), this);
    lblCode_->setGeometry(16, 12, 288, 18);
    txtCode_ = new QLineEdit(this);
    txtCode_->setObjectName(QStringLiteral("txtCode"));
    txtCode_->setGeometry(16, 32, 288, 24);
    lblConfirm_ = new QLabel(QStringLiteral("Ripeti password"), this);
    lblConfirm_->setGeometry(16, 62, 288, 18);
    txtConfirm_ = new QLineEdit(this);
    txtConfirm_->setObjectName(QStringLiteral("txtConfirm"));
    txtConfirm_->setGeometry(16, 82, 288, 24);
    lblQuality_ = new QLabel(QStringLiteral("Key Quality"), this);
    lblQuality_->setGeometry(16, 116, 80, 18);
    meter_ = new QProgressBar(this);
    meter_->setObjectName(QStringLiteral("ProgressBar1"));
    meter_->setRange(0, 100);
    meter_->setTextVisible(false);
    meter_->setGeometry(100, 117, 204, 16);
    check1_ = new QCheckBox(QStringLiteral("&Hide typing"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(16, 148, 110, 24);
    cmdCancel_ = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setGeometry(144, 146, 76, 28);
    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(228, 146, 76, 28);

    for (QLineEdit* box : {txtCode_, txtConfirm_}) {
        box->setMaxLength(kUnlimitedLength);
        box->setStyle(mask);
        box->installEventFilter(this);
    }
    // Enter belongs to the text boxes; neither button presses itself on it.
    cmdOK_->setAutoDefault(false);
    cmdCancel_->setAutoDefault(false);
    setTabOrder(txtCode_, txtConfirm_);
    setTabOrder(txtConfirm_, check1_);
    setTabOrder(check1_, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);

    connect(txtCode_, &QLineEdit::textChanged, this, &KeyDialog::codeChanged);
    connect(check1_, &QCheckBox::toggled, this, &KeyDialog::setMasked);
    connect(cmdOK_, &QPushButton::clicked, this, &KeyDialog::okClicked);
    connect(cmdCancel_, &QPushButton::clicked, this, &KeyDialog::cancelClicked);
}

void KeyDialog::showEvent(QShowEvent* event) {
    cmdOK_->setEnabled(false);
    txtCode_->clear();
    txtConfirm_->clear();
    setMasked(true);
    check1_->setChecked(true);
    meter_->setValue(0);
    txtCode_->setFocus();
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
        if (watched == txtCode_) {
            if (!txtCode_->text().isEmpty()) txtConfirm_->setFocus();
            return true;
        }
        if (watched == txtConfirm_) {
            if (!txtConfirm_->text().isEmpty() && cmdOK_->isEnabled()) okClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void KeyDialog::codeChanged(const QString& text) {
    meter_->setValue(RateKeyQuality(ToCp1252(text)));
    cmdOK_->setEnabled(!text.isEmpty());
}

void KeyDialog::setMasked(bool masked) {
    const auto mode = masked ? QLineEdit::Password : QLineEdit::Normal;
    txtCode_->setEchoMode(mode);
    txtConfirm_->setEchoMode(mode);
}

void KeyDialog::wipe() {
    txtCode_->clear();
    txtConfirm_->clear();
}

void KeyDialog::okClicked() {
    const QString refusal = PasswordRefusal(txtCode_->text(), txtConfirm_->text());
    if (!refusal.isEmpty()) {
        CurrentPrompts().showMessage(this, MessageIcon::Critical, kMessageTitle, refusal);
        wipe();
        txtCode_->setFocus();
        return;
    }
    state_.password = txtCode_->text();
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
