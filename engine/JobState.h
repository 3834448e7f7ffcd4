// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The job state shared by the whole engine, the status table, and how long loops yield: after
// every element whose index (from 0) is a multiple of the loop's interval, pending events run,
// the loop stops at once if the job was cancelled, and otherwise the stage's percentage, rounded
// half to even, goes to the progress bar when it differs from the last one sent.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vw {

// Status codes of a job (JobStatus).
enum StatusCode : std::int16_t {
    kStatusOk = 0,
    kStatusReserved1 = 1,
    kStatusReserved2 = 2,
    kStatusPasswordTooShort = 3,
    kStatusFileNotFound = 4,
    kStatusChecksum = 5,
    kStatusEmptyFile = 6,
    kStatusGeneric1 = 10,
    kStatusProtectCancelled = 11,
    kStatusProtectFailed = 12,
    kStatusUnknownFormat = 20,
    kStatusRestoreCancelled = 21,
    kStatusRestoreFailed = 22,
    kStatusWrongPassword = 23,
    kStatusCorrupt = 30,
    kStatusGeneric4 = 33,
};

extern std::int16_t JobStatus;
extern std::string StatusMessage;
extern std::string ErrorDescription;
// Set by the Cancel button (from any thread); read by the engine only right after a yield.
extern std::atomic<bool> CancelRequested;
extern std::int16_t LastProgress;

// Which existing file a job's result may replace.
struct Overwrite {
    enum Mode : std::int16_t {
        // Any (the caller asked the user first).
        Allowed,
        // None: the job fails with 12 or 22 and ExistingOutputPath names the file; nothing is
        // written. Only the source itself may be replaced, and only when the caller passed the
        // source as the output path (it asked for the result to replace the source), and the
        // confirmed path, when there is one.
        Refused,
    };
    // NOLINTNEXTLINE(google-explicit-constructor): a mode alone is the common case
    Overwrite(Mode m = Allowed, std::string path = {}) : mode(m), confirmed(std::move(path)) {}
    // Refused, but for the one path the user confirmed to be replaced.
    static Overwrite OnlyConfirmed(std::string path) { return {Refused, std::move(path)}; }

    Mode mode;
    std::string confirmed;
};
// The existing file that the last job refused to replace; empty otherwise.
extern std::string ExistingOutputPath;

// The message text for a status code, "" for codes outside the table.
std::string MessageForStatus(std::int16_t status, const std::string& errorDescription);
// Sets StatusMessage from JobStatus (codes outside the table leave it unchanged).
void SetStatusMessage();

// Sends a percentage to the progress bar: above 100 becomes 100, 0 changes nothing.
void ReportProgress(double percent);

// Whole number nearest to value, halves to the even neighbour.
std::int32_t RoundHalfEven(double value);

// One yield point, called by a loop after an element whose index is a multiple of its interval:
// processes pending events, returns false when the job was cancelled (the loop must stop at once),
// otherwise reports the rounded percentage when it differs from LastProgress and returns true.
bool YieldPoint(double percent);

// Runs a loop that yields as above, with the yield test kept out of its inner loop:
// calls body(from, to) for consecutive blocks [from, to) covering [begin, end) and passes a
// yield point with percent(i) after each index i in it that is a multiple of interval. A pass
// may run in several calls over consecutive ranges. Returns false when cancelled.
template <class Body, class Percent>
bool RunWithYieldsOver(std::size_t begin, std::size_t end, std::size_t interval, Body&& body,
                       Percent&& percent) {
    std::size_t from = begin;
    for (std::size_t point = (begin + interval - 1) / interval * interval; point < end;
         point += interval) {
        body(from, point + 1);
        from = point + 1;
        if (!YieldPoint(percent(point))) return false;
    }
    if (from < end) body(from, end);
    return true;
}

template <class Body, class Percent>
bool RunWithYields(std::size_t count, std::size_t interval, Body&& body, Percent&& percent) {
    return RunWithYieldsOver(0, count, interval, body, percent);
}

} // namespace vw
