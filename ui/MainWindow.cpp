// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

#include "engine/io/Paths.h"
#include "ui/AppInfo.h"
#include "ui/Artwork.h"
#include "ui/ClickLabel.h"
#include "ui/Driver.h"
#include "ui/ElidingLabel.h"
#include "ui/FileIcon.h"
#include "ui/PanelRules.h"
#include "ui/PictureArt.h"
#include "ui/Twips.h"

namespace vw::ui {
namespace {

constexpr int kClientWidth = 477;
constexpr int kClientHeight = 301;
constexpr int kStatusBarHeight = 25;
constexpr int kClockInterval = 1000; // milliseconds
constexpr int kClockPanelWidth = 120;
const QColor kProtectedColour(0, 128, 0);
const QColor kUnprotectedColour(255, 0, 0);
const QColor kVersionBackground(192, 192, 192);

// A rectangle given in twips, in pixels.
QRect Twips(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// Gives object its design name (the name the tests find it by).
template <typename T> T* Named(T* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}

// A picture button showing the pressed and released looks of which.
ImageButton* MakeButton(PictureButton which, QWidget* parent) {
    return new ImageButton(ButtonPictureFile(which, ButtonLook::Pressed),
                           ButtonPictureFile(which, ButtonLook::Released), parent);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

void SetBold(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

// The time of day in the system's format, without a time zone.
QString TimeOfDay() {
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(QTime::currentTime(), format.trimmed());
}

} // namespace

MainWindow::MainWindow(UiState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kApplicationTitle);
    setWindowIcon(ProgramIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAcceptDrops(true);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    client->setAutoFillBackground(true);
    QPalette white = client->palette();
    white.setColor(QPalette::Window, Qt::white);
    client->setPalette(white);
    auto* picture = new QLabel(client);
    picture->setPixmap(MainPicturePixmap());
    picture->setAccessibleName(QStringLiteral("Vaultwise"));
    picture->setGeometry(QRect(QPoint(0, 0), picture->pixmap().size()));
    setCentralWidget(client);

    buildPanel(client);
    buildButtons(client);
    buildMenus();
    buildStatusBar();
    buildKeyboard();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Load: the first time into the status bar, then the clock ticks every second.
    showClock();
    clock_ = new QTimer(this);
    clock_->setObjectName(QStringLiteral("Timer1"));
    clock_->setInterval(kClockInterval);
    connect(clock_, &QTimer::timeout, this, &MainWindow::showClock);
    clock_->start();
}

void MainWindow::buildPanel(QWidget* client) {
    MakeLabel(client, tr("Percorso"), QRect(8, 8, 90, 18));
    MakeLabel(client, tr("File"), QRect(8, 28, 90, 18));
    auto* label3 = MakeLabel(client, tr("Tempo Conversione"), QRect(230, 48, 132, 18));
    label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    pathLabel_ = Named(MakeLabel(client, QString(), Twips(1530, 120, 5505, 270)), "lblSource");
    fileNameLabel_ = Named(new ElidingLabel(client), "lblFileName");
    fileNameLabel_->setGeometry(Twips(1530, 420, 5505, 270));
    SetBold(fileNameLabel_);
    timeLabel_ = Named(MakeLabel(client, QString(), Twips(5490, 720, 1545, 270)), "lblTime");
    sizeLabel_ = Named(MakeLabel(client, QString(), Twips(1050, 2070, 1545, 270)), "lblSize");
    sizeLabel_->hide();
    versionLabel_ = Named(MakeLabel(client, QString(), Twips(630, 2460, 1605, 255)), "lblVersion");
    SetBold(versionLabel_);
    versionLabel_->setAutoFillBackground(true);
    QPalette grey = versionLabel_->palette();
    grey.setColor(QPalette::Window, kVersionBackground);
    versionLabel_->setPalette(grey);
    versionLabel_->hide();

    panelFrame_ = new QFrame(client);
    panelFrame_->setObjectName(QStringLiteral("Frame1"));
    panelFrame_->setFrameShape(QFrame::Box);
    panelFrame_->setGeometry(8, 120, 240, 60);
    panelFrame_->hide();

    fileIcon_ = new ClickLabel(client);
    fileIcon_->setObjectName(QStringLiteral("imgIcon"));
    fileIcon_->setGeometry(24, 60, kFileIconSize, kFileIconSize);
    fileIcon_->setAccessibleRole(QAccessible::Button);
    fileIcon_->setAccessibleName(tr("Icona del file"));
    connect(fileIcon_, &ClickLabel::clicked, this, &MainWindow::quickViewRequested);
    connect(fileIcon_, &ClickLabel::doubleClicked, this, &MainWindow::quickViewRequested);

    usePcmBox_ = new QCheckBox(tr("Use PCM"), client);
    usePcmBox_->setObjectName(QStringLiteral("chkPCM"));
    usePcmBox_->setGeometry(12, 104, 232, 15);
    usePcmBox_->hide();
    connect(usePcmBox_, &QCheckBox::clicked, this,
            [this] { state_.usePcm = usePcmBox_->checkState() == Qt::Checked; });

    // Every new pointer position over these feeds the random header's entropy pool.
    for (QWidget* widget :
         {static_cast<QWidget*>(panelFrame_), static_cast<QWidget*>(pathLabel_),
          static_cast<QWidget*>(fileNameLabel_), static_cast<QWidget*>(timeLabel_),
          static_cast<QWidget*>(versionLabel_)}) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

void MainWindow::buildButtons(QWidget* client) {
    openButton_ = MakeButton(PictureButton::Open, client);
    openButton_->setObjectName(QStringLiteral("Picture3"));
    openButton_->setGeometry(368, 72, 100, 32);
    openButton_->setPixmap(OpenButtonPixmap());
    openButton_->setToolTip(tr("Apri"));
    openButton_->setAccessibleName(tr("Apri"));
    QLabel* openCaption = openButton_->addCaption(tr("Apri"), QRect(40, 8, 51, 17));
    openCaption->setObjectName(QStringLiteral("Label5"));
    openCaption->setToolTip(tr("Apri"));
    connect(openButton_, &ImageButton::clicked, this, &MainWindow::selectFileRequested);

    processButton_ = MakeButton(PictureButton::Process, client);
    processButton_->setObjectName(QStringLiteral("Picture4"));
    processButton_->setGeometry(368, 110, 100, 32);
    processButton_->setPixmap(ProcessButtonPixmap());
    processButton_->setToolTip(tr("Crypta"));
    processButton_->setAccessibleName(tr("Elabora"));
    QLabel* processCaption = processButton_->addCaption(tr("Elabora"), QRect(38, 8, 49, 19));
    processCaption->setObjectName(QStringLiteral("Label4"));
    processCaption->setToolTip(tr("Crypta"));
    // The caption works the button as its picture does.
    connect(processButton_, &ImageButton::clicked, this, &MainWindow::cryptoRequested);

    exitButton_ = MakeButton(PictureButton::Exit, client);
    exitButton_->setObjectName(QStringLiteral("Picture2"));
    exitButton_->setGeometry(434, 150, 32, 32);
    exitButton_->setPixmap(ExitButtonPixmap());
    exitButton_->setToolTip(tr("Esci"));
    exitButton_->setAccessibleName(tr("Esci"));
    connect(exitButton_, &ImageButton::clicked, this, &MainWindow::exitRequested);

    setPictureLoader(ProgramFolderPictures());

    auto* credit =
        MakeLabel(client, tr("Servizio SMS Lampo di Lumora Net"), QRect(270, 194, 205, 19));
    QFont small = credit->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    credit->setFont(small);

    banner_ = new ClickLabel(client);
    banner_->setObjectName(QStringLiteral("Picture1"));
    banner_->setGeometry(4, 212, 468, 60);
    banner_->setPixmap(BannerPixmap());
    banner_->setToolTip(tr("Invia SMS"));
    banner_->setCursor(BannerCursor());
    banner_->setAccessibleRole(QAccessible::Link);
    banner_->setAccessibleName(tr("Invia SMS"));
    banner_->setAccessibleDescription(tr("Apre la pagina del servizio SMS nel browser"));
    connect(banner_, &ClickLabel::clicked, this, &MainWindow::partnerPageRequested);
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    // The File, Extra and Help menus, "&Select...", "&Properties...", "&Key", the Encrypt/Decrypt
    // command and "About ORBIT" start disabled; of them only the Encrypt/Decrypt command ever
    // becomes usable (the panel enables it), so the menu bar shows but the menus never open.
    fileMenu_ = Named(bar->addMenu(tr("&File")), "mnuFile");
    selectAction_ = Named(fileMenu_->addAction(tr("&Select...")), "mnuSelect");
    fileMenu_->addSeparator();
    viewAction_ = Named(fileMenu_->addAction(tr("&View")), "mnuView");
    openAction_ = Named(fileMenu_->addAction(tr("&Open")), "mnuShell");
    propertiesAction_ = Named(fileMenu_->addAction(tr("&Properties...")), "mnuProperties");
    fileMenu_->addSeparator();
    exitAction_ = Named(fileMenu_->addAction(tr("&Exit")), "mnuExit");

    keyAction_ = Named(bar->addAction(tr("&Key")), "mnuKey");
    cryptoAction_ = Named(bar->addAction(tr("&Encode")), "mnuCrypto");

    extraMenu_ = Named(bar->addMenu(tr("E&xtra")), "mnuExtra");
    privateCodeMenu_ = Named(extraMenu_->addMenu(tr("Private Crypto Code")), "mniPCM");
    configureCodeAction_ = Named(privateCodeMenu_->addAction(tr("&Configure")), "mnuPCM");
    deleteCodeAction_ = Named(privateCodeMenu_->addAction(tr("&Delete")), "mnuDeletePCM");
    optionsAction_ = Named(extraMenu_->addAction(tr("&Options...")), "mnuOptions");

    helpMenu_ = Named(bar->addMenu(tr("&Help")), "mnuHelpa");
    helpTopicsAction_ = Named(helpMenu_->addAction(tr("Help topics...")), "mnuHelp");
    helpMenu_->addSeparator();
    aboutAction_ = Named(helpMenu_->addAction(tr("About ORBIT")), "mnuAbout");

    for (QAction* startsDisabled :
         {fileMenu_->menuAction(), selectAction_, propertiesAction_, keyAction_, cryptoAction_,
          extraMenu_->menuAction(), privateCodeMenu_->menuAction(), helpMenu_->menuAction(),
          aboutAction_}) {
        startsDisabled->setEnabled(false);
    }

    connect(selectAction_, &QAction::triggered, this, &MainWindow::selectFileRequested);
    connect(viewAction_, &QAction::triggered, this, &MainWindow::quickViewRequested);
    connect(openAction_, &QAction::triggered, this, &MainWindow::openRequested);
    connect(propertiesAction_, &QAction::triggered, this, &MainWindow::propertiesRequested);
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);
    connect(keyAction_, &QAction::triggered, this, &MainWindow::keyRequested);
    connect(cryptoAction_, &QAction::triggered, this, &MainWindow::cryptoRequested);
    connect(optionsAction_, &QAction::triggered, this, &MainWindow::optionsRequested);
    connect(helpTopicsAction_, &QAction::triggered, this, &MainWindow::helpRequested);
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::aboutRequested);
    // "&Configure" and "&Delete" do nothing.
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusBarHeight);
    clockPanel_ = Named(new ClickLabel(bar), "Panel1");
    clockPanel_->setMinimumWidth(kClockPanelWidth);
    clockPanel_->setFrameShape(QFrame::StyledPanel);
    clockPanel_->setFrameShadow(QFrame::Sunken);
    makerPanel_ = Named(new ClickLabel(QStringLiteral("Vaultwise "), bar), "Panel2");
    makerPanel_->setFrameShape(QFrame::StyledPanel);
    makerPanel_->setFrameShadow(QFrame::Sunken);
    makerPanel_->setAccessibleRole(QAccessible::Link);
    makerPanel_->setAccessibleDescription(tr("Apre la pagina del produttore nel browser"));
    bar->addWidget(clockPanel_);
    bar->addWidget(makerPanel_, 1);
    connect(makerPanel_, &ClickLabel::clicked, this, &MainWindow::makerPageRequested);
}

void MainWindow::buildKeyboard() {
    // The picture buttons, the icon and the links take the focus as push buttons do; the
    // menus being held back, the commands they would carry have their keys on the window.
    const QList<ClickLabel*> focusable = {openButton_, processButton_, fileIcon_,
                                          exitButton_, banner_,        makerPanel_};
    for (ClickLabel* control : focusable)
        control->setFocusPolicy(Qt::StrongFocus);
    fileIcon_->setFocusPolicy(Qt::NoFocus); // until it shows a file
    const QList<QWidget*> order = {openButton_, processButton_, fileIcon_,  usePcmBox_,
                                   exitButton_, banner_,        makerPanel_};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    openButton_->setFocus();

    const std::pair<QKeySequence, void (MainWindow::*)()> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindow::selectFileRequested},
        {QKeySequence(Qt::Key_F1), &MainWindow::helpRequested},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), nullptr}}; // the window's close, as "&Exit"
    for (const auto& [key, request] : keys) {
        auto* shortcut = new QShortcut(key, this);
        if (request) {
            connect(shortcut, &QShortcut::activated, this, request);
        } else {
            connect(shortcut, &QShortcut::activated, this, &QWidget::close);
        }
    }
}

