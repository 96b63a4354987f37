// One frame of the 3D view at 1280 x 720 into an offscreen framebuffer: the 4,000-sector
// synthetic level, every texture a different 64 x 64 picture, lit through a colour map, drawn as
// the view draws it (one draw call per texture), against the same triangles with one texture in
// a single draw call. Every frame ends with glFinish so that the renderer's work is counted. The
// sample level with the demo archives is timed beside them, for its frames per second. Needs a
// display: run it under xvfb-run -a.
#include "BenchRatio.h"
#include "LargeLevel.h"

#include "gamefiles/LevelArchive.h"
#include "model/CDataLevel.h"
#include "resources/ResourceCache.h"
#include "support/TextureSource.h"
#include "view3d/LevelSceneSource.h"
#include "view3d/OffscreenRender.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace {

using namespace morvi;

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

struct LevelScene {
    Scene3D scene;
    Camera3D start;
};

// The large level's scene; with oneTexture every face uses the first texture (one group).
void BuildLevelScene(LevelScene& out, bool oneTexture) {
    const CDataLevel& level = bench::LargeLevel();
    testing::TextureForEveryName source(64, 64, true);
    SceneBuilder(source, SceneOptions{}).Build(level, out.scene);
    for (int row = 0; row < kLightLevels; ++row)
        for (int i = 0; i < 256; ++i)
            out.scene.m_ColourMap.push_back(std::uint8_t(i * (row + 1) / kLightLevels));
    if (oneTexture)
        for (SceneFace& face : out.scene.m_Faces)
            face.m_nTexture = 0;
    out.start = StartCamera(level, out.scene);
}

struct Fixture {
    ui::OffscreenTarget target;
    ui::SceneRenderer textured, baseline, sample;
    LevelScene large, flat;
    CDataLevel sampleLevel;
    Scene3D sampleScene;
    Camera3D overview, sampleStart;
    Status status;

    Fixture() {
        status = target.open(QSize(kWidth, kHeight));
        if (status) status = textured.initialize();
        if (status) status = baseline.initialize();
        if (status) status = sample.initialize();
        if (!status) return;
        BuildLevelScene(large, false);
        BuildLevelScene(flat, true);
        textured.setScene(large.scene);
        baseline.setScene(flat.scene);
        // High over the level's first rooms, looking down across it.
        overview = large.start;
        overview.y += 40.0f * kSceneScale;
        overview.m_fPitch = -0.5f;
        const std::filesystem::path share(MORVI_SHARE_DIR);
        if (LoadLevelFile(sampleLevel, share / "sample" / "sample.gob", {})) {
            ResourceCache cache(share / "demo", share / "demo");
            LevelSceneSource source(sampleLevel, cache);
            SceneBuilder(source, SceneOptions{}).Build(sampleLevel, sampleScene);
            sample.setScene(sampleScene);
            sampleStart = StartCamera(sampleLevel, sampleScene);
        }
    }
};

std::unique_ptr<Fixture> g_fixture;

void Frame(benchmark::State& state, ui::SceneRenderer& renderer, const Camera3D& camera, bool linear) {
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    for (auto _ : state) {
        renderer.draw(camera, kWidth, kHeight, ui::RenderOptions{linear});
        gl->glFinish();
    }
    state.counters["draw_calls"] = renderer.drawCalls();
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BaselineOneTexture(benchmark::State& state) {
    Frame(state, g_fixture->baseline, g_fixture->overview, false);
}
void LargeLevelOverview(benchmark::State& state) {
    Frame(state, g_fixture->textured, g_fixture->overview, false);
}
void LargeLevelOverviewLinear(benchmark::State& state) {
    Frame(state, g_fixture->textured, g_fixture->overview, true);
}
void LargeLevelFromStart(benchmark::State& state) {
    Frame(state, g_fixture->textured, g_fixture->large.start, false);
}
void SampleLevelFromStart(benchmark::State& state) {
    Frame(state, g_fixture->sample, g_fixture->sampleStart, false);
}

BENCHMARK(BaselineOneTexture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LargeLevelOverview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LargeLevelOverviewLinear)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LargeLevelFromStart)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SampleLevelFromStart)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::printf("bench_view3d_frame: skipped, no display to make an OpenGL context on (run it under "
                    "xvfb-run -a)\n");
        return 0;
    }
    QGuiApplication app(argc, argv);
    g_fixture = std::make_unique<Fixture>();
    if (!g_fixture->status) {
        std::printf("bench_view3d_frame: skipped, %s\n", g_fixture->status.message().c_str());
        return 0;
    }
    const int result = morvi::bench::RunWithRatios(argc, argv,
                                                   {{"LargeLevelOverview", "BaselineOneTexture", 2.0},
                                                    {"LargeLevelOverviewLinear", "BaselineOneTexture", 0.0}});
    g_fixture->target.makeCurrent(); // the renderers free their objects in their own context
    g_fixture.reset();
    return result;
}
