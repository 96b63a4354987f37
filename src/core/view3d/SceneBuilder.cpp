#include "view3d/Camera3D.h"
#include "view3d/ColourMap.h"
#include "view3d/Scene3D.h"
#include "view3d/SceneTextures.h"
#include "view3d/SurfaceTessellator.h"

#include "mapedit/MapTypes.h"
#include "model/CDataLevel.h"
#include "model/LevelGeometry.h"
#include "model/ModelOps.h"
#include "model/SectorGrid.h"
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "resources/FmeFile.h"
#include "resources/Model3D.h"
#include "resources/WaxFile.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace morvi {

namespace {

float Across(double levelUnits) {
    return static_cast<float>(kSceneScale * levelUnits);
}

// Scene height of an altitude: the level's altitudes grow downwards.
float Height(double altitude) {
    return static_cast<float>(-kSceneScale * altitude);
}

// Light values come from the file and may be anything: their sum must not overflow.
std::uint8_t LightRow(long long light) {
    return static_cast<std::uint8_t>(std::clamp<long long>(light, 0, kFullLight));
}

bool IsClass(const CDataObjectItem& object, std::string_view name) {
    return EqualsNoCase(object.m_strClass, name);
}

// Polygons of a 3D model that carry its texture; every other fill is a flat colour.
bool IsTexturedFill(std::string_view fill) {
    return EqualsNoCase(fill, "TEXTURE") || EqualsNoCase(fill, "GOURTEX") || StartsWithNoCase(fill, "PLANE");
}

bool HasPlayerLogic(const CDataObjectItem& object) {
    for (const auto& seq : object.m_pSeqs)
        if (EqualsNoCase(Trim(seq->m_strKey), "LOGIC") && EqualsNoCase(Trim(seq->m_strValue), "PLAYER"))
            return true;
    return false;
}

// How texture coordinates follow a wall part: u = m_dU * (s - m_dOffsetU) at s level units along
// the part, v = m_dV * (t - m_dOffsetV) at t level units above its bottom edge.
struct WallMapping {
    double m_dU = 0.0;
    double m_dOffsetU = 0.0;
    double m_dV = 0.0;
    double m_dOffsetV = 0.0;
};

// A wall part: from start to end on the map, between two heights (level units, growing upwards).
struct WallPart {
    PlanePoint m_Start;
    PlanePoint m_End;
    double m_dLength = 0.0;
    double m_dBottom = 0.0;
    double m_dTop = 0.0;
    FaceKind m_Kind = FaceKind::Mid;
    const CDataTexture* m_pTexture = nullptr;
};

// One level's scene in the making: the resources found during this build and the faces made.
class SceneAssembly {
public:
    SceneAssembly(SceneResourceSource& resources, SceneOptions options, const CDataLevel& level,
                  Scene3D& scene)
        : m_Resources(resources), m_Options(options), m_Level(level), m_Scene(scene) {}

    void Run();

private:
    // Resources.
    bool Read(std::string_view name, std::vector<std::uint8_t>& bytes);
    void NoteMissing(std::string_view name);
    int FindTexture(std::string_view key) const;
    int AddTexture(SceneTexture texture);
    int BmTexture(std::string_view name);
    int LevelTexture(int index);
    void ReadPalette();
    void ReadColourMap();
    void ChooseFlatColour();

    // Sectors.
    const CDataSector* Sector(int index) const { return ItemAt(m_Level.m_Lev.m_pSectors, index); }
    std::uint8_t SectorLight(const CDataSector& sector, int extra = 0) const;
    void AddSector(int index);
    void AddWall(int sectorIndex, const CDataSector& sector, int wallIndex);
    void AddWallPart(const WallPart& part, int texture, const CDataTexture& slot, std::uint8_t light,
                     int sector, int wall);
    void AddSign(const WallPart& part, const CDataWall& wall, std::uint8_t light, int sector, int wallIndex);
    void AddWallQuad(const WallPart& part, double s0, double s1, double t0, double t1, const WallMapping& map,
                     const SceneFace& face);
    void AddSurfaces(int index, const CDataSector& sector);
    void AddFace(SceneFace face, std::span<const SceneVertex> vertices);

