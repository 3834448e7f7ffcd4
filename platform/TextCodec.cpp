// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextCodec.h"

#include <QList>

#include "engine/text/Cp1252.h"

namespace vw {

std::string ToCp1252(const QString& text) {
    return Utf8ToCp1252(ToUtf8(text));
}

QString FromCp1252(const std::string& bytes) {
    const std::string utf8 = Cp1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToUtf8(const QString& text) {
    // The UCS-4 step replaces lone surrogates with U+FFFD.
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArray utf8 =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(ucs4.constData()), ucs4.size())
            .toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

} // namespace vw
