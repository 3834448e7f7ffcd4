// Writes English-like text for the comparison benchmark: vw_make_corpus SIZE_MIB OUTPUT
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench/TextCorpus.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vw_make_corpus SIZE_MIB OUTPUT\n");
        return 64;
    }
    const std::size_t size = std::strtoull(argv[1], nullptr, 10) << 20;
    const auto text = vw::bench::MakeEnglishLikeText(size, 2026);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(text.data()),
              static_cast<std::streamsize>(text.size()));
    return out ? 0 : 1;
}