    // Objects.
    int SectorAt(double x, double z, double altitude, int hint);
    void AddObjects();
    void AddSprite(int index, const CDataObjectItem& object, bool wax);
    const std::optional<std::vector<SpriteView>>& SpriteViews(const std::string& name, bool wax);
    std::optional<std::vector<SpriteView>> LoadWax(const std::string& name);
    std::optional<std::vector<SpriteView>> LoadFme(const std::string& name);
    int SpriteTexture(const std::string& key, std::span<const std::uint8_t> bytes, std::uint32_t offset,
                      const std::string& name);
    void AddModel(int index, const CDataObjectItem& object);
    void PlaceStart();

    SceneResourceSource& m_Resources;
    SceneOptions m_Options;
    const CDataLevel& m_Level;
    Scene3D& m_Scene;

    bool m_bLit = false;
    std::uint8_t m_nFlatColour = 0;
    std::unordered_map<std::string, int> m_TextureByKey; // upper-case key -> index
    std::unordered_set<std::string> m_Missing;           // upper-case names already reported
    std::vector<int> m_LevelTextures;                    // level texture index -> scene texture
    std::unordered_map<std::string, std::optional<std::vector<SpriteView>>> m_SpriteViews;
    std::unordered_map<std::string, std::optional<Model3D>> m_Models;
    SurfaceTessellator m_Tessellator;
    SectorGrid m_Grid;
    std::vector<int> m_Candidates;
    std::vector<PlanePoint> m_Triangles;
    std::vector<std::vector<PlanePoint>> m_Loops;
    std::vector<int> m_LoopStarts;
};

constexpr int kUnresolved = -2;

void SceneAssembly::Run() {
    m_Scene.m_Vertices.clear();
    m_Scene.m_Faces.clear();
    m_Scene.m_Sprites.clear();
    m_Scene.m_Sounds.clear();
    m_Scene.m_Start = {};
    m_Scene.m_ColourMap.clear();
    m_Scene.m_Missing.clear();
    m_Scene.m_fParallax1 = static_cast<float>(m_Level.m_Lev.m_dParallax1);
    m_Scene.m_fParallax2 = static_cast<float>(m_Level.m_Lev.m_dParallax2);
    for (std::size_t i = 0; i < m_Scene.m_Textures.size(); ++i)
        m_TextureByKey.emplace(ToUpper(m_Scene.m_Textures[i].m_strName), static_cast<int>(i));
    m_LevelTextures.assign(m_Level.m_Lev.m_Textures.size(), kUnresolved);

    // A wall gives about one quad, and floor and ceiling about two triangles for each wall.
    std::size_t walls = 0;
    for (const auto& sector : m_Level.m_Lev.m_pSectors)
        walls += sector->m_pWalls.size();
    m_Scene.m_Vertices.reserve(10 * walls);
    m_Scene.m_Faces.reserve(5 * walls / 2);
    ReadPalette();
    ReadColourMap();
    ChooseFlatColour();
    for (std::size_t i = 0; i < m_Level.m_Lev.m_pSectors.size(); ++i)
        AddSector(static_cast<int>(i));
    m_Grid.Build(m_Level.m_Lev.m_pSectors);
    AddObjects();
    PlaceStart();
    std::stable_sort(m_Scene.m_Faces.begin(), m_Scene.m_Faces.end(),
                     [](const SceneFace& a, const SceneFace& b) { return a.m_nTexture < b.m_nTexture; });
}

// ---- Resources -------------------------------------------------------------------------------

bool SceneAssembly::Read(std::string_view name, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (m_Resources.Find(name, bytes)) return true;
    NoteMissing(name);
    return false;
}

void SceneAssembly::NoteMissing(std::string_view name) {
    if (m_Missing.insert(ToUpper(name)).second) m_Scene.m_Missing.emplace_back(name);
}

int SceneAssembly::FindTexture(std::string_view key) const {
    const auto it = m_TextureByKey.find(ToUpper(key));
    return it == m_TextureByKey.end() ? -1 : it->second;
}

int SceneAssembly::AddTexture(SceneTexture texture) {
    const int index = static_cast<int>(m_Scene.m_Textures.size());
    m_TextureByKey.emplace(ToUpper(texture.m_strName), index);
    m_Scene.m_Textures.push_back(std::move(texture));
    return index;
}

int SceneAssembly::BmTexture(std::string_view name) {
    if (Trim(name).empty()) return -1;
    if (const int found = FindTexture(name); found >= 0) return found;
    if (m_Missing.contains(ToUpper(name))) return -1;
    std::vector<std::uint8_t> bytes;
    if (!Read(name, bytes)) return -1;
    std::vector<IndexedImage> frames;
    if (!DecodeBm(bytes, name, m_Scene.m_Palette, false, frames) || frames.empty()) {
        NoteMissing(name);
        return -1;
    }
    // An animated texture shows its first picture.
    return AddTexture(MakeSceneTexture(std::string(name), frames.front(), false));
}

int SceneAssembly::LevelTexture(int index) {
    if (!ValidIndex(m_LevelTextures.size(), index)) return -1;
    int& texture = m_LevelTextures[static_cast<std::size_t>(index)];
    if (texture == kUnresolved)
        texture = BmTexture(m_Level.m_Lev.m_Textures[static_cast<std::size_t>(index)].m_strName);
    return texture;
}

void SceneAssembly::ReadPalette() {
    m_Scene.m_Palette = GamePalette::Grey();
    const std::string& name = m_Level.m_Lev.m_strPalette;
    if (Trim(name).empty()) return;
    std::vector<std::uint8_t> bytes;
    if (!Read(name, bytes)) return;
    if (GamePalette palette; GamePalette::Read(bytes, name, palette))
        m_Scene.m_Palette = palette;
    else
        NoteMissing(name);
}

// A level without a colour map is drawn unlit: that is no fault, so nothing is reported.
void SceneAssembly::ReadColourMap() {
    if (!m_Options.m_bLighting) return;
    std::string levelName = m_Level.m_Lev.m_strLevelName;
    if (levelName.empty()) levelName = m_Level.CurrentLevelName();
    if (levelName.empty()) return;
    const std::string name = levelName + ".CMP";
    std::vector<std::uint8_t> bytes;
    if (!m_Resources.Find(name, bytes)) return;
    m_bLit = morvi::ReadColourMap(bytes, name, m_Scene.m_ColourMap).ok();
}

// Faces without a texture are drawn in the palette's colour nearest to a middle grey.
void SceneAssembly::ChooseFlatColour() {
    int best = 1 << 30;
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        int distance = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            const int d = m_Scene.m_Palette.m_Bytes[3 * i + c] - 32;
            distance += d * d;
        }
        if (distance < best) {
            best = distance;
            m_nFlatColour = static_cast<std::uint8_t>(i);
        }
    }
}

