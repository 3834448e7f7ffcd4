// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/text/Cp1252.h"

#include <cstdint>
#include <cstdio>

namespace vw {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F. The five bytes the code page leaves
// undefined stand for the control characters of the same value.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char kReplacement = '?';

char32_t CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

// The code-page byte of a code point, or -1 when the code page has none.
int ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == cp) return 0x80 + i;
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Decodes one character at pos and advances pos. An invalid sequence yields -1 and skips its
// maximal valid prefix (at least one byte), so each broken sequence becomes one replacement.
std::int32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    int extra;
    char32_t cp;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;  // no overlong forms
        if (lead == 0xED) high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F; // nothing above U+10FFFF
    } else {
        return -1;
    }
    for (int k = 0; k < extra; ++k) {
        if (pos >= text.size()) return -1;
        const auto byte = static_cast<unsigned char>(text[pos]);
        const bool valid = k == 0 ? (byte >= low && byte <= high) : IsContinuation(byte);
        if (!valid) return -1;
        cp = (cp << 6) | (byte & 0x3F);
        ++pos;
    }
    return static_cast<std::int32_t>(cp);
}

} // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::int32_t cp = DecodeUtf8(utf8, pos);
        const int byte = cp < 0 ? -1 : ByteOf(static_cast<char32_t>(cp));
        out += byte < 0 ? kReplacement : static_cast<char>(byte);
    }
    return out;
}

std::string CharactersOutsideCp1252(std::string_view utf8) {
    std::string outside;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t begin = pos;
        const std::int32_t cp = DecodeUtf8(utf8, pos);
        if (cp >= 0 && ByteOf(static_cast<char32_t>(cp)) >= 0) continue;
        std::string character;
        if (cp < 0)
            AppendUtf8(character, 0xFFFD);
        else
            character = std::string(utf8.substr(begin, pos - begin));
        if (outside.find(character) == std::string::npos) outside += character;
    }
    return outside;
}

std::string CodePointList(std::string_view utf8) {
    std::string list;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::int32_t cp = DecodeUtf8(utf8, pos);
        char text[16];
        std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(cp < 0 ? 0xFFFD : cp));
        list += (list.empty() ? "" : ", ") + std::string(text);
    }
    return list;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    // Written into room for the longest result (three bytes a character), then cut to its
    // length: a damaged file's extension, shown in a message, can hold thousands of characters.
    std::string out(3 * bytes.size(), '\0');
    char* at = out.data();
    for (const char c : bytes) {
        const char32_t cp = CodePointOf(static_cast<unsigned char>(c));
        if (cp < 0x80) {
            *at++ = c;
        } else if (cp < 0x800) {
            *at++ = static_cast<char>(0xC0 | (cp >> 6));
            *at++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *at++ = static_cast<char>(0xE0 | (cp >> 12));
            *at++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *at++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
    return out;
}

unsigned char Cp1252ToLower(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + 32);
    // Latin-1 capitals from À to Þ, except the multiplication sign.
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<unsigned char>(byte + 32);
    switch (byte) {
    case 0x8A:
        return 0x9A; // Š
    case 0x8C:
        return 0x9C; // Œ
    case 0x8E:
        return 0x9E; // Ž
    case 0x9F:
        return 0xFF; // Ÿ
    default:
        return byte;
    }
}

} // namespace vw
