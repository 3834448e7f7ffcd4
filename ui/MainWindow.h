#pragma once
// frmMain: the main window. Describes the selected file (RefreshFilePanel), keeps the commands'
// states (UpdateCommandStates) and offers the picture buttons, the menu bar, the banner, the
// status bar with its clock and the "Use PCM" box. Commands are reported as signals; the
// program connects them to the file commands.
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

    // Controls, for the program and for tests.
    QLabel* lblFileName() const { return lblFileName_; }
    QLabel* lblSource() const { return lblSource_; }
    QLabel* lblTime() const { return lblTime_; }
    QLabel* lblSize() const { return lblSize_; }
    QLabel* lblVersion() const { return lblVersion_; }
    ClickLabel* imgIcon() const { return imgIcon_; }
    QCheckBox* chkPCM() const { return chkPCM_; }
    ImageButton* picture3() const { return picture3_; }
    ImageButton* picture4() const { return picture4_; }
    ImageButton* picture2() const { return picture2_; }
    ClickLabel* picture1() const { return picture1_; }
    ClickLabel* statusPanel(int index) const { return index == 1 ? panel1_ : panel2_; }
    QFrame* frame1() const { return frame1_; }
    QTimer* timer1() const { return timer1_; }
    QMenu* mnuFile() const { return mnuFile_; }
    QMenu* mnuExtra() const { return mnuExtra_; }
    QMenu* mniPCM() const { return mniPCM_; }
    QMenu* mnuHelpa() const { return mnuHelpa_; }
    QAction* mnuSelect() const { return mnuSelect_; }
    QAction* mnuView() const { return mnuView_; }
    QAction* mnuShell() const { return mnuShell_; }
    QAction* mnuProperties() const { return mnuProperties_; }
    QAction* mnuExit() const { return mnuExit_; }
    QAction* mnuKey() const { return mnuKey_; }
    QAction* mnuCrypto() const { return mnuCrypto_; }
    QAction* mnuPCM() const { return mnuPCM_; }
    QAction* mnuDeletePCM() const { return mnuDeletePCM_; }
    QAction* mnuOptions() const { return mnuOptions_; }
    QAction* mnuHelp() const { return mnuHelp_; }
    QAction* mnuAbout() const { return mnuAbout_; }

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
    void setVersionCaption(const QString& caption, const QColor& colour);

    UiState& state_;
    bool centred_ = false;

    QLabel* lblFileName_ = nullptr;
    QLabel* lblSource_ = nullptr;
    QLabel* lblTime_ = nullptr;
    QLabel* lblSize_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    ClickLabel* imgIcon_ = nullptr;
    QCheckBox* chkPCM_ = nullptr;
    QFrame* frame1_ = nullptr;
    ImageButton* picture3_ = nullptr;
    ImageButton* picture4_ = nullptr;
    ImageButton* picture2_ = nullptr;
    ClickLabel* picture1_ = nullptr;
    ClickLabel* panel1_ = nullptr;
    ClickLabel* panel2_ = nullptr;
    QTimer* timer1_ = nullptr;

    QMenu* mnuFile_ = nullptr;
    QMenu* mnuExtra_ = nullptr;
    QMenu* mniPCM_ = nullptr;
    QMenu* mnuHelpa_ = nullptr;
    QAction* mnuSelect_ = nullptr;
    QAction* mnuView_ = nullptr;
    QAction* mnuShell_ = nullptr;
    QAction* mnuProperties_ = nullptr;
    QAction* mnuExit_ = nullptr;
    QAction* mnuKey_ = nullptr;
    QAction* mnuCrypto_ = nullptr;
    QAction* mnuPCM_ = nullptr;
    QAction* mnuDeletePCM_ = nullptr;
    QAction* mnuOptions_ = nullptr;
    QAction* mnuHelp_ = nullptr;
    QAction* mnuAbout_ = nullptr;
};

} // namespace vw::ui