// ---- Sectors ---------------------------------------------------------------------------------

std::uint8_t SceneAssembly::SectorLight(const CDataSector& sector, int extra) const {
    return m_bLit ? LightRow(static_cast<long long>(sector.m_nAmbient) + extra)
                  : static_cast<std::uint8_t>(kFullLight);
}

void SceneAssembly::AddSector(int index) {
    const CDataSector& sector = *Sector(index);
    for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w)
        AddWall(index, sector, static_cast<int>(w));
    AddSurfaces(index, sector);
}

void SceneAssembly::AddWall(int sectorIndex, const CDataSector& sector, int wallIndex) {
    const CDataWall& wall = *sector.m_pWalls[static_cast<std::size_t>(wallIndex)];
    const CDataVertex* left = ItemAt(sector.m_pVertices, wall.m_nLeft);
    const CDataVertex* right = ItemAt(sector.m_pVertices, wall.m_nRight);
    if (!left || !right) return;
    const PlanePoint a{left->m_dX, left->m_dZ}, b{right->m_dX, right->m_dZ};
    const double length = PointDistance(a.x, a.z, b.x, b.z);
    if (!(length > 0.0) || !std::isfinite(length)) return;
    const std::uint8_t light = SectorLight(sector, wall.m_nLight);
    const double floor = -sector.m_dFloorAltitude, ceiling = -sector.m_dCeilingAltitude;

    const CDataSector* next = wall.m_nAdjoin >= 0 ? Sector(wall.m_nAdjoin) : nullptr;
    if (!next) {
        const WallPart mid{a, b, length, floor, ceiling, FaceKind::Mid, &wall.m_Mid};
        if (!(ceiling > floor)) return;
        AddWallPart(mid, LevelTexture(wall.m_Mid.m_nTexture), wall.m_Mid, light, sectorIndex, wallIndex);
        AddSign(mid, wall, light, sectorIndex, wallIndex);
        return;
    }
    // The parts of an adjoined wall face the next sector, so they run from the right vertex.
    const double nextFloor = -next->m_dFloorAltitude, nextCeiling = -next->m_dCeilingAltitude;
    const bool sky = (sector.m_nFlags1 & kSectorSky) && (next->m_nFlags1 & kSectorSky);
    const bool pit = (sector.m_nFlags1 & kSectorPit) && (next->m_nFlags1 & kSectorPit);
    const WallPart top{b,
                       a,
                       length,
                       std::max(nextCeiling, floor),
                       ceiling,
                       sky ? FaceKind::Sky : FaceKind::Top,
                       sky ? &sector.m_CeilingTexture : &wall.m_Top};
    const WallPart bottom{b,
                          a,
                          length,
                          floor,
                          std::min(nextFloor, ceiling),
                          pit ? FaceKind::Pit : FaceKind::Bottom,
                          pit ? &sector.m_FloorTexture : &wall.m_Bottom};
    const bool hasTop = top.m_dTop > top.m_dBottom, hasBottom = bottom.m_dTop > bottom.m_dBottom;
    if (hasTop)
        AddWallPart(top, LevelTexture(top.m_pTexture->m_nTexture), *top.m_pTexture, light, sectorIndex,
                    wallIndex);
    if (hasBottom)
        AddWallPart(bottom, LevelTexture(bottom.m_pTexture->m_nTexture), *bottom.m_pTexture, light,
                    sectorIndex, wallIndex);
    // A sign on an adjoined wall hangs on its upper part when it has one, else on the lower.
    if (hasTop && !sky)
        AddSign(top, wall, light, sectorIndex, wallIndex);
    else if (hasBottom && !pit)
        AddSign(bottom, wall, light, sectorIndex, wallIndex);
}

