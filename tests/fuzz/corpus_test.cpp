#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "fuzz_targets.h"
#include "support/temp_folder.h"

namespace tomlet::fuzz {

// Found by argument-dependent lookup: the test names show the target's name.
void PrintTo(const FuzzTarget& target, std::ostream* out) {
    *out << target.Name;
}

namespace {

// Every input that once made a target fail stays in its corpus: running the corpus in the
// ordinary suite keeps such a fault from coming back.
class FuzzCorpusTest : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzCorpusTest, RunsOverEveryInputOfItsCorpus) {
    const FuzzTarget& target = GetParam();
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(TOMLET_FUZZ_CORPUS) / std::string(target.Name))) {
        const std::string bytes = testing::ReadWholeFile(entry.path().string());
        EXPECT_EQ(target.Run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0)
            << entry.path();
        ++inputs;
    }
    EXPECT_GT(inputs, 0) << "no corpus for " << target.Name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpusTest, ::testing::ValuesIn(FuzzTargets()),
                         [](const auto& each) { return std::string(each.param.Name); });

}  // namespace
}  // namespace tomlet::fuzz
