#include "model/LevelChecker.h"

#include "model/CDataLevel.h"
#include "model/LevelGeometry.h"
#include "model/SectorGrid.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace morvi {

namespace {

using Kind = LevelFinding::Kind;
using Problem = LevelFinding::Problem;
using Severity = LevelFinding::Severity;

// The game keeps map coordinates in 16.16 fixed point.
constexpr double kMaxCoordinate = 32767.0;

std::string Number(double value) {
    std::string text = std::to_string(value);
    // Two decimals, as the texts print them.
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos && dot + 3 < text.size()) text.resize(dot + 3);
    return text;
}

class Checker {
public:
    explicit Checker(const CDataLevel& level) : m_Level(level), m_Sectors(level.m_Lev.m_pSectors) {}

    std::vector<LevelFinding> Run() {
        CheckNameTable(m_Level.m_Lev.m_Textures, "Texture table");
        for (std::size_t s = 0; s < m_Sectors.size(); ++s)
            CheckSector(static_cast<int>(s));
        CheckObjects();
        CheckMembers();
        CheckGeometry();
        return std::move(m_Findings);
    }

private:
    void Add(Kind kind, int sector, int wall, std::string text, int vertex = -1, int object = -1) {
        LevelFinding f;
        f.m_Kind = kind;
        f.m_nSector = sector;
        f.m_nWall = wall;
        f.m_nVertex = vertex;
        f.m_nObject = object;
        f.m_strText = std::move(text);
        m_Findings.push_back(std::move(f));
    }

    LevelFinding& Add(Problem problem, Severity severity, Kind kind, std::string text) {
        LevelFinding& f = m_Findings.emplace_back();
        f.m_Problem = problem;
        f.m_Severity = severity;
        f.m_Kind = kind;
        f.m_strText = std::move(text);
        return f;
    }

    static std::string WallName(int s, int w) {
        return "Sector " + std::to_string(s) + " wall " + std::to_string(w);
    }

    void CheckNameTable(const std::vector<CDataNameEntry>& table, const std::string& what) {
        for (std::size_t i = 0; i < table.size(); ++i)
            if (table[i].m_nIndex != static_cast<int>(i))
                Add(Kind::Level, -1, -1,
                    what + " entry " + std::to_string(i) + " (" + table[i].m_strName + ") has index " +
                        std::to_string(table[i].m_nIndex));
    }

    void CheckTexture(const CDataTexture& t, int s, int w, const char* slot) {
        const int n = static_cast<int>(m_Level.m_Lev.m_Textures.size());
        if (t.m_nTexture < -1 || t.m_nTexture >= n) {
            const std::string where = w >= 0 ? WallName(s, w) : "Sector " + std::to_string(s);
            Add(w >= 0 ? Kind::Wall : Kind::Sector, s, w,
                where + ": " + slot + " texture " + std::to_string(t.m_nTexture) +
                    " is outside the texture table (" + std::to_string(n) + " entries)");
        }
    }