void SceneAssembly::AddWallPart(const WallPart& part, int texture, const CDataTexture& slot,
                                std::uint8_t light, int sector, int wall) {
    const double height = part.m_dTop - part.m_dBottom;
    WallMapping map{1.0 / part.m_dLength, 0.0, 1.0 / height, 0.0};
    if (texture >= 0) {
        const SceneTexture& t = m_Scene.m_Textures[static_cast<std::size_t>(texture)];
        map = {kTexelsPerUnit / t.m_nWidth2, slot.m_dOffsetX, kTexelsPerUnit / t.m_nHeight2, slot.m_dOffsetY};
    }
    SceneFace face;
    face.m_Kind = part.m_Kind;
    face.m_nLight = light;
    face.m_nTexture = texture;
    face.m_nColour = m_nFlatColour;
    face.m_nSector = sector;
    face.m_nWall = wall;
    AddWallQuad(part, 0.0, part.m_dLength, 0.0, height, map, face);
}

// The sign is drawn once, where its picture lies on the part: its offsets place the picture's
// bottom-left corner against the part's start and bottom edge, and what lies beyond the part is
// cut off.
void SceneAssembly::AddSign(const WallPart& part, const CDataWall& wall, std::uint8_t light, int sector,
                            int wallIndex) {
    const CDataTexture& sign = wall.m_Sign;
    if (sign.m_nTexture < 0) return;
    const int texture = LevelTexture(sign.m_nTexture);
    if (texture < 0) return;
    const SceneTexture& t = m_Scene.m_Textures[static_cast<std::size_t>(texture)];
    const double s0 = std::max(0.0, sign.m_dOffsetX);
    const double s1 = std::min(part.m_dLength, sign.m_dOffsetX + t.m_nWidth / kTexelsPerUnit);
    const double t0 = std::max(0.0, sign.m_dOffsetY);
    const double t1 = std::min(part.m_dTop - part.m_dBottom, sign.m_dOffsetY + t.m_nHeight / kTexelsPerUnit);
    if (!(s1 > s0) || !(t1 > t0)) return;
    SceneFace face;
    face.m_Kind = FaceKind::Sign;
    face.m_nLight = light;
    face.m_nTexture = texture;
    face.m_nSector = sector;
    face.m_nWall = wallIndex;
    AddWallQuad(
        part, s0, s1, t0, t1,
        {kTexelsPerUnit / t.m_nWidth2, sign.m_dOffsetX, kTexelsPerUnit / t.m_nHeight2, sign.m_dOffsetY},
        face);
}

