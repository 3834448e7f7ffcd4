// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Driver.h"

#include "platform/JobText.h"
#include "platform/QtJobControl.h"

namespace vw {

std::int16_t JobStatus = 0;
std::string StatusMessage;
std::string ErrorDescription;
std::string ExistingOutputPath;
std::atomic<bool> CancelRequested{false};
std::int16_t LastProgress = 0;

namespace {

std::function<void(int)> progressBar;
std::function<void(bool)> busyPointer;

JobKind KindFor(const std::string& path) {
    return DetectFileKind(path) == FileKind::Protected ? JobKind::Restore : JobKind::Protect;
}

// The job of a file: a restore for a protected file, a protect for any other.
JobRequest RequestFor(const std::string& sourcePath, const std::string& outputPath,
                      const std::string& password, const std::string& privateCode) {
    JobRequest request;
    request.kind = KindFor(sourcePath);
    request.source = sourcePath;
    request.output = outputPath;
    request.password = KeyText(password);
    request.privateCode = KeyText(privateCode);
    return request;
}

} // namespace

void SetJobDisplay(std::function<void(int)> bar, std::function<void(bool)> busy) {
    progressBar = std::move(bar);
    busyPointer = std::move(busy);
}

std::string ProcessFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        const Overwrite& overwrite) {
    JobStatus = kStatusOk;
    StatusMessage.clear();
    ErrorDescription.clear();
    ExistingOutputPath.clear();
    CancelRequested = false;
    JobRequest request = RequestFor(sourcePath, outputPath, password, privateCode);
    request.overwrite = overwrite;
    request.entropy = &ProgramEntropy();
    QtJobControl control;
    control.onProgress = [](int percent) { ReportProgress(percent); };
    control.onBusy = [](bool busy) {
        if (busyPointer) busyPointer(busy);
    };
    control.cancelled = [] { return CancelRequested.load(); };
    const JobResult result = RunJob(request, control);
    JobStatus = result.status;
    ErrorDescription = FailureText(result.failure).toStdString();
    if (result.failure.fault == Fault::OutputExists) ExistingOutputPath = result.failure.path;
    SetStatusMessage();
    return result.Ok() ? result.written : sourcePath;
}

std::string ResultPathFor(const std::string& sourcePath, const std::string& outputPath,
                          const std::string& password, const std::string& privateCode) {
    return ResultPathOf(RequestFor(sourcePath, outputPath, password, privateCode));
}

void ReportProgress(double percent) {
    if (percent > 100) percent = 100;
    if (percent == 0) return;
    LastProgress = static_cast<std::int16_t>(percent);
    if (progressBar) progressBar(static_cast<int>(percent));
}

void SetStatusMessage() {
    const QString text = StatusText(JobStatus);
    if (text.isNull() && JobStatus != kStatusOk) return;
    const bool described = JobStatus == kStatusProtectFailed || JobStatus == kStatusRestoreFailed;
    StatusMessage = text.toStdString() + (described ? ErrorDescription : std::string());
}

EntropyPool& ProgramEntropy() {
    static EntropyPool pool;
    return pool;
}

void AddMouseEntropy(float x, float y) {
    ProgramEntropy().AddMousePosition(x, y);
}

} // namespace vw
