// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's panel rules that need no window: path shortening, the time estimate, the
// size and attribute caption and the password dialog's refusals.
#include <QLocale>
#include <QString>
#include <functional>

namespace vw::ui {

// This engine's protect throughput on text, measured by bench/compare (200 MiB, 2 cores).
inline constexpr double kProtectBytesPerSecond = 145e6;

// Width of a text in twips, in the font of the panel labels.
using TextWidthTwips = std::function<int(const QString&)>;

// Fits path into widthTwips: a path that fits is returned unchanged; otherwise the root is
// followed by ".../" and the last path elements that fit ("/.../docs/report.txt"). Folders go
// whole, and the folder nearest the file always stays: when it and the name are too wide,
// the name, then the folder, is shortened in its middle with "…" ("/.../docs/rep…rt.txt").
// Only the bare "/.../" is left when not even "…/…" fits.
QString ShortenPath(const QString& path, int widthTwips, const TextWidthTwips& measure);

// "M min S sec " for a file of the given length at kProtectBytesPerSecond; 0 seconds read 1.
QString TimeEstimateCaption(qint64 length);

// The attribute words: "Systemfile", "Read-only" and "Hidden", two blanks between them.
QString AttributeText(bool system, bool readOnly, bool hidden);
// "1.234.567 Bytes", the digits grouped by the locale's grouping separator.
QString SizeCaption(qint64 length, const QLocale& locale);
// What the attribute words add to the size caption: "  (" words ")", or "" without words.
QString AttributeSuffix(const QString& words);

// True when the last four characters of path, upper-cased, name a picture the panel offers
// a quick view for (".JPG", "JPEG", ".BMP", ".WMF", ".GIF").
bool IsPanelPicture(const QString& path);

// The message the password dialog refuses a pair of entries with, "" when it accepts them
// (the engine's password rules and texts, lone surrogates counting as characters the code
// page cannot carry).
QString PasswordRefusal(const QString& code, const QString& confirm);

} // namespace vw::ui
