// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user-interface state shared by the main window, the dialogs and the file commands.
// One instance lives for the whole run; everything here runs on the user-interface thread.
#include <QString>

namespace vw::ui {

// What the main window panel found at selectedPath (RefreshFilePanel).
enum class PanelState {
    Other,   // an existing file of any kind but a picture
    Picture, // an existing picture file
    NoFile,  // nothing selected, or the path names no existing file
};

struct UiState {
    QString selectedPath;   // the file the panel describes and the next job works on
    QString outputPath;     // the path chosen in the save dialog, then the job's result
    QString resultPath;     // what the last job returned
    QString password;       // the password held for the next job, "" when none
    QString privateCode;    // the stored private crypto code, "" when none
    bool newKeys = false;   // forget the password whenever another file is selected
    QString startFolder;    // the "Folder" setting
    QString currentFolder;  // where the file dialogs open
    QString messageGap;     // two line breaks, used in job messages
    bool usePcm = false;    // follows the "Use PCM" box; false: jobs get no private code
    bool autoStart = false; // true only while a command-line start is under way
    // The one existing file the next job may replace (the save dialog's choice), "" for none.
    QString replaceConfirmed;
    PanelState panelState = PanelState::Other;

    // Overwrites the held password with blanks, then empties it (the blanked buffer stays).
    void forgetPassword() {
        password.fill(QLatin1Char(' '));
        password.truncate(0);
    }
    // Holds text as the password, written over the blanked old one where it fits.
    void holdPassword(const QString& text) {
        forgetPassword();
        password.append(text.constData(), text.size());
    }
};

} // namespace vw::ui
