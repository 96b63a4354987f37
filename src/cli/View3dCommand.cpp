// morvi-cli level view3d: one frame of the 3D view, drawn offscreen, as a PNG file.
#include "CliArgs.h"

#include "app/AppPaths.h"
#include "document/CMorviDoc.h"
#include "resources/ResourceCache.h"
#include "view3d/Camera3D.h"
#include "view3d/LevelSceneSource.h"
#include "view3d/OffscreenRender.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <sstream>

namespace morvi::cli {

namespace {

// X,Y,Z,YAW[,PITCH]: the position in level units as the status panes show it (Y up), the yaw in
// degrees and the pitch term (-1 to 1).
bool ParseCameraPlace(const std::string& text, Camera3D& camera) {
    std::vector<double> values;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        char* end = nullptr;
        const double value = std::strtod(item.c_str(), &end);
        if (item.empty() || *end != '\0' || !std::isfinite(value)) return false;
        values.push_back(value);
    }
    if (values.size() != 4 && values.size() != 5) return false;
    camera.x = static_cast<float>(values[0]) * kSceneScale;
    camera.y = static_cast<float>(values[1]) * kSceneScale;
    camera.z = static_cast<float>(values[2]) * kSceneScale;
    camera.m_fYaw = static_cast<float>(values[3] * std::numbers::pi / 180.0);
    if (values.size() == 5) {
        if (values[4] < -1.0 || values[4] > 1.0) return false;
        camera.m_fPitch = static_cast<float>(values[4]);
    }
    return true;
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

} // namespace

int RenderLevel3D(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() != 2) return UsageError("level view3d takes a level file and an output picture");
    int width = 1280, height = 720;
    if (auto size = args.value("--size")) {
        const auto x = size->find('x');
        if (x == std::string::npos || !ParseCount(size->substr(0, x), width) ||
            !ParseCount(size->substr(x + 1), height) || width < 16 || height < 16 || width > 8192 ||
            height > 8192)
            return UsageError("--size takes WIDTHxHEIGHT, 16 to 8192 pixels each (as in 1280x720)");
    }
    const std::string from = args.value("--from").value_or("player");
    Camera3D place;
    if (from != "player" && !ParseCameraPlace(from, place))
        return UsageError("--from takes player or X,Y,Z,YAW[,PITCH] (as in 32,6,32,90)");
    if (args.flag("--demo") && args.value("--game"))
        return UsageError("--demo and --game exclude each other");
    if (!HasDisplay())
        return Fail("level view3d draws with OpenGL and needs a display (run it under xvfb-run)");

    int argc = 1;
    char name[] = "morvi-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    CMorviDoc doc;
    if (Status s = LoadLevelDocument(p[0], args, doc); !s) return Fail(s.message());
    std::filesystem::path folder;
    if (args.flag("--demo"))
        folder = ui::DemoDir().toStdString();
    else if (auto game = args.value("--game"))
        folder = *game;
    ResourceCache cache(folder, folder);
    LevelSceneSource source(doc.level(), cache);
    SceneOptions options;
    options.m_bLighting = !args.flag("--flat");
    SceneBuilder builder(source, options);
    Scene3D scene;
    builder.Build(doc.level(), scene);
    const Camera3D camera = from == "player" ? StartCamera(doc.level(), scene) : place;

    QImage image;
    if (Status s = ui::RenderSceneOffscreen(scene, camera, QSize(width, height), ui::RenderOptions{}, image);
        !s)
        return Fail(s.message());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return Fail(p[1] + ": the picture could not be encoded");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(png.constData());
    if (Status s = WriteBytesFile(p[1], {bytes, static_cast<std::size_t>(png.size())}); !s)
        return Fail(s.message());
    std::printf("%s: %d x %d, %zu faces, %zu textures, camera at %.2f %.2f %.2f, %zu missing\n", p[1].c_str(),
                width, height, scene.m_Faces.size(), scene.m_Textures.size(), camera.LevelX(),
                camera.LevelY(), camera.LevelZ(), scene.m_Missing.size());
    return 0;
}

} // namespace morvi::cli
