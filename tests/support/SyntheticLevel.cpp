#include "support/SyntheticLevel.h"

#include "model/ModelOps.h"
#include "support/RawBytes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace morvi::testing {

SyntheticLevelOptions SyntheticLevelOptions::Small() {
    SyntheticLevelOptions options;
    options.sectors = 40;
    options.objects = 30;
    options.infItems = 10;
    return options;
}

namespace {

// splitmix64: tiny and identical on every platform, unlike the standard library's distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_nState(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (m_nState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi].
    int Int(int lo, int hi) {
        return lo +
               static_cast<int>(Next() % static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1));
    }
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    bool Chance(double p) { return Unit() < p; }
    // Uniform in [lo, hi], rounded to hundredths.
    double Real(double lo, double hi) { return RoundHundredths(lo + (hi - lo) * Unit()); }
    template <class T, std::size_t N> const T& Pick(const std::array<T, N>& items) {
        return items[static_cast<std::size_t>(Int(0, static_cast<int>(N) - 1))];
    }
    // The first count entries of a random permutation of 0..n-1.
    std::vector<int> Choose(int n, int count) {
        std::vector<int> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        for (int i = 0; i < count; ++i)
            std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(Int(i, n - 1))]);
        order.resize(static_cast<std::size_t>(count));
        return order;
    }

private:
    std::uint64_t m_nState;
};

// Resource names and the SEQ line that goes with each.
struct ObjectKind {
    const char* m_pData;
    const char* m_pKey;
    const char* m_pValue;
};

constexpr std::array<ObjectKind, 8> kSprites{{{"STORMFIN.WAX", "LOGIC", "STORM1"},
                                              {"OFFCFIN.WAX", "LOGIC", "I_OFFICER"},
                                              {"COMMANDO.WAX", "LOGIC", "COMMANDO"},
                                              {"INTDROID.WAX", "LOGIC", "INT_DROID"},
                                              {"PROBE.WAX", "LOGIC", "PROBE_DROID"},
                                              {"REMOTE.WAX", "LOGIC", "REMOTE"},
                                              {"TROOPER.WAX", "LOGIC", "TROOP"},
                                              {"ISHIELD.WAX", "LOGIC", "ITEM SHIELD"}}};
constexpr std::array<ObjectKind, 6> kFrames{{{"IENERGY.FME", "LOGIC", "ITEM ENERGY"},
                                             {"IMEDKIT.FME", "LOGIC", "ITEM ENERGY"},
                                             {"ISUPCHRG.FME", "LOGIC", "SUPERCHARGE"},
                                             {"IRIFLE.FME", "LOGIC", "RIFLE"},
                                             {"IGOGGLES.FME", "LOGIC", "GOGGLES"},
                                             {"WLIGHT.FME", "LOGIC", "SCENERY"}}};
constexpr std::array<ObjectKind, 4> kModels{{{"CRATE1.3DO", "PAUSE", "TRUE"},
                                             {"CONSOLE.3DO", "PAUSE", "TRUE"},
                                             {"TURRET.3DO", "LOGIC", "TURRET"},
                                             {"LAMP.3DO", "PAUSE", "TRUE"}}};
constexpr std::array<const char*, 4> kSoundNames{{"BUZZ.VOC", "DRIP.VOC", "WIND.VOC", "MACHINE.VOC"}};
constexpr std::array<const char*, 5> kElevatorClasses{
    {"move_floor", "move_ceiling", "change_light", "basic", "inv"}};
constexpr std::array<int, 9> kSectorFlags1{{0, 0, 0, 0, 1, 8, 64, 9, 2048}};
constexpr std::array<int, 7> kWallFlags1{{0, 0, 0, 0, 1, 16, 64}};
constexpr std::array<int, 8> kDifficulties{{1, 1, 1, 2, 3, -1, -2, -3}};