void SceneAssembly::AddWallQuad(const WallPart& part, double s0, double s1, double t0, double t1,
                                const WallMapping& map, const SceneFace& face) {
    const auto corner = [&](double s, double t) {
        const double f = s / part.m_dLength;
        SceneVertex v;
        v.x = Across(part.m_Start.x + (part.m_End.x - part.m_Start.x) * f);
        v.z = Across(part.m_Start.z + (part.m_End.z - part.m_Start.z) * f);
        v.y = Across(part.m_dBottom + t);
        v.u = static_cast<float>(map.m_dU * (s - map.m_dOffsetU));
        v.v = static_cast<float>(map.m_dV * (t - map.m_dOffsetV));
        return v;
    };
    const SceneVertex quad[4] = {corner(s0, t0), corner(s0, t1), corner(s1, t1), corner(s1, t0)};
    AddFace(face, quad);
}

void SceneAssembly::AddSurfaces(int index, const CDataSector& sector) {
    m_LoopStarts.clear();
    BuildLoopStarts(sector, m_LoopStarts);
    m_Loops.resize(m_LoopStarts.size());
    std::size_t loops = 0;
    for (std::size_t k = 0; k + 1 < m_LoopStarts.size(); ++k) {
        auto& loop = m_Loops[loops];
        loop.clear();
        for (int w = m_LoopStarts[k]; w < m_LoopStarts[k + 1]; ++w) {
            const CDataWall* wall = ItemAt(sector.m_pWalls, w);
            if (const CDataVertex* v = wall ? ItemAt(sector.m_pVertices, wall->m_nLeft) : nullptr)
                loop.push_back({v->m_dX, v->m_dZ});
        }
        if (loop.size() >= 3) ++loops;
    }
    if (loops == 0) return;
    m_Triangles.clear();
    m_Tessellator.Cut(std::span(m_Loops).first(loops), m_Triangles);
    if (m_Triangles.empty()) return;

    const CDataWall* first = sector.m_pWalls.front().get();
    const CDataVertex* origin = ItemAt(sector.m_pVertices, first->m_nLeft);
    const double x0 = origin ? origin->m_dX : 0.0, z0 = origin ? origin->m_dZ : 0.0;
    const std::uint8_t light = SectorLight(sector);
    struct Surface {
        const CDataTexture* slot;
        double altitude;
        FaceKind kind;
        bool reversed;
    };
    const Surface surfaces[2] = {
        {&sector.m_FloorTexture, sector.m_dFloorAltitude,
         (sector.m_nFlags1 & kSectorPit) ? FaceKind::Pit : FaceKind::Floor, true},
        {&sector.m_CeilingTexture, sector.m_dCeilingAltitude,
         (sector.m_nFlags1 & kSectorSky) ? FaceKind::Sky : FaceKind::Ceiling, false},
    };
    for (const Surface& surface : surfaces) {
        SceneFace face;
        face.m_Kind = surface.kind;
        face.m_nLight = light;
        face.m_nTexture = LevelTexture(surface.slot->m_nTexture);
        face.m_nColour = m_nFlatColour;
        face.m_nSector = index;
        const float y = Height(surface.altitude);
        for (std::size_t i = 0; i + 3 <= m_Triangles.size(); i += 3) {
            SceneVertex corners[3];
            for (std::size_t c = 0; c < 3; ++c) {
                const PlanePoint& p = m_Triangles[i + (surface.reversed ? 2 - c : c)];
                corners[c] = {Across(p.x), y, Across(p.z),
                              static_cast<float>((p.x - x0 - surface.slot->m_dOffsetX) / kTexelsPerUnit),
                              static_cast<float>((p.z - z0 - surface.slot->m_dOffsetY) / kTexelsPerUnit)};
            }
            AddFace(face, corners);
        }
    }
}

