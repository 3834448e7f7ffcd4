// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

namespace vw {
namespace {

// Loads a catalogue into a translator that lives as long as the program and installs it.
void InstallCatalogue(const QString& name, const QString& folder = {}) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(name, folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

Catalogue CatalogueFor(const QStringList& uiLanguages) {
    for (const QString& tag : uiLanguages) {
        const QLocale::Language language = QLocale(tag).language();
        if (language == QLocale::C || language == QLocale::Italian) return Catalogue::Italian;
        if (language == QLocale::English) return Catalogue::English;
    }
    return Catalogue::English;
}

Catalogue InstallTranslation(bool qtTexts) {
    const Catalogue catalogue = CatalogueFor(QLocale::system().uiLanguages());
    if (catalogue == Catalogue::English) {
        InstallCatalogue(QString::fromLatin1(kEnglishCatalogue));
    } else if (qtTexts) {
        InstallCatalogue(QStringLiteral("qtbase_it"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    return catalogue;
}

ProgramTranslation::ProgramTranslation(int& argc, char** argv) {
    const bool english = CatalogueFor(QLocale::system().uiLanguages()) == Catalogue::English;
    // The application object sets the C library's locale from the environment.
    const std::string libraryLocale = std::setlocale(LC_ALL, nullptr);
    application_.emplace(argc, argv);
    std::setlocale(LC_ALL, libraryLocale.c_str());
    InstallCatalogue(QString::fromLatin1(english ? kEnglishCatalogue : kVwxItalianCatalogue));
}

} // namespace vw
