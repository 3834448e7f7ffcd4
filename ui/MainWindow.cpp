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
#include <QStatusBar>
#include <QTime>
#include <QTimer>

#include "engine/Driver.h"
#include "engine/Paths.h"
#include "engine/ProtectedFile.h"
#include "ui/AppInfo.h"
#include "ui/Artwork.h"
#include "ui/ClickLabel.h"
#include "ui/FileIcon.h"
#include "ui/PanelRules.h"

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
    return {left / kPixelTwips, top / kPixelTwips, width / kPixelTwips, height / kPixelTwips};
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
    picture->setGeometry(QRect(QPoint(0, 0), picture->pixmap().size()));
    setCentralWidget(client);

    buildPanel(client);
    buildButtons(client);
    buildMenus();
    buildStatusBar();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Load: the first time into the status bar, then the clock ticks every second.
    showClock();
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kClockInterval);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::showClock);
    timer1_->start();
}

void MainWindow::buildPanel(QWidget* client) {
    MakeLabel(client, QStringLiteral("Percorso"), QRect(8, 8, 90, 18));
    MakeLabel(client, QStringLiteral("File"), QRect(8, 28, 90, 18));
    auto* label3 = MakeLabel(client, QStringLiteral("Tempo Conversione"), QRect(230, 48, 132, 18));
    label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    lblSource_ = MakeLabel(client, QString(), Twips(1530, 120, 5505, 270));
    lblFileName_ = MakeLabel(client, QString(), Twips(1530, 420, 5505, 270));
    SetBold(lblFileName_);
    lblTime_ = MakeLabel(client, QString(), Twips(5490, 720, 1545, 270));
    lblSize_ = MakeLabel(client, QString(), Twips(1050, 2070, 1545, 270));
    lblSize_->hide();
    lblVersion_ = MakeLabel(client, QString(), Twips(630, 2460, 1605, 255));
    SetBold(lblVersion_);
    lblVersion_->setAutoFillBackground(true);
    QPalette grey = lblVersion_->palette();
    grey.setColor(QPalette::Window, kVersionBackground);
    lblVersion_->setPalette(grey);
    lblVersion_->hide();

    frame1_ = new QFrame(client);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameShape(QFrame::Box);
    frame1_->setGeometry(8, 120, 240, 60);
    frame1_->hide();

    imgIcon_ = new ClickLabel(client);
    imgIcon_->setObjectName(QStringLiteral("imgIcon"));
    imgIcon_->setGeometry(24, 60, kFileIconSize, kFileIconSize);
    connect(imgIcon_, &ClickLabel::clicked, this, &MainWindow::quickViewRequested);
    connect(imgIcon_, &ClickLabel::doubleClicked, this, &MainWindow::quickViewRequested);

    chkPCM_ = new QCheckBox(QStringLiteral("Use PCM"), client);
    chkPCM_->setObjectName(QStringLiteral("chkPCM"));
    chkPCM_->setGeometry(12, 104, 232, 15);
    chkPCM_->hide();
    connect(chkPCM_, &QCheckBox::clicked, this,
            [this] { state_.usePcm = chkPCM_->checkState() == Qt::Checked; });

    // Every new pointer position over these feeds the random header's entropy pool.
    for (QWidget* widget : {static_cast<QWidget*>(frame1_), static_cast<QWidget*>(lblSource_),
                            static_cast<QWidget*>(lblFileName_), static_cast<QWidget*>(lblTime_),
                            static_cast<QWidget*>(lblVersion_)}) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

void MainWindow::buildButtons(QWidget* client) {
    picture3_ = new ImageButton(QStringLiteral("22.jpg"), QStringLiteral("21.jpg"), client);
    picture3_->setObjectName(QStringLiteral("Picture3"));
    picture3_->setGeometry(368, 72, 100, 32);
    picture3_->setPixmap(OpenButtonPixmap());
    picture3_->setToolTip(QStringLiteral("Apri"));
    picture3_->addCaption(QStringLiteral("Apri"), QRect(40, 8, 51, 17))
        ->setToolTip(QStringLiteral("Apri"));
    connect(picture3_, &ImageButton::released, this, &MainWindow::selectFileRequested);

    picture4_ = new ImageButton(QStringLiteral("32.jpg"), QStringLiteral("31.jpg"), client);
    picture4_->setObjectName(QStringLiteral("Picture4"));
    picture4_->setGeometry(368, 110, 100, 32);
    picture4_->setPixmap(ProcessButtonPixmap());
    picture4_->setToolTip(QStringLiteral("Crypta"));
    picture4_->addCaption(QStringLiteral("Elabora"), QRect(38, 8, 49, 19))
        ->setToolTip(QStringLiteral("Crypta"));
    connect(picture4_, &ImageButton::released, this, [this](bool onCaption) {
        // The caption works only while a file name is shown; the rest of the button always.
        if (onCaption && lblFileName_->text().isEmpty()) return;
        emit cryptoRequested();
    });

    picture2_ = new ImageButton(QStringLiteral("02.jpg"), QStringLiteral("01.jpg"), client);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setGeometry(434, 150, 32, 32);
    picture2_->setPixmap(ExitButtonPixmap());
    picture2_->setToolTip(QStringLiteral("Esci"));
    connect(picture2_, &ImageButton::released, this, &MainWindow::exitRequested);

    setPictureLoader(ProgramFolderPictures());

    auto* label6 = MakeLabel(client, QStringLiteral("Servizio SMS Lampo di Lumora Net"),
                             QRect(270, 194, 205, 19));
    QFont small = label6->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    label6->setFont(small);

    picture1_ = new ClickLabel(client);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(4, 212, 468, 60);
    picture1_->setPixmap(BannerPixmap());
    picture1_->setToolTip(QStringLiteral("Invia SMS"));
    picture1_->setCursor(BannerCursor());
    connect(picture1_, &ClickLabel::clicked, this, &MainWindow::partnerPageRequested);
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    // The held-back group starts disabled: the menu bar shows, but only the Encrypt/Decrypt
    // command becomes usable (the panel enables it).
    mnuFile_ = bar->addMenu(QStringLiteral("&File"));
    mnuSelect_ = mnuFile_->addAction(QStringLiteral("&Select..."));
    mnuFile_->addSeparator();
    mnuView_ = mnuFile_->addAction(QStringLiteral("&View"));
    mnuShell_ = mnuFile_->addAction(QStringLiteral("&Open"));
    mnuProperties_ = mnuFile_->addAction(QStringLiteral("&Properties..."));
    mnuFile_->addSeparator();
    mnuExit_ = mnuFile_->addAction(QStringLiteral("&Exit"));

    mnuKey_ = bar->addAction(QStringLiteral("&Key"));
    mnuCrypto_ = bar->addAction(QStringLiteral("&Encode"));

    mnuExtra_ = bar->addMenu(QStringLiteral("E&xtra"));
    mniPCM_ = mnuExtra_->addMenu(QStringLiteral("Private Crypto Code"));
    mnuPCM_ = mniPCM_->addAction(QStringLiteral("&Configure"));
    mnuDeletePCM_ = mniPCM_->addAction(QStringLiteral("&Delete"));
    mnuOptions_ = mnuExtra_->addAction(QStringLiteral("&Options..."));

    mnuHelpa_ = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp_ = mnuHelpa_->addAction(QStringLiteral("Help topics..."));
    mnuHelpa_->addSeparator();
    mnuAbout_ = mnuHelpa_->addAction(QStringLiteral("About ORBIT"));

    for (QAction* heldBack :
         {mnuFile_->menuAction(), mnuSelect_, mnuProperties_, mnuKey_, mnuCrypto_,
          mnuExtra_->menuAction(), mniPCM_->menuAction(), mnuHelpa_->menuAction(), mnuAbout_}) {
        heldBack->setEnabled(false);
    }

    connect(mnuSelect_, &QAction::triggered, this, &MainWindow::selectFileRequested);
    connect(mnuView_, &QAction::triggered, this, &MainWindow::quickViewRequested);
    connect(mnuShell_, &QAction::triggered, this, &MainWindow::openRequested);
    connect(mnuProperties_, &QAction::triggered, this, &MainWindow::propertiesRequested);
    connect(mnuExit_, &QAction::triggered, this, &QWidget::close);
    connect(mnuKey_, &QAction::triggered, this, &MainWindow::keyRequested);
    connect(mnuCrypto_, &QAction::triggered, this, &MainWindow::cryptoRequested);
    connect(mnuOptions_, &QAction::triggered, this, &MainWindow::optionsRequested);
    connect(mnuHelp_, &QAction::triggered, this, &MainWindow::helpRequested);
    connect(mnuAbout_, &QAction::triggered, this, &MainWindow::aboutRequested);
    // "&Configure" and "&Delete" do nothing.
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusBarHeight);
    panel1_ = new ClickLabel(bar);
    panel1_->setMinimumWidth(kClockPanelWidth);
    panel1_->setFrameShape(QFrame::StyledPanel);
    panel1_->setFrameShadow(QFrame::Sunken);
    panel2_ = new ClickLabel(QStringLiteral("Vaultwise "), bar);
    panel2_->setFrameShape(QFrame::StyledPanel);
    panel2_->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panel1_);
    bar->addWidget(panel2_, 1);
    connect(panel2_, &ClickLabel::clicked, this, &MainWindow::makerPageRequested);
}

