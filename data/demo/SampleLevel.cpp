#include "SampleLevel.h"

#include "DemoPalette.h"
#include "gamefiles/LevelArchive.h"
#include "mapedit/CMapEngine.h"
#include "mapedit/Generators.h"
#include "model/ModelOps.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvi::demo {

namespace {

// Sector flags (first word).
constexpr int kSky = 1;
constexpr int kDoor = 2;
constexpr int kPit = 128;
constexpr int kSecret = 0x80000;
// Wall flag (first word) the lift generator sets so that the lift's textures move with it.
constexpr int kWallAnchored = 16;
// The fourth number of a generated sector's floor and ceiling textures.
constexpr int kSurfaceFlag = 2;

constexpr int kMainLayer = 1;
constexpr int kUpperLayer = 2;

struct Point {
    double x = 0.0;
    double z = 0.0;
};

bool Same(Point a, Point b) {
    return a.x == b.x && a.z == b.z;
}

using Outline = std::vector<Point>;

// A rectangle's outline, clockwise on the map as outer loops run: up the west side, along the
// north side, down the east side and back along the south side.
Outline Rect(double x0, double z0, double x1, double z1) {
    return {{x0, z0}, {x0, z1}, {x1, z1}, {x1, z0}};
}

// How a room looks. Altitudes grow downwards: a ceiling lies above its floor when it is the
// smaller number. The defaults are those of a generated sector.
struct Look {
    const char* floor = "IF3.BM";
    const char* ceiling = "IPBIGLT.BM";
    const char* walls = "RWRWALL1.BM";
    double floorAltitude = 0.0;
    double ceilingAltitude = -16.0;
    int ambient = 31;
    int layer = kMainLayer;
    int flags = 0;
};

using Seqs = std::initializer_list<std::pair<const char*, const char*>>;

// Draws a level the way a designer does on the map: rooms from outlines, then joins between
// rooms that touch, splitting walls where rooms only partly meet.
class LevelSketch {
public:
    explicit LevelSketch(CDataLevel& level) : m_Level(level), m_Lev(level.m_Lev) {}

    CDataSector& Sector(int s) { return *m_Lev.m_pSectors[static_cast<std::size_t>(s)]; }
    CDataWall& Wall(int s, int w) { return *Sector(s).m_pWalls[static_cast<std::size_t>(w)]; }
    int Texture(const char* name) { return m_Lev.FindOrAddTexture(name); }

    // A new sector bounded by outline (clockwise); returns its index.
    int Room(const std::string& name, const Outline& outline, const Look& look) {
        auto sector = std::make_unique<CDataSector>();
        sector->m_nIndex = static_cast<int>(m_Lev.m_pSectors.size());
        sector->m_strName = name;
        sector->m_nAmbient = look.ambient;
        sector->m_FloorTexture.m_nTexture = Texture(look.floor);
        sector->m_FloorTexture.m_nTexFlag = kSurfaceFlag;
        sector->m_CeilingTexture.m_nTexture = Texture(look.ceiling);
        sector->m_CeilingTexture.m_nTexFlag = kSurfaceFlag;
        sector->m_dFloorAltitude = look.floorAltitude;
        sector->m_dCeilingAltitude = look.ceilingAltitude;
        sector->m_nFlags1 = look.flags;
        sector->m_nLayer = look.layer;
        m_Lev.m_pSectors.push_back(std::move(sector));
        const int s = static_cast<int>(m_Lev.m_pSectors.size()) - 1;
        AddLoop(s, outline, Texture(look.walls));
        return s;
    }

    // A sector standing inside room: the room gets a second loop, the island's outline reversed,
    // whose walls are joined to the island's. The room's side of the joins shows the island's
    // walls, so it takes the island's wall texture.
    int Island(int room, const std::string& name, const Outline& outline, const Look& look) {
        const int island = Room(name, outline, look);
        AddLoop(room, Outline(outline.rbegin(), outline.rend()), Texture(look.walls));
        Join(room, island);
        return island;
    }

    // Joins every stretch where a wall of a lies on a wall of b running the other way; where two
    // walls only partly meet, they are split so that the shared piece becomes a wall of its own.
    void Join(int a, int b) {
        while (JoinOnePair(a, b)) {
        }
    }

