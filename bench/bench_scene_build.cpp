// Building the perspective view's scene of a level the size of the largest published one, against
// reading the same level's LEV text: a scene is built whenever the view opens, and should not take
// much longer than loading the level did.
#include "BenchRatio.h"
#include "LargeLevel.h"

#include "gamefiles/LevFile.h"
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "view3d/Scene3D.h"

#include <string>

namespace {

using namespace morvi;

// Every texture is the same small BM; sprites, models, palettes and sounds are not there.
class TexturesOnly : public SceneResourceSource {
public:
    TexturesOnly() {
        IndexedImage picture;
        picture.Create(GamePalette::Grey(), kPaletteMultiplier, 32, 64, false);
        for (int r = 0; r < 64; ++r)
            for (int c = 0; c < 32; ++c)
                picture.setPixel(c, r, static_cast<std::uint8_t>(c + r));
        (void)EncodeBm(picture, kBmPlain, m_Bm);
    }
    bool Find(std::string_view name, std::vector<std::uint8_t>& bytes) override {
        if (name.size() < 3 || !EqualsNoCase(name.substr(name.size() - 3), ".bm")) return false;
        bytes = m_Bm;
        return true;
    }

private:
    std::vector<std::uint8_t> m_Bm;
};

const CDataLevel& Level() {
    return bench::LargeLevel();
}

const std::string& LevText() {
    return bench::LargeLevelLevText();
}

void ReadLevText(benchmark::State& state) {
    const std::string& text = LevText();
    for (auto _ : state) {
        CDataLev lev;
        ReadLev(lev, text);
        benchmark::DoNotOptimize(lev.m_pSectors.data());
    }
}

// A scene built afresh, textures included, as when the view first opens.
void BuildScene(benchmark::State& state) {
    TexturesOnly source;
    std::size_t faces = 0;
    for (auto _ : state) {
        Scene3D scene;
        SceneBuilder(source, {}).Build(Level(), scene);
        faces = scene.m_Faces.size();
        benchmark::DoNotOptimize(scene.m_Faces.data());
    }
    state.counters["faces"] = static_cast<double>(faces);
}

// A rebuild after an edit: the textures are already there.
void RebuildScene(benchmark::State& state) {
    TexturesOnly source;
    Scene3D scene;
    SceneBuilder builder(source, {});
    builder.Build(Level(), scene);
    for (auto _ : state) {
        builder.Build(Level(), scene);
        benchmark::DoNotOptimize(scene.m_Faces.data());
    }
}

BENCHMARK(ReadLevText)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildScene)->Unit(benchmark::kMillisecond);
BENCHMARK(RebuildScene)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return morvi::bench::RunWithRatios(
        argc, argv, {{"BuildScene", "ReadLevText", 3.0}, {"RebuildScene", "ReadLevText", 0.0}});
}