void MainWindow::setPictureLoader(const PictureLoader& loader) {
    picture3_->setPictureLoader(loader);
    picture4_->setPictureLoader(loader);
    picture2_->setPictureLoader(loader);
}

void MainWindow::showClock() {
    panel1_->setText(TimeOfDay());
}

void MainWindow::setUsePcmChecked(bool checked) {
    chkPCM_->setChecked(checked);
}

QString MainWindow::ShortenForSource(const QString& path) const {
    const QFontMetrics metrics(lblSource_->font());
    return ShortenPath(path, lblSource_->width() * kPixelTwips, [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text) * kPixelTwips;
    });
}

void MainWindow::setSourceCaption(const QString& caption) {
    if (lblSource_->text() == caption) return;
    lblSource_->setText(caption);
    ShowFileIcon();
}

void MainWindow::showSelection(const QString& path, const QString& captionPrefix) {
    const QString name = QString::fromStdString(FileNameOf(path.toStdString()));
    setSourceCaption(ShortenForSource(path));
    lblFileName_->setText(name);
    setWindowTitle(captionPrefix + name);
}

void MainWindow::ShowFileIcon() {
    const QString path = state_.selectedPath.trimmed();
    imgIcon_->setPixmap(FileIconFor(path));
}

void MainWindow::setVersionCaption(const QString& caption, const QColor& colour) {
    lblVersion_->setText(caption);
    QPalette palette = lblVersion_->palette();
    palette.setColor(QPalette::WindowText, colour);
    lblVersion_->setPalette(palette);
}