    // Splits the solid wall of s that passes through p (strictly between its ends) in two.
    void Split(int s, Point p) {
        CDataSector& sector = Sector(s);
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w) {
            const CDataWall& wall = *sector.m_pWalls[w];
            if (wall.m_nAdjoin < 0 && Inside(Left(s, wall), Right(s, wall), p)) {
                SplitWall(s, static_cast<int>(w), p);
                return;
            }
        }
    }

    // The wall of s from one point to the other (in the wall's direction); -1 when none.
    int WallFrom(int s, Point from, Point to) {
        CDataSector& sector = Sector(s);
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w) {
            const CDataWall& wall = *sector.m_pWalls[w];
            if (Same(Left(s, wall), from) && Same(Right(s, wall), to)) return static_cast<int>(w);
        }
        return -1;
    }

    // The walls of s joined to other.
    std::vector<int> WallsToward(int s, int other) {
        std::vector<int> walls;
        for (const auto& wall : Sector(s).m_pWalls)
            if (wall->m_nAdjoin == other) walls.push_back(wall->m_nIndex);
        return walls;
    }

    // Puts an object on the floor of sector s.
    CDataObjectItem& Put(int s, const char* cls, const char* data, Point at, Seqs seqs = {},
                         double yaw = 0.0) {
        auto object = std::make_unique<CDataObjectItem>();
        object->m_nIndex = static_cast<int>(m_Level.m_Objects.m_pObjects.size());
        object->m_strClass = cls;
        object->m_strData = data;
        object->m_dX = at.x;
        object->m_dY = Sector(s).m_dFloorAltitude;
        object->m_dZ = at.z;
        object->m_dYaw = yaw;
        for (const auto& [key, value] : seqs)
            object->m_pSeqs.push_back(std::make_unique<CDataObjectSeq>(key, value));
        SetObjectDataIndex(m_Level.m_Objects, *object);
        AssignObjectColour(*object);
        for (const auto& seq : object->m_pSeqs)
            AssignObjectColour(*object, seq.get());
        m_Level.m_Objects.m_pObjects.push_back(std::move(object));
        return *m_Level.m_Objects.m_pObjects.back();
    }

    void AddInfItem(std::string type, std::string name, int num, std::vector<std::string> lines) {
        auto item = std::make_unique<CDataInfItem>();
        item->m_strType = std::move(type);
        item->m_strName = std::move(name);
        item->m_nNum = num;
        item->m_Lines = std::move(lines);
        m_Level.m_Inf.m_pItems.push_back(std::move(item));
    }