// A number as an INF line shows it: no decimals when whole, else at most two.
std::string FormatNumber(double value) {
    const long long cents = std::llround(RoundHundredths(value) * 100.0);
    const long long magnitude = std::llabs(cents);
    std::string text = (cents < 0 ? "-" : "") + std::to_string(magnitude / 100);
    if (magnitude % 100 != 0) {
        text += '.';
        text += static_cast<char>('0' + magnitude % 100 / 10);
        if (magnitude % 10 != 0) text += static_cast<char>('0' + magnitude % 10);
    }
    return text;
}

RawBytes& Pixels(RawBytes& out, int size, int shade) {
    for (int i = 0; i < size * size; ++i)
        out.u8(static_cast<std::uint8_t>((i + shade) % 255 + 1));
    return out;
}

// A plain square BM picture.
std::vector<std::uint8_t> MakeBitmap(int size, int shade) {
    int heightBits = 0;
    for (int h = size; h > 0; h >>= 1)
        ++heightBits;
    RawBytes out;
    out.text("BM \x1E").u16(static_cast<std::uint16_t>(size)).u16(static_cast<std::uint16_t>(size)).u32(0);
    out.u8(0x36)
        .u8(static_cast<std::uint8_t>(heightBits))
        .u16(0)
        .u32(static_cast<std::uint32_t>(size * size));
    return Pixels(out.zeros(12), size, shade).m_Bytes;
}

// A still FME frame: header, one plain cell.
std::vector<std::uint8_t> MakeFrame(int size, int shade) {
    RawBytes out;
    out.u32(static_cast<std::uint32_t>(-size / 2)).u32(static_cast<std::uint32_t>(-size)).u32(0).u32(32);
    out.zeros(16).u32(static_cast<std::uint32_t>(size)).u32(static_cast<std::uint32_t>(size)).u32(0);
    out.u32(static_cast<std::uint32_t>(size * size)).zeros(8);
    return Pixels(out, size, shade).m_Bytes;
}

