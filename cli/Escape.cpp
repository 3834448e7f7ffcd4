// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Escape.h"

#include <QChar>

#include <cstdio>
#include <utility>

namespace vw::cli {
namespace {

void AppendHex(std::string& out, const char* prefix, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%s%02x", prefix, value & 0xFFu);
    out += text;
}

// The length of the valid UTF-8 sequence at the start of text, or 0 when there is none.
std::size_t Utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(0);
    std::size_t length = 0;
    unsigned minimum = 0, cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return cp < minimum || cp > 0x10FFFF || surrogate ? 0 : length;
}

char32_t CodePoint(std::string_view utf8) {
    const auto lead = static_cast<unsigned char>(utf8[0]);
    char32_t cp = utf8.size() == 2 ? lead & 0x1Fu : utf8.size() == 3 ? lead & 0x0Fu : lead & 0x07u;
    for (std::size_t i = 1; i < utf8.size(); ++i)
        cp = cp << 6 | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
    return cp;
}

// Characters that show as nothing, or as a blank, without being format characters: the ones
// Unicode says to ignore when they cannot be shown (the soft hyphen, variation selectors, the
// Hangul fillers, the Mongolian ones, tags) and the blank Braille pattern.
constexpr std::pair<char32_t, char32_t> kInvisible[] = {
    {0x00AD, 0x00AD},   {0x034F, 0x034F},   {0x115F, 0x1160},  {0x17B4, 0x17B5}, {0x180B, 0x180F},
    {0x2800, 0x2800},   {0x3164, 0x3164},   {0xFE00, 0xFE0F},  {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFF8},
    {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF}};

// Characters a terminal does not show as themselves: C1 controls, format characters (bidirectional
// overrides, zero-width ones, the byte order mark), the line and paragraph separators, and the
// invisible ones above.
bool Unseen(char32_t cp) {
    if (cp >= 0x80 && cp <= 0x9F) return true;
    for (const auto& [first, last] : kInvisible)
        if (cp >= first && cp <= last) return true;
    switch (QChar::category(static_cast<char32_t>(cp))) {
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

} // namespace

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const unsigned char c = static_cast<unsigned char>(text.front());
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F)
                AppendHex(out, "\\x", c);
            else
                out += static_cast<char>(c);
            text.remove_prefix(1);
            continue;
        }
        const std::size_t length = Utf8Length(text);
        if (length == 0) {
            AppendHex(out, "\\x", c);
            text.remove_prefix(1);
        } else if (const char32_t cp = CodePoint(text.substr(0, length)); Unseen(cp)) {
            char shown[16];
            std::snprintf(shown, sizeof shown, "\\u{%04X}", static_cast<unsigned>(cp));
            out += shown;
            text.remove_prefix(length);
        } else {
            out.append(text.substr(0, length));
            text.remove_prefix(length);
        }
    }
    return out;
}

} // namespace vw::cli
