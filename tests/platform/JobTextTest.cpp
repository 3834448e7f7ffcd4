// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The words for what a job returns: every status and every kind of failure, in Italian (the
// source texts) and in English (the catalogue), each wholly in its language.
#include <QCoreApplication>
#include <QTranslator>
#include <cerrno>
#include <gtest/gtest.h>

#include "engine/job/StatusCodes.h"
#include "platform/JobText.h"
#include "platform/Translation.h"
#include "tests/support/CoreApplication.h"
#include "tests/support/LanguageWords.h"

namespace vw {
namespace {

// One sample of every kind of failure the engine returns, each stream fault among them.
std::vector<Failure> EveryFailure() {
    std::vector<Failure> all;
    for (int f = 1; f <= static_cast<int>(Fault::Internal); ++f) {
        const auto fault = static_cast<Fault>(f);
        const int streams =
            fault == Fault::StreamDamaged ? static_cast<int>(StreamFault::StreamTooLarge) : 1;
        for (int s = 1; s <= streams; ++s) {
            all.push_back({.fault = fault,
                           .path = "/tmp/a.txt",
                           .other = "/tmp/a.vwx",
                           .error = EACCES,
                           .shown = "t\\x09t",
                           .value = 98,
                           .limit = 99,
                           .stream = fault == Fault::StreamDamaged ? static_cast<StreamFault>(s)
                                                                   : StreamFault::None});
        }
    }
    return all;
}

// Every text a job's end can show: each status, each failure after the status it comes with,
// each system error, each refusal of a password.
std::vector<QString> EveryText() {
    std::vector<QString> texts;
    for (int status = 1; status <= kStatusGeneric4; ++status)
        if (const QString text = StatusText(static_cast<std::int16_t>(status)); !text.isEmpty())
            texts.push_back(text);
    for (const Failure& failure : EveryFailure()) {
        if (failure.fault == Fault::StreamNotIdentified) continue; // the program's own English
        texts.push_back(StatusMessageOf(kStatusRestoreFailed, failure));
    }
    for (const int error : {EPERM,  ENOENT,  EIO,    EACCES, EEXIST,       ENOTDIR, EISDIR, EINVAL,
                            EMFILE, EFBIG,   ENOSPC, EROFS,  ENAMETOOLONG, ELOOP,   EDQUOT, EXDEV,
                            EBUSY,  ETXTBSY, ENOMEM, ENODEV, EAGAIN,       ENOTSUP, EPIPE,  4095})
        texts.push_back(SystemErrorText(error));
    for (const PasswordVerdict verdict :
         {PasswordVerdict::Mismatch, PasswordVerdict::TooShort, PasswordVerdict::OutsideCodePage})
        texts.push_back(PasswordRefusalText(verdict, "\xD0\xBA"));
    return texts;
}

TEST(JobText, EveryStatusAndFailureInEachLanguageWithNoWordOfTheOther) {
    const test::CoreApplication application;
    const std::vector<QString> italian = EveryText();
    // Fifteen statuses, every failure, 24 system errors, three password refusals.
    EXPECT_EQ(italian.size(), 15u + EveryFailure().size() - 1 + 24 + 3);
    QTranslator english;
    ASSERT_TRUE(english.load(QString::fromLatin1(kEnglishCatalogue)));
    QCoreApplication::installTranslator(&english);
    const std::vector<QString> translated = EveryText();
    QCoreApplication::removeTranslator(&english);
    ASSERT_EQ(translated.size(), italian.size());
    for (std::size_t i = 0; i < italian.size(); ++i) {
        SCOPED_TRACE(italian[i].toStdString() + " | " + translated[i].toStdString());
        EXPECT_FALSE(italian[i].trimmed().isEmpty() || translated[i].trimmed().isEmpty());
        EXPECT_FALSE(test::HoldsEnglish(italian[i]));
        EXPECT_FALSE(test::HoldsItalian(translated[i]));
        EXPECT_NE(italian[i], translated[i]);
    }
    // What really failed, with the path and the system's reason in the user's language.
    const Failure create{.fault = Fault::OutputCreate, .path = "/proc/", .error = EACCES};
    EXPECT_EQ(StatusMessageOf(kStatusProtectFailed, create),
              "Errore: impossibile creare un file nella cartella \"/proc/\": permesso negato");
    QCoreApplication::installTranslator(&english);
    EXPECT_EQ(StatusMessageOf(kStatusProtectFailed, create),
              "Error: cannot create a file in the folder \"/proc/\": permission denied");
    QCoreApplication::removeTranslator(&english);
}

} // namespace
} // namespace vw
