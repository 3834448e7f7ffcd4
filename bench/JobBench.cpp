// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Whole jobs: protect and restore of a 64 MiB text-like file, in MB/s of
// the source (10^6 bytes), with the process's peak memory as a counter. Jobs stream through
// their files, so the peak stays far below the file's size.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "TextCorpus.h"
#include "engine/job/Job.h"

namespace {

constexpr std::size_t kSourceSize = 64u << 20;
constexpr const char* kPassword = "benchmark password";

class JobFolder {
  public:
    JobFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vwbench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder_ = pattern;
        // Written in pieces, so that the peak memory counted is the jobs' own.
        std::ofstream out(source(), std::ios::binary);
        constexpr std::size_t kPiece = 4u << 20;
        for (std::size_t done = 0; done < kSourceSize; done += kPiece) {
            const auto text = vw::bench::MakeEnglishLikeText(
                kPiece, static_cast<std::uint32_t>(1 + done / kPiece));
            out.write(reinterpret_cast<const char*>(text.data()),
                      static_cast<std::streamsize>(text.size()));
        }
    }
    ~JobFolder() { std::filesystem::remove_all(folder_); }
    std::string source() const { return folder_ + "/source.txt"; }
    std::string protectedFile() const { return folder_ + "/source.vwx"; }
    std::string restoreOutput() const { return folder_ + "/restored.out"; }

  private:
    std::string folder_;
};

JobFolder& Folder() {
    static JobFolder folder;
    return folder;
}

// A whole job, as vwx runs it.
int Run(vw::JobKind kind, const std::string& source, const std::string& output) {
    vw::JobRequest request;
    request.kind = kind;
    request.source = source;
    request.output = output;
    request.password = vw::KeyText(kPassword);
    request.overwrite = vw::Overwrite::Allowed;
    vw::JobControl control;
    return vw::RunJob(request, control).status;
}

double PeakMemoryMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ProtectFile(benchmark::State& state) {
    JobFolder& folder = Folder();
    for (auto _ : state) {
        if (Run(vw::JobKind::Protect, folder.source(), folder.protectedFile()) != 0)
            state.SkipWithError("protect failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSourceSize));
    state.counters["MB/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kSourceSize) / 1e6, benchmark::Counter::kIsRate);
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

void BM_RestoreFile(benchmark::State& state) {
    JobFolder& folder = Folder();
    Run(vw::JobKind::Protect, folder.source(), folder.protectedFile());
    for (auto _ : state) {
        if (Run(vw::JobKind::Restore, folder.protectedFile(), folder.restoreOutput()) != 0)
            state.SkipWithError("restore failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSourceSize));
    state.counters["MB/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kSourceSize) / 1e6, benchmark::Counter::kIsRate);
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

} // namespace

BENCHMARK(BM_ProtectFile)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RestoreFile)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
