// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message box that ends a job with a status other than 0.
#include <QString>
#include <cstdint>

#include "ui/Prompts.h"

namespace vw::ui {

struct JobMessage {
    bool show = false; // false for a successful job
    MessageIcon icon = MessageIcon::Critical;
    QString title; // "" shows the application's title
    QString text;
};

// The box for a job's status, its StatusMessage and the gap of two line breaks.
JobMessage JobMessageFor(std::int16_t status, const QString& statusMessage,
                         const QString& messageGap);

} // namespace vw::ui
