// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programs' language. The texts in the sources are the Italian ones (vwx's own are
// English, with an Italian catalogue of their own); the locale picks Italian or English, for
// vwx and the desktop program alike.
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace vw {

enum class Catalogue {
    Italian, // the source texts: no catalogue
    English,
};

// The catalogue for the user's languages in order of preference, as QLocale::uiLanguages()
// lists them: the first Italian or English entry decides, the C/POSIX locale ("C") counting as
// Italian; languages without a catalogue are passed over; a list with neither gets English.
Catalogue CatalogueFor(const QStringList& uiLanguages);

// The English catalogue, compiled into the programs.
inline constexpr char kEnglishCatalogue[] = ":/i18n/vaultwise_en.qm";
// The Italian of vwx's own texts, compiled into vwx.
inline constexpr char kVwxItalianCatalogue[] = ":/i18n/vwx_it.qm";

// Installs the catalogue the system locale picks, for the rest of the program's life (call it
// once the application object exists), and with qtTexts the catalogue of Qt's own dialogs in the
// same language (English needs none). Returns the catalogue picked.
Catalogue InstallTranslation(bool qtTexts);

// The translation of a program without an application object of its own (vwx): makes the
// application object translations need and installs the catalogue the locale picks (English,
// or the Italian of vwx's own texts), leaving the C library's locale as it was. Lives as long
// as the program's main.
class ProgramTranslation {
  public:
    ProgramTranslation(int& argc, char** argv);

  private:
    std::optional<QCoreApplication> application_;
};

} // namespace vw
