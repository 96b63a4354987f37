// Picture decoders: a run-length compressed 256 x 256 BM and a WAX of 32 views x 8 frames of
// compressed 64 x 64 cells, against copying the same number of pixel bytes. Two baselines: a
// straight copy, and the copy every decoder must make at least, from the game's columns into the
// picture's rows.
#include "BenchRatio.h"

#include "resources/BmFile.h"
#include "resources/WaxFile.h"
#include "support/SpriteWriter.h"

#include <cstring>

namespace {

using namespace morvi;

// Pixels as textures and sprites hold them: stretches of one index, transparent gaps and detail.
IndexedImage MakePicture(int width, int height, int seed) {
    IndexedImage image;
    image.Create(GamePalette(), kPaletteMultiplier, width, height, false);
    for (int r = 0; r < height; ++r)
        for (int x = 0; x < width; ++x) {
            const int band = (x / 8 + r / 16 + seed) % 4;
            const int value = band == 0 ? 0 : band == 1 ? 32 + seed % 7 : (x * 31 + r * 17 + seed) % 256;
            image.setPixel(x, r, static_cast<std::uint8_t>(value));
        }
    return image;
}

const std::vector<std::uint8_t>& CompressedBm() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> out;
        (void)EncodeBm(MakePicture(256, 256, 3), kBmRunLength, out);
        return out;
    }();
    return bytes;
}

constexpr int kViews = 32, kFramesPerView = 8, kCellSide = 64;

const std::vector<std::uint8_t>& BigWax() {
    static const std::vector<std::uint8_t> bytes = [] {
        WaxEncoder wax;
        std::vector<int> views;
        for (int v = 0; v < kViews; ++v) {
            std::vector<int> frames;
            for (int f = 0; f < kFramesPerView; ++f)
                frames.push_back(wax.AddFrame(wax.AddCell(MakePicture(kCellSide, kCellSide, v * 8 + f), true),
                                              0, 0, false));
            views.push_back(wax.AddView(frames));
        }
        wax.AddState(1, 1, 10, views);
        return testing::WaxBytes(wax);
    }();
    return bytes;
}

// The straight copy of n pixel bytes into a fresh buffer.
void CopyBytes(benchmark::State& state, std::size_t n, int pictures) {
    const std::vector<std::uint8_t> source(n, 7);
    for (auto _ : state)
        for (int p = 0; p < pictures; ++p) {
            std::vector<std::uint8_t> dest(n / static_cast<std::size_t>(pictures));
            std::memcpy(dest.data(), source.data(), dest.size());
            benchmark::DoNotOptimize(dest.data());
        }
}

// Columns (bottom pixel first) into bottom-up rows: what a plain picture decode does at least.
void CopyColumnsToRows(benchmark::State& state, int side, int pictures) {
    const std::vector<std::uint8_t> source(static_cast<std::size_t>(side * side), 7);
    for (auto _ : state)
        for (int p = 0; p < pictures; ++p) {
            IndexedImage image;
            image.Create(GamePalette(), kPaletteMultiplier, side, side, false);
            std::uint8_t* bits = image.bits().data();
            const std::size_t stride = static_cast<std::size_t>(image.stride());
            for (std::size_t c = 0; c < static_cast<std::size_t>(side); ++c) {
                const std::uint8_t* column = source.data() + c * static_cast<std::size_t>(side);
                for (std::size_t r = 0; r < static_cast<std::size_t>(side); ++r)
                    bits[r * stride + c] = column[r];
            }
            benchmark::DoNotOptimize(image.bits().data());
        }
}

void BmBaselineCopy(benchmark::State& state) {
    CopyBytes(state, 256 * 256, 1);
}
void BmBaselineColumns(benchmark::State& state) {
    CopyColumnsToRows(state, 256, 1);
}

void DecodeCompressedBm(benchmark::State& state) {
    const GamePalette palette;
    for (auto _ : state) {
        std::vector<IndexedImage> frames;
        if (!DecodeBm(CompressedBm(), "bench.bm", palette, true, frames))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(frames.data());
    }
}

constexpr int kWaxPictures = kViews * kFramesPerView;

void WaxBaselineCopy(benchmark::State& state) {
    CopyBytes(state, kWaxPictures * kCellSide * kCellSide, kWaxPictures);
}
void WaxBaselineColumns(benchmark::State& state) {
    CopyColumnsToRows(state, kCellSide, kWaxPictures);
}

// Every frame of every view, as the viewer's play of all views would decode them.
void DecodeWholeWax(benchmark::State& state) {
    const GamePalette palette;
    for (auto _ : state) {
        WaxFile wax;
        if (!WaxFile::Read(BigWax(), "bench.wax", wax)) state.SkipWithError("read failed");
        for (const WaxFrame& frame : wax.m_Frames) {
            SpriteFrame out;
            if (!DecodeSpriteFrame(BigWax(), frame.m_nOffset, "bench.wax", palette, true, out))
                state.SkipWithError("decode failed");
            benchmark::DoNotOptimize(out.m_Image.bits().data());
        }
    }
}

BENCHMARK(BmBaselineCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BmBaselineColumns)->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeCompressedBm)->Unit(benchmark::kMicrosecond);
BENCHMARK(WaxBaselineCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(WaxBaselineColumns)->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeWholeWax)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return morvi::bench::RunWithRatios(argc, argv,
                                       {{"DecodeCompressedBm", "BmBaselineColumns", 4.0},
                                        {"DecodeCompressedBm", "BmBaselineCopy", 0.0},
                                        {"DecodeWholeWax", "WaxBaselineColumns", 4.0},
                                        {"DecodeWholeWax", "WaxBaselineCopy", 0.0}});
}