void MainWindow::RefreshFilePanel() {
    const std::string path = state_.selectedPath.toStdString();
    if (!FileExists(path)) {
        setSourceCaption(QString());
        lblSize_->clear();
        imgIcon_->clear();
        imgIcon_->setToolTip(QString());
        state_.panelState = kPanelNoFile;
        UpdateCommandStates();
        return;
    }

    if (IsPanelPicture(state_.selectedPath)) {
        imgIcon_->setToolTip(QStringLiteral(" Click here for a quick view "));
        imgIcon_->setCursor(BannerCursor());
        state_.panelState = kPanelPicture;
        emit pictureSelected();
    } else {
        imgIcon_->setToolTip(QString());
        imgIcon_->unsetCursor();
        state_.panelState = kPanelOther;
    }

    const std::int64_t length = FileLength(path);
    if (length >= 0) lblSize_->setText(SizeCaption(length, QLocale()));

    const QFileInfo info(state_.selectedPath);
    const QString words =
        AttributeText(false, !info.isWritable(), info.fileName().startsWith(QLatin1Char('.')));
    lblSize_->setText(lblSize_->text() + AttributeSuffix(words));

    switch (DetectFileKind(path)) {
    case FileKind::Protected:
        setVersionCaption(QStringLiteral("Crypto version: "), kProtectedColour);
        mnuCrypto_->setText(QStringLiteral("&Decrypt"));
        break;
    case FileKind::Plain:
        setVersionCaption(QStringLiteral("Unprotected"), kUnprotectedColour);
        mnuCrypto_->setText(QStringLiteral("&Encrypt"));
        break;
    case FileKind::Unknown:
        setVersionCaption(QStringLiteral("Unknown crypto format"), kUnprotectedColour);
        mnuCrypto_->setText(QStringLiteral("&Encrypt"));
        break;
    }

    if (length >= 0) lblTime_->setText(TimeEstimateCaption(length));
    UpdateCommandStates();
}

void MainWindow::UpdateCommandStates() {
    const bool noFile = state_.panelState == kPanelNoFile;
    mnuProperties_->setEnabled(!noFile);
    mnuShell_->setEnabled(!noFile);
    chkPCM_->setVisible(!noFile && !state_.privateCode.isEmpty());
    mnuView_->setEnabled(state_.panelState == kPanelPicture);
    mnuDeletePCM_->setEnabled(!state_.privateCode.isEmpty());
    mnuCrypto_->setEnabled(true);
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
