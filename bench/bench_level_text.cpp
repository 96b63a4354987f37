// Reading and writing the LEV, O and INF texts of a level the size of the largest published one,
// against the least any parser or printer must do with the same bytes and numbers.
#include "BenchRatio.h"

#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "support/SyntheticLevel.h"

#include <charconv>
#include <string>
#include <string_view>

namespace {

using namespace morvi;

struct Texts {
    std::string lev, o, inf;
    std::size_t bytes() const { return lev.size() + o.size() + inf.size(); }
};

// One number as the writers print it: a real with its decimals, or an integer (decimals < 0).
struct PrintedNumber {
    double value;
    int decimals;
};

const Texts& LevelTexts() {
    static const Texts texts = [] {
        CDataLevel level;
        testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions{});
        Texts t;
        WriteLev(level.m_Lev, kGeneratorTitle, t.lev);
        WriteObjects(level.m_Objects, kGeneratorTitle, t.o);
        WriteInf(level.m_Inf, kGeneratorTitle, t.inf);
        return t;
    }();
    return texts;
}

bool IsSeparator(char c) {
    return c == ' ' || c == ':' || c == '\t' || c == '\r' || c == '\n';
}

// Calls f(token) for every run of non-separators.
template <class F> void ForEachToken(std::string_view text, F&& f) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsSeparator(text[i]))
            ++i;
        if (i > start) f(text.substr(start, i - start));
    }
}

bool LooksNumeric(std::string_view token) {
    const char c = token[0];
    return (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Every number the texts hold, in order, with the decimals it was printed with.
const std::vector<PrintedNumber>& Numbers() {
    static const std::vector<PrintedNumber> numbers = [] {
        std::vector<PrintedNumber> out;
        const Texts& t = LevelTexts();
        for (std::string_view text :
             {std::string_view(t.lev), std::string_view(t.o), std::string_view(t.inf)})
            ForEachToken(text, [&](std::string_view token) {
                if (!LooksNumeric(token)) return;
                double v = 0;
                if (std::from_chars(token.data(), token.data() + token.size(), v).ec != std::errc()) return;
                const auto dot = token.find('.');
                out.push_back(
                    {v, dot == std::string_view::npos ? -1 : static_cast<int>(token.size() - dot - 1)});
            });
        return out;
    }();
    return numbers;
}

void BaselineRead(benchmark::State& state) {
    const Texts& t = LevelTexts();
    for (auto _ : state) {
        double sum = 0;
        for (std::string_view text :
             {std::string_view(t.lev), std::string_view(t.o), std::string_view(t.inf)})
            ForEachToken(text, [&](std::string_view token) {
                double v = 0;
                if (LooksNumeric(token)) std::from_chars(token.data(), token.data() + token.size(), v);
                sum += v;
            });
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.bytes()));
}

void ReadLevelTexts(benchmark::State& state) {
    const Texts& t = LevelTexts();
    for (auto _ : state) {
        CDataLevel level;
        ReadLev(level.m_Lev, t.lev);
        ReadObjects(level.m_Objects, t.o);
        ReadInf(level.m_Inf, t.inf);
        benchmark::DoNotOptimize(level.m_Lev.m_pSectors.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.bytes()));
}

void BaselineWrite(benchmark::State& state) {
    const auto& numbers = Numbers();
    std::string buffer(LevelTexts().bytes(), '\0');
    for (auto _ : state) {
        char* p = buffer.data();
        char* const end = buffer.data() + buffer.size();
        for (const PrintedNumber& n : numbers) {
            const auto r = n.decimals < 0
                               ? std::to_chars(p, end, static_cast<long long>(n.value))
                               : std::to_chars(p, end, n.value, std::chars_format::fixed, n.decimals);
            p = r.ptr;
            if (p < end) *p++ = ' ';
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LevelTexts().bytes()));
}

void WriteLevelTexts(benchmark::State& state) {
    CDataLevel level;
    const Texts& t = LevelTexts();
    ReadLev(level.m_Lev, t.lev);
    ReadObjects(level.m_Objects, t.o);
    ReadInf(level.m_Inf, t.inf);
    Texts out;
    for (auto _ : state) {
        out.lev.clear();
        out.o.clear();
        out.inf.clear();
        WriteLev(level.m_Lev, kGeneratorTitle, out.lev);
        WriteObjects(level.m_Objects, kGeneratorTitle, out.o);
        WriteInf(level.m_Inf, kGeneratorTitle, out.inf);
        benchmark::DoNotOptimize(out.lev.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.bytes()));
}

BENCHMARK(BaselineRead)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadLevelTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteLevelTexts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return morvi::bench::RunWithRatios(
        argc, argv, {{"ReadLevelTexts", "BaselineRead", 3.0}, {"WriteLevelTexts", "BaselineWrite", 3.0}});
}
