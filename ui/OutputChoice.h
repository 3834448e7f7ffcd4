// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a job writes, and which existing file it may replace: the save dialog confirms the name
// typed, but the job writes that name with the extension it adds (".vwx", or the one stored in a
// protected file), so a file at that path is asked about once more before the job may replace it.
#include <QString>
#include <functional>

#include "ui/JobMessages.h"
#include "ui/UiState.h"

class QWidget;

namespace vw::ui {

// Asks for the output path with askSave ("" when cancelled) until the file the job will write is
// free or confirmed: when it exists under another name than the one chosen, the user is asked in
// the save dialog's words, under its title, whether to replace it; a no shows the save dialog
// again. Sets state.outputPath ("" when cancelled) and state.replaceConfirmed (the one existing
// file the job may replace, "" for none); false when cancelled.
bool ChooseOutput(UiState& state, const std::function<QString()>& askSave, QWidget* parent,
                  const QString& title);

// The box for a job that refused to replace a file no one confirmed (one that appeared after
// the choice): nothing was written.
JobMessage ReplaceRefusedMessage(const QString& path);

} // namespace vw::ui