void MainWindow::setPictureLoader(const PictureLoader& loader) {
    openButton_->setPictureLoader(loader);
    processButton_->setPictureLoader(loader);
    exitButton_->setPictureLoader(loader);
}

void MainWindow::showClock() {
    clockPanel_->setText(TimeOfDay());
}

void MainWindow::setUsePcmChecked(bool checked) {
    usePcmBox_->setChecked(checked);
}

QString MainWindow::ShortenForSource(const QString& path) const {
    const QFontMetrics metrics(pathLabel_->font());
    return ShortenPath(path, PixelsToTwips(pathLabel_->width()), [&metrics](const QString& text) {
        return PixelsToTwips(metrics.horizontalAdvance(text));
    });
}

void MainWindow::setSourceCaption(const QString& caption) {
    if (caption.isEmpty()) pathLabel_->setAccessibleName(QString());
    if (pathLabel_->text() == caption) return;
    pathLabel_->setText(caption);
    ShowFileIcon();
}

void MainWindow::showSelection(const QString& path, const QString& captionPrefix) {
    const QString name = QString::fromStdString(FileNameOf(path.toStdString()));
    setSourceCaption(ShortenForSource(path));
    // Assistive tools read the whole path where the label shows it shortened.
    pathLabel_->setAccessibleName(path);
    fileNameLabel_->setText(name);
    setWindowTitle(captionPrefix + name);
}