void SceneAssembly::AddFace(SceneFace face, std::span<const SceneVertex> vertices) {
    face.m_nFirstVertex = static_cast<std::uint32_t>(m_Scene.m_Vertices.size());
    face.m_nVertexCount = static_cast<std::uint16_t>(vertices.size());
    m_Scene.m_Vertices.insert(m_Scene.m_Vertices.end(), vertices.begin(), vertices.end());
    m_Scene.m_Faces.push_back(face);
}

// ---- Objects ---------------------------------------------------------------------------------

// The sector holding a point: the object's own sector when it does, else one whose floor and
// ceiling enclose the altitude, else any; -1 when none holds the point.
int SceneAssembly::SectorAt(double x, double z, double altitude, int hint) {
    const PlanePoint point{x, z};
    if (const CDataSector* own = Sector(hint); own && PointInSector(*own, point)) return hint;
    m_Candidates.clear();
    if (!m_Grid.Candidates(x, z, x, z, m_Candidates))
        for (std::size_t i = 0; i < m_Level.m_Lev.m_pSectors.size(); ++i)
            m_Candidates.push_back(static_cast<int>(i));
    int any = -1;
    for (int candidate : m_Candidates) {
        const CDataSector& sector = *Sector(candidate);
        if (!PointInSector(sector, point)) continue;
        if (altitude >= sector.m_dCeilingAltitude && altitude <= sector.m_dFloorAltitude) return candidate;
        if (any < 0) any = candidate;
    }
    return any;
}

void SceneAssembly::AddObjects() {
    const auto& objects = m_Level.m_Objects.m_pObjects;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const CDataObjectItem& object = *objects[i];
        const int index = static_cast<int>(i);
        if (IsClass(object, "SPRITE"))
            AddSprite(index, object, true);
        else if (IsClass(object, "FRAME"))
            AddSprite(index, object, false);
        else if (IsClass(object, "3D") && m_Options.m_b3DO)
            AddModel(index, object);
        else if (IsClass(object, "SOUND") && !Trim(object.m_strData).empty())
            m_Scene.m_Sounds.push_back(
                {index, Across(object.m_dX), Height(object.m_dY), Across(object.m_dZ), object.m_strData});
    }
}

void SceneAssembly::AddSprite(int index, const CDataObjectItem& object, bool wax) {
    const auto& views = SpriteViews(object.m_strData, wax);
    if (!views) return;
    SceneSprite sprite;
    sprite.m_nObject = index;
    sprite.x = Across(object.m_dX);
    sprite.y = Height(object.m_dY);
    sprite.z = Across(object.m_dZ);
    sprite.m_fYaw = static_cast<float>(object.m_dYaw);
    const CDataSector* sector = Sector(SectorAt(object.m_dX, object.m_dZ, object.m_dY, object.m_nSector));
    if (sector) sprite.m_nLight = SectorLight(*sector);
    sprite.m_Views = *views;
    m_Scene.m_Sprites.push_back(std::move(sprite));
}

const std::optional<std::vector<SpriteView>>& SceneAssembly::SpriteViews(const std::string& name, bool wax) {
    const std::string key = ToUpper(name);
    if (const auto it = m_SpriteViews.find(key); it != m_SpriteViews.end()) return it->second;
    return m_SpriteViews.emplace(key, wax ? LoadWax(name) : LoadFme(name)).first->second;
}

// The texture of the frame at offset of a sprite member, decoded unless an earlier build has it.
int SceneAssembly::SpriteTexture(const std::string& key, std::span<const std::uint8_t> bytes,
                                 std::uint32_t offset, const std::string& name) {
    if (const int found = FindTexture(key); found >= 0) return found;
    SpriteFrame frame;
    if (!DecodeSpriteFrame(bytes, offset, name, m_Scene.m_Palette, false, frame)) return -1;
    return AddTexture(MakeSceneTexture(key, frame.m_Image, true));
}

SpriteView PlacedView(int texture, const SceneTexture& t, std::int32_t x, std::int32_t y, bool flip) {
    SpriteView view;
    view.m_nTexture = texture;
    view.m_fWidth = static_cast<float>(t.m_nWidth / kTexelsPerUnit);
    view.m_fHeight = static_cast<float>(t.m_nHeight / kTexelsPerUnit);
    // The insert point is the picture's top-left corner against the anchor, y growing downwards.
    view.m_fLeft = static_cast<float>(x / kTexelsPerUnit);
    view.m_fBottom = static_cast<float>(-(static_cast<double>(y) + t.m_nHeight) / kTexelsPerUnit);
    view.m_bFlip = flip;
    return view;
}

