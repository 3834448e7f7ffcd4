// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtJobControl.h"

#include <QCoreApplication>

namespace vw {

void QtJobControl::Yield() {
    const auto now = std::chrono::steady_clock::now();
    if (QCoreApplication::instance() != nullptr && now - lastEvents_ >= kEventInterval) {
        QCoreApplication::processEvents(holdUserInput ? QEventLoop::ExcludeUserInputEvents
                                                      : QEventLoop::AllEvents);
        lastEvents_ = std::chrono::steady_clock::now();
    }
    if (onYield) onYield();
}

void QtJobControl::Progress(int percent) {
    if (onProgress) onProgress(percent);
}

void QtJobControl::Busy(bool busy) {
    if (onBusy) onBusy(busy);
}

bool QtJobControl::Cancelled() const {
    return JobControl::Cancelled() || (cancelled && cancelled());
}

} // namespace vw
