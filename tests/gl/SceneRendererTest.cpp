#include "view3d/OffscreenRender.h"

#include <QGuiApplication>
#include <QVector3D>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <tuple>

namespace morvi::ui {
namespace {

constexpr int kSize = 64;
constexpr float kHalfTurn = std::numbers::pi_v<float>;

// Every index has its own colour: red holds its low six bits, green its high six.
QRgb Colour(int index) {
    return qRgb(4 * (index & 63), 4 * ((index >> 2) & 63), 4 * (63 - (index & 63)));
}

SceneTexture Texture(std::string name, int width, int height, int width2, int height2,
                     const std::function<int(int, int)>& index, bool decal = false) {
    SceneTexture texture{std::move(name), width, height, width2, height2, width2, decal, {}};
    for (int y = 0; y < height2; ++y)
        for (int x = 0; x < width2; ++x)
            texture.m_Pixels.push_back(std::uint8_t(index(x, y)));
    return texture;
}

Scene3D EmptyScene(bool colourMap) {
    Scene3D scene;
    for (int i = 0; i < 256; ++i)
        scene.m_Palette.SetEntry(std::size_t(i), std::uint8_t(i & 63), std::uint8_t((i >> 2) & 63),
                                 std::uint8_t(63 - (i & 63)));
    for (int row = 0; colourMap && row < kLightLevels; ++row)
        for (int i = 0; i < 256; ++i)
            scene.m_ColourMap.push_back(std::uint8_t(i + row)); // row r lifts every index by r
    return scene;
}

// A square of half side `half` round `centre`, square to a camera turned by yaw, with u and v
// running from 0 to uMax and vMax.
void AddQuad(Scene3D& scene, QVector3D centre, float yaw, float half, int texture, int colour,
             int light = kFullLight, float uMax = 1.0f, float vMax = 1.0f) {
    const QVector3D right = QVector3D(std::cos(yaw), 0.0f, -std::sin(yaw)) * half, up(0.0f, half, 0.0f);
    scene.m_Faces.push_back({std::uint32_t(scene.m_Vertices.size()), 4, FaceKind::Mid, std::uint8_t(light),
                             texture, std::uint8_t(colour), -1, -1, -1});
    const std::tuple<QVector3D, float, float> corners[] = {{centre - right - up, 0.0f, 0.0f},
                                                           {centre - right + up, 0.0f, vMax},
                                                           {centre + right + up, uMax, vMax},
                                                           {centre + right - up, uMax, 0.0f}};
    for (const auto& [corner, u, v] : corners)
        scene.m_Vertices.push_back({corner.x(), corner.y(), corner.z(), u, v});
}

Camera3D CameraAt(float x, float z, float yaw) {
    Camera3D camera;
    camera.x = x;
    camera.z = z;
    camera.m_fYaw = yaw;
    return camera;
}

QImage Render(const Scene3D& scene, const Camera3D& camera = {}, bool linear = false) {
    QImage image;
    const Status status =
        RenderSceneOffscreen(scene, camera, QSize(kSize, kSize), RenderOptions{linear}, image);
    EXPECT_TRUE(status.ok()) << status.message();
    return image;
}

// The wall fills the view: the field of view spans 2 units at distance 2.
TEST(SceneRenderer, FacesShowThePaletteColourOfTheirIndexThroughTheColourMap) {
    struct Case {
        int texture, colour, light;
        bool colourMap, linear;
        int shown;
    };
    const Case cases[] = {
        {0, 0, kFullLight, false, false, 7},
        {0, 0, 5, true, false, 12},
        {-1, 42, kFullLight, false, false, 42},
        {-1, 42, 3, true, false, 45},
        {0, 0, 5, false, false, 7},
        {0, 0, 5, true, true, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "texture " << c.texture << ", light " << c.light);
        Scene3D scene = EmptyScene(c.colourMap);
        scene.m_Textures.push_back(Texture("WALL.BM", 64, 64, 64, 64, [](int, int) { return 7; }));
        AddQuad(scene, {0, 0, 2}, 0, 1, c.texture, c.colour, c.light);
        EXPECT_EQ(Render(scene, {}, c.linear).pixel(kSize / 2, kSize / 2), Colour(c.shown));
    }
}

TEST(SceneRenderer, DecalSpritesShowWhatIsBehindTheirIndexZeroAndFlipMirrorsThem) {
    for (const bool flip : {false, true}) {
        Scene3D scene = EmptyScene(false);
        scene.m_Textures.push_back(Texture(
            "ENEMY.WAX", 64, 64, 64, 64, [](int x, int) { return x < 32 ? 0 : 9; }, true));
        AddQuad(scene, {0, 0, 4}, 0, 3, -1, 20);
        scene.m_Sprites.push_back(
            {0, 0.0f, 0.0f, 2.0f, 0.0f, kFullLight, {{0, -20.0f, -20.0f, 40.0f, 40.0f, flip}}});
        const QImage image = Render(scene);
        EXPECT_EQ(image.pixel(kSize / 4, kSize / 2), Colour(flip ? 9 : 20)) << flip;
        EXPECT_EQ(image.pixel(3 * kSize / 4, kSize / 2), Colour(flip ? 20 : 9)) << flip;
    }
}

// The picture's bottom rows (stored first) hold 5, its top rows 6; the padding 250 must never show.
TEST(SceneRenderer, PaddedTexturesShowOnlyTheirPictureTheRightWayUp) {
    Scene3D scene = EmptyScene(false);
    scene.m_Textures.push_back(Texture("DOOR.BM", 40, 20, 64, 32, [](int x, int y) {
        return x >= 40 || y >= 20 ? 250 : y < 10 ? 5 : 6;
    }));
    AddQuad(scene, {0, 0, 2}, 0, 1, 0, 0, kFullLight, 40.0f / 64, 20.0f / 32);
    const QImage image = Render(scene);
    int wrong = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (y != kSize / 2 - 1 && y != kSize / 2)
                wrong += image.pixel(x, y) != Colour(y < kSize / 2 ? 6 : 5);
    EXPECT_EQ(wrong, 0);
}

TEST(SceneRenderer, PictureIsNotMirrored) {
    struct Case {
        float yaw;
        QVector3D centre;
        QPoint shown, empty;
    };
    const QPoint left(kSize / 4, kSize / 2), right(3 * kSize / 4, kSize / 2), top(kSize / 2, kSize / 4),
        bottom(kSize / 2, 3 * kSize / 4);
    const Case cases[] = {
        {0, {0.6f, 0, 2}, right, left},          {0, {-0.6f, 0, 2}, left, right},
        {0, {0, 0.6f, 2}, top, bottom},          {kHalfTurn / 2, {2, 0, -0.6f}, right, left},
        {kHalfTurn, {0.6f, 0, -2}, left, right}, {-kHalfTurn / 2, {-2, 0, -0.6f}, left, right},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "yaw " << c.yaw);
        Scene3D scene = EmptyScene(false);
        AddQuad(scene, c.centre, c.yaw, 0.4f, -1, 10);
        const QImage image = Render(scene, CameraAt(0, 0, c.yaw));
        EXPECT_EQ(image.pixel(c.shown), Colour(10));
        EXPECT_EQ(image.pixel(c.empty), qRgb(0, 0, 0));
    }
}

// Columns alternate between indices 1 and 200, four texels across the view.
TEST(SceneRenderer, LinearFilteringMixesNeighbouringTexelsColours) {
    Scene3D scene = EmptyScene(false);
    scene.m_Textures.push_back(
        Texture("GRID.BM", 64, 64, 64, 64, [](int x, int) { return x % 2 ? 200 : 1; }));
    AddQuad(scene, {0, 0, 2}, 0, 1, 0, 0, kFullLight, 4.0f / 64, 4.0f / 64);
    const int green = qGreen(Render(scene, {}, false).pixel(kSize / 4, kSize / 2));
    EXPECT_TRUE(green == qGreen(Colour(1)) || green == qGreen(Colour(200))) << green;
    const int mixed = qGreen(Render(scene, {}, true).pixel(kSize / 4, kSize / 2));
    EXPECT_GT(mixed, qGreen(Colour(1)) + 40);
    EXPECT_LT(mixed, qGreen(Colour(200)) - 40);
}

// Sky stays at infinity: moving the camera leaves it, turning scrolls it.
TEST(SceneRenderer, SkyFollowsTheViewDirectionOnly) {
    Scene3D scene = EmptyScene(false);
    scene.m_Textures.push_back(Texture("SKY.BM", 64, 64, 64, 64, [](int x, int) { return x; }));
    AddQuad(scene, {0, 0, 40}, 0, 60, 0, 0);
    scene.m_Faces.back().m_Kind = FaceKind::Sky;
    const QRgb still = Render(scene).pixel(kSize / 2, kSize / 2);
    EXPECT_EQ(Render(scene, CameraAt(1.5f, 3.0f, 0)).pixel(kSize / 2, kSize / 2), still);
    EXPECT_NE(Render(scene, CameraAt(0, 0, 0.3f)).pixel(kSize / 2, kSize / 2), still);
}

// One draw per texture group and per sprite shown; a rebuild adds textures, another scene replaces them.
TEST(SceneRenderer, DrawsOncePerTextureAndKeepsTexturesAcrossRebuilds) {
    OffscreenTarget target;
    ASSERT_TRUE(target.open(QSize(kSize, kSize)).ok());
    SceneRenderer renderer;
    const Status status = renderer.initialize();
    ASSERT_TRUE(status.ok()) << status.message();
    Scene3D scene = EmptyScene(false);
    const auto solid = [](int index) { return [index](int, int) { return index; }; };
    scene.m_Textures = {Texture("A.BM", 64, 64, 64, 64, solid(7)), Texture("B.BM", 64, 64, 64, 64, solid(9))};
    for (const int texture : {1, -1, 0, 1})
        AddQuad(scene, {0, 0, 2}, 0, 1, texture, 3);
    scene.m_Sprites.push_back({0, 0, 0, 9, 0, kFullLight, {{0, 0, 0, 8, 8, false}}});
    scene.m_Sprites.push_back({1, 0, 0, 9, 0, kFullLight, {}});
    scene.m_Sprites.push_back({2, 0, 0, 9, 0, kFullLight, {{-1, 0, 0, 8, 8, false}}});
    renderer.setScene(scene);
    renderer.draw({}, kSize, kSize, {});
    EXPECT_EQ(renderer.drawCalls(), 4);

    const auto showsCentre = [&](int index, int texture, Scene3D& s) {
        s.m_Faces.clear();
        s.m_Vertices.clear();
        s.m_Sprites.clear();
        AddQuad(s, {0, 0, 2}, 0, 1, texture, 0);
        renderer.setScene(s);
        renderer.draw({}, kSize, kSize, {});
        EXPECT_EQ(target.image().pixel(kSize / 2, kSize / 2), Colour(index)) << texture;
    };
    scene.m_Textures.push_back(Texture("C.BM", 64, 64, 64, 64, solid(11)));
    showsCentre(11, 2, scene);
    showsCentre(7, 0, scene);
    Scene3D other = EmptyScene(false);
    for (const char* name : {"D.BM", "E.BM", "F.BM"})
        other.m_Textures.push_back(Texture(name, 64, 64, 64, 64, solid(13)));
    showsCentre(13, 0, other);
}

} // namespace
} // namespace morvi::ui

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