std::optional<std::vector<SpriteView>> SceneAssembly::LoadWax(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    if (!Read(name, bytes)) return std::nullopt;
    WaxFile wax;
    if (!WaxFile::Read(bytes, name, wax) || wax.m_States.empty()) {
        NoteMissing(name);
        return std::nullopt;
    }
    // The first state's views, each showing its first frame. A view that shows nothing keeps its
    // place, so that view i still stands for the angle i x 11.25 degrees.
    std::vector<SpriteView> views;
    bool any = false;
    for (int v : wax.m_States.front().m_Views) {
        SpriteView view;
        const WaxView* seq =
            ValidIndex(wax.m_Views.size(), v) ? &wax.m_Views[static_cast<std::size_t>(v)] : nullptr;
        const int f = seq && !seq->m_Frames.empty() ? seq->m_Frames.front() : -1;
        if (ValidIndex(wax.m_Frames.size(), f)) {
            const WaxFrame& frame = wax.m_Frames[static_cast<std::size_t>(f)];
            const int texture = SpriteTexture(name + "#" + std::to_string(f), bytes, frame.m_nOffset, name);
            if (texture >= 0) {
                view = PlacedView(texture, m_Scene.m_Textures[static_cast<std::size_t>(texture)], frame.m_nX,
                                  frame.m_nY, frame.m_bFlip);
                any = true;
            }
        }
        views.push_back(view);
    }
    if (!any) {
        NoteMissing(name);
        return std::nullopt;
    }
    return views;
}

std::optional<std::vector<SpriteView>> SceneAssembly::LoadFme(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    if (!Read(name, bytes)) return std::nullopt;
    SpriteFrame frame;
    if (!DecodeFme(bytes, name, m_Scene.m_Palette, false, frame)) {
        NoteMissing(name);
        return std::nullopt;
    }
    int texture = FindTexture(name);
    if (texture < 0) texture = AddTexture(MakeSceneTexture(name, frame.m_Image, true));
    return std::vector<SpriteView>{PlacedView(texture, m_Scene.m_Textures[static_cast<std::size_t>(texture)],
                                              frame.m_nX, frame.m_nY, frame.m_bFlip)};
}

