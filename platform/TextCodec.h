// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text of the user interface to the single-byte code-page bytes the engine keys with, and
// back. Characters the code page cannot represent become "?".
#include <QString>
#include <string>

namespace vw {

std::string ToCp1252(const QString& text);
QString FromCp1252(const std::string& bytes);
// The text as UTF-8 with every lone surrogate as U+FFFD. Qt's own conversion gives "?" for
// one, a character the code page carries, so the engine would not see that it cannot be kept.
std::string ToUtf8(const QString& text);

} // namespace vw
