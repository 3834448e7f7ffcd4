// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/JobMessages.h"

#include <QCoreApplication>

#include "ui/AppInfo.h"

namespace vw::ui {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vw::ui::JobMessages)
};

} // namespace

JobMessage JobMessageFor(std::int16_t status, const QString& statusMessage,
                         const QString& messageGap) {
    const auto box = [](MessageIcon icon, const QString& title, const QString& text) {
        return JobMessage{true, icon, title, text};
    };
    switch (status) {
    case 0:
        return {};
    case 4:
        return box(MessageIcon::Critical, kMessageTitle, Texts::tr("File non trovato"));
    case 6:
        return box(MessageIcon::Critical, kMessageTitle, Texts::tr("Il file non contiene dati"));
    case 11:
        return box(MessageIcon::Information, kMessageTitle, Texts::tr("Elaborazione interrotta"));
    case 12:
    case 22:
        return box(MessageIcon::Critical, kMessageTitle,
                   Texts::tr("Elaborazione non riuscita sul file:") + messageGap + statusMessage);
    case 21:
        return box(MessageIcon::Information, kMessageTitle, Texts::tr("Elaborazione interrotta."));
    case 23:
        return box(MessageIcon::Critical, kMessageTitle,
                   Texts::tr("Elaborazione non riuscita:\n\n- Password errata.\n"
                             "o File danneggiato"));
    default:
        return box(MessageIcon::Critical, QString(), statusMessage);
    }
}

} // namespace vw::ui
