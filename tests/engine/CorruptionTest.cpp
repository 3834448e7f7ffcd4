// Every damage to a protected file ends the restore with a failure status and writes nothing:
// one bit flipped, the file cut short, or a byte appended, at every position of a small file
// and at a sample of positions of a large one.
#include <gtest/gtest.h>

#include <random>

#include "engine/Driver.h"
#include "engine/JobState.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestHost.h"

namespace vw {
namespace {

class CorruptionTable : public ::testing::Test {
  protected:
    // Protects data and returns the protected file's bytes.
    Bytes Protected(const Bytes& data) {
        test::WriteFile(dir / "source.txt", data);
        const std::string p = ProcessFile(dir / "source.txt", dir / "source.txt", kPassword, "");
        EXPECT_EQ(JobStatus, 0);
        Bytes file = test::ReadFile(p);
        std::filesystem::remove(p);
        return file;
    }

    // Restores bytes as a protected file; returns the status after checking nothing was written.
    int Restore(const Bytes& file) {
        test::WriteFile(dir / "damaged.vwx", file);
        const std::string result = ProcessFile(dir / "damaged.vwx", dir / "out.x", kPassword, "");
        const int status = JobStatus;
        if (status == 0) {
            std::filesystem::remove(result);
        } else {
            EXPECT_EQ(result, dir / "damaged.vwx");
            EXPECT_EQ(dir.Entries(), std::vector<std::string>{"damaged.vwx"});
        }
        return status;
    }

    void ExpectEveryDamageFails(const Bytes& good, const std::vector<std::size_t>& positions) {
        int status23 = 0, total = 0;
        for (std::size_t pos : positions) {
            Bytes flipped = good;
            flipped[pos] ^= static_cast<std::uint8_t>(1u << (pos % 8));
            const int flipStatus = Restore(flipped);
            EXPECT_TRUE(flipStatus == 23 || flipStatus == 22 || flipStatus == 5)
                << "bit flip at " << pos << " gave " << flipStatus;
            status23 += flipStatus == 23;
            ++total;

            const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(pos));
            if (!cut.empty()) {
                const int cutStatus = Restore(cut);
                EXPECT_TRUE(cutStatus == 23 || cutStatus == 22 || cutStatus == 5)
                    << "cut at " << pos << " gave " << cutStatus;
            }
        }
        Bytes longer = good;
        longer.push_back(0x00);
        EXPECT_NE(Restore(longer), 0);
        // Differing check values are by far the usual outcome.
        EXPECT_GT(status23 * 3, total * 2);
    }

    static constexpr const char* kPassword = "damage report";
    test::TempDir dir;
    test::ScopedTestHost host;
};

TEST_F(CorruptionTable, EveryPositionOfASmallFile) {
    const Bytes good = Protected(test::TextData(400, 11));
    std::vector<std::size_t> positions(good.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    ExpectEveryDamageFails(good, positions);
    EXPECT_EQ(Restore(good), 0); // the undamaged file still restores
}

TEST_F(CorruptionTable, SampledPositionsOfALargeFile) {
    const Bytes good = Protected(test::TextData(600000, 12));
    std::mt19937 rng(7);
    std::vector<std::size_t> positions = {
        0, 1, 30, 31, 32, 33, good.size() / 2, good.size() - 3, good.size() - 2, good.size() - 1};
    for (int i = 0; i < 40; ++i)
        positions.push_back(rng() % good.size());
    ExpectEveryDamageFails(good, positions);
}

} // namespace
} // namespace vw