    void CheckSector(int s) {
        const CDataSector& sector = *m_Sectors[static_cast<std::size_t>(s)];
        const std::string name = "Sector " + std::to_string(s);
        if (sector.m_nIndex != s)
            Add(Kind::Sector, s, -1, name + " has index " + std::to_string(sector.m_nIndex));
        if (sector.m_pWalls.size() < 3)
            Add(Kind::Sector, s, -1,
                name + " has " + std::to_string(sector.m_pWalls.size()) + " walls (at least 3 needed)");
        CheckTexture(sector.m_FloorTexture, s, -1, "floor");
        CheckTexture(sector.m_CeilingTexture, s, -1, "ceiling");
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w)
            CheckWall(sector, s, static_cast<int>(w));
        CheckLoops(sector, s);
    }

    void CheckWall(const CDataSector& sector, int s, int w) {
        const CDataWall& wall = *sector.m_pWalls[static_cast<std::size_t>(w)];
        const std::string name = WallName(s, w);
        const int vertices = static_cast<int>(sector.m_pVertices.size());
        if (wall.m_nIndex != w) Add(Kind::Wall, s, w, name + " has index " + std::to_string(wall.m_nIndex));
        for (int v : {wall.m_nLeft, wall.m_nRight})
            if (v < 0 || v >= vertices)
                Add(Kind::Wall, s, w,
                    name + ": vertex " + std::to_string(v) + " is outside the sector's " +
                        std::to_string(vertices) + " vertices");
        CheckTexture(wall.m_Mid, s, w, "mid");
        CheckTexture(wall.m_Top, s, w, "top");
        CheckTexture(wall.m_Bottom, s, w, "bottom");
        CheckTexture(wall.m_Sign, s, w, "sign");
        const int sectors = static_cast<int>(m_Sectors.size());
        if (wall.m_nWalk < -1 || wall.m_nWalk >= sectors)
            Add(Kind::Wall, s, w, name + ": walk " + std::to_string(wall.m_nWalk) + " is not a sector");
        CheckMirror(wall, s, w);
    }

    void CheckMirror(const CDataWall& wall, int s, int w) {
        const std::string name = WallName(s, w);
        const int sectors = static_cast<int>(m_Sectors.size());
        if (wall.m_nAdjoin < -1 || wall.m_nAdjoin >= sectors) {
            Add(Kind::Wall, s, w, name + ": adjoin " + std::to_string(wall.m_nAdjoin) + " is not a sector");
            return;
        }
        if (wall.m_nAdjoin == -1) {
            if (wall.m_nMirror != -1)
                Add(Kind::Wall, s, w,
                    name + " has mirror " + std::to_string(wall.m_nMirror) + " but no adjoin");
            return;
        }
        const CDataSector& other = *m_Sectors[static_cast<std::size_t>(wall.m_nAdjoin)];
        const std::string target = WallName(wall.m_nAdjoin, wall.m_nMirror);
        if (wall.m_nMirror < 0 || wall.m_nMirror >= static_cast<int>(other.m_pWalls.size())) {
            Add(Kind::Wall, s, w,
                name + " adjoins sector " + std::to_string(wall.m_nAdjoin) + " but its mirror " +
                    std::to_string(wall.m_nMirror) + " is not a wall there");
            return;
        }
        const CDataWall& back = *other.m_pWalls[static_cast<std::size_t>(wall.m_nMirror)];
        if (back.m_nAdjoin != s || back.m_nMirror != w)
            Add(Kind::Wall, s, w,
                name + " mirrors " + target + ", which points back at sector " +
                    std::to_string(back.m_nAdjoin) + " wall " + std::to_string(back.m_nMirror));
    }

    void CheckLoops(const CDataSector& sector, int s) {
        bool open = false;
        int startVertex = 0;
        int startWall = 0;
        for (std::size_t i = 0; i < sector.m_pWalls.size(); ++i) {
            const CDataWall& wall = *sector.m_pWalls[i];
            if (!open) {
                startVertex = wall.m_nLeft;
                startWall = static_cast<int>(i);
                open = true;
            }
            if (wall.m_nRight == startVertex) open = false;
        }
        if (open)
            Add(Kind::Sector, s, startWall,
                "Sector " + std::to_string(s) + ": the walls from wall " + std::to_string(startWall) +
                    " on do not close a loop");
    }

    const std::vector<CDataNameEntry>* TableOf(const CDataObjectItem& o) const {
        const CDataObjects& objs = m_Level.m_Objects;
        if (EqualsNoCase(o.m_strClass, "sprite")) return &objs.m_Sprs;
        if (EqualsNoCase(o.m_strClass, "frame")) return &objs.m_Fmes;
        if (EqualsNoCase(o.m_strClass, "3d")) return &objs.m_Pods;
        if (EqualsNoCase(o.m_strClass, "sound")) return &objs.m_Sounds;
        return nullptr;
    }

    void CheckObjects() {
        const CDataObjects& objs = m_Level.m_Objects;
        CheckNameTable(objs.m_Pods, "PODS table");
        CheckNameTable(objs.m_Sprs, "SPRS table");
        CheckNameTable(objs.m_Fmes, "FMES table");
        CheckNameTable(objs.m_Sounds, "SOUNDS table");
        for (std::size_t i = 0; i < objs.m_pObjects.size(); ++i) {
            const CDataObjectItem& o = *objs.m_pObjects[i];
            const auto* table = TableOf(o);
            if (table && (o.m_nData < 0 || o.m_nData >= static_cast<int>(table->size())))
                Add(Kind::Object, -1, -1,
                    "Object " + std::to_string(i) + " (" + o.m_strClass + " " + o.m_strData +
                        "): data index " + std::to_string(o.m_nData) + " is outside its name table (" +
                        std::to_string(table->size()) + " entries)",
                    -1, static_cast<int>(i));
            if (o.m_nSector < -1 || o.m_nSector >= static_cast<int>(m_Sectors.size()))
                Add(Kind::Object, -1, -1,
                    "Object " + std::to_string(i) + " is assigned to sector " + std::to_string(o.m_nSector) +
                        ", which does not exist",
                    -1, static_cast<int>(i));
        }
    }

    void CheckMembers() {
        for (const auto* list :
             {&m_Level.m_Bitmaps, &m_Level.m_Sprites, &m_Level.m_Models3D, &m_Level.m_Sounds})
            for (const CDataGobEntry* entry : *list) {
                const bool held = std::any_of(m_Level.m_pMembers.begin(), m_Level.m_pMembers.end(),
                                              [entry](const auto& m) { return m.get() == entry; });
                if (!held)
                    Add(Kind::Level, -1, -1, "A kind list points at a member the archive no longer holds");
            }
        if (!m_Level.m_LevelNames.empty() &&
            (m_Level.m_nCurrentLevel < 0 ||
             m_Level.m_nCurrentLevel >= static_cast<int>(m_Level.m_LevelNames.size())))
            Add(Kind::Level, -1, -1,
                "The current level " + std::to_string(m_Level.m_nCurrentLevel) +
                    " is not a level of the archive");
    }

    // ---- Geometry: only sectors whose records hold together are measured ---------------------

    static PlanePoint Place(const CDataVertex& v) { return {v.m_dX, v.m_dZ}; }

    bool LegalVertices(const CDataSector& sector, int s) {
        bool legal = true;
        for (std::size_t v = 0; v < sector.m_pVertices.size(); ++v) {
            const CDataVertex& vertex = *sector.m_pVertices[v];
            const bool finite = std::isfinite(vertex.m_dX) && std::isfinite(vertex.m_dZ);
            if (finite && std::abs(vertex.m_dX) <= kMaxCoordinate && std::abs(vertex.m_dZ) <= kMaxCoordinate)
                continue;
            legal = false;
            LevelFinding& f =
                Add(Problem::IllegalVertex, Severity::Error, Kind::Vertex,
                    "Sector " + std::to_string(s) + " vertex " + std::to_string(v) +
                        (finite ? " lies at (" + Number(vertex.m_dX) + ", " + Number(vertex.m_dZ) +
                                      "), beyond the game's map of -32767 to 32767"
                                : " has a coordinate that is not a number"));
            f.m_nSector = s;
            f.m_nVertex = static_cast<int>(v);
        }
        return legal;
    }

    // Three walls or more, every wall's vertices there and every loop closed.
    static bool SoundRecords(const CDataSector& sector) {
        if (sector.m_pWalls.size() < 3) return false;
        const int vertices = static_cast<int>(sector.m_pVertices.size());
        int start = -1;
        for (const auto& wall : sector.m_pWalls) {
            if (wall->m_nLeft < 0 || wall->m_nLeft >= vertices || wall->m_nRight < 0 ||
                wall->m_nRight >= vertices)
                return false;
            if (start < 0) start = wall->m_nLeft;
            if (wall->m_nRight == start) start = -1;
        }
        return start < 0;
    }

    void CheckGeometry() {
        const std::size_t count = m_Sectors.size();
        m_Segments.assign(count, {});
        m_Usable.assign(count, false);
        for (std::size_t s = 0; s < count; ++s) {
            const CDataSector& sector = *m_Sectors[s];
            const bool legal = LegalVertices(sector, static_cast<int>(s));
            if (!legal || !SoundRecords(sector)) continue;
            m_Usable[s] = true;
            SectorSegments(sector, m_Segments[s]);
            CheckWallLengths(sector, static_cast<int>(s));
            CheckSharedPoints(sector, static_cast<int>(s));
            CheckCrossings(static_cast<int>(s));
        }
        for (std::size_t s = 0; s < count; ++s)
            if (m_Usable[s]) CheckMirrorPoints(static_cast<int>(s));
        m_Grid.Build(m_Sectors);
        CheckOverlaps();
        CheckObjectPlaces();
    }

    void CheckWallLengths(const CDataSector& sector, int s) {
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w) {
            const CDataWall& wall = *sector.m_pWalls[w];
            if (!SamePlace(Place(*sector.m_pVertices[At(wall.m_nLeft)]),
                           Place(*sector.m_pVertices[At(wall.m_nRight)])))
                continue;
            LevelFinding& f = Add(Problem::ZeroLengthWall, Severity::Error, Kind::Wall,
                                  WallName(s, static_cast<int>(w)) + " has no length: vertex " +
                                      std::to_string(wall.m_nLeft) + " and vertex " +
                                      std::to_string(wall.m_nRight) + " lie on one point");
            f.m_nSector = s;
            f.m_nWall = static_cast<int>(w);
        }
    }

    // Pairs of vertices on one point that no zero-length wall joins (that is reported already).
    // Each vertex on the point of an earlier one (in X order) is reported once, beside the first such
    // vertex found, so that many vertices on one point cost one line each.
    void CheckSharedPoints(const CDataSector& sector, int s) {
        const auto& vertices = sector.m_pVertices;
        std::vector<int> order(vertices.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        const auto x = [&](int v) { return vertices[At(v)]->m_dX; };
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return x(a) < x(b) || (x(a) == x(b) && a < b); });
        std::vector<std::pair<int, int>> walls;
        walls.reserve(sector.m_pWalls.size());
        for (const auto& wall : sector.m_pWalls)
            walls.emplace_back(std::min(wall->m_nLeft, wall->m_nRight),
                               std::max(wall->m_nLeft, wall->m_nRight));
        std::sort(walls.begin(), walls.end());
        for (std::size_t j = 1; j < order.size(); ++j)
            for (std::size_t k = j; k-- > 0 && x(order[j]) - x(order[k]) < 0.005;) {
                const int a = std::min(order[j], order[k]);
                const int b = std::max(order[j], order[k]);
                if (!SamePlace(Place(*vertices[At(a)]), Place(*vertices[At(b)]))) continue;
                if (!std::binary_search(walls.begin(), walls.end(), std::pair(a, b))) {
                    LevelFinding& f = Add(Problem::OverlappingVertices, Severity::Warning, Kind::Vertex,
                                          "Sector " + std::to_string(s) + ": vertex " + std::to_string(a) +
                                              " and vertex " + std::to_string(b) + " lie on one point");
                    f.m_nSector = s;
                    f.m_nVertex = b;
                }
                break;
            }
    }

    void CheckCrossings(int s) {
        for (const auto& [a, b] : CrossingPairs(m_Segments[At(s)])) {
            LevelFinding& f = Add(Problem::CrossingWalls, Severity::Error, Kind::Wall,
                                  WallName(s, a) + " crosses wall " + std::to_string(b));
            f.m_nSector = s;
            f.m_nWall = a;
        }
    }

    // Each linked pair once, from its lower sector (or wall); pairs whose indices do not point
    // back at each other are reported as broken references already.
    void CheckMirrorPoints(int s) {
        const CDataSector& sector = *m_Sectors[At(s)];
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w) {
            const CDataWall& wall = *sector.m_pWalls[w];
            const int t = wall.m_nAdjoin;
            const int m = wall.m_nMirror;
            if (t < 0 || t >= static_cast<int>(m_Sectors.size()) || !m_Usable[At(t)] ||
                std::pair(t, m) < std::pair(s, static_cast<int>(w)))
                continue;
            const CDataSector& other = *m_Sectors[At(t)];
            if (m < 0 || m >= static_cast<int>(other.m_pWalls.size())) continue;
            const CDataWall& back = *other.m_pWalls[At(m)];
            if (back.m_nAdjoin != s || back.m_nMirror != static_cast<int>(w)) continue;
            if (SamePlace(Place(*sector.m_pVertices[At(wall.m_nLeft)]),
                          Place(*other.m_pVertices[At(back.m_nRight)])) &&
                SamePlace(Place(*sector.m_pVertices[At(wall.m_nRight)]),
                          Place(*other.m_pVertices[At(back.m_nLeft)])))
                continue;
            LevelFinding& f =
                Add(Problem::MirrorMismatch, Severity::Error, Kind::Wall,
                    WallName(s, static_cast<int>(w)) + " and its mirror, sector " + std::to_string(t) +
                        " wall " + std::to_string(m) + ", do not share their end points");
            f.m_nSector = s;
            f.m_nWall = static_cast<int>(w);
        }
    }

    struct Box {
        double minX, minZ, maxX, maxZ;
    };

    Box BoxOf(std::size_t s) const {
        Box box{m_Segments[s][0].a.x, m_Segments[s][0].a.z, m_Segments[s][0].a.x, m_Segments[s][0].a.z};
        for (const PlaneSegment& seg : m_Segments[s]) {
            box.minX = std::min(box.minX, seg.a.x);
            box.maxX = std::max(box.maxX, seg.a.x);
            box.minZ = std::min(box.minZ, seg.a.z);
            box.maxZ = std::max(box.maxZ, seg.a.z);
        }
        return box;
    }

    const std::optional<PlanePoint>& Inside(std::size_t s) {
        if (!m_InsideKnown[s]) {
            m_Inside[s] = InteriorPoint(*m_Sectors[s]);
            m_InsideKnown[s] = true;
        }
        return m_Inside[s];
    }

    // Sectors of one layer whose boxes share some area overlap when a wall of one crosses a wall
    // of the other or when one holds a point inside the other. Neighbours that only share walls
    // (and islands in a hole) do neither.
    void CheckOverlaps() {
        const std::size_t count = m_Sectors.size();
        m_Inside.assign(count, std::nullopt);
        m_InsideKnown.assign(count, false);
        std::vector<Box> boxes(count);
        for (std::size_t s = 0; s < count; ++s)
            if (m_Usable[s]) boxes[s] = BoxOf(s);
        std::vector<int> candidates;
        for (std::size_t s = 0; s < count; ++s) {
            if (!m_Usable[s]) continue;
            const Box& a = boxes[s];
            candidates.clear();
            m_Grid.Candidates(a.minX, a.minZ, a.maxX, a.maxZ, candidates);
            // Candidates come in decreasing order: the earlier sectors of each pair are taken first.
            std::reverse(candidates.begin(), candidates.end());
            for (const int c : candidates) {
                const std::size_t t = At(c);
                if (t <= s || !m_Usable[t] || m_Sectors[t]->m_nLayer != m_Sectors[s]->m_nLayer) continue;
                const Box& b = boxes[t];
                const double w = std::min(a.maxX, b.maxX) - std::max(a.minX, b.minX);
                const double h = std::min(a.maxZ, b.maxZ) - std::max(a.minZ, b.minZ);
                if (w < 0.005 || h < 0.005) continue;
                if (!AnyCrossingBetween(m_Segments[s], m_Segments[t]) && !Holds(s, t) && !Holds(t, s))
                    continue;
                LevelFinding& f =
                    Add(Problem::OverlappingSectors, Severity::Warning, Kind::Sector,
                        "Sector " + std::to_string(t) + " overlaps sector " + std::to_string(s) +
                            " on layer " + std::to_string(m_Sectors[s]->m_nLayer));
                f.m_nSector = static_cast<int>(t);
            }
        }
    }

    bool Holds(std::size_t outer, std::size_t inner) {
        const std::optional<PlanePoint>& p = Inside(inner);
        return p && PointInSector(*m_Sectors[outer], *p);
    }

    void CheckObjectPlaces() {
        const auto& objects = m_Level.m_Objects.m_pObjects;
        std::vector<int> candidates;
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const CDataObjectItem& o = *objects[i];
            candidates.clear();
            const PlanePoint p{o.m_dX, o.m_dZ};
            m_Grid.Candidates(p.x, p.z, p.x, p.z, candidates);
            if (std::any_of(candidates.begin(), candidates.end(),
                            [&](int s) { return m_Usable[At(s)] && PointInSector(*m_Sectors[At(s)], p); }))
                continue;
            LevelFinding& f =
                Add(Problem::ObjectOutside, Severity::Warning, Kind::Object,
                    "Object " + std::to_string(i) + " (" + o.m_strClass + " " + o.m_strData + ") at (" +
                        Number(o.m_dX) + ", " + Number(o.m_dZ) + ") lies in no sector");
            f.m_nObject = static_cast<int>(i);
        }
    }

    static std::size_t At(int i) { return static_cast<std::size_t>(i); }

    const CDataLevel& m_Level;
    const std::vector<std::unique_ptr<CDataSector>>& m_Sectors;
    std::vector<LevelFinding> m_Findings;
    std::vector<bool> m_Usable;
    std::vector<std::vector<PlaneSegment>> m_Segments;
    std::vector<std::optional<PlanePoint>> m_Inside;
    std::vector<bool> m_InsideKnown;
    SectorGrid m_Grid;
};

} // namespace

