// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a text holds words of Italian or of English: a handful of short words each language
// uses all the time and the other never does. Options (--replace), placeholders (%1) and code
// points (U+0081) are no words of either.
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace vw::test {

inline bool HoldsAnyWord(const QString& text, const QStringList& words) {
    static const QRegularExpression notWords(
        QStringLiteral("(^|\\s|\\[|\\()-{1,2}[\\w-]+|%\\d|U\\+[0-9A-F]+|\\\\[xu][{0-9A-Fa-f}]+"));
    static const QRegularExpression word(QStringLiteral("[\\w']+"));
    const QString plain = QString(text).replace(notWords, QStringLiteral(" ")).toLower();
    for (auto it = word.globalMatch(plain); it.hasNext();)
        if (words.contains(it.next().captured())) return true;
    return false;
}

inline bool HoldsItalian(const QString& text) {
    static const QStringList words = {
        "il",     "la",        "di",    "non",      "è",      "impossibile", "che",     "errore",
        "troppo", "già",       "stato", "cartella", "del",    "una",         "nessun",  "sola",
        "dati",   "interrota", "della", "usare",    "questo", "viene",       "nemmeno", "salvato"};
    return HoldsAnyWord(text, words);
}

inline bool HoldsEnglish(const QString& text) {
    static const QStringList words = {"the",   "is",     "cannot", "of",      "not",    "was",
                                      "error", "too",    "could",  "has",     "folder", "already",
                                      "no",    "file's", "would",  "data",    "stream", "use",
                                      "given", "stored", "empty",  "nothing", "with",   "and"};
    return HoldsAnyWord(text, words);
}

} // namespace vw::test
