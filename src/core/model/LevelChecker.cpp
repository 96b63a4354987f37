#include "model/LevelChecker.h"

#include "model/CDataLevel.h"
#include "model/StringUtil.h"

#include <algorithm>

namespace morvi {

namespace {

using Kind = LevelFinding::Kind;

class Checker {
public:
    explicit Checker(const CDataLevel& level) : m_Level(level), m_Sectors(level.m_Lev.m_pSectors) {}

    std::vector<LevelFinding> Run() {
        CheckNameTable(m_Level.m_Lev.m_Textures, "Texture table");
        for (std::size_t s = 0; s < m_Sectors.size(); ++s) CheckSector(static_cast<int>(s));
        CheckObjects();
        CheckMembers();
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
                where + ": " + slot + " texture " + std::to_string(t.m_nTexture) + " is outside the texture table (" +
                    std::to_string(n) + " entries)");
        }
    }

    void CheckSector(int s) {
        const CDataSector& sector = *m_Sectors[static_cast<std::size_t>(s)];
        const std::string name = "Sector " + std::to_string(s);
        if (sector.m_nIndex != s) Add(Kind::Sector, s, -1, name + " has index " + std::to_string(sector.m_nIndex));
        if (sector.m_pWalls.size() < 3)
            Add(Kind::Sector, s, -1, name + " has " + std::to_string(sector.m_pWalls.size()) + " walls (at least 3 needed)");
        CheckTexture(sector.m_FloorTexture, s, -1, "floor");
        CheckTexture(sector.m_CeilingTexture, s, -1, "ceiling");
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w) CheckWall(sector, s, static_cast<int>(w));
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
                    name + ": vertex " + std::to_string(v) + " is outside the sector's " + std::to_string(vertices) +
                        " vertices");
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
                Add(Kind::Wall, s, w, name + " has mirror " + std::to_string(wall.m_nMirror) + " but no adjoin");
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
                name + " mirrors " + target + ", which points back at sector " + std::to_string(back.m_nAdjoin) +
                    " wall " + std::to_string(back.m_nMirror));
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
                    "Object " + std::to_string(i) + " (" + o.m_strClass + " " + o.m_strData + "): data index " +
                        std::to_string(o.m_nData) + " is outside its name table (" + std::to_string(table->size()) +
                        " entries)",
                    -1, static_cast<int>(i));
            if (o.m_nSector < -1 || o.m_nSector >= static_cast<int>(m_Sectors.size()))
                Add(Kind::Object, -1, -1,
                    "Object " + std::to_string(i) + " is assigned to sector " + std::to_string(o.m_nSector) +
                        ", which does not exist",
                    -1, static_cast<int>(i));
        }
    }

    void CheckMembers() {
        for (const auto* list : {&m_Level.m_Bitmaps, &m_Level.m_Sprites, &m_Level.m_Models3D, &m_Level.m_Sounds})
            for (const CDataGobEntry* entry : *list) {
                const bool held = std::any_of(m_Level.m_pMembers.begin(), m_Level.m_pMembers.end(),
                                              [entry](const auto& m) { return m.get() == entry; });
                if (!held) Add(Kind::Level, -1, -1, "A kind list points at a member the archive no longer holds");
            }
        if (!m_Level.m_LevelNames.empty() &&
            (m_Level.m_nCurrentLevel < 0 || m_Level.m_nCurrentLevel >= static_cast<int>(m_Level.m_LevelNames.size())))
            Add(Kind::Level, -1, -1, "The current level " + std::to_string(m_Level.m_nCurrentLevel) + " is not a level of the archive");
    }

    const CDataLevel& m_Level;
    const std::vector<std::unique_ptr<CDataSector>>& m_Sectors;
    std::vector<LevelFinding> m_Findings;
};

} // namespace

std::vector<LevelFinding> checkLevel(const CDataLevel& level) { return Checker(level).Run(); }

} // namespace morvi