std::vector<LevelFinding> checkLevel(const CDataLevel& level) {
    return Checker(level).Run();
}

int CountErrors(const std::vector<LevelFinding>& findings) {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const LevelFinding& f) {
        return f.m_Severity == LevelFinding::Severity::Error;
    }));
}

namespace {

struct ProblemNames {
    const char* title;
    const char* key;
};

// In the order of LevelFinding::Problem.
constexpr ProblemNames kProblemNames[] = {
    {"Broken references", "broken_reference"},
    {"Illegal vertices", "illegal_vertex"},
    {"Zero-length walls", "zero_length_wall"},
    {"Overlapping vertices", "overlapping_vertices"},
    {"Crossing walls", "crossing_walls"},
    {"Mirrors apart", "mirror_mismatch"},
    {"Overlapping sectors", "overlapping_sectors"},
    {"Objects in no sector", "object_outside"},
    {"Missing sectors", "missing_sector"},
    {"Missing walls", "wall_out_of_range"},
    {"Missing stops", "missing_stop"},
    {"Unknown INF lines", "unknown_inf"},
    {"Open INF sequences", "open_sequence"},
};
static_assert(std::size(kProblemNames) == static_cast<std::size_t>(Problem::OpenSequence) + 1);

} // namespace

const char* ProblemTitle(LevelFinding::Problem problem) {
    return kProblemNames[static_cast<std::size_t>(problem)].title;
}

const char* ProblemKey(LevelFinding::Problem problem) {
    return kProblemNames[static_cast<std::size_t>(problem)].key;
}

} // namespace morvi