std::vector<std::uint8_t> MakePalette() {
    RawBytes out;
    for (int i = 0; i < 256; ++i)
        for (int shift : {2, 3, 2})
            out.u8(static_cast<std::uint8_t>((i >> shift) & 0x3F));
    return out.m_Bytes;
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

enum Side { kWest, kNorth, kEast, kSouth };

// Interior points of one grid edge, ascending. Both rooms along the edge use the same points, so
// their walls there pair one to one; two at most keeps every room within 12 corners.
struct EdgeSplits {
    int m_nCount = 0;
    std::array<double, 2> m_At{};
};

struct Room {
    int m_nCol = 0;
    int m_nRow = 0;
    int m_nSector = -1;
    int m_nPillar = -1;
    std::array<int, 4> m_SideStart{};
    std::array<int, 4> m_SideWalls{};
};

struct NamedSector {
    int m_nSector = -1;
    std::string m_strName;
    bool m_bDoor = false;
};

class Generator {
public:
    Generator(CDataLevel& level, const SyntheticLevelOptions& options)
        : m_Level(level), m_Options(options), m_Random(options.seed) {}

    void Run() {
        Reset();
        MakeTextures();
        PlanGrid();
        PlanEdges();
        for (Room& room : m_Rooms)
            BuildRoom(room);
        AdjoinNeighbours();
        BuildObjects();
        NameSectors();
        BuildInf();
        SetHeader();
        AddMembers();
    }

private:
    CDataLev& Lev() { return m_Level.m_Lev; }
    CDataSector& Sector(int i) { return *Lev().m_pSectors[static_cast<std::size_t>(i)]; }
    double X(int col) const { return RoundHundredths(-2000.0 + m_dCell * col); }
    double Z(int row) const { return RoundHundredths(-2000.0 + m_dCell * row); }
    EdgeSplits& Vertical(int col, int row) {
        return m_Vertical[static_cast<std::size_t>(row * (m_nCols + 1) + col)];
    }
    EdgeSplits& Horizontal(int col, int row) {
        return m_Horizontal[static_cast<std::size_t>(row * m_nCols + col)];
    }

    void Reset() {
        m_Level.m_Lev = CDataLev();
        m_Level.m_Objects = CDataObjects();
        m_Level.m_Inf = CDataInf();
        m_Level.m_pMembers.clear();
        m_Level.RebuildKindLists();
    }

    void MakeTextures() {
        for (int i = 0; i < m_Options.textures; ++i) {
            std::string digits = std::to_string(i + 1);
            digits.insert(0, digits.size() < 4 ? 4 - digits.size() : 0, '0');
            Lev().m_Textures.emplace_back(i, "TEX" + digits + ".BM");
        }
    }

    // About one room in eight holds a pillar; the pillars count among the requested sectors.
    void PlanGrid() {
        const int sectors = std::max(0, m_Options.sectors);
        const int pillars = sectors / 9;
        const int rooms = sectors - pillars;
        if (rooms == 0) return;
        m_nCols = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(rooms))));
        m_nRows = (rooms + m_nCols - 1) / m_nCols;
        m_dCell = 4000.0 / m_nCols;
        std::vector<char> withPillar(static_cast<std::size_t>(rooms), 0);
        for (int k : m_Random.Choose(rooms, pillars))
            withPillar[static_cast<std::size_t>(k)] = 1;
        int next = 0;
        for (int k = 0; k < rooms; ++k) {
            Room room;
            room.m_nCol = k % m_nCols;
            room.m_nRow = k / m_nCols;
            room.m_nSector = next++;
            if (withPillar[static_cast<std::size_t>(k)]) room.m_nPillar = next++;
            m_Rooms.push_back(room);
        }
        m_nPillars = pillars;
    }

    // The mean number of split points per edge that gives the requested walls per sector: every
    // room has 4 walls plus one per split point, a pillar 4 and its hole 4.
    double SplitMean() const {
        const double rooms = static_cast<double>(m_Rooms.size());
        const double sectors = rooms + m_nPillars;
        const double mean =
            (m_Options.wallsPerSector * sectors - 4.0 * rooms - 8.0 * m_nPillars) / (4.0 * rooms);
        return std::clamp(mean, 0.0, 2.0);
    }

    // A uniform choice mixed with the nearer extreme: rooms of every size from 4 to 12 corners
    // while the mean stays as requested.
    int SplitCount(double mean) {
        if (m_Random.Chance(1.0 - std::abs(mean - 1.0))) return m_Random.Int(0, 2);
        return mean < 1.0 ? 0 : 2;
    }

    EdgeSplits MakeSplits(double from, double to, int count) {
        EdgeSplits edge;
        for (int m = 1; m <= count; ++m) {
            const double at =
                RoundHundredths(from + (to - from) * (m + m_Random.Real(-0.3, 0.3)) / (count + 1));
            const double last = edge.m_nCount ? edge.m_At[static_cast<std::size_t>(edge.m_nCount - 1)] : from;
            if (at > last && at < to) edge.m_At[static_cast<std::size_t>(edge.m_nCount++)] = at;
        }
        return edge;
    }

    void PlanEdges() {
        if (m_Rooms.empty()) return;
        const double mean = SplitMean();
        for (int row = 0; row < m_nRows; ++row)
            for (int col = 0; col <= m_nCols; ++col)
                m_Vertical.push_back(MakeSplits(Z(row), Z(row + 1), SplitCount(mean)));
        for (int row = 0; row <= m_nRows; ++row)
            for (int col = 0; col < m_nCols; ++col)
                m_Horizontal.push_back(MakeSplits(X(col), X(col + 1), SplitCount(mean)));
    }

    void DressTexture(CDataTexture& texture) {
        texture.m_nTexture = m_Options.textures > 0 ? m_Random.Int(0, m_Options.textures - 1) : -1;
        texture.m_dOffsetX = m_Random.Real(-16.0, 16.0);
        texture.m_dOffsetY = m_Random.Real(-16.0, 16.0);
        texture.m_nTexFlag = m_Random.Chance(0.1) ? 1 : 0;
    }

    void DressWall(CDataWall& wall) {
        DressTexture(wall.m_Mid);
        DressTexture(wall.m_Top);
        DressTexture(wall.m_Bottom);
        if (m_Random.Chance(0.05)) {
            DressTexture(wall.m_Sign);
            wall.m_Sign.m_nTexFlag = 0;
        }
        wall.m_nFlags1 = m_Random.Pick(kWallFlags1);
        wall.m_nFlags3 = m_Random.Chance(0.05) ? 2 : 0;
        wall.m_nLight = m_Random.Chance(0.1) ? m_Random.Int(-4, 8) : 0;
    }

    void DressSector(CDataSector& sector, int layer) {
        sector.m_nAmbient = m_Random.Int(4, 31);
        DressTexture(sector.m_FloorTexture);
        DressTexture(sector.m_CeilingTexture);
        sector.m_dFloorAltitude = m_Random.Chance(0.7) ? m_Random.Int(-6, 6) : m_Random.Real(-6.0, 6.0);
        sector.m_dCeilingAltitude = RoundHundredths(sector.m_dFloorAltitude - m_Random.Real(12.0, 40.0));
        sector.m_dSecondAltitude = m_Random.Chance(0.1) ? m_Random.Real(0.5, 4.0) : 0.0;
        sector.m_nFlags1 = m_Random.Pick(kSectorFlags1);
        sector.m_nFlags2 = m_Random.Chance(0.05) ? m_Random.Int(1, 8) : 0;
        sector.m_nLayer = layer;
    }

    void AddWall(CDataSector& sector, int left, int right) {
        auto wall = std::make_unique<CDataWall>();
        wall->m_nIndex = static_cast<int>(sector.m_pWalls.size());
        wall->m_nLeft = left;
        wall->m_nRight = right;
        DressWall(*wall);
        sector.m_pWalls.push_back(std::move(wall));
    }

    // Appends a closed loop through the given corners, in their order.
    void AddLoop(CDataSector& sector, const std::vector<std::pair<double, double>>& corners) {
        const int first = static_cast<int>(sector.m_pVertices.size());
        const int n = static_cast<int>(corners.size());
        for (const auto& [x, z] : corners)
            sector.m_pVertices.push_back(std::make_unique<CDataVertex>(x, z));
        for (int i = 0; i < n; ++i)
            AddWall(sector, first + i, first + (i + 1) % n);
    }

    // Runs along one side from its first corner, through the split points in the walking direction.
    static void AddSide(std::vector<std::pair<double, double>>& corners, double x, double z,
                        const EdgeSplits& edge, bool alongX, bool descending) {
        corners.emplace_back(x, z);
        for (int i = 0; i < edge.m_nCount; ++i) {
            const double at = edge.m_At[static_cast<std::size_t>(descending ? edge.m_nCount - 1 - i : i)];
            corners.emplace_back(alongX ? at : x, alongX ? z : at);
        }
    }

    // The outer loop runs clockwise (Z up) from the south-west corner: west side northwards,
    // north side eastwards, east side southwards, south side westwards.
    void BuildRoom(Room& room) {
        const int c = room.m_nCol;
        const int r = room.m_nRow;
        const double x0 = X(c), x1 = X(c + 1), z0 = Z(r), z1 = Z(r + 1);
        const std::array<const EdgeSplits*, 4> sides{&Vertical(c, r), &Horizontal(c, r + 1),
                                                     &Vertical(c + 1, r), &Horizontal(c, r)};
        std::vector<std::pair<double, double>> corners;
        AddSide(corners, x0, z0, *sides[kWest], false, false);
        AddSide(corners, x0, z1, *sides[kNorth], true, false);
        AddSide(corners, x1, z1, *sides[kEast], false, true);
        AddSide(corners, x1, z0, *sides[kSouth], true, true);
        for (int side = 0, start = 0; side < 4; ++side) {
            room.m_SideStart[static_cast<std::size_t>(side)] = start;
            room.m_SideWalls[static_cast<std::size_t>(side)] =
                sides[static_cast<std::size_t>(side)]->m_nCount + 1;
            start += room.m_SideWalls[static_cast<std::size_t>(side)];
        }
        auto sector = std::make_unique<CDataSector>();
        sector->m_nIndex = room.m_nSector;
        DressSector(*sector, room.m_nRow * 3 / m_nRows - 1);
        AddLoop(*sector, corners);
        Lev().m_pSectors.push_back(std::move(sector));
        if (room.m_nPillar >= 0) BuildPillar(room, (x0 + x1) / 2, (z0 + z1) / 2, (x1 - x0) * 0.15);
    }

    // A square hole in the middle of the room, filled by a raised pillar sector. The hole runs
    // counter-clockwise; hole wall k and pillar wall 3 - k are the same edge.
    void BuildPillar(const Room& room, double cx, double cz, double half) {
        const double xa = RoundHundredths(cx - half), xb = RoundHundredths(cx + half);
        const double za = RoundHundredths(cz - half), zb = RoundHundredths(cz + half);
        CDataSector& outer = Sector(room.m_nSector);
        const int firstHoleWall = static_cast<int>(outer.m_pWalls.size());
        AddLoop(outer, {{xa, za}, {xb, za}, {xb, zb}, {xa, zb}});
        auto pillar = std::make_unique<CDataSector>();
        pillar->m_nIndex = room.m_nPillar;
        DressSector(*pillar, outer.m_nLayer);
        pillar->m_nAmbient = outer.m_nAmbient;
        pillar->m_dFloorAltitude = RoundHundredths(outer.m_dFloorAltitude - m_Random.Real(2.0, 8.0));
        pillar->m_dCeilingAltitude = outer.m_dCeilingAltitude;
        AddLoop(*pillar, {{xa, za}, {xa, zb}, {xb, zb}, {xb, za}});
        Lev().m_pSectors.push_back(std::move(pillar));
        for (int k = 0; k < 4; ++k)
            Link(room.m_nSector, firstHoleWall + k, room.m_nPillar, 3 - k);
    }

    void Link(int a, int wallA, int b, int wallB) {
        CDataWall& first = *Sector(a).m_pWalls[static_cast<std::size_t>(wallA)];
        CDataWall& second = *Sector(b).m_pWalls[static_cast<std::size_t>(wallB)];
        first.m_nAdjoin = first.m_nWalk = b;
        first.m_nMirror = wallB;
        second.m_nAdjoin = second.m_nWalk = a;
        second.m_nMirror = wallA;
    }

    // A side of one room and the facing side of its neighbour hold the same edge walked the
    // other way round, so wall k of one pairs with wall n - 1 - k of the other.
    void LinkSides(const Room& a, Side sideA, const Room& b, Side sideB) {
        const int n = a.m_SideWalls[sideA];
        for (int k = 0; k < n; ++k)
            Link(a.m_nSector, a.m_SideStart[sideA] + k, b.m_nSector, b.m_SideStart[sideB] + n - 1 - k);
    }

    void AdjoinNeighbours() {
        const std::size_t rooms = m_Rooms.size();
        const std::size_t cols = static_cast<std::size_t>(m_nCols);
        for (std::size_t k = 0; k < rooms; ++k) {
            const Room& room = m_Rooms[k];
            if (room.m_nCol + 1 < m_nCols && k + 1 < rooms) LinkSides(room, kEast, m_Rooms[k + 1], kWest);
            if (k + cols < rooms) LinkSides(room, kNorth, m_Rooms[k + cols], kSouth);
        }
    }

    // Somewhere in the room's ring around the central pillar square, whether or not it holds one.
    void Place(CDataObjectItem& object, const Room& room) {
        double u = m_Random.Real(0.08, 0.30);
        if (m_Random.Chance(0.5)) u = 1.0 - u;
        double v = m_Random.Real(0.08, 0.92);
        if (m_Random.Chance(0.5)) std::swap(u, v);
        const double x0 = X(room.m_nCol), z0 = Z(room.m_nRow);
        object.m_dX = RoundHundredths(x0 + u * (X(room.m_nCol + 1) - x0));
        object.m_dZ = RoundHundredths(z0 + v * (Z(room.m_nRow + 1) - z0));
        object.m_dY = Sector(room.m_nSector).m_dFloorAltitude;
        object.m_dYaw = m_Random.Real(0.0, 359.99);
        object.m_nSector = room.m_nSector;
        object.m_nDiff = m_Random.Pick(kDifficulties);
    }

    void AddSeq(CDataObjectItem& object, std::string key, std::string value) {
        object.m_pSeqs.push_back(std::make_unique<CDataObjectSeq>(std::move(key), std::move(value)));
    }

    // SPIRIT objects always have SEQ lines, SAFE and SOUND objects never; the others mostly do.
    // Those without (mines, scenery) stand in runs of their class before and after objects with
    // logic, and the last object has none: an O text must keep each object's own lines.
    void FillObject(CDataObjectItem& object, int cls, bool logic) {
        static constexpr std::array<const char*, 6> kClasses{
            {"SPIRIT", "SAFE", "SPRITE", "FRAME", "3D", "SOUND"}};
        object.m_strClass = kClasses[static_cast<std::size_t>(cls)];
        if (cls == 0) {
            object.m_strData = "spirit";
            AddSeq(object, "LOGIC", "PLAYER");
        } else if (cls == 1) {
            object.m_strData = "safe";
        } else if (cls == 2) {
            FillSprite(object, logic);
        } else if (cls == 5) {
            object.m_strData = m_Random.Pick(kSoundNames);
        } else {
            const ObjectKind& kind = cls == 3 ? m_Random.Pick(kFrames) : m_Random.Pick(kModels);
            object.m_strData = kind.m_pData;
            if (logic) AddSeq(object, kind.m_pKey, kind.m_pValue);
        }
    }

    void FillSprite(CDataObjectItem& object, bool logic) {
        const ObjectKind& kind = m_Random.Pick(kSprites);
        object.m_strData = kind.m_pData;
        if (!logic) return;
        AddSeq(object, kind.m_pKey, kind.m_pValue);
        if (m_Random.Chance(0.1)) AddSeq(object, "EYE", "TRUE");
        if (m_Random.Chance(0.3)) AddSeq(object, "HEIGHT", FormatNumber(m_Random.Real(2.0, 8.0)));
    }

    // One object of every class first, then SPRITE, FRAME, 3D, SOUND and SAFE by weight.
    int ClassOf(int i) {
        if (i < 6) return i;
        const int roll = m_Random.Int(0, 99);
        if (roll < 48) return 2;
        if (roll < 75) return 3;
        if (roll < 87) return 4;
        if (roll < 97) return 5;
        return 1;
    }

    void BuildObjects() {
        if (m_Rooms.empty()) return;
        CDataObjects& objects = m_Level.m_Objects;
        int runClass = 0;
        for (int i = 0; i < m_Options.objects; ++i) {
            auto object = std::make_unique<CDataObjectItem>();
            object->m_nIndex = i;
            // Every tenth object starts a run of three of one class: without, with and without
            // logic.
            const int inRun = i >= 6 ? i % 10 : 9;
            if (inRun == 0) runClass = 2 + m_Random.Int(0, 2);
            const int cls = inRun < 3 ? runClass : ClassOf(i);
            const bool last = i + 1 == m_Options.objects;
            FillObject(*object, cls, !last && (inRun < 3 ? inRun == 1 : !m_Random.Chance(0.15)));
            Place(*object,
                  m_Rooms[static_cast<std::size_t>(m_Random.Int(0, static_cast<int>(m_Rooms.size()) - 1))]);
            SetObjectDataIndex(objects, *object);
            // The colour the O reader would give it.
            object->m_crColour = 0x0000FF;
            AssignObjectColour(*object);
            for (const auto& seq : object->m_pSeqs)
                AssignObjectColour(*object, seq.get());
            objects.m_pObjects.push_back(std::move(object));
        }
    }

    // Three named sectors for every five sector and line items, chosen among rooms and pillars
    // alike, in sector order.
    void NameSectors() {
        const int sectors = static_cast<int>(Lev().m_pSectors.size());
        const int items = std::max(0, m_Options.infItems - 1);
        std::vector<int> chosen = m_Random.Choose(sectors, std::min(sectors, (items * 3 + 4) / 5));
        std::sort(chosen.begin(), chosen.end());
        int doors = 0, elevators = 0;
        for (int s : chosen) {
            NamedSector named;
            named.m_nSector = s;
            // Two doors in every five, so that even a handful of names holds both kinds.
            named.m_bDoor = (doors + elevators) % 5 % 2 == 1;
            named.m_strName =
                named.m_bDoor ? "door" + std::to_string(++doors) : "elev" + std::to_string(++elevators);
            Sector(s).m_strName = named.m_strName;
            m_Named.push_back(std::move(named));
        }
    }

    const NamedSector& AnyNamed() {
        return m_Named[static_cast<std::size_t>(m_Random.Int(0, static_cast<int>(m_Named.size()) - 1))];
    }

    int AnyWall(int sector) { return m_Random.Int(0, static_cast<int>(Sector(sector).m_pWalls.size()) - 1); }

    void AddItem(std::string type, std::string name, int num, std::vector<std::string> lines) {
        auto item = std::make_unique<CDataInfItem>();
        item->m_strType = std::move(type);
        item->m_strName = std::move(name);
        item->m_nNum = num;
        item->m_Lines = std::move(lines);
        m_Level.m_Inf.m_pItems.push_back(std::move(item));
    }

    std::vector<std::string> ElevatorLines(const NamedSector& named) {
        const CDataSector& sector = Sector(named.m_nSector);
        const std::string kind = m_Random.Pick(kElevatorClasses);
        std::vector<std::string> lines{"class:\televator " + kind,
                                       "speed:\t" + std::to_string(m_Random.Int(10, 40))};
        // One draw per statement: the operands of one expression are evaluated in no fixed order.
        const std::string delay = std::to_string(m_Random.Int(2, 5));
        if (kind == "change_light") {
            lines.push_back("stop:\t" + std::to_string(sector.m_nAmbient) + " hold");
            lines.push_back("stop:\t" + std::to_string(m_Random.Int(0, 10)) + " " + delay);
        } else {
            const double base = kind == "move_ceiling" ? sector.m_dCeilingAltitude : sector.m_dFloorAltitude;
            lines.push_back("stop:\t" + FormatNumber(base) + " hold");
            lines.push_back("stop:\t" + FormatNumber(base - m_Random.Real(4.0, 16.0)) + " " + delay);
        }
        if (m_Random.Chance(0.35)) {
            const NamedSector& target = AnyNamed();
            const int wall = AnyWall(target.m_nSector);
            lines.push_back("message:\t1 " + target.m_strName + "(" + std::to_string(wall) + ") m_trigger");
        }
        if (m_Random.Chance(0.2)) {
            const NamedSector& other = AnyNamed();
            const int ownWall = AnyWall(named.m_nSector);
            const int otherWall = AnyWall(other.m_nSector);
            lines.push_back("adjoin:\t0 " + named.m_strName + " " + std::to_string(ownWall) + " " +
                            other.m_strName + " " + std::to_string(otherWall));
        }
        return lines;
    }

    void AddLineItem(const NamedSector& named) {
        const NamedSector& client = AnyNamed();
        std::vector<std::string> lines;
        if (m_Random.Chance(0.5))
            lines = {"class:\ttrigger switch1", "client:\t" + client.m_strName};
        else
            lines = {"class:\ttrigger standard", "client:\t" + client.m_strName, "event_mask:\t16"};
        AddItem("line", named.m_strName, AnyWall(named.m_nSector), std::move(lines));
    }

    // The level item, then per named sector its own item followed by its share of wall items.
    void BuildInf() {
        if (m_Options.infItems <= 0) return;
        std::vector<std::string> levelLines{"class:\ttrigger"};
        if (!m_Named.empty()) levelLines.push_back("client:\t" + m_Named.front().m_strName);
        AddItem("level", "", -1, std::move(levelLines));
        // There are never more named sectors than items to give them.
        const std::size_t named = m_Named.size();
        const std::size_t lineItems = static_cast<std::size_t>(m_Options.infItems - 1) - named;
        for (std::size_t j = 0; j < named; ++j) {
            const NamedSector& sector = m_Named[j];
            AddItem("sector", sector.m_strName, -1,
                    sector.m_bDoor ? std::vector<std::string>{"class:\televator door"}
                                   : ElevatorLines(sector));
            for (std::size_t n = j * lineItems / named; n < (j + 1) * lineItems / named; ++n)
                AddLineItem(sector);
        }
    }

    void SetHeader() {
        const std::string author = "Synthetic Level Team";
        CDataLev& lev = Lev();
        lev.m_strLevelName = "SYNTH";
        lev.m_strPalette = "SYNTH.PAL";
        lev.m_strMusic = "SYNTH.GMD";
        lev.m_strAuthor = author;
        m_Level.SetParallax(768.0, 512.5);
        m_Level.m_Objects.m_strVersion = "1.0";
        m_Level.m_Objects.m_strLevelName = "SYNTH";
        m_Level.m_Objects.m_strAuthor = author;
        m_Level.m_Inf.m_strLevelName = "SYNTH";
        m_Level.m_Inf.m_strAuthor = author;
        m_Level.m_strGeneratorTitle = std::string(kGeneratorTitle);
    }

    void AddMember(std::string name, const std::vector<std::uint8_t>& data) {
        m_Level.m_pMembers.push_back(std::make_unique<CDataGobEntry>(std::move(name), data));
    }

    // The LEV, O and INF members stay empty: an archive save writes them from the parts.
    void AddMembers() {
        AddMember("SYNTH.LEV", {});
        AddMember("SYNTH.O", {});
        AddMember("SYNTH.INF", {});
        AddMember("SYNTH.GOL", Bytes("GOL 1.0\r\n\r\nGOAL: 0 ITEM: PLANS\r\nGOAL: 1 TRIG: 0\r\n"));
        AddMember("SYNTH.PAL", MakePalette());
        for (int i = 1; i <= 3; ++i)
            AddMember("TEX000" + std::to_string(i) + ".BM", MakeBitmap(16, 40 * i));
        AddMember("IENERGY.FME", MakeFrame(16, 7));
        AddMember("IMEDKIT.FME", MakeFrame(8, 99));
        m_Level.m_LevelNames = {"SYNTH"};
        m_Level.m_nCurrentLevel = 0;
        m_Level.RebuildKindLists();
    }

    CDataLevel& m_Level;
    const SyntheticLevelOptions& m_Options;
    Random m_Random;
    int m_nCols = 0;
    int m_nRows = 0;
    int m_nPillars = 0;
    double m_dCell = 0.0;
    std::vector<Room> m_Rooms;
    std::vector<EdgeSplits> m_Vertical;
    std::vector<EdgeSplits> m_Horizontal;
    std::vector<NamedSector> m_Named;
};

} // namespace

void BuildSyntheticLevel(CDataLevel& level, const SyntheticLevelOptions& options) {
    Generator(level, options).Run();
}

} // namespace morvi::testing
