// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's host on top of QtCore, shared by the desktop program and the command-line tool:
// per-user settings and the computer's name.
#include <QString>
#include <string>

#include "engine/io/Host.h"

namespace vw {

// Organisation and application name of the settings: the executable's name.
inline constexpr const char* kSettingsApplication = "vaultwise";
inline constexpr const char* kSettingsGroup = "Config";

class QtHost : public Host {
  public:
    explicit QtHost(QString application = QString::fromLatin1(kSettingsApplication));

    // The value in the single-byte code page.
    std::string ReadSetting(const std::string& key, const std::string& defaultValue) override;
    std::string ComputerName() override;

    // A text setting of the "Config" group of the user's own settings file (no system-wide
    // fallback); defaultValue when the key is missing.
    QString ReadText(const QString& key, const QString& defaultValue) const;
    // A boolean stored as text: "0" or "False" is false, a non-zero number or "True" is true
    // (letter case does not matter), anything else is false; defaultValue when missing.
    bool ReadBool(const QString& key, bool defaultValue) const;

    // Writes a text setting of the "Config" group into the user's own settings file, which is
    // readable by the user alone from then on; false when the file cannot be written. A file
    // that does not read as settings is written all the same and still reports false: read the
    // value back to know.
    bool StoreText(const QString& key, const QString& value);
    // Removes a setting of the "Config" group from the user's own settings file; false when the
    // file cannot be written (the same holds as for StoreText).
    bool RemoveSetting(const QString& key);
    // The user's own settings file, which ReadText reads.
    QString SettingsFilePath() const;

  private:
    QString application_;
};

// The boolean reading of a stored text, as ReadBool applies it.
bool ParseStoredBool(const QString& text);

} // namespace vw
