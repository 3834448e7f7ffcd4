// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// English-like text for benchmarks and tests: words from a fixed list with a skewed choice,
// capitals after a full stop, commas and paragraph breaks. The same seed gives the same text.
#include <cstddef>
#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace vw::bench {

inline std::vector<std::uint8_t> MakeEnglishLikeText(std::size_t size, std::uint32_t seed = 1) {
    static constexpr std::string_view kWords[] = {
        "the",         "of",          "and",        "to",       "a",        "in",      "is",
        "it",          "you",         "that",       "he",       "was",      "for",     "on",
        "are",         "with",        "as",         "his",      "they",     "be",      "at",
        "one",         "have",        "this",       "from",     "or",       "had",     "by",
        "word",        "but",         "what",       "some",     "we",       "can",     "out",
        "other",       "were",        "all",        "there",    "when",     "up",      "use",
        "your",        "how",         "said",       "an",       "each",     "she",     "which",
        "do",          "their",       "time",       "if",       "will",     "way",     "about",
        "many",        "then",        "them",       "write",    "would",    "like",    "so",
        "these",       "her",         "long",       "make",     "thing",    "see",     "him",
        "two",         "has",         "look",       "more",     "day",      "could",   "go",
        "come",        "did",         "number",     "sound",    "no",       "most",    "people",
        "my",          "over",        "know",       "water",    "than",     "call",    "first",
        "who",         "may",         "down",       "side",     "been",     "now",     "find",
        "file",        "password",    "protected",  "memory",   "between",  "through", "government",
        "information", "development", "experience", "question", "important"};
    constexpr std::size_t kCount = sizeof kWords / sizeof kWords[0];
    std::mt19937 rng(seed);
    // Zipf-like: word k is chosen with weight 1 / (k + 1).
    std::vector<double> weights(kCount);
    for (std::size_t k = 0; k < kCount; ++k)
        weights[k] = 1.0 / static_cast<double>(k + 1);
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());

    std::vector<std::uint8_t> text;
    text.reserve(size + 32);
    bool capital = true;
    while (text.size() < size) {
        const std::string_view word = kWords[pick(rng)];
        for (std::size_t c = 0; c < word.size(); ++c) {
            char ch = word[c];
            if (c == 0 && capital) ch = static_cast<char>(ch - 'a' + 'A');
            text.push_back(static_cast<std::uint8_t>(ch));
        }
        capital = false;
        const unsigned r = rng() % 100;
        if (r < 6) {
            text.push_back('.');
            capital = true;
            text.push_back(rng() % 8 == 0 ? '\n' : ' ');
        } else if (r < 11) {
            text.push_back(',');
            text.push_back(' ');
        } else {
            text.push_back(' ');
        }
    }
    text.resize(size);
    return text;
}

} // namespace vw::bench
