// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A restore as the desktop program runs it, against vwx on the same file: the job runs on the
// calling thread of a Qt application (offscreen), through QtHost, which runs pending events at
// most every 10 ms, with a progress bar taking every percentage. vwx runs as its own process.
// Rounds alternate between the two; the best of each counts (wall time, MB/s of the restored
// file, 10^6 bytes).   vw_host_bench SOURCE VWX [ROUNDS]
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/job/Job.h"
#include "engine/job/StatusCodes.h"
#include "platform/QtJobControl.h"

#if defined(VW_BENCH_WIDGETS)
#include <QApplication>
#include <QProgressBar>
using Application = QApplication;
#else
#include <QCoreApplication>
using Application = QCoreApplication;
#endif

namespace {

constexpr const char* kPassword = "benchmark password";
// The desktop program must stay this close to vwx.
constexpr double kAllowedSlowdown = 1.05;

// A job as the desktop program runs it: pending events every 10 ms, progress to a bar.
int Run(vw::JobKind kind, const std::string& file, const std::string& output,
        vw::JobControl& control) {
    vw::JobRequest request;
    request.kind = kind;
    request.source = file;
    request.output = output;
    request.password = vw::KeyText(kPassword);
    request.overwrite = vw::Overwrite::Allowed;
    return vw::RunJob(request, control).status;
}

double RestoreInProcess(const std::string& file, const std::string& output,
                        vw::JobControl& control) {
    QElapsedTimer timer;
    timer.start();
    const int status = Run(vw::JobKind::Restore, file, output, control);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (status != 0) std::fprintf(stderr, "restore: status %d\n", status);
    return seconds;
}

double RestoreWithVwx(const QString& vwx, const std::string& file, const std::string& output) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VWX_PASSWORD"), QString::fromLatin1(kPassword));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(vwx, {QStringLiteral("-q"), QStringLiteral("-f"),
                        QStringLiteral("--no-private-code"), QStringLiteral("-o"),
                        QString::fromStdString(output), QString::fromStdString(file)});
    process.waitForFinished(-1);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (process.exitCode() != 0) std::fprintf(stderr, "vwx: exit status %d\n", process.exitCode());
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: vw_host_bench SOURCE VWX [ROUNDS]\n");
        return 2;
    }
    const std::filesystem::path source = std::filesystem::absolute(argv[1]);
    const QString vwx = QString::fromLocal8Bit(argv[2]);
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const std::filesystem::path folder = source.parent_path();
    const std::string file = (folder / "host-bench.vwx").string();
    // Restored under the stored extension: output + source's extension.
    const std::string output = (folder / "host-bench-restored").string();
    const std::string restored = output + source.extension().string();

    vw::QtJobControl control;
#if defined(VW_BENCH_WIDGETS)
    QProgressBar bar;
    bar.show();
    control.onProgress = [&bar](int percent) { bar.setValue(percent); };
#endif
    if (Run(vw::JobKind::Protect, source.string(), (folder / "host-bench").string(), control) != 0)
        return 1;

    double desktop = 1e9, cli = 1e9;
    for (int round = 0; round < rounds; ++round) {
        cli = std::min(cli, RestoreWithVwx(vwx, file, output));
        desktop = std::min(desktop, RestoreInProcess(file, output, control));
    }
    const double megabytes = static_cast<double>(std::filesystem::file_size(restored)) / 1e6;
    std::filesystem::remove(file);
    std::filesystem::remove(restored);
    std::printf("restore, best of %d: vwx %.1f MB/s, desktop job %.1f MB/s (%.3f of vwx's time)\n",
                rounds, megabytes / cli, megabytes / desktop, desktop / cli);
    std::printf("desktop job within 5 %% of vwx: %s\n",
                desktop <= cli * kAllowedSlowdown ? "yes" : "no");
    return desktop <= cli * kAllowedSlowdown ? 0 : 1;
}
