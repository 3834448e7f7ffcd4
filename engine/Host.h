// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the engine needs from the program around it. The GUI, the CLI and the tests each plug
// in their own; the default does nothing and answers every setting with its default.
#include <string>

namespace vw {

class Host {
  public:
    virtual ~Host() = default;
    // Runs pending user-interface events (the progress dialog redraws, its Cancel button may run).
    virtual void ProcessEvents() {}
    // Sets the progress bar; percent is already clamped to 1..100.
    virtual void ShowProgress(int percent) { (void)percent; }
    // Shows or hides the busy pointer while a whole file is read or written.
    virtual void SetBusy(bool busy) { (void)busy; }
    // Reads a value of the "Config" section of the per-user settings store.
    virtual std::string ReadSetting(const std::string& key, const std::string& defaultValue) {
        (void)key;
        return defaultValue;
    }
    // The computer's name in the single-byte code page, or empty text when it cannot be had.
    virtual std::string ComputerName() { return {}; }
};

// The host in use; never null (a do-nothing host until SetHost is called).
Host& CurrentHost();
// Installs a host (nullptr restores the do-nothing one). The caller keeps ownership.
void SetHost(Host* host);

// Installs a host for the lifetime of a scope, restoring the previous one afterwards.
class ScopedHost {
  public:
    explicit ScopedHost(Host& host);
    ~ScopedHost();
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;

  private:
    Host* previous_;
};

} // namespace vw