void MainWindow::ShowFileIcon() {
    const QString path = state_.selectedPath.trimmed();
    setFileIcon(FileIconFor(path));
}

void MainWindow::setFileIcon(const QPixmap& icon) {
    fileIcon_->setPixmap(icon);
    // Only an icon that shows a file takes the focus.
    if (icon.isNull() && fileIcon_->hasFocus()) focusNextChild();
    fileIcon_->setFocusPolicy(icon.isNull() ? Qt::NoFocus : Qt::StrongFocus);
}

void MainWindow::setVersionCaption(const QString& caption, const QColor& colour) {
    versionLabel_->setText(caption);
    QPalette palette = versionLabel_->palette();
    palette.setColor(QPalette::WindowText, colour);
    versionLabel_->setPalette(palette);
}

void MainWindow::RefreshFilePanel() {
    const std::string path = state_.selectedPath.toStdString();
    if (!FileExists(path)) {
        setSourceCaption(QString());
        sizeLabel_->clear();
        setFileIcon(QPixmap());
        fileIcon_->setToolTip(QString());
        state_.panelState = PanelState::NoFile;
        UpdateCommandStates();
        return;
    }

    if (IsPanelPicture(state_.selectedPath)) {
        fileIcon_->setToolTip(tr(" Click here for a quick view "));
        fileIcon_->setCursor(BannerCursor());
        state_.panelState = PanelState::Picture;
        emit pictureSelected();
    } else {
        fileIcon_->setToolTip(QString());
        fileIcon_->unsetCursor();
        state_.panelState = PanelState::Other;
    }

    const std::int64_t length = FileLength(path);
    if (length >= 0) sizeLabel_->setText(SizeCaption(length, QLocale()));

    const QFileInfo info(state_.selectedPath);
    const QString words =
        AttributeText(false, !info.isWritable(), info.fileName().startsWith(QLatin1Char('.')));
    sizeLabel_->setText(sizeLabel_->text() + AttributeSuffix(words));

    switch (DetectFileKind(path)) {
    case FileKind::Protected:
        setVersionCaption(tr("Crypto version: "), kProtectedColour);
        cryptoAction_->setText(tr("&Decrypt"));
        break;
    case FileKind::Plain:
        setVersionCaption(tr("Unprotected"), kUnprotectedColour);
        cryptoAction_->setText(tr("&Encrypt"));
        break;
    case FileKind::Unknown:
        setVersionCaption(tr("Unknown crypto format"), kUnprotectedColour);
        cryptoAction_->setText(tr("&Encrypt"));
        break;
    }

    if (length >= 0) timeLabel_->setText(TimeEstimateCaption(length));
    UpdateCommandStates();
}

void MainWindow::UpdateCommandStates() {
    const bool noFile = state_.panelState == PanelState::NoFile;
    propertiesAction_->setEnabled(!noFile);
    openAction_->setEnabled(!noFile);
    usePcmBox_->setVisible(!noFile && !state_.privateCode.isEmpty());
    viewAction_->setEnabled(state_.panelState == PanelState::Picture);
    deleteCodeAction_->setEnabled(!state_.privateCode.isEmpty());
    cryptoAction_->setEnabled(true);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const QPointF position = static_cast<QMouseEvent*>(event)->position();
        AddMouseEntropy(static_cast<float>(position.x() * kPixelTwips),
                        static_cast<float>(position.y() * kPixelTwips));
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile() &&
        QFileInfo(urls.first().toLocalFile()).isFile()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    emit fileDropped(urls.first().toLocalFile());
}

} // namespace vw::ui
