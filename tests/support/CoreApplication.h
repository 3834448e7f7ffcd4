// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Qt application object for a test that needs one (translators, the catalogue's resources).
#include <QCoreApplication>

namespace vw::test {

class CoreApplication {
  public:
    CoreApplication() : application_(argc_, argv_) {}

  private:
    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_;
};

} // namespace vw::test
