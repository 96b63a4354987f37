// Building the 3D view's scene of a level the size of the largest published one, against
// reading the same level's LEV text: a scene is built whenever the view opens, and should not take
// much longer than loading the level did.
#include "BenchRatio.h"
#include "LargeLevel.h"

#include "gamefiles/LevFile.h"
#include "support/TextureSource.h"
#include "view3d/Scene3D.h"

#include <string>

namespace {

using namespace morvi;

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
    testing::TextureForEveryName source(32, 64);
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
    testing::TextureForEveryName source(32, 64);
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