void SceneAssembly::AddModel(int index, const CDataObjectItem& object) {
    const std::string key = ToUpper(object.m_strData);
    auto it = m_Models.find(key);
    if (it == m_Models.end()) {
        std::vector<std::uint8_t> bytes;
        std::optional<Model3D> model;
        if (Read(object.m_strData, bytes))
            model = Read3DO(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        it = m_Models.emplace(key, std::move(model)).first;
    }
    if (!it->second) return;
    const Model3D& model = *it->second;

    const int sectorIndex = SectorAt(object.m_dX, object.m_dZ, object.m_dY, object.m_nSector);
    const CDataSector* sector = Sector(sectorIndex);
    // Model units are level units with y pointing down; the yaw turns the model's +z towards +x.
    const double yaw = object.m_dYaw * kPi / 180.0, c = std::cos(yaw), s = std::sin(yaw);
    SceneFace face;
    face.m_Kind = FaceKind::Model;
    face.m_nLight = sector ? SectorLight(*sector) : static_cast<std::uint8_t>(kFullLight);
    face.m_nSector = sectorIndex;
    face.m_nObject = index;

    for (const ModelObject& part : model.m_Objects) {
        const int texture =
            ValidIndex(model.m_Textures.size(), part.m_nTextureIndex)
                ? BmTexture(model.m_Textures[static_cast<std::size_t>(part.m_nTextureIndex)].m_strName)
                : -1;
        const auto polygon = [&](std::span<const int> corners, std::span<const int> mapped, int colour,
                                 std::string_view fill) {
            SceneVertex vertices[4];
            const bool textured = texture >= 0 && !mapped.empty() && IsTexturedFill(fill);
            const SceneTexture* t =
                textured ? &m_Scene.m_Textures[static_cast<std::size_t>(texture)] : nullptr;
            for (std::size_t k = 0; k < corners.size(); ++k) {
                const ModelVertex& m = part.m_Vertices[static_cast<std::size_t>(corners[k])];
                SceneVertex& v = vertices[k];
                v.x = Across(object.m_dX + m.m_dX * c + m.m_dZ * s);
                v.z = Across(object.m_dZ - m.m_dX * s + m.m_dZ * c);
                v.y = Height(object.m_dY + m.m_dY);
                if (t) {
                    const ModelTexVertex& tv = part.m_TextureVertices[static_cast<std::size_t>(mapped[k])];
                    v.u = static_cast<float>(tv.m_dX * t->m_nWidth / t->m_nWidth2);
                    v.v = static_cast<float>(tv.m_dY * t->m_nHeight / t->m_nHeight2);
                }
            }
            face.m_nTexture = t ? texture : -1;
            face.m_nColour = static_cast<std::uint8_t>(std::clamp(colour, 0, 255));
            AddFace(face, std::span<const SceneVertex>(vertices, corners.size()));
        };
        const std::size_t vertexCount = part.m_Vertices.size(), mapCount = part.m_TextureVertices.size();
        for (std::size_t q = 0; q < part.m_Quads.size(); ++q) {
            const ModelQuad& quad = part.m_Quads[q];
            if (!quad.IndicesWithin(vertexCount)) continue;
            const int corners[4] = {quad.m_nA, quad.m_nB, quad.m_nC, quad.m_nD};
            int mapped[4] = {};
            const bool hasMap =
                q < part.m_TextureQuads.size() && part.m_TextureQuads[q].IndicesWithin(mapCount);
            if (hasMap) {
                const ModelTexQuad& tq = part.m_TextureQuads[q];
                mapped[0] = tq.m_nA;
                mapped[1] = tq.m_nB;
                mapped[2] = tq.m_nC;
                mapped[3] = tq.m_nD;
            }
            polygon(corners, hasMap ? std::span<const int>(mapped) : std::span<const int>(), quad.m_nColor,
                    quad.m_strFill);
        }
        for (std::size_t i = 0; i < part.m_Triangles.size(); ++i) {
            const ModelTriangle& triangle = part.m_Triangles[i];
            if (!triangle.IndicesWithin(vertexCount)) continue;
            const int corners[3] = {triangle.m_nA, triangle.m_nB, triangle.m_nC};
            int mapped[3] = {};
            const bool hasMap =
                i < part.m_TextureTriangles.size() && part.m_TextureTriangles[i].IndicesWithin(mapCount);
            if (hasMap) {
                const ModelTexTriangle& tt = part.m_TextureTriangles[i];
                mapped[0] = tt.m_nA;
                mapped[1] = tt.m_nB;
                mapped[2] = tt.m_nC;
            }
            polygon(corners, hasMap ? std::span<const int>(mapped) : std::span<const int>(),
                    triangle.m_nColor, triangle.m_strFill);
        }
    }
}

// The player's start: the first SPIRIT, else the first object whose logic is PLAYER.
void SceneAssembly::PlaceStart() {
    const CDataObjectItem* start = nullptr;
    for (const auto& object : m_Level.m_Objects.m_pObjects)
        if (IsClass(*object, "SPIRIT")) {
            start = object.get();
            break;
        }
    if (!start)
        for (const auto& object : m_Level.m_Objects.m_pObjects)
            if (HasPlayerLogic(*object)) {
                start = object.get();
                break;
            }
    if (!start) return;
    SceneStart& s = m_Scene.m_Start;
    s.m_bFound = true;
    s.m_nSector = SectorAt(start->m_dX, start->m_dZ, start->m_dY, start->m_nSector);
    const CDataSector* sector = Sector(s.m_nSector);
    const double ground = sector ? sector->m_dFloorAltitude : start->m_dY;
    s.x = Across(start->m_dX);
    s.y = Height(ground - GameWalker::kEyeHeight);
    s.z = Across(start->m_dZ);
    s.m_fYaw = static_cast<float>(start->m_dYaw * kPi / 180.0);
}

} // namespace

void SceneBuilder::Build(const CDataLevel& level, Scene3D& scene) {
    SceneAssembly(m_Resources, m_Options, level, scene).Run();
}

} // namespace morvi
