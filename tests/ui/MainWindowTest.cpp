#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

#include "UiTestSupport.h"
#include "engine/ProtectedFile.h"
#include "ui/ClickLabel.h"
#include "ui/MainWindow.h"
#include "ui/PanelRules.h"

namespace vw::ui {
namespace {

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button,
               QPointF position = QPointF(5, 5)) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(widget, QEvent::MouseButtonPress, button);
    SendMouse(widget, QEvent::MouseButtonRelease, button);
}

void MoveOver(QWidget* widget, QPointF position) {
    QMouseEvent event(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        window.setPictureLoader([this](const QString& name) {
            loaded.push_back(name);
            QPixmap picture(100, 32);
            picture.fill(name == missing ? Qt::transparent : Qt::blue);
            return name == missing ? QPixmap() : picture;
        });
    }

    void select(const QString& path) {
        state.selectedPath = path;
        window.showSelection(path, QStringLiteral("Lumora "));
        window.RefreshFilePanel();
    }

    QTemporaryDir folder;
    UiState state;
    MainWindow window{state};
    std::vector<QString> loaded;
    QString missing;
};

TEST_F(MainWindowTest, NoFileDisablesFileCommandsButNotEncode) {
    window.RefreshFilePanel();
    EXPECT_EQ(state.panelState, kPanelNoFile);
    EXPECT_TRUE(window.lblSource()->text().isEmpty());
    EXPECT_TRUE(window.lblSize()->text().isEmpty());
    EXPECT_TRUE(window.imgIcon()->pixmap().isNull());
    EXPECT_TRUE(window.mnuCrypto()->isEnabled());
    EXPECT_EQ(window.mnuCrypto()->text(), QStringLiteral("&Encode"));
    EXPECT_FALSE(window.mnuShell()->isEnabled());
    EXPECT_FALSE(window.mnuProperties()->isEnabled());
    EXPECT_FALSE(window.mnuView()->isEnabled());
    EXPECT_TRUE(window.chkPCM()->isHidden());

    // A selection that vanished falls back to the same state, keeping the older captions.
    const QString path = test::WriteFile(folder.path(), QStringLiteral("gone.txt"), "data");
    select(path);
    QFile::remove(path);
    window.RefreshFilePanel();
    EXPECT_EQ(state.panelState, kPanelNoFile);
    EXPECT_TRUE(window.lblSource()->text().isEmpty());
    EXPECT_EQ(window.lblFileName()->text(), QStringLiteral("gone.txt"));
    EXPECT_EQ(window.mnuCrypto()->text(), QStringLiteral("&Encrypt"));
    EXPECT_TRUE(window.imgIcon()->pixmap().isNull());
}

TEST_F(MainWindowTest, PictureOffersTheQuickView) {
    auto picture = test::Spy(&window, &MainWindow::pictureSelected);
    select(test::WriteFile(folder.path(), QStringLiteral("photo.jpeg"), "not really a jpeg"));
    EXPECT_EQ(state.panelState, kPanelPicture);
    EXPECT_EQ(window.imgIcon()->toolTip(), QStringLiteral(" Click here for a quick view "));
    EXPECT_TRUE(window.mnuView()->isEnabled());
    EXPECT_TRUE(window.mnuShell()->isEnabled());
    EXPECT_TRUE(window.mnuProperties()->isEnabled());
    EXPECT_EQ(*picture, 1);
    EXPECT_FALSE(window.imgIcon()->pixmap().isNull());

    // app.ico is no picture for the panel.
    select(test::WriteFile(folder.path(), QStringLiteral("app.ico"), "icon"));
    EXPECT_EQ(state.panelState, kPanelOther);
    EXPECT_TRUE(window.imgIcon()->toolTip().isEmpty());
    EXPECT_FALSE(window.mnuView()->isEnabled());
}