private:
    Point Vertex(int s, int v) {
        const CDataVertex& vertex = *Sector(s).m_pVertices[static_cast<std::size_t>(v)];
        return {vertex.m_dX, vertex.m_dZ};
    }
    Point Left(int s, const CDataWall& wall) { return Vertex(s, wall.m_nLeft); }
    Point Right(int s, const CDataWall& wall) { return Vertex(s, wall.m_nRight); }

    static double Cross(Point a, Point b, Point p) {
        return (b.x - a.x) * (p.z - a.z) - (b.z - a.z) * (p.x - a.x);
    }
    // Position of p along a->b: 0 at a, 1 at b.
    static double Along(Point a, Point b, Point p) {
        const double dx = b.x - a.x;
        const double dz = b.z - a.z;
        return ((p.x - a.x) * dx + (p.z - a.z) * dz) / (dx * dx + dz * dz);
    }
    static bool Inside(Point a, Point b, Point p) {
        const double t = Along(a, b, p);
        return Cross(a, b, p) == 0.0 && t > 0.0 && t < 1.0;
    }

    void AddLoop(int s, const Outline& outline, int texture) {
        CDataSector& sector = Sector(s);
        const int first = static_cast<int>(sector.m_pVertices.size());
        const int n = static_cast<int>(outline.size());
        for (int i = 0; i < n; ++i) {
            const Point p = outline[static_cast<std::size_t>(i)];
            sector.m_pVertices.push_back(std::make_unique<CDataVertex>(p.x, p.z));
            auto wall = std::make_unique<CDataWall>();
            wall->m_nIndex = static_cast<int>(sector.m_pWalls.size());
            wall->m_nLeft = first + i;
            wall->m_nRight = first + (i + 1) % n;
            wall->m_Mid.m_nTexture = wall->m_Top.m_nTexture = wall->m_Bottom.m_nTexture = texture;
            sector.m_pWalls.push_back(std::move(wall));
        }
    }

    // Wall w of s ends at p and a copy of it runs on from p. The new vertex goes right after the
    // wall's left one, so the vertex list still follows the loops.
    void SplitWall(int s, int w, Point p) {
        CDataSector& sector = Sector(s);
        const int at = Wall(s, w).m_nLeft + 1;
        sector.m_pVertices.insert(sector.m_pVertices.begin() + at, std::make_unique<CDataVertex>(p.x, p.z));
        for (auto& wall : sector.m_pWalls) {
            if (wall->m_nLeft >= at) ++wall->m_nLeft;
            if (wall->m_nRight >= at) ++wall->m_nRight;
        }
        CDataWall& old = Wall(s, w);
        auto piece = std::make_unique<CDataWall>(old);
        piece->m_nLeft = at;
        old.m_nRight = at;
        sector.m_pWalls.insert(sector.m_pWalls.begin() + w + 1, std::move(piece));
        for (std::size_t i = 0; i < sector.m_pWalls.size(); ++i)
            sector.m_pWalls[i]->m_nIndex = static_cast<int>(i);
        // Walls that were joined to the walls after w now have to name them one further on.
        for (const auto& other : m_Lev.m_pSectors)
            for (auto& wall : other->m_pWalls)
                if (wall->m_nAdjoin == s && wall->m_nMirror > w) ++wall->m_nMirror;
    }

    void Adjoin(int a, int wa, int b, int wb) {
        CDataWall& x = Wall(a, wa);
        CDataWall& y = Wall(b, wb);
        x.m_nAdjoin = x.m_nWalk = b;
        x.m_nMirror = wb;
        y.m_nAdjoin = y.m_nWalk = a;
        y.m_nMirror = wa;
    }

    // Cuts wall w of s so that a wall runs exactly from `from` to `to` (both on the wall).
    int Isolate(int s, int w, Point from, Point to) {
        if (!Same(Left(s, Wall(s, w)), from)) {
            SplitWall(s, w, from);
            ++w;
        }
        if (!Same(Right(s, Wall(s, w)), to)) SplitWall(s, w, to);
        return w;
    }

    bool JoinOnePair(int a, int b) {
        const std::size_t wallsA = Sector(a).m_pWalls.size();
        const std::size_t wallsB = Sector(b).m_pWalls.size();
        for (std::size_t i = 0; i < wallsA; ++i) {
            for (std::size_t j = 0; j < wallsB; ++j) {
                const CDataWall& wa = Wall(a, static_cast<int>(i));
                const CDataWall& wb = Wall(b, static_cast<int>(j));
                if (wa.m_nAdjoin >= 0 || wb.m_nAdjoin >= 0) continue;
                const Point p1 = Left(a, wa), p2 = Right(a, wa), q1 = Left(b, wb), q2 = Right(b, wb);
                if (Cross(p1, p2, q1) != 0.0 || Cross(p1, p2, q2) != 0.0) continue;
                const double t1 = Along(p1, p2, q1);
                const double t2 = Along(p1, p2, q2);
                if (t2 >= t1 || t2 >= 1.0 || t1 <= 0.0) continue; // same direction, or no overlap
                // The shared stretch, in a's direction; its ends are corners of one wall or the other.
                const Point from = t2 > 0.0 ? q2 : p1;
                const Point to = t1 < 1.0 ? q1 : p2;
                const int x = Isolate(a, static_cast<int>(i), from, to);
                const int y = Isolate(b, static_cast<int>(j), to, from);
                Adjoin(a, x, b, y);
                return true;
            }
        }
        return false;
    }

    CDataLevel& m_Level;
    CDataLev& m_Lev;
};

