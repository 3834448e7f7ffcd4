// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the cipher and the codec on their own: MB/s of the bytes each one processes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "bench/TextCorpus.h"
#include "engine/cipher/Cipher.h"
#include "engine/codec/Huffman.h"

namespace {

constexpr std::size_t kCipherBytes = 16u << 20;
constexpr std::size_t kCodecBytes = 64u << 20;

vw::Bytes RandomBytes(std::size_t size) {
    std::mt19937_64 rng(77);
    vw::Bytes data(size);
    for (auto& v : data)
        v = static_cast<std::uint8_t>(rng());
    return data;
}

void CipherEncrypt(benchmark::State& state) {
    vw::Bytes data = RandomBytes(kCipherBytes);
    vw::Cipher cipher;
    for (auto _ : state) {
        cipher.Init("benchmark password", "private code");
        cipher.EncryptBlock(data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(CipherEncrypt)->Unit(benchmark::kMillisecond);

void CipherDecrypt(benchmark::State& state) {
    const vw::Bytes source = RandomBytes(kCipherBytes);
    vw::Bytes data(source.size());
    vw::Cipher cipher;
    for (auto _ : state) {
        state.PauseTiming();
        data = source;
        state.ResumeTiming();
        cipher.Init("benchmark password", "private code");
        cipher.DecryptBlock(data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(CipherDecrypt)->Unit(benchmark::kMillisecond);

// Sizes are the uncompressed text in both directions, as a user sees them.
void CodecEncode(benchmark::State& state) {
    const vw::Bytes text = vw::bench::MakeEnglishLikeText(kCodecBytes, 2024);
    vw::Bytes data;
    std::size_t compressed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        data = text;
        state.ResumeTiming();
        vw::HuffmanEncode(data, static_cast<std::int32_t>(data.size()));
        compressed = data.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["ratio"] = static_cast<double>(compressed) / static_cast<double>(text.size());
}
BENCHMARK(CodecEncode)->Unit(benchmark::kMillisecond);

void CodecDecode(benchmark::State& state) {
    const vw::Bytes text = vw::bench::MakeEnglishLikeText(kCodecBytes, 2024);
    vw::Bytes stream = text;
    vw::HuffmanEncode(stream, static_cast<std::int32_t>(stream.size()));
    vw::Bytes data;
    for (auto _ : state) {
        state.PauseTiming();
        data = stream;
        state.ResumeTiming();
        const bool intact = vw::HuffmanDecode(data, static_cast<std::int32_t>(data.size()));
        if (!intact || data.size() != text.size()) state.SkipWithError("decode failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(CodecDecode)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
