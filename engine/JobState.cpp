#include "engine/JobState.h"

#include <cmath>

#include "engine/Host.h"

namespace vw {

std::int16_t JobStatus = 0;
std::string StatusMessage;
std::string ErrorDescription;
std::atomic<bool> CancelRequested{false};
std::int16_t LastProgress = 0;
std::string ExistingOutputPath;

std::string MessageForStatus(std::int16_t status, const std::string& errorDescription) {
    switch (status) {
    case 0:
        return "";
    case 1:
        return "Impossibile continuare 1";
    case 2:
        return "Impossibile continuare 2";
    case 3:
        return "Password troppo corta";
    case 4:
        return "File non trovato";
    case 5:
        return "Errore di compressione";
    case 6:
        return "File vuoto";
    case 10:
        return "Errore Generico 1";
    case 11:
        return "Elaborazione interrota";
    case 12:
        return "Errore: " + errorDescription;
    case 20:
        return "Errore generico 2";
    case 21:
        return "Elaborazione interrota";
    case 22:
        return "Errore: " + errorDescription;
    case 23:
        return "Errore Generico 3";
    case 30:
        return "Errore File corrotto";
    case 33:
        return "Errore Generico 4";
    default:
        return "";
    }
}

void SetStatusMessage() {
    switch (JobStatus) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 10:
    case 11:
    case 12:
    case 20:
    case 21:
    case 22:
    case 23:
    case 30:
    case 33:
        StatusMessage = MessageForStatus(JobStatus, ErrorDescription);
        break;
    default:
        break; // outside the table: left as it is
    }
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
