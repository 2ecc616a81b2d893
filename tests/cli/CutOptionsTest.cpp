#include "CutOptions.h"
#include "CutBatch.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

bool Parse(const std::vector<const char*>& args, CutOptions& options, std::string& error) {
    std::vector<char*> argv{const_cast<char*>("tesmira-cut")};
    for (const char* a : args) {
        argv.push_back(const_cast<char*>(a));
    }
    return ParseCutOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

} // namespace

TEST(CutOptions, RangeOutputAndEffects) {
    CutOptions o;
    std::string error;
    ASSERT_TRUE(
        Parse({"a.mp3", "--start", "60", "--end", "3:00.5", "-o", "out.mp3", "--fade-in", "5",
               "--fade-out", "2.5", "--speed", "1.05", "--pitch", "0.9", "--throttle-ms", "10"},
              o, error))
        << error;
    EXPECT_EQ(o.inputs, std::vector<std::string>{"a.mp3"});
    EXPECT_FALSE(o.whole);
    EXPECT_EQ(o.cut.startMs, 60000);
    EXPECT_EQ(o.cut.endMs, 180500);
    EXPECT_EQ(o.outputFile, "out.mp3");
    EXPECT_TRUE(o.cut.fadeIn);
    EXPECT_EQ(o.cut.fadeInMs, 5000);
    EXPECT_TRUE(o.cut.fadeOut);
    EXPECT_EQ(o.cut.fadeOutMs, 2500);
    EXPECT_DOUBLE_EQ(o.cut.speed, 1.05);
    EXPECT_DOUBLE_EQ(o.cut.pitch, 0.9);
    EXPECT_EQ(o.cut.throttleMs, 10);
}

TEST(CutOptions, WholeSongIsTheDefaultAndSeveralInputsNeedAFolder) {
    CutOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"a.mp3", "b.mp3", "--dir", "/tmp"}, o, error)) << error;
    EXPECT_TRUE(o.whole);
    EXPECT_EQ(o.inputs.size(), 2u);
    EXPECT_EQ(o.cut.throttleMs, 0);
}

TEST(CutOptions, UsageErrorsAreNamed) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"a.mp3", "--start", "5"},
        {"a.mp3", "--whole", "--start", "1", "--end", "2"},
        {"a.mp3", "-o", "x.mp3", "--dir", "/tmp"},
        {"a.mp3", "b.mp3", "-o", "x.mp3"},
        {"a.mp3", "--bogus"},
        {"a.mp3", "--end"},
        {"a.mp3", "--throttle-ms", "-5"},
        {"a.mp3", "--jobs", "0"},
        {"a.mp3", "--jobs", "65"},
        {"a.mp3", "--streams", "3"},
        {"a.mp3", "--dir", "/tmp", "--overwrite"},
        {"a.mp3", "--start", "5", "--end", "2"},
        {"a.mp3", "--start", "1", "--end", "1e300"},
        {"a.mp3", "--start", "-1", "--end", "2"},
        {"a.mp3", "--start", "1x", "--end", "2"},
        {"a.mp3", "--start", "1:75", "--end", "2:00"},
        {"a.mp3", "--fade-in", "86400.001"},
        {"a.mp3", "--speed", "inf"},
        {"a.mp3", "--speed", ""},
    };
    for (const auto& args : bad) {
        CutOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, o, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
    // The limits themselves are accepted.
    CutOptions o;
    std::string error;
    EXPECT_TRUE(Parse({"a.mp3", "--speed", "0.5", "--pitch", "2.0", "--fade-in", "24:00:00",
                       "--start", "0", "--end", "2147483.647", "-o", "x.mp3", "--overwrite"},
                      o, error))
        << error;
    EXPECT_TRUE(o.overwrite);
}

TEST(CutOptions, ThreadBudgetGivesSecondStreamsOnlyToSpareProcessors) {
    struct Case {
        size_t inputs;
        int jobs;
        int streams;
        unsigned processors;
        int expectedStreams;
    };
    for (const Case& c :
         {Case{1, 4, 2, 2, 2}, Case{2, 2, 2, 2, 1}, Case{2, 2, 2, 4, 2}, Case{3, 1, 2, 2, 2},
          Case{8, 8, 2, 4, 1}, Case{2, 2, 1, 8, 1}, Case{1, 1, 2, 0, 2}}) {
        CutOptions options;
        options.inputs.assign(c.inputs, "in.mp3");
        options.jobs = c.jobs;
        options.cut.lanes = c.streams;
        EXPECT_EQ(WithinThreadBudget(options, c.processors).cut.lanes, c.expectedStreams)
            << c.inputs << " inputs, " << c.jobs << " jobs, " << c.processors << " processors";
    }
}
