#pragma once

#include "resources/GamePalette.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

class CDataLevel;

// What the 3D view draws, built from the level without any graphics library.
//
// Scene coordinates are level coordinates times kSceneScale. The height axis points the other way
// from the level's altitudes: a floor at altitude a lies at height -kSceneScale * a. The axes are
// left-handed: looking along +Z with +Y up, +X is on the right (east is on the right when the
// camera faces north on the map). A renderer must keep that (no mirrored picture).
inline constexpr float kSceneScale = 0.05f;
// The game's texture scale: texels per level unit.
inline constexpr double kTexelsPerUnit = 8.0;
// Colour map rows: 0 is the darkest light level, 31 full light.
inline constexpr int kLightLevels = 32;
inline constexpr int kFullLight = kLightLevels - 1;

// A texture: 8-bit palette indices, sides rounded up to powers of two. Rows run bottom-up as in
// IndexedImage: row 0 holds the picture's bottom line, so v = 0 meets it. A picture whose sides
// are not both powers of two sits in rows 0..height-1 and columns 0..width-1, the rest is 0.
// Each row is m_nStride bytes (the power-of-two width rounded up to a multiple of 4).
struct SceneTexture {
    std::string m_strName; // the resource name as asked for
    int m_nWidth = 0;      // the picture's own size
    int m_nHeight = 0;
    int m_nWidth2 = 0; // the power-of-two size
    int m_nHeight2 = 0;
    int m_nStride = 0;
    bool m_bDecal = false;              // sprites: index 0 is transparent
    std::vector<std::uint8_t> m_Pixels; // m_nStride * m_nHeight2 bytes
};

enum class FaceKind : std::uint8_t {
    Mid,    // wall without adjoin, floor to ceiling
    Top,    // adjoined wall above the next sector's ceiling
    Bottom, // adjoined wall below the next sector's floor
    Sign,   // the sign texture laid over a wall part
    Floor,
    Ceiling,
    Sky,   // ceiling of a sector open to the sky: textured by view direction with the parallax
    Pit,   // floor of a pit: the same
    Model, // a 3D object's polygon
};

struct SceneVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f; // scene units
    float u = 0.0f, v = 0.0f;           // texture coordinates (1.0 = the power-of-two side)
};

// One convex polygon: m_nVertexCount vertices from m_nFirstVertex in Scene3D::m_Vertices, in
// order around the polygon. Walls are quads (bottom-start, top-start, top-end, bottom-end),
// floors and ceilings triangles of their sector's area.
struct SceneFace {
    std::uint32_t m_nFirstVertex = 0;
    std::uint16_t m_nVertexCount = 0;
    FaceKind m_Kind = FaceKind::Mid;
    std::uint8_t m_nLight = kFullLight; // colour map row (0..31)
    int m_nTexture = -1;                // index into Scene3D::m_Textures; -1: flat m_nColour
    std::uint8_t m_nColour = 0;         // palette index of an untextured face
    int m_nSector = -1;
    int m_nWall = -1;
    int m_nObject = -1; // Model faces: the object's index
};

// One view of a sprite: the texture of the frame shown and where it stands against the object's
// anchor, in level units (left edge, bottom edge, size); m_bFlip mirrors it left to right.
struct SpriteView {
    int m_nTexture = -1;
    float m_fLeft = 0.0f;
    float m_fBottom = 0.0f;
    float m_fWidth = 0.0f;
    float m_fHeight = 0.0f;
    bool m_bFlip = false;
};

// A SPRITE (WAX) or FRAME (FME) object, drawn facing the camera. A FME has one view; a WAX one per
// view of its first state (32 at most, view i seen from i x 11.25 degrees round the object).
struct SceneSprite {
    int m_nObject = -1;
    float x = 0.0f, y = 0.0f, z = 0.0f; // the anchor, scene units
    float m_fYaw = 0.0f;                // degrees, as in the O file
    std::uint8_t m_nLight = kFullLight;
    std::vector<SpriteView> m_Views;
};

// A SOUND object (or an object with a sound) placed in the scene.
struct SceneSound {
    int m_nObject = -1;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    std::string m_strName; // the VOC member
};

// Where the camera starts: the level's player start when it has one.
struct SceneStart {
    bool m_bFound = false;
    float x = 0.0f, y = 0.0f, z = 0.0f; // scene units, at eye height
    float m_fYaw = 0.0f;                // radians
    int m_nSector = -1;
};

struct Scene3D {
    std::vector<SceneTexture> m_Textures;
    std::vector<SceneVertex> m_Vertices;
    // Every face; faces with the same texture stand together (ordered by m_nTexture, -1 first).
    std::vector<SceneFace> m_Faces;
    std::vector<SceneSprite> m_Sprites;
    std::vector<SceneSound> m_Sounds;
    SceneStart m_Start;
    // The level's palette, and its colour map (kLightLevels rows of 256 indices) or empty when the
    // level has none or lighting is off: faces are then drawn in the palette's colours unlit.
    GamePalette m_Palette;
    std::vector<std::uint8_t> m_ColourMap;
    // The LEV header's parallax: texels of the sky texture per full turn across and up.
    float m_fParallax1 = 1024.0f;
    float m_fParallax2 = 1024.0f;
    // Names of resources that could not be loaded (each once), for the status line.
    std::vector<std::string> m_Missing;
};

// Where the builder reads resources from: the level's own members first, then the game archives
// (textures.gob for BM, sprites.gob for WAX and FME, dark.gob for 3DO, PAL and CMP, sounds.gob for
// VOC).
class SceneResourceSource {
public:
    virtual ~SceneResourceSource() = default;
    // The member's bytes; false when no member of that name (any case) exists.
    virtual bool Find(std::string_view name, std::vector<std::uint8_t>& bytes) = 0;
};

struct SceneOptions {
    bool m_bLighting = true; // light through the colour map when the level has one
    bool m_b3DO = true;      // 3D objects as models (else left out)
};

// Builds scenes of a level. The textures found stay in the scene between builds: a rebuild after
// an edit (same Scene3D object) keeps every texture's index and only appends textures not loaded
// before, so a renderer uploads only textures beyond those it already has. Geometry, sprites,
// sounds and the start are made afresh on every build.
class SceneBuilder {
public:
    SceneBuilder(SceneResourceSource& resources, SceneOptions options)
        : m_Resources(resources), m_Options(options) {}

    void Build(const CDataLevel& level, Scene3D& scene);

private:
    SceneResourceSource& m_Resources;
    SceneOptions m_Options;
};

// A picture's side rounded up to the next power of two (1 for 0 or less).
int PowerOfTwo(int side);

} // namespace morvi
