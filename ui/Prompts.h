// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything modal the program asks outside its own windows: message boxes and file dialogs.
// Tests install their own Prompts to answer them.
#include <QString>

class QWidget;

namespace vw::ui {

enum class MessageIcon { Critical, Information };

class Prompts {
  public:
    virtual ~Prompts() = default;
    // A message box with one OK button. An empty title shows the application's title.
    virtual void showMessage(QWidget* parent, MessageIcon icon, const QString& title,
                             const QString& text);
    // File dialogs; "" means the user cancelled. filter uses Qt's "Desc (*.x);;Desc2 (*.y)" form.
    virtual QString askOpenFile(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter);
    virtual QString askSaveFile(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter);
    // The save dialog's question whether to replace an existing file, as it asks it (a warning
    // with Yes and No, No by default); true for yes.
    virtual bool askReplace(QWidget* parent, const QString& title, const QString& text);
};

// The prompts in use (the real dialogs unless a test installed others).
Prompts& CurrentPrompts();
void SetPrompts(Prompts* prompts);

} // namespace vw::ui
