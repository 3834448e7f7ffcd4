// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/JobState.h"

#include <cmath>

#include "engine/Host.h"
#include "engine/TextMark.h"

namespace vw {

std::int16_t JobStatus = 0;
std::string StatusMessage;
std::string ErrorDescription;
std::atomic<bool> CancelRequested{false};
std::int16_t LastProgress = 0;
std::string ExistingOutputPath;

namespace {

// The status table: each code with its message; codes whose message ends in the failure's
// description add ErrorDescription to it.
struct StatusEntry {
    std::int16_t code;
    const char* message;
    bool described = false;
};

constexpr StatusEntry kStatusTable[] = {
    {kStatusOk, ""},
    {kStatusReserved1, VW_TEXT("engine", "Impossibile continuare 1")},
    {kStatusReserved2, VW_TEXT("engine", "Impossibile continuare 2")},
    {kStatusPasswordTooShort, VW_TEXT("engine", "Password troppo corta")},
    {kStatusFileNotFound, VW_TEXT("engine", "File non trovato")},
    {kStatusChecksum, VW_TEXT("engine", "Errore di compressione")},
    {kStatusEmptyFile, VW_TEXT("engine", "File vuoto")},
    {kStatusGeneric1, VW_TEXT("engine", "Errore Generico 1")},
    {kStatusProtectCancelled, VW_TEXT("engine", "Elaborazione interrota")},
    {kStatusProtectFailed, VW_TEXT("engine", "Errore: "), true},
    {kStatusUnknownFormat, VW_TEXT("engine", "Errore generico 2")},
    {kStatusRestoreCancelled, VW_TEXT("engine", "Elaborazione interrota")},
    {kStatusRestoreFailed, VW_TEXT("engine", "Errore: "), true},
    {kStatusWrongPassword, VW_TEXT("engine", "Errore Generico 3")},
    {kStatusCorrupt, VW_TEXT("engine", "Errore File corrotto")},
    {kStatusGeneric4, VW_TEXT("engine", "Errore Generico 4")},
};

const StatusEntry* FindStatus(std::int16_t status) {
    for (const StatusEntry& entry : kStatusTable)
        if (entry.code == status) return &entry;
    return nullptr;
}

} // namespace

std::string MessageForStatus(std::int16_t status, const std::string& errorDescription) {
    const StatusEntry* entry = FindStatus(status);
    if (!entry) return "";
    return entry->described ? entry->message + errorDescription : entry->message;
}

void SetStatusMessage() {
    if (FindStatus(JobStatus)) StatusMessage = MessageForStatus(JobStatus, ErrorDescription);
}

void ReportProgress(double percent) {
    if (percent > 100) percent = 100;
    if (percent == 0) return;
    CurrentHost().ShowProgress(static_cast<int>(percent));
}

std::int32_t RoundHalfEven(double value) {
    // The default floating-point environment rounds to nearest, ties to even.
    return static_cast<std::int32_t>(std::nearbyint(value));
}

bool YieldPoint(double percent) {
    CurrentHost().ProcessEvents();
    if (CancelRequested.load(std::memory_order_relaxed)) return false;
    const std::int32_t whole = RoundHalfEven(percent);
    if (whole != LastProgress) {
        LastProgress = static_cast<std::int16_t>(whole);
        ReportProgress(whole);
    }
    return true;
}

} // namespace vw
