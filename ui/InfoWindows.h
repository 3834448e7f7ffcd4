// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small windows of the Extra and Help menus: options, help topics and about.
#include <QString>

class QDialog;
class QWidget;

#include "vw/Version.h"

namespace vw::ui {

// What the options window shows: the settings as the program read them at start.
struct OptionsSummary {
    bool newKeys = false;           // "NewKeys": forget the password after each new selection
    QString startFolder;            // "Folder": the folder the file dialogs start in
    bool privateCodeStored = false; // a private crypto code was read from the settings
};

inline constexpr char kProgramName[] = "Vaultwise";
// The version the build names in its project (from the header the build generates).
inline constexpr const char* kProgramVersion = vw::kVersion;

// The windows themselves (not shown yet), for the functions below and for tests.
QDialog* CreateOptionsWindow(const OptionsSummary& options, QWidget* parent);
QDialog* CreateHelpTopicsWindow(QWidget* parent);
QDialog* CreateAboutWindow(QWidget* parent);

// Options and about are modal and return when closed; help topics is modeless, one window per
// parent, brought to the front when already open.
void ShowOptionsWindow(const OptionsSummary& options, QWidget* parent);
QDialog* ShowHelpTopicsWindow(QWidget* parent);
void ShowAboutWindow(QWidget* parent);

} // namespace vw::ui
