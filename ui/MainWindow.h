// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// frmMain: the main window (its controls carry their design names as object names). Describes the
// selected file (RefreshFilePanel), keeps the commands' states (UpdateCommandStates) and offers the
// picture buttons, the menu bar, the banner, the status bar with its clock and the "Use PCM" box.
// Commands are reported as signals; the program connects them to the file commands. Every
// command works from the keyboard too: Tab moves through the picture buttons, the icon, the
// box and the links, Space or Enter works them, and Ctrl+O, F1 and Ctrl+Q stand in for the
// held-back menus' "&Select...", "Help topics..." and "&Exit".
#include <QMainWindow>
#include <QPixmap>

#include "ui/ImageButton.h"
#include "ui/UiState.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QTimer;

namespace vw::ui {

class ClickLabel;
class ElidingLabel;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(UiState& state, QWidget* parent = nullptr);

    // Recomputes the panel from selectedPath and the file on disk.
    void RefreshFilePanel();
    // Enables, disables, shows and hides the commands by panelState and privateCode.
    void UpdateCommandStates();
    // Shows the selected file's icon in imgIcon (nothing for no file).
    void ShowFileIcon();
    // ShortenPath for the width and font of lblSource.
    QString ShortenForSource(const QString& path) const;
    // Puts a caption into lblSource; a changed caption shows the file's icon.
    void setSourceCaption(const QString& caption);
    // Shows path as the selected file: lblSource, lblFileName and the window caption (with
    // the given prefix before the file name).
    void showSelection(const QString& path, const QString& captionPrefix);
    // Writes the current time of day into the status bar's first panel.
    void showClock();
    // Ticks "Use PCM" (start-up with a stored private code).
    void setUsePcmChecked(bool checked);
    // Reads the picture buttons' pressed and released looks with loader.
    void setPictureLoader(const PictureLoader& loader);

  signals:
    void selectFileRequested();  // "Apri", "&Select..."
    void cryptoRequested();      // the Encrypt/Decrypt command
    void keyRequested();         // "&Key"
    void quickViewRequested();   // "&View", a click or double click on the icon
    void openRequested();        // "&Open"
    void propertiesRequested();  // "&Properties..."
    void optionsRequested();     // "&Options..."
    void helpRequested();        // "Help topics..."
    void aboutRequested();       // "About ORBIT"
    void partnerPageRequested(); // the banner
    void makerPageRequested();   // the status bar's second panel
    void exitRequested();        // "Esci": ends the program at once
    void pictureSelected();      // a refresh found a picture (the quick view follows it)
    void fileDropped(const QString& path);
    void closing(); // the window is being closed (unload)

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildPanel(QWidget* client);
    void buildButtons(QWidget* client);
    void buildMenus();
    void buildStatusBar();
    void buildKeyboard();
    void setFileIcon(const QPixmap& icon);
    void setVersionCaption(const QString& caption, const QColor& colour);

    UiState& state_;
    bool centred_ = false;

    ElidingLabel* fileNameLabel_ = nullptr;
    QLabel* pathLabel_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    ClickLabel* fileIcon_ = nullptr;
    QCheckBox* usePcmBox_ = nullptr;
    QFrame* panelFrame_ = nullptr;
    ImageButton* openButton_ = nullptr;
    ImageButton* processButton_ = nullptr;
    ImageButton* exitButton_ = nullptr;
    ClickLabel* banner_ = nullptr;
    ClickLabel* clockPanel_ = nullptr;
    ClickLabel* makerPanel_ = nullptr;
    QTimer* clock_ = nullptr;

    QMenu* fileMenu_ = nullptr;
    QMenu* extraMenu_ = nullptr;
    QMenu* privateCodeMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* selectAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* propertiesAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* keyAction_ = nullptr;
    QAction* cryptoAction_ = nullptr;
    QAction* configureCodeAction_ = nullptr;
    QAction* deleteCodeAction_ = nullptr;
    QAction* optionsAction_ = nullptr;
    QAction* helpTopicsAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
};

} // namespace vw::ui
