// The main window: the picture buttons, the panel's states and the menus.
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "UiTestSupport.h"
#include "engine/ProtectedFile.h"
#include "ui/Artwork.h"
#include "ui/MainWindow.h"

namespace vw::ui {
namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPointF position = QPointF(5, 5)) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, widget->mapToGlobal(position), Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// Each picture file is drawn in a colour of its own.
QRgb ColourOf(const QString& name) {
    return qRgb(static_cast<int>(qHash(name) % 256), name.size(), 7);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.setPictureLoader([](const QString& name) {
            QPixmap picture(4, 4);
            picture.fill(QColor(ColourOf(name)));
            return picture;
        });
    }
    template <typename T> T* control(const char* name) { return test::Child<T>(&window, name); }
    QRgb shownColour(const char* name) {
        return control<QLabel>(name)->pixmap().toImage().pixel(0, 0);
    }

    QTemporaryDir folder;
    UiState state;
    MainWindow window{state};
};

TEST_F(MainWindowTest, PictureButtonsShowTheirPressedThenReleasedPictureAndActOnRelease) {
    auto opens = test::Spy(&window, &MainWindow::selectFileRequested);
    auto processes = test::Spy(&window, &MainWindow::cryptoRequested);
    auto exits = test::Spy(&window, &MainWindow::exitRequested);
    struct Row {
        const char* button;
        QPixmap designLook;
        const char* pressed;
        const char* released;
        std::shared_ptr<int> acted;
    };
    for (const Row& row : {Row{"Picture3", OpenButtonPixmap(), "22.jpg", "21.jpg", opens},
                           Row{"Picture4", ProcessButtonPixmap(), "32.jpg", "31.jpg", processes},
                           Row{"Picture2", ExitButtonPixmap(), "02.jpg", "01.jpg", exits}}) {
        SCOPED_TRACE(row.button);
        auto* button = control<QLabel>(row.button);
        EXPECT_EQ(button->pixmap().toImage(), row.designLook.toImage());
        SendMouse(button, QEvent::MouseButtonPress);
        EXPECT_EQ(shownColour(row.button), ColourOf(QString::fromLatin1(row.pressed)));
        EXPECT_EQ(*row.acted, 0);
        SendMouse(button, QEvent::MouseButtonRelease);
        EXPECT_EQ(shownColour(row.button), ColourOf(QString::fromLatin1(row.released)));
        EXPECT_EQ(*row.acted, 1);
    }
    // The caption of the process button works it only while a file name is shown.
    QLabel* caption = control<QLabel>("Label4");
    for (const QString& name : {QString(), QStringLiteral("b.txt")}) {
        control<QLabel>("lblFileName")->setText(name);
        SendMouse(caption, QEvent::MouseButtonPress);
        SendMouse(caption, QEvent::MouseButtonRelease);
    }
    EXPECT_EQ(*processes, 2);
}

TEST_F(MainWindowTest, PanelFollowsTheSelectedFile) {
    struct Row {
        const char* name; // nullptr: nothing selected
        PanelState panel;
        bool view;
        const char* crypto;
        const char* version;
        QColor colour;
    };
    const QColor red(255, 0, 0);
    for (const Row& row :
         {Row{nullptr, PanelState::NoFile, false, "&Encode", "", QColor()},
          Row{"photo.jpeg", PanelState::Picture, true, "&Encrypt", "Unprotected", red},
          Row{"app.ico", PanelState::Other, false, "&Encrypt", "Unprotected", red},
          Row{"notes.txt", PanelState::Other, false, "&Encrypt", "Unprotected", red},
          Row{"b.vwx", PanelState::Other, false, "&Decrypt",
              "Crypto version: ", QColor(0, 128, 0)}}) {
        SCOPED_TRACE(row.name ? row.name : "none");
        const QString name = QString::fromLatin1(row.name);
        state.selectedPath =
            row.name ? test::WriteFile(folder.path(), name, QByteArray(1234, 't')) : QString();
        window.showSelection(state.selectedPath, QStringLiteral("Lumora "));
        window.RefreshFilePanel();
        EXPECT_EQ(state.panelState, row.panel);
        EXPECT_EQ(control<QAction>("mnuView")->isEnabled(), row.view);
        EXPECT_EQ(control<QAction>("mnuShell")->isEnabled(), row.name != nullptr);
        EXPECT_TRUE(control<QAction>("mnuCrypto")->isEnabled());
        EXPECT_EQ(control<QAction>("mnuCrypto")->text(), QLatin1String(row.crypto));
        if (!row.name) continue;
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumora ") + name);
        EXPECT_EQ(control<QLabel>("lblSource")->text(),
                  window.ShortenForSource(state.selectedPath));
        EXPECT_EQ(control<QLabel>("lblVersion")->text(), QLatin1String(row.version));
        EXPECT_EQ(control<QLabel>("lblVersion")->palette().color(QPalette::WindowText), row.colour);
    }
}

// The menu bar shows, but only the Encrypt/Decrypt command becomes usable (the panel enables
// it): the File, Extra and Help menus, Select, Properties, Key and About stay disabled.
TEST_F(MainWindowTest, MenusOtherThanTheFileCommandsStayDisabled) {
    window.RefreshFilePanel();
    for (const char* menu : {"mnuFile", "mnuExtra", "mniPCM", "mnuHelpa"})
        EXPECT_FALSE(control<QMenu>(menu)->menuAction()->isEnabled()) << menu;
    for (const char* action : {"mnuSelect", "mnuProperties", "mnuKey", "mnuAbout"})
        EXPECT_FALSE(control<QAction>(action)->isEnabled()) << action;
}

TEST_F(MainWindowTest, EveryNewPointerPositionOverThePanelFeedsTheEntropyPoolInTwips) {
    EntropyPool.clear();
    const std::pair<const char*, QPointF> moves[] = {{"lblSource", {10, 3}},
                                                     {"lblSource", {10, 3}}, // not new
                                                     {"lblTime", {3, 2}},
                                                     {"Picture3", {20, 20}}}; // not the panel
    for (const auto& [over, position] : moves) {
        QMouseEvent move(QEvent::MouseMove, position, position, Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(control<QWidget>(over), &move);
    }
    EXPECT_EQ(EntropyPool.size(), 2u);
    EXPECT_FLOAT_EQ(LastMousePosition.x, 45.0f);
    EXPECT_FLOAT_EQ(LastMousePosition.y, 30.0f);
}

} // namespace
} // namespace vw::ui
