// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening files and web pages with the desktop's programs, and showing a file's properties.
#include <QString>

#include <functional>

class QUrl;
class QWidget;

namespace vw::ui {

// The desktop calls these actions make. Tests install their own to script the answers.
class DesktopShell {
  public:
    virtual ~DesktopShell() = default;
    // Opens url with the program the desktop associates with it (verb "open" or "play");
    // false when no program took it.
    virtual bool openUrl(const QUrl& url, const QString& verb);
    // Offers the desktop's "open with" chooser for a local file (XDG desktop portal);
    // false when no portal answered.
    virtual bool chooseApplication(const QString& path);
    // Asks the file manager (org.freedesktop.FileManager1) to show a file's properties.
    // done(true) runs once a file manager did, done(false) when none answered in time; done
    // may run before this returns.
    virtual void showItemProperties(const QUrl& fileUrl, std::function<void(bool shown)> done);
};

// The shell in use (the desktop's unless a test installed another); nullptr restores it.
DesktopShell& CurrentDesktopShell();
void SetDesktopShell(DesktopShell* shell);

// "play" for ".WAV", ".MP2", ".MP3", ".MID", ".AVI" (last four characters, any case), "open"
// otherwise.
QString ShellVerbFor(const QString& path);

// Opens an existing file with its program; without one, offers the "open with" chooser; when
// neither works, tells the user "Tipo File Sconosciuto". Does nothing for "" or a missing file.
void OpenSelectedFile(const QString& path);

// Results of ShowFileProperties.
inline constexpr int kPropertiesNotShown = 0; // "" or a missing file: nothing was done
inline constexpr int kPropertiesShown = 1;    // the file manager or our own window shows them

// Shows a file's properties: the file manager's when one answers, our own window otherwise
// (owned by owner).
int ShowFileProperties(const QString& path, QWidget* owner);

enum class WebPage { Maker, Partner };

inline constexpr char kMakerPageAddress[] = "https://vaultwise.example/";
inline constexpr char kPartnerPageAddress[] = "https://sms.vaultwise.example/";

QString WebPageAddress(WebPage page);
// Opens the page in the user's web browser.
void OpenWebPage(WebPage page);

} // namespace vw::ui