TEST_F(MainWindowTest, OtherFileShowsSizeTimeAndProtectionState) {
    for (const char* name : {"notes.txt", "data.bin"}) {
        const QString path =
            test::WriteFile(folder.path(), QString::fromLatin1(name), QByteArray(1234567, 'x'));
        select(path);
        EXPECT_EQ(state.panelState, kPanelOther) << name;
        EXPECT_EQ(window.lblFileName()->text(), QString::fromLatin1(name));
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumora ") + QString::fromLatin1(name));
        EXPECT_EQ(window.lblSource()->text(), window.ShortenForSource(path));
        EXPECT_EQ(window.lblSize()->text(), SizeCaption(1234567, QLocale()));
        EXPECT_EQ(window.lblTime()->text(), TimeEstimateCaption(1234567));
        EXPECT_EQ(window.lblVersion()->text(), QStringLiteral("Unprotected"));
        EXPECT_EQ(window.lblVersion()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        EXPECT_EQ(window.mnuCrypto()->text(), QStringLiteral("&Encrypt"));
        EXPECT_FALSE(window.mnuView()->isEnabled());
        EXPECT_TRUE(window.mnuShell()->isEnabled());
        EXPECT_FALSE(window.imgIcon()->pixmap().isNull());
    }
    EXPECT_TRUE(window.lblSize()->isHidden());
    EXPECT_TRUE(window.lblVersion()->isHidden());
}

TEST_F(MainWindowTest, ProtectedFileOffersDecrypt) {
    select(test::WriteFile(folder.path(), QStringLiteral("b.vwx"), "protected"));
    EXPECT_EQ(window.lblVersion()->text(), QStringLiteral("Crypto version: "));
    EXPECT_EQ(window.lblVersion()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(window.mnuCrypto()->text(), QStringLiteral("&Decrypt"));
    EXPECT_TRUE(window.mnuCrypto()->isEnabled());
    EXPECT_TRUE(window.lblVersion()->isHidden());
}

TEST_F(MainWindowTest, AttributeWordsFollowTheSize) {
    const QString path = test::WriteFile(folder.path(), QStringLiteral(".hidden"), "12345");
    QFile::setPermissions(path, QFile::ReadOwner);
    select(path);
    const QString expected = geteuid() == 0 ? QStringLiteral("  (Hidden)") // root writes anyway
                                            : QStringLiteral("  (Read-only  Hidden)");
    EXPECT_EQ(window.lblSize()->text(), SizeCaption(5, QLocale()) + expected);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(MainWindowTest, UsePcmIsOfferedWithAFileAndAStoredCodeAndChangesOnlyUsePcm) {
    state.privateCode = QStringLiteral("code");
    state.password = QStringLiteral("secret1");
    window.RefreshFilePanel();
    EXPECT_TRUE(window.chkPCM()->isHidden());
    EXPECT_TRUE(window.mnuDeletePCM()->isEnabled());
    select(test::WriteFile(folder.path(), QStringLiteral("a.txt"), "abc"));
    EXPECT_FALSE(window.chkPCM()->isHidden());
    window.chkPCM()->click();
    EXPECT_TRUE(state.usePcm);
    window.chkPCM()->click();
    EXPECT_FALSE(state.usePcm);
    window.chkPCM()->setTristate(true);
    window.chkPCM()->setCheckState(Qt::PartiallyChecked);
    state.usePcm = true;
    window.chkPCM()->click(); // partially checked -> checked
    window.chkPCM()->click(); // checked -> unchecked
    EXPECT_FALSE(state.usePcm);
    EXPECT_EQ(state.privateCode, QStringLiteral("code"));
    EXPECT_EQ(state.password, QStringLiteral("secret1"));

    state.privateCode.clear();
    window.UpdateCommandStates();
    EXPECT_TRUE(window.chkPCM()->isHidden());
    EXPECT_FALSE(window.mnuDeletePCM()->isEnabled());
}

TEST_F(MainWindowTest, MenusStartWithTheHeldBackGroupDisabled) {
    for (QAction* heldBack :
         {window.mnuFile()->menuAction(), window.mnuSelect(), window.mnuProperties(),
          window.mnuKey(), window.mnuCrypto(), window.mnuExtra()->menuAction(),
          window.mniPCM()->menuAction(), window.mnuHelpa()->menuAction(), window.mnuAbout()}) {
        EXPECT_FALSE(heldBack->isEnabled()) << heldBack->text().toStdString();
        EXPECT_TRUE(heldBack->isVisible());
    }
    for (QAction* free : {window.mnuView(), window.mnuShell(), window.mnuExit(), window.mnuPCM(),
                          window.mnuDeletePCM(), window.mnuOptions(), window.mnuHelp()}) {
        EXPECT_TRUE(free->isEnabled()) << free->text().toStdString();
    }
    // The first refresh makes the Encrypt/Decrypt command usable; the menus stay held back.
    window.RefreshFilePanel();
    EXPECT_TRUE(window.mnuCrypto()->isEnabled());
    EXPECT_FALSE(window.mnuFile()->menuAction()->isEnabled());
    EXPECT_FALSE(window.mnuKey()->isEnabled());
}

TEST_F(MainWindowTest, MenuEntriesReportTheirCommands) {
    auto crypto = test::Spy(&window, &MainWindow::cryptoRequested);
    auto key = test::Spy(&window, &MainWindow::keyRequested);
    auto view = test::Spy(&window, &MainWindow::quickViewRequested);
    auto opens = test::Spy(&window, &MainWindow::openRequested);
    auto properties = test::Spy(&window, &MainWindow::propertiesRequested);
    auto selects = test::Spy(&window, &MainWindow::selectFileRequested);
    window.mnuCrypto()->setEnabled(true);
    window.mnuCrypto()->trigger();
    window.mnuView()->trigger();
    window.mnuShell()->trigger();
    window.mnuPCM()->trigger();       // does nothing
    window.mnuDeletePCM()->trigger(); // does nothing
    EXPECT_EQ(*crypto, 1);
    EXPECT_EQ(*view, 1);
    EXPECT_EQ(*opens, 1);
    EXPECT_EQ(*key + *properties + *selects, 0);
}

TEST_F(MainWindowTest, OpenAndExitButtonsShowPressedThenReleasedPictureThenAct) {
    auto selects = test::Spy(&window, &MainWindow::selectFileRequested);
    auto exits = test::Spy(&window, &MainWindow::exitRequested);
    struct Case {
        ImageButton* button;
        const char* pressed;
        const char* released;
        std::shared_ptr<int> acted;
    };
    for (const Case& c : {Case{window.picture3(), "22.jpg", "21.jpg", selects},
                          Case{window.picture2(), "02.jpg", "01.jpg", exits}}) {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            *c.acted = 0;
            SendMouse(c.button, QEvent::MouseButtonPress, button);
            EXPECT_EQ(c.button->shownPicture(), QString::fromLatin1(c.pressed));
            EXPECT_EQ(*c.acted, 0);
            SendMouse(c.button, QEvent::MouseButtonRelease, button);
            EXPECT_EQ(c.button->shownPicture(), QString::fromLatin1(c.released));
            EXPECT_EQ(*c.acted, 1);
        }
    }
    // Its caption "Apri" works the open button too.
    *selects = 0;
    Click(window.picture3()->caption(), Qt::RightButton);
    EXPECT_EQ(*selects, 1);
    EXPECT_EQ(window.picture3()->caption()->text(), QStringLiteral("Apri"));
}

TEST_F(MainWindowTest, ProcessButtonCaptionNeedsAFileName) {
    auto crypto = test::Spy(&window, &MainWindow::cryptoRequested);
    QLabel* label4 = window.picture4()->caption();
    EXPECT_EQ(label4->text(), QStringLiteral("Elabora"));
    EXPECT_EQ(label4->toolTip(), QStringLiteral("Crypta"));

    SendMouse(label4, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(window.picture4()->shownPicture(), QStringLiteral("32.jpg"));
    SendMouse(label4, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(window.picture4()->shownPicture(), QStringLiteral("31.jpg"));
    EXPECT_EQ(*crypto, 0); // no file name: only the picture changes

    Click(window.picture4(), Qt::RightButton);
    EXPECT_EQ(*crypto, 1); // the rest of the button works all the same

    window.lblFileName()->setText(QStringLiteral("b.txt"));
    Click(label4);
    EXPECT_EQ(*crypto, 2);
}

TEST_F(MainWindowTest, MissingPictureKeepsTheCurrentLook) {
    missing = QStringLiteral("22.jpg");
    const qint64 designLook = window.picture3()->pixmap().cacheKey();
    SendMouse(window.picture3(), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(window.picture3()->pixmap().cacheKey(), designLook);
    EXPECT_TRUE(window.picture3()->shownPicture().isEmpty());
    SendMouse(window.picture3(), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(window.picture3()->shownPicture(), QStringLiteral("21.jpg"));
    EXPECT_NE(window.picture3()->pixmap().cacheKey(), designLook);
}

TEST_F(MainWindowTest, BannerIconAndStatusBarClicks) {
    auto partner = test::Spy(&window, &MainWindow::partnerPageRequested);
    auto maker = test::Spy(&window, &MainWindow::makerPageRequested);
    auto view = test::Spy(&window, &MainWindow::quickViewRequested);
    EXPECT_EQ(window.picture1()->toolTip(), QStringLiteral("Invia SMS"));
    EXPECT_EQ(window.picture1()->cursor().shape(), Qt::BitmapCursor);
    Click(window.picture1());
    EXPECT_EQ(*partner, 1);
    Click(window.statusPanel(1));
    EXPECT_EQ(*maker, 0);
    EXPECT_EQ(window.statusPanel(2)->text(), QStringLiteral("Vaultwise "));
    Click(window.statusPanel(2));
    EXPECT_EQ(*maker, 1);

    Click(window.imgIcon());
    EXPECT_EQ(*view, 1);
    // A double click: the click of its first half, then the double click.
    SendMouse(window.imgIcon(), QEvent::MouseButtonPress, Qt::LeftButton);
    SendMouse(window.imgIcon(), QEvent::MouseButtonRelease, Qt::LeftButton);
    SendMouse(window.imgIcon(), QEvent::MouseButtonDblClick, Qt::LeftButton);
    SendMouse(window.imgIcon(), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(*view, 3);
}

TEST_F(MainWindowTest, ClockTicksEverySecond) {
    EXPECT_FALSE(window.statusPanel(1)->text().isEmpty());
    EXPECT_TRUE(window.timer1()->isActive());
    window.statusPanel(1)->clear();
    QEventLoop loop;
    QTimer::singleShot(1200, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(window.statusPanel(1)->text().isEmpty());
}

TEST_F(MainWindowTest, EveryNewPointerPositionFeedsTheEntropyPool) {
    EntropyPool.clear();
    LastMousePosition = {};
    MoveOver(window.lblSource(), QPointF(10, 5));
    EXPECT_EQ(EntropyPool.size(), 1u);
    EXPECT_FLOAT_EQ(LastMousePosition.x, 150.0f); // twips
    EXPECT_FLOAT_EQ(LastMousePosition.y, 75.0f);
    MoveOver(window.lblSource(), QPointF(10, 5));
    EXPECT_EQ(EntropyPool.size(), 1u);
    MoveOver(window.lblFileName(), QPointF(11, 5));
    MoveOver(window.lblTime(), QPointF(3, 2));
    EXPECT_EQ(EntropyPool.size(), 3u);
    EXPECT_FLOAT_EQ(LastMousePosition.x, 45.0f);
    // Other controls feed nothing.
    MoveOver(window.picture3(), QPointF(20, 20));
    MoveOver(window.centralWidget(), QPointF(200, 200));
    EXPECT_EQ(EntropyPool.size(), 3u);
}

TEST_F(MainWindowTest, DroppedFileIsReported) {
    QStringList dropped;
    QObject::connect(&window, &MainWindow::fileDropped, &window,
                     [&dropped](const QString& path) { dropped << path; });
    const QString path = test::WriteFile(folder.path(), QStringLiteral("drop.txt"), "x");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    EXPECT_EQ(dropped, QStringList{path});
}

TEST_F(MainWindowTest, ClientAreaHasTheDesignSize) {
    EXPECT_EQ(window.centralWidget()->width(), 477);
    EXPECT_EQ(window.centralWidget()->height() + window.statusBar()->height(), 301);
    EXPECT_EQ(window.lblSource()->geometry(), QRect(102, 8, 367, 18));
    EXPECT_EQ(window.picture3()->geometry(), QRect(368, 72, 100, 32));
    EXPECT_EQ(window.picture1()->geometry(), QRect(4, 212, 468, 60));
}

} // namespace
} // namespace vw::ui