// Starts doc afresh with the level SECBASE and its members. The LEV, O and INF members are
// filled from the model when the level is finished.
CDataLevel& StartLevel(CMorviDoc& doc, std::string_view gol) {
    doc.m_pLevel = std::make_unique<CDataLevel>();
    doc.m_nCurrentLayer = kMainLayer;
    CDataLevel& level = doc.level();
    level.m_LevelNames = {"SECBASE"};
    level.m_Objects.m_strLevelName = "SECBASE";
    for (const char* member : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF"})
        level.AddMember(member, {});
    level.AddMember("SECBASE.GOL", std::span(reinterpret_cast<const std::uint8_t*>(gol.data()), gol.size()));
    const GamePalette palette = LevelPalette("SECBASE");
    level.AddMember("SECBASE.PAL", palette.m_Bytes);
    return level;
}

void AddTextMember(CDataLevel& level, const char* name, std::string_view text) {
    level.AddMember(name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// The player's start as the game expects it: the player's logic and the eye looking from it.
constexpr Seqs kPlayerSeqs = {{"LOGIC", "PLAYER"}, {"EYE", "TRUE"}};

// ---- The sample level, room by room -------------------------------------------------------

struct SampleRooms {
    int start, office, westCorridor, hall, pillar, hallDoor, courtyard, pit, guardPost;
    int storage, secret, controlPassage, control, eastCorridor, lift, pumpPassage, pump;
    int firstStep, lastStep;
    int landing, bridge, gallery, armouryDoor, armoury, watchRoom;
};

// Makes a room a door: the Door flag opens it when the player nudges it, and the neighbours'
// walls onto it carry the door's face as their top texture, which is what shows of them while
// the door's ceiling is down.
void MakeDoor(LevelSketch& sketch, int door, int sideA, int sideB) {
    sketch.Sector(door).m_nFlags1 |= kDoor;
    const int face = sketch.Texture("ZDREBL1.BM");
    for (int side : {sideA, sideB})
        for (int w : sketch.WallsToward(side, door))
            sketch.Wall(side, w).m_Top.m_nTexture = face;
}

// The lift as the elevator generator makes it: named after its index, anchored lift textures,
// and a move_floor elevator that stops at the floors of the two rooms it joins.
std::string MakeLift(LevelSketch& sketch, int lift, int below, int above) {
    CDataSector& sector = sketch.Sector(lift);
    sector.m_strName = "lift_" + std::to_string(lift);
    const int texture = sketch.Texture("IWCOMWAL.BM");
    for (auto& wall : sector.m_pWalls) {
        wall->m_nFlags1 |= kWallAnchored;
        wall->m_Mid.m_nTexture = wall->m_Top.m_nTexture = wall->m_Bottom.m_nTexture = texture;
    }
    sketch.AddInfItem("sector", sector.m_strName, -1,
                      {"class:\televator move_floor", "speed:\t10", "event_mask:\t4",
                       ElevatorStopLine(sketch.Sector(below).m_dFloorAltitude),
                       ElevatorStopLine(sketch.Sector(above).m_dFloorAltitude)});
    return sector.m_strName;
}

// A switch in the middle of a wall stretch: the piece between the two points shows ZASWIT1.BM
// as its sign and pressing it sends the lift to its next stop.
void MakeLiftSwitch(LevelSketch& sketch, int s, Point from, Point to, const std::string& lift) {
    sketch.Split(s, from);
    sketch.Split(s, to);
    const int w = sketch.WallFrom(s, from, to);
    if (w < 0) return; // the points do not both lie on one solid wall of s
    sketch.Wall(s, w).m_Sign.m_nTexture = sketch.Texture("ZASWIT1.BM");
    sketch.AddInfItem("line", sketch.Sector(s).m_strName, w, {"class:\ttrigger switch1", "client:\t" + lift});
}

// A sign on the stretch of a solid wall of s between the two points.
void SetSign(LevelSketch& sketch, int s, Point from, Point to, const char* texture) {
    sketch.Split(s, from);
    sketch.Split(s, to);
    if (const int w = sketch.WallFrom(s, from, to); w >= 0)
        sketch.Wall(s, w).m_Sign.m_nTexture = sketch.Texture(texture);
}

// West wing: the start room with an office, a corridor into the hall, and the hall around its
// pillar with the store and the control room to the south.
void DrawMainFloor(LevelSketch& sketch, SampleRooms& r) {
    r.start = sketch.Room("start", Rect(-64, 16, -16, 48), {.ceilingAltitude = -24, .ambient = 20});
    r.office = sketch.Room("office", Rect(-64, 48, -32, 80),
                           {.walls = "IWLIGHT1.BM", .ceilingAltitude = -20, .ambient = 16});
    r.westCorridor = sketch.Room("westcorr", Rect(-16, 24, 0, 40), {.ambient = 14});
    r.hall = sketch.Room("hall", Rect(0, 0, 96, 64), {.ceilingAltitude = -32, .ambient = 26});
    sketch.Join(r.start, r.office);
    sketch.Join(r.start, r.westCorridor);
    sketch.Join(r.westCorridor, r.hall);
    // A solid column: its floor meets its ceiling, so only its walls show.
    r.pillar = sketch.Island(r.hall, "pillar", Rect(40, 24, 56, 40),
                             {.walls = "IWMETAL1.BM", .ceilingAltitude = 0, .ambient = 26});

    const Look crates{.walls = "IDMGCRT1.BM", .ceilingAltitude = -20, .ambient = 12};
    r.storage = sketch.Room("storage", Rect(8, -32, 40, 0), crates);
    r.secret = sketch.Room("secret", Rect(-24, -24, 8, -8),
                           {.walls = "IDMGCRT1.BM", .ambient = 10, .flags = kSecret});
    r.controlPassage = sketch.Room("ctrlpass", Rect(72, -8, 88, 0), {.ambient = 18});
    r.control = sketch.Room("control", Rect(56, -40, 104, -8),
                            {.walls = "IWMETAL1.BM", .ceilingAltitude = -24, .ambient = 22});
    sketch.Join(r.hall, r.storage);
    sketch.Join(r.storage, r.secret);
    sketch.Join(r.hall, r.controlPassage);
    sketch.Join(r.controlPassage, r.control);
    SetSign(sketch, r.control, {104, -16}, {104, -32}, "IWFUELS1.BM");
}

// North: a door out of the hall into the courtyard under the sky, with a water pit in the middle
// and a guard post in its corner.
void DrawCourtyard(LevelSketch& sketch, SampleRooms& r) {
    r.hallDoor = sketch.Room("door1", Rect(40, 64, 56, 72), {.walls = "ZDOOR1.BM", .ambient = 20});
    const Look open{.floor = "RWSTONE1.BM",
                    .ceiling = "RESKY01.BM",
                    .walls = "RWSTONE1.BM",
                    .ceilingAltitude = -64,
                    .flags = kSky};
    r.courtyard = sketch.Room("courtyard", Rect(16, 72, 80, 136), open);
    sketch.Join(r.hall, r.hallDoor);
    sketch.Join(r.hallDoor, r.courtyard);
    MakeDoor(sketch, r.hallDoor, r.hall, r.courtyard);
    Look water = open;
    water.floor = "SWATER1.BM";
    water.floorAltitude = 24;
    water.flags = kSky | kPit;
    r.pit = sketch.Island(r.courtyard, "pit", Rect(36, 92, 60, 116), water);
    r.guardPost = sketch.Room("guardpost", Rect(16, 136, 40, 152),
                              {.walls = "IWMETAL1.BM", .ceilingAltitude = -20, .ambient = 16});
    sketch.Join(r.courtyard, r.guardPost);
}

// East: a corridor from the hall to the lift, a pump room off it, and the stairs that climb from
// the courtyard to the gallery, four units a step.
void DrawEastWing(LevelSketch& sketch, SampleRooms& r) {
    r.eastCorridor = sketch.Room("eastcorr", Rect(96, 24, 128, 40), {.ceilingAltitude = -24, .ambient = 16});
    r.lift = sketch.Room("lift", Rect(128, 24, 144, 40), {.ceilingAltitude = -56, .ambient = 20});
    r.pumpPassage = sketch.Room("pumppass", Rect(104, 40, 120, 64), {.ambient = 14});
    r.pump =
        sketch.Room("pump", Rect(96, 64, 128, 88),
                    {.floor = "IFGRATE1.BM", .walls = "IWACONV1.BM", .ceilingAltitude = -24, .ambient = 14});
    sketch.Join(r.hall, r.eastCorridor);
    sketch.Join(r.eastCorridor, r.lift);
    sketch.Join(r.eastCorridor, r.pumpPassage);
    sketch.Join(r.pumpPassage, r.pump);
    SetSign(sketch, r.eastCorridor, {96, 40}, {104, 40}, "ZSBSIGN1.BM");

    constexpr int kSteps = 7;
    int previous = r.courtyard;
    for (int i = 0; i < kSteps; ++i) {
        const double x = 80 + 8 * i;
        const double floor = -4.0 * (i + 1);
        const int step = sketch.Room(
            "stair" + std::to_string(i + 1), Rect(x, 96, x + 8, 112),
            {.walls = "RWSTONE1.BM", .floorAltitude = floor, .ceilingAltitude = floor - 24, .ambient = 24});
        sketch.Join(previous, step);
        if (i == 0) r.firstStep = step;
        previous = step;
    }
    r.lastStep = previous;
}

// The second layer, 32 units up: the lift's landing, a bridge to the gallery, and the armoury
// behind a door and a watch room off the gallery.
void DrawGallery(LevelSketch& sketch, SampleRooms& r) {
    const Look upper{.floorAltitude = -32, .ceilingAltitude = -56, .ambient = 22, .layer = kUpperLayer};
    r.landing = sketch.Room("landing", Rect(144, 24, 176, 40), upper);
    Look grating = upper;
    grating.floor = "IFGRATE1.BM";
    grating.ceilingAltitude = -48;
    grating.ambient = 18;
    r.bridge = sketch.Room("bridge", Rect(152, 40, 168, 72), grating);
    grating.ceilingAltitude = -64;
    grating.ambient = 24;
    r.gallery = sketch.Room("gallery", Rect(136, 72, 200, 136), grating);
    Look door = upper;
    door.walls = "ZDOOR1.BM";
    door.ceilingAltitude = -48;
    door.ambient = 20;
    r.armouryDoor = sketch.Room("door2", Rect(200, 96, 208, 112), door);
    Look armoury = upper;
    armoury.walls = "IWMETAL1.BM";
    armoury.ambient = 18;
    r.armoury = sketch.Room("armoury", Rect(208, 88, 240, 120), armoury);
    Look watch = upper;
    watch.walls = "IWLIGHT1.BM";
    watch.ceilingAltitude = -52;
    watch.ambient = 20;
    r.watchRoom = sketch.Room("watchroom", Rect(152, 136, 184, 160), watch);

    sketch.Join(r.lift, r.landing);
    sketch.Join(r.landing, r.bridge);
    sketch.Join(r.bridge, r.gallery);
    sketch.Join(r.lastStep, r.gallery);
    sketch.Join(r.gallery, r.armouryDoor);
    sketch.Join(r.armouryDoor, r.armoury);
    sketch.Join(r.gallery, r.watchRoom);
    MakeDoor(sketch, r.armouryDoor, r.gallery, r.armoury);
}

void WireLift(LevelSketch& sketch, const SampleRooms& r) {
    const std::string lift = MakeLift(sketch, r.lift, r.eastCorridor, r.landing);
    MakeLiftSwitch(sketch, r.eastCorridor, {116, 24}, {108, 24}, lift);
    MakeLiftSwitch(sketch, r.landing, {164, 24}, {156, 24}, lift);
}

void PlaceObjects(LevelSketch& s, const SampleRooms& r) {
    s.Put(r.start, "SPIRIT", "spirit", {-48, 32}, kPlayerSeqs, 90);
    s.Put(r.start, "FRAME", "IMEDKIT.FME", {-56, 40}, {{"LOGIC", "MEDKIT"}});
    s.Put(r.hall, "SAFE", "safe", {16, 32}, {}, 90);
    s.Put(r.hall, "SPRITE", "STORMFIN.WAX", {80, 52}, {{"LOGIC", "STORM1"}}, 270);
    s.Put(r.hall, "SPRITE", "STORMFIN.WAX", {80, 12}, {{"LOGIC", "STORM1"}}, 270);
    s.Put(r.hall, "SPRITE", "IFLRLIT.WAX", {4, 60}, {{"LOGIC", "SCENERY"}, {"RADIUS", "0"}});
    s.Put(r.storage, "SPRITE", "BARREL.WAX", {16, -24}, {{"LOGIC", "BARREL"}});
    s.Put(r.storage, "FRAME", "IENERGY.FME", {32, -24}, {{"LOGIC", "ENERGY"}});
    s.Put(r.secret, "SPRITE", "IARMOR.WAX", {-16, -16}, {{"LOGIC", "SHIELD"}, {"LOGIC", "ANIM"}});
    s.Put(r.secret, "SPRITE", "ILIFE.WAX", {0, -16}, {{"LOGIC", "LIFE"}, {"LOGIC", "ANIM"}});
    s.Put(r.control, "SPRITE", "OFFCFIN.WAX", {80, -24}, {{"LOGIC", "I_OFFICER"}}, 180);
    s.Put(r.control, "FRAME", "IKEYR.FME", {96, -32}, {{"LOGIC", "RED"}});
    s.Put(r.courtyard, "SPRITE", "STORMFIN.WAX", {24, 128}, {{"LOGIC", "STORM1"}}, 135);
    s.Put(r.courtyard, "SPRITE", "PROBE.WAX", {72, 80}, {{"LOGIC", "PROBE_DROID"}}, 225);
    s.Put(r.courtyard, "SOUND", "WIND01.VOC", {48, 128});
    s.Put(r.pump, "SOUND", "WATER01.VOC", {112, 76});
    s.Put(r.pump, "3D", "WELDARM.3DO", {100, 84}, {{"LOGIC", "WELDER"}}, 90);
    s.Put(r.pump, "SPRITE", "BARREL.WAX", {122, 70}, {{"LOGIC", "BARREL"}});
    s.Put(r.gallery, "SPRITE", "TALLIT1.WAX", {140, 132}, {{"LOGIC", "SCENERY"}, {"LOGIC", "ANIM"}});
    s.Put(r.gallery, "SAFE", "safe", {168, 104}, {}, 90);
    s.Put(r.gallery, "SPRITE", "COMMANDO.WAX", {192, 80}, {{"LOGIC", "COMMANDO"}}, 270);
    // The turret hangs from the ceiling.
    s.Put(r.watchRoom, "3D", "GUN.3DO", {168, 152}, {{"LOGIC", "TURRET"}}).m_dY =
        s.Sector(r.watchRoom).m_dCeilingAltitude;
    s.Put(r.armoury, "SPRITE", "OFFCFIN.WAX", {228, 92}, {{"LOGIC", "I_OFFICER"}}, 270);
    s.Put(r.armoury, "SPRITE", "IDPLANS.WAX", {232, 104}, {{"LOGIC", "PLANS"}});
    s.Put(r.armoury, "FRAME", "IDETS.FME", {216, 96}, {{"LOGIC", "DETONATORS"}});
    s.Put(r.armoury, "FRAME", "IST-GUNI.FME", {216, 112}, {{"LOGIC", "RIFLE"}});
}

// The mission's goal is the plans in the armoury.
constexpr std::string_view kSampleGoals = "GOL 1.0\r\n\r\nGOAL: 0 ITEM: PLANS\r\n";
constexpr std::string_view kEmptyGoals = "GOL 1.0\r\n\r\n";
constexpr std::string_view kLevelList = "LEVELS 1\r\n\r\nSecret Base, SECBASE, L:\\LEVELS\\\r\n";
constexpr std::string_view kMessages = "MSG 1.0\r\n\r\nMSGS 3\r\n\r\n"
                                       "100 0: \"The lift is on its way\"\r\n"
                                       "101 0: \"The plans are in the armoury\"\r\n"
                                       "102 0: \"You found a secret area\"\r\n"
                                       "\r\nEND\r\n";

// The map state the document opens with: the level fitted into a window of a usual size, then
// zoomed out by the given number of steps to leave room around it.
void FitView(CMorviDoc& doc, int zoomOutSteps) {
    const Settings settings;
    CMapEngine engine(doc, settings);
    const MapDevice device{};
    const ClientRect client{0, 0, 1280, 720};
    engine.viewport().RecalcLayout(device, client);
    engine.viewport().ZoomNormalize(device, client);
    engine.viewport().OnUpdate(kHintZoom, device, client);
    for (int i = 0; i < zoomOutSteps; ++i)
        if (engine.viewport().ZoomOut()) engine.viewport().OnUpdate(kHintZoom, device, client);
}

} // namespace

void BuildNewDocument(CMorviDoc& doc) {
    CDataLevel& level = StartLevel(doc, kEmptyGoals);
    LevelSketch sketch(level);
    const int room = sketch.Room("", Rect(-32, -32, 32, 32), Look{});
    sketch.Put(room, "SPIRIT", "spirit", {0, 0}, kPlayerSeqs);
    RegenerateLevelMembers(level);
    FitView(doc, 4);
}

void BuildSampleLevel(CMorviDoc& doc) {
    CDataLevel& level = StartLevel(doc, kSampleGoals);
    level.m_Lev.m_strAuthor = "Morvi";
    AddTextMember(level, "JEDI.LVL", kLevelList);
    AddTextMember(level, "TEXT.MSG", kMessages);
    LevelSketch sketch(level);
    SampleRooms rooms{};
    DrawMainFloor(sketch, rooms);
    DrawCourtyard(sketch, rooms);
    DrawEastWing(sketch, rooms);
    DrawGallery(sketch, rooms);
    WireLift(sketch, rooms);
    PlaceObjects(sketch, rooms);
    RegenerateLevelMembers(level);
    FitView(doc, 0);
}

} // namespace morvi::demo
