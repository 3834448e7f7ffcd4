// Every damage to a protected file ends the restore with a failure status and writes nothing:
// one bit flipped or the file cut short at every position of a small file and at a sample of
// positions of a large one, or a byte appended.
#include <numeric>
#include <random>

#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

using CorruptionTable = JobTest;

TEST_F(CorruptionTable, EveryDamageFailsAndDifferingCheckValuesAreTheUsualOutcome) {
    for (const std::size_t size : {400u, 600000u}) {
        WriteFile(dir / "source.txt", TextData(size, 11));
        const Bytes good = ReadFile(Run(dir / "source.txt", dir / "source.txt"));
        dir.Clear();
        std::vector<std::size_t> at(size < 1000 ? good.size() : 40);
        std::iota(at.begin(), at.end(), std::size_t{0}); // for the large file: its head, then
        std::mt19937 rng(7);                             // the end and samples from the rest
        for (std::size_t k = 20; size > 1000 && k < at.size(); ++k)
            at[k] = k < 23 ? good.size() - 1 - (k - 20) : rng() % good.size();
        std::vector<Bytes> damaged = {good, good};
        damaged[1].push_back(0);
        for (std::size_t pos : at) {
            damaged.push_back(good);
            damaged.back()[pos] ^= static_cast<std::uint8_t>(1u << (pos % 8));
            if (pos > 0) damaged.emplace_back(good.begin(), good.begin() + static_cast<long>(pos));
        }
        std::size_t status23 = 0;
        for (std::size_t k = 0; k < damaged.size(); ++k) {
            WriteFile(dir / "damaged.vwx", damaged[k]);
            const std::string result = Run(dir / "damaged.vwx", dir / "out.x");
            if (k == 0) { // the undamaged file restores
                EXPECT_EQ(result, dir / "out.txt");
                std::filesystem::remove(result);
                continue;
            }
            EXPECT_TRUE(JobStatus == 23 || JobStatus == 22 || JobStatus == 5)
                << k << ": " << JobStatus;
            EXPECT_EQ(dir.Entries(), std::vector<std::string>{"damaged.vwx"});
            status23 += JobStatus == 23;
        }
        EXPECT_GT(status23 * 3, damaged.size() * 2);
    }
}

} // namespace
} // namespace vw::test
