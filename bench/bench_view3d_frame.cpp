// One frame of the perspective view at 1280 x 720 into an offscreen framebuffer: a floor of about
// 150,000 triangles over 200 textures of 64 x 64, lit through the colour map, drawn as the view
// draws it (one draw call per texture), against the same triangles with one texture in a single
// draw call. Every frame ends with glFinish so that the GPU's work is counted. Needs a display: run
// it under xvfb-run -a.
#include "BenchRatio.h"

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
constexpr int kTextures = 200;
constexpr int kSide = 274;    // quads along each side of the floor: 2 x 274 x 274 triangles
constexpr float kQuad = 0.2f; // scene units

// A floor of kSide x kSide quads in front of the camera, textures spread over it, faces grouped by
// texture as the scene builder leaves them. textures = 1 gives the baseline's single texture.
Scene3D FloorScene(int textures) {
    Scene3D scene;
    std::uint32_t seed = 12345;
    const auto random = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 24; };
    for (int t = 0; t < textures; ++t) {
        SceneTexture texture{"T" + std::to_string(t) + ".BM", 64, 64, 64, 64, 64, false, {}};
        for (int i = 0; i < 64 * 64; ++i)
            texture.m_Pixels.push_back(std::uint8_t(random()));
        scene.m_Textures.push_back(std::move(texture));
    }
    for (int row = 0; row < kLightLevels; ++row)
        for (int i = 0; i < 256; ++i)
            scene.m_ColourMap.push_back(std::uint8_t(i * (row + 1) / kLightLevels));
    for (int i = 0; i < 256; ++i)
        scene.m_Palette.SetEntry(std::size_t(i), std::uint8_t(i / 4), std::uint8_t(i % 64),
                                 std::uint8_t(63 - i / 4));

    for (int q = 0; q < kSide * kSide; ++q) {
        const float x = (float(q % kSide) - kSide / 2.0f) * kQuad, z = float(q / kSide) * kQuad;
        scene.m_Faces.push_back({std::uint32_t(scene.m_Vertices.size()), 4, FaceKind::Floor,
                                 std::uint8_t(q % kLightLevels), (q * 7 + q / kSide) % textures, 0, -1, -1,
                                 -1});
        const std::pair<int, int> corners[] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
        for (const auto& [dx, dz] : corners)
            scene.m_Vertices.push_back({x + dx * kQuad, -1.0f, z + dz * kQuad, float(dx), float(dz)});
    }
    std::stable_sort(scene.m_Faces.begin(), scene.m_Faces.end(),
                     [](const SceneFace& a, const SceneFace& b) { return a.m_nTexture < b.m_nTexture; });
    return scene;
}

struct Fixture {
    ui::OffscreenTarget target;
    ui::SceneRenderer textured, baseline;
    Camera3D camera;
    Status status;

    Fixture() {
        camera.y = 0.5f;
        camera.m_fPitch = -0.35f;
        status = target.open(QSize(kWidth, kHeight));
        if (status) status = textured.initialize();
        if (status) status = baseline.initialize();
        if (!status) return;
        textured.setScene(FloorScene(kTextures));
        baseline.setScene(FloorScene(1));
    }
};

std::unique_ptr<Fixture> g_fixture;

void Frame(benchmark::State& state, ui::SceneRenderer& renderer, bool linear) {
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    for (auto _ : state) {
        renderer.draw(g_fixture->camera, kWidth, kHeight, ui::RenderOptions{linear});
        gl->glFinish();
    }
    state.counters["draw_calls"] = renderer.drawCalls();
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BaselineOneTexture(benchmark::State& state) {
    Frame(state, g_fixture->baseline, false);
}
void FrameNearest(benchmark::State& state) {
    Frame(state, g_fixture->textured, false);
}
void FrameLinear(benchmark::State& state) {
    Frame(state, g_fixture->textured, true);
}

BENCHMARK(BaselineOneTexture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FrameNearest)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FrameLinear)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    const int result = morvi::bench::RunWithRatios(
        argc, argv,
        {{"FrameNearest", "BaselineOneTexture", 2.0}, {"FrameLinear", "BaselineOneTexture", 0.0}});
    g_fixture->target.makeCurrent(); // the renderers free their objects in their own context
    g_fixture.reset();
    return result;
}
