// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words for what the engine returns as data: a job's status, what failed (the step, the
// path, the system's reason), a password's refusal. In the program's language: the Italian
// source texts under the Italian and C locales, the English catalogue under the others.
#include <QString>
#include <cstdint>
#include <string_view>

#include "engine/io/Failure.h"
#include "engine/text/PasswordRules.h"

namespace vw {

// The status table's message for a status, "" for codes outside it (and for 0). For 12 and 22
// it is "Errore: " alone: StatusMessageOf adds the description.
QString StatusText(std::int16_t status);
// The message a job leaves (the job state's StatusMessage): the status table's, and for 12 and
// 22 "Errore: " with what failed.
QString StatusMessageOf(std::int16_t status, const Failure& failure);
// What failed: the step, the path and the system's reason.
QString FailureText(const Failure& failure);
// The system's reason for an error number.
QString SystemErrorText(int error);
// Why the two entries of a new password are refused (UTF-8); "" for Accepted. Characters the
// code page cannot carry are named by their code points, never shown.
QString PasswordRefusalText(PasswordVerdict verdict, std::string_view code);

} // namespace vw
