#include "resources/QtSoundOutput.h"

#include <gtest/gtest.h>

namespace morvi::ui {
namespace {

// Reads in steps of the given sizes; a step that gets fewer bytes than asked is marked by a '|'.
std::string ReadSteps(SoundSamples& samples, const std::vector<int>& steps) {
    std::string read;
    for (const int n : steps) {
        const QByteArray got = samples.read(n);
        for (const char c : got)
            read += static_cast<char>('0' + (static_cast<unsigned char>(c) - 128));
        if (got.size() < n) read += '|';
    }
    return read;
}

// A buffer is silence until filled from its start, without the samples past its end. Played once it
// runs dry at its end; a static one wraps round and never runs dry; each play starts afresh.
TEST(SoundSamples, ReadsOnceOrRoundAndRoundFromTheFirstSample) {
    const struct {
        int size;
        bool loop;
        std::vector<std::uint8_t> fill;
        std::vector<int> steps;
        std::string read;
    } rows[] = {
        {4, false, {129, 130}, {3, 3, 1}, "1200||"},
        {3, false, {129, 130, 131, 132}, {2, 2}, "123|"},
        {3, true, {129, 130, 131}, {2, 5, 1}, "12312312"},
        {2, true, {131}, {7}, "3030303"},
        {0, true, {}, {2}, "|"},
    };
    for (const auto& row : rows) {
        SoundSamples samples(row.size, row.loop);
        samples.fill(row.fill);
        EXPECT_EQ(row.read, ReadSteps(samples, row.steps)) << row.size << (row.loop ? " loop" : "");
        EXPECT_EQ(row.loop && row.size > 0, !samples.atEnd());
        samples.rewind();
        EXPECT_EQ(row.read, ReadSteps(samples, row.steps));
    }
}

} // namespace
} // namespace morvi::ui
