// The bundled sample level as the 3D view shows it from the player start, with the demo
// archives standing in for the game's: the middle pixel has the colour of the texel the view's
// middle ray meets first, found here by casting that ray through the scene's own faces.
#include "view3d/OffscreenRender.h"

#include "gamefiles/LevelArchive.h"
#include "model/CDataLevel.h"
#include "resources/ResourceCache.h"
#include "view3d/LevelSceneSource.h"

#include <QVector3D>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <set>

namespace morvi::ui {
namespace {

struct Hit {
    float distance = 0.0f;
    const SceneFace* face = nullptr;
    float u = 0.0f, v = 0.0f;
};

// Where the ray from origin along direction first meets one of the scene's faces (each a fan of
// triangles), with the texture coordinates there.
std::optional<Hit> CastRay(const Scene3D& scene, QVector3D origin, QVector3D direction) {
    std::optional<Hit> nearest;
    for (const SceneFace& face : scene.m_Faces) {
        if (face.m_Kind == FaceKind::Sky || face.m_Kind == FaceKind::Pit) continue;
        const SceneVertex* v = &scene.m_Vertices[face.m_nFirstVertex];
        for (int k = 1; k + 1 < face.m_nVertexCount; ++k) {
            const SceneVertex& a = v[0];
            const SceneVertex& b = v[k];
            const SceneVertex& c = v[k + 1];
            const QVector3D pa(a.x, a.y, a.z), e1 = QVector3D(b.x, b.y, b.z) - pa,
                                               e2 = QVector3D(c.x, c.y, c.z) - pa;
            const QVector3D p = QVector3D::crossProduct(direction, e2);
            const float det = QVector3D::dotProduct(e1, p);
            if (std::abs(det) < 1e-9f) continue;
            const QVector3D t = origin - pa;
            const float s1 = QVector3D::dotProduct(t, p) / det;
            const QVector3D q = QVector3D::crossProduct(t, e1);
            const float s2 = QVector3D::dotProduct(direction, q) / det;
            const float distance = QVector3D::dotProduct(e2, q) / det;
            if (s1 < 0 || s2 < 0 || s1 + s2 > 1 || distance <= 0.05f) continue;
            if (nearest && nearest->distance <= distance) continue;
            const float w = 1 - s1 - s2;
            nearest = Hit{distance, &face, w * a.u + s1 * b.u + s2 * c.u, w * a.v + s1 * b.v + s2 * c.v};
        }
    }
    return nearest;
}

// The colours the texels round (u, v) show under the face's light.
std::set<QRgb> TexelColours(const Scene3D& scene, const Hit& hit) {
    std::set<QRgb> colours;
    const auto shown = [&](int index) {
        if (!scene.m_ColourMap.empty())
            index = scene.m_ColourMap[std::size_t(hit.face->m_nLight) * 256 + index];
        const std::uint32_t c = scene.m_Palette.DisplayColour(std::size_t(index));
        return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    };
    if (hit.face->m_nTexture < 0) return {shown(hit.face->m_nColour)};
    const SceneTexture& texture = scene.m_Textures[std::size_t(hit.face->m_nTexture)];
    const int x = int(std::floor(hit.u * float(texture.m_nWidth2)));
    const int y = int(std::floor(hit.v * float(texture.m_nHeight2)));
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const int tx = ((x + dx) % texture.m_nWidth2 + texture.m_nWidth2) % texture.m_nWidth2;
            const int ty = ((y + dy) % texture.m_nHeight2 + texture.m_nHeight2) % texture.m_nHeight2;
            colours.insert(shown(texture.m_Pixels[std::size_t(ty * texture.m_nStride + tx)]));
        }
    return colours;
}

Scene3D SampleScene(CDataLevel& level, std::vector<std::string>* missing = nullptr) {
    const std::filesystem::path share(MORVI_SHARE_DIR);
    EXPECT_TRUE(LoadLevelFile(level, share / "sample" / "sample.gob", {}).ok());
    ResourceCache cache(share / "demo", share / "demo");
    LevelSceneSource source(level, cache);
    SceneBuilder builder(source, SceneOptions{});
    Scene3D scene;
    builder.Build(level, scene);
    if (missing) *missing = scene.m_Missing;
    return scene;
}

TEST(SampleLevelView, TheMiddlePixelShowsTheTexelTheMiddleRayMeets) {
    CDataLevel level;
    std::vector<std::string> missing;
    Scene3D scene = SampleScene(level, &missing);
    EXPECT_TRUE(missing.empty());
    scene.m_Sprites.clear(); // the ray below meets faces only
    ASSERT_TRUE(scene.m_Start.m_bFound);
    ASSERT_FALSE(scene.m_ColourMap.empty());
    Camera3D camera = StartCamera(level, scene);
    // Three views round the start: ahead, a quarter turn and a half turn.
    for (const float turn : {0.0f, 1.5708f, 3.1416f}) {
        camera.m_fYaw = scene.m_Start.m_fYaw + turn;
        QImage image;
        ASSERT_TRUE(RenderSceneOffscreen(scene, camera, QSize(201, 151), RenderOptions{}, image).ok());
        const auto hit = CastRay(scene, {camera.x, camera.y, camera.z},
                                 {std::sin(camera.m_fYaw), 0.0f, std::cos(camera.m_fYaw)});
        ASSERT_TRUE(hit.has_value()) << "turn " << turn;
        const std::set<QRgb> colours = TexelColours(scene, *hit);
        EXPECT_TRUE(colours.count(image.pixel(100, 75)))
            << "turn " << turn << ": face of sector " << hit->face->m_nSector << " wall "
            << hit->face->m_nWall;
    }
}

// A level whose textures are all missing still draws: every face in its flat colour.
TEST(SampleLevelView, MissingTexturesLeaveFlatFaces) {
    CDataLevel level;
    Scene3D scene = SampleScene(level);
    for (SceneFace& face : scene.m_Faces)
        face.m_nTexture = -1;
    scene.m_Textures.clear();
    scene.m_Sprites.clear();
    const Camera3D camera = StartCamera(level, scene);
    QImage image;
    ASSERT_TRUE(RenderSceneOffscreen(scene, camera, QSize(201, 151), RenderOptions{}, image).ok());
    const auto hit = CastRay(scene, {camera.x, camera.y, camera.z},
                             {std::sin(camera.m_fYaw), 0.0f, std::cos(camera.m_fYaw)});
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(TexelColours(scene, *hit), std::set<QRgb>{image.pixel(100, 75)});
}

} // namespace
} // namespace morvi::ui
