#include "support/EditSequence.h"

#include "document/LevelSnapshot.h"
#include "gamefiles/LevelTexts.h"
#include "infedit/InfChecker.h"
#include "mapedit/Generators.h"
#include "mapedit/StructuralEdits.h"
#include "mapedit/TransformTools.h"
#include "support/LevelCompare.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

namespace morvi::testing {

std::uint64_t Rng::Next() {
    m_nState ^= m_nState >> 12;
    m_nState ^= m_nState << 25;
    m_nState ^= m_nState >> 27;
    return m_nState * 0x2545F4914F6CDD1Dull;
}

int Rng::Below(int n) {
    return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n));
}

double Rng::Hundredths(double lo, double hi) {
    const int span = static_cast<int>((hi - lo) * 100.0 + 0.5);
    return lo + Between(0, span) / 100.0;
}

namespace {

const MapDevice kDevice{};
const ClientRect kClient{0, 0, 800, 600};

int Count(const auto& records) {
    return static_cast<int>(records.size());
}

const CDataSector& SectorAt(const CDataLevel& level, int s) {
    return *level.m_Lev.m_pSectors[static_cast<std::size_t>(s)];
}

void Enter(CMapEngine& engine, int mode) {
    engine.document().m_nMode = mode;
    engine.ClearSelection();
}

// Adds the item unless the selection already holds it: a click never selects an item twice.
void AddOnce(CMapEngine& engine, const CMapSelItem& item) {
    const auto& sel = engine.selection();
    if (std::find(sel.begin(), sel.end(), item) == sel.end()) engine.AddToSelection(item);
}

std::optional<CMapSelItem> RandomSector(const CDataLevel& level, Rng& rng) {
    const int count = Count(level.m_Lev.m_pSectors);
    if (count == 0) return std::nullopt;
    return CMapSelItem{rng.Below(count), -1, -1, -1};
}

std::optional<CMapSelItem> RandomWall(const CDataLevel& level, Rng& rng) {
    const auto sector = RandomSector(level, rng);
    if (!sector) return std::nullopt;
    const int walls = Count(SectorAt(level, sector->m_nSector).m_pWalls);
    if (walls == 0) return std::nullopt;
    return CMapSelItem{sector->m_nSector, rng.Below(walls), -1, -1};
}

std::optional<CMapSelItem> RandomVertex(const CDataLevel& level, Rng& rng) {
    const auto sector = RandomSector(level, rng);
    if (!sector) return std::nullopt;
    const int vertices = Count(SectorAt(level, sector->m_nSector).m_pVertices);
    if (vertices == 0) return std::nullopt;
    return CMapSelItem{sector->m_nSector, -1, rng.Below(vertices), -1};
}

std::optional<CMapSelItem> RandomObject(const CDataLevel& level, Rng& rng) {
    const int count = Count(level.m_Objects.m_pObjects);
    if (count == 0) return std::nullopt;
    const int o = rng.Below(count);
    return CMapSelItem{level.m_Objects.m_pObjects[static_cast<std::size_t>(o)]->m_nSector, -1, -1, o};
}

const CDataVertex& VertexOf(const CDataLevel& level, const CMapSelItem& item) {
    return *SectorAt(level, item.m_nSector).m_pVertices[static_cast<std::size_t>(item.m_nVertex)];
}

// Vertex mode never holds two vertices at one point (a click drops the coincident ones).
void AddVertex(CMapEngine& engine, const CMapSelItem& item) {
    const CDataVertex& v = VertexOf(engine.level(), item);
    for (const CMapSelItem& other : engine.selection()) {
        const CDataVertex& w = VertexOf(engine.level(), other);
        if (w.m_dX == v.m_dX && w.m_dZ == v.m_dZ) return;
    }
    AddOnce(engine, item);
}

std::optional<CMapSelItem> RandomItem(const CDataLevel& level, Rng& rng, int mode) {
    switch (mode) {
    case kModeSector:
        return RandomSector(level, rng);
    case kModeWall:
        return RandomWall(level, rng);
    case kModeVertex:
        return RandomVertex(level, rng);
    default:
        return RandomObject(level, rng);
    }
}

int RandomMode(Rng& rng) {
    return rng.Between(kModeSector, kModeObject);
}

struct WallEnds {
    std::pair<double, double> m_Left;
    std::pair<double, double> m_Right;
};

std::optional<WallEnds> EndsOf(const CDataSector& sector, const CDataWall& wall) {
    const int n = Count(sector.m_pVertices);
    if (wall.m_nLeft < 0 || wall.m_nLeft >= n || wall.m_nRight < 0 || wall.m_nRight >= n) return std::nullopt;
    const CDataVertex& a = *sector.m_pVertices[static_cast<std::size_t>(wall.m_nLeft)];
    const CDataVertex& b = *sector.m_pVertices[static_cast<std::size_t>(wall.m_nRight)];
    return WallEnds{{a.m_dX, a.m_dZ}, {b.m_dX, b.m_dZ}};
}

// Unlinked walls that another sector's unlinked wall runs over backwards: the walls a wall-mode
// link can join. Random walls almost never qualify, so link steps prefer these.
std::vector<CMapSelItem> LinkableWalls(const CDataLevel& level) {
    using Key = std::tuple<double, double, double, double>;
    std::multimap<Key, int> bySector;
    std::vector<std::pair<CMapSelItem, Key>> open;
    for (int s = 0; s < Count(level.m_Lev.m_pSectors); ++s) {
        const CDataSector& sector = SectorAt(level, s);
        for (int w = 0; w < Count(sector.m_pWalls); ++w) {
            const CDataWall& wall = *sector.m_pWalls[static_cast<std::size_t>(w)];
            const auto ends = EndsOf(sector, wall);
            if (wall.m_nAdjoin >= 0 || !ends) continue;
            bySector.emplace(
                Key{ends->m_Left.first, ends->m_Left.second, ends->m_Right.first, ends->m_Right.second}, s);
            open.push_back(
                {{s, w, -1, -1},
                 Key{ends->m_Right.first, ends->m_Right.second, ends->m_Left.first, ends->m_Left.second}});
        }
    }
    std::vector<CMapSelItem> result;
    for (const auto& [item, reversed] : open) {
        const auto [first, last] = bySector.equal_range(reversed);
        // clang 14 cannot capture a structured binding: the lambda gets a copy.
        const int sector = item.m_nSector;
        if (std::any_of(first, last, [sector](const auto& entry) { return entry.second != sector; }))
            result.push_back(item);
    }
    return result;
}

std::vector<CMapSelItem> AdjoinedWalls(const CDataLevel& level) {
    std::vector<CMapSelItem> result;
    for (int s = 0; s < Count(level.m_Lev.m_pSectors); ++s) {
        const CDataSector& sector = SectorAt(level, s);
        for (int w = 0; w < Count(sector.m_pWalls); ++w)
            if (sector.m_pWalls[static_cast<std::size_t>(w)]->m_nAdjoin >= 0)
                result.push_back({s, w, -1, -1});
    }
    return result;
}

// Sectors without an adjoined wall: only these can be made an island of another.
std::vector<CMapSelItem> UnlinkedSectors(const CDataLevel& level) {
    std::vector<CMapSelItem> result;
    for (int s = 0; s < Count(level.m_Lev.m_pSectors); ++s) {
        const auto& walls = SectorAt(level, s).m_pWalls;
        if (std::none_of(walls.begin(), walls.end(), [](const auto& w) { return w->m_nAdjoin >= 0; }))
            result.push_back({s, -1, -1, -1});
    }
    return result;
}

// Picks from the preferred candidates most of the time, else any wall.
void SelectPreferredWall(CMapEngine& engine, Rng& rng, const std::vector<CMapSelItem>& preferred) {
    Enter(engine, kModeWall);
    if (!preferred.empty() && rng.Chance(80)) {
        engine.AddToSelection(preferred[static_cast<std::size_t>(rng.Below(Count(preferred)))]);
        return;
    }
    if (const auto item = RandomWall(engine.level(), rng)) engine.AddToSelection(*item);
}

// A world point on the item, where a click picks it.
std::optional<std::pair<double, double>> PointOn(const CDataLevel& level, int mode, const CMapSelItem& item) {
    if (mode == kModeObject) {
        const CDataObjectItem& o = *level.m_Objects.m_pObjects[static_cast<std::size_t>(item.m_nObject)];
        return std::pair{o.m_dX, o.m_dZ};
    }
    const CDataSector& sector = SectorAt(level, item.m_nSector);
    if (mode == kModeVertex) {
        const CDataVertex& v = VertexOf(level, item);
        return std::pair{v.m_dX, v.m_dZ};
    }
    if (mode == kModeWall) {
        const auto ends = EndsOf(sector, *sector.m_pWalls[static_cast<std::size_t>(item.m_nWall)]);
        if (!ends) return std::nullopt;
        return std::pair{(ends->m_Left.first + ends->m_Right.first) / 2,
                         (ends->m_Left.second + ends->m_Right.second) / 2};
    }
    if (sector.m_pVertices.empty()) return std::nullopt;
    double x = 0, z = 0;
    for (const auto& v : sector.m_pVertices) {
        x += v->m_dX;
        z += v->m_dZ;
    }
    return std::pair{x / Count(sector.m_pVertices), z / Count(sector.m_pVertices)};
}

// A mouse drag as the view delivers it: press on an item (sometimes adding to an earlier pick with
// Ctrl), the timer, a few moves, the release.
EditResult Drag(CMapEngine& engine, Settings& settings, Rng& rng) {
    const int mode = RandomMode(rng);
    settings.m_bMoveObjects = rng.Chance(50);
    settings.m_bMoveVertex = rng.Chance(50);
    engine.document().m_bGridOn = rng.Chance(70) ? 1 : 0;
    const bool ctrl = rng.Chance(25);
    SelectRandom(engine, rng, mode, ctrl ? 1 : 0);
    const auto item = RandomItem(engine.level(), rng, mode);
    const auto at = item ? PointOn(engine.level(), mode, *item) : std::nullopt;
    const ScreenPoint from = at ? engine.viewport().WorldToScreen(at->first, at->second)
                                : ScreenPoint{rng.Below(kClient.right), rng.Below(kClient.bottom)};
    engine.drag().OnPress(from, {ctrl, false});
    engine.drag().OnTimer();
    ScreenPoint p = from;
    for (int moves = rng.Between(1, 3); moves > 0; --moves) {
        p = {p.x + rng.Between(-48, 48), p.y + rng.Between(-48, 48)};
        engine.drag().OnMove(p);
    }
    EditResult r;
    r.m_bChanged = engine.drag().OnRelease(p);
    return r;
}

int TextureWidth(Rng& rng) {
    return rng.Chance(70) ? 64 : -1;
}

// The level's texts, and its archive: every member's name and bytes, the level list and the
// current level.
struct LevelTexts {
    GameTexts m_Game;
    std::string m_strArchive;
    bool operator==(const LevelTexts&) const = default;
};

LevelTexts Write(CDataLevel& level) {
    LevelTexts t{WriteGameTexts(level), {}};
    for (const auto& member : level.m_pMembers)
        t.m_strArchive += member->m_strName + " " + std::to_string(member->m_nSize) + "\n" +
                          std::string(member->text()) + "\n";
    for (const std::string& name : level.m_LevelNames)
        t.m_strArchive += "level " + name + "\n";
    t.m_strArchive += "current " + std::to_string(level.m_nCurrentLevel) + "\n";
    return t;
}

// The first line where two texts part, for a failure message that can be read.
std::string FirstDifference(const LevelTexts& expected, const LevelTexts& actual) {
    const std::array<std::pair<const std::string*, const std::string*>, 4> parts{
        {{&expected.m_Game.lev, &actual.m_Game.lev},
         {&expected.m_Game.o, &actual.m_Game.o},
         {&expected.m_Game.inf, &actual.m_Game.inf},
         {&expected.m_strArchive, &actual.m_strArchive}}};
    const std::array<const char*, 4> names{"LEV", "O", "INF", "archive"};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::istringstream a(*parts[i].first), b(*parts[i].second);
        std::string la, lb;
        for (int line = 1;; ++line) {
            const bool moreA = static_cast<bool>(std::getline(a, la));
            const bool moreB = static_cast<bool>(std::getline(b, lb));
            if (!moreA && !moreB) break;
            if (moreA != moreB || la != lb)
                return std::string(names[i]) + " line " + std::to_string(line) + ": expected \"" +
                       (moreA ? la : "") + "\", got \"" + (moreB ? lb : "") + "\"";
        }
    }
    return "no difference";
}

std::string Where(std::uint64_t seed, int step, const std::string& name) {
    std::ostringstream s;
    s << "seed 0x" << std::hex << seed << std::dec << ", step " << step << " (" << name << "): ";
    return s.str();
}

} // namespace

void SelectRandom(CMapEngine& engine, Rng& rng, int mode, int count) {
    Enter(engine, mode);
    for (int i = 0; i < count; ++i) {
        const auto item = RandomItem(engine.level(), rng, mode);
        if (!item) return;
        if (mode == kModeVertex)
            AddVertex(engine, *item);
        else
            AddOnce(engine, *item);
    }
}

EditSequence::EditSequence(CMorviDoc& doc) : m_Doc(doc), m_Engine(doc, m_Settings) {
    m_Doc.m_bAllLayers = 1;
    LayOut();
    AddDefaultOperations();
}

// The whole level in an 800 x 600 view, so that a click at an item's screen point reaches it.
void EditSequence::LayOut() {
    m_Engine.ClearSelection();
    m_Engine.viewport().ZoomNormalize(kDevice, kClient);
    m_Engine.viewport().OnUpdate(kHintZoom, kDevice, kClient);
    m_Engine.viewport().SetVisibleRect();
}

void EditSequence::AddDefaultOperations() {
    using Target = std::function<void(CMapEngine&, Rng&)>;
    using Run = std::function<EditResult(CMapEngine&, Rng&)>;
    const auto add = [this](std::string name, Target target, Run run) {
        AddOperation({std::move(name), std::move(target), std::move(run)});
    };
    const auto select = [](int mode, int least, int most) {
        return [=](CMapEngine& e, Rng& rng) { SelectRandom(e, rng, mode, rng.Between(least, most)); };
    };
    add("insert object", select(kModeObject, 0, 1), [](CMapEngine& e, Rng&) { return InsertAtSelection(e); });
    add("split wall", select(kModeWall, 1, 1), [](CMapEngine& e, Rng&) { return InsertAtSelection(e); });
    add("split at vertex", select(kModeVertex, 1, 1),
        [](CMapEngine& e, Rng&) { return InsertAtSelection(e); });
    for (const auto& [name, mode] :
         std::array<std::pair<const char*, int>, 4>{{{"delete sectors", kModeSector},
                                                     {"delete walls", kModeWall},
                                                     {"delete vertices", kModeVertex},
                                                     {"delete objects", kModeObject}}})
        add(
            name,
            [m = mode](CMapEngine& e, Rng& rng) {
                SelectRandom(e, rng, m, rng.Chance(70) ? 1 : rng.Between(2, 3));
            },
            [](CMapEngine& e, Rng&) { return DeleteSelection(e); });
    add(
        "link walls", [](CMapEngine& e, Rng& rng) { SelectPreferredWall(e, rng, LinkableWalls(e.level())); },
        [](CMapEngine& e, Rng&) { return LinkSelection(e); });
    add(
        "link sector",
        [](CMapEngine& e, Rng& rng) {
            const auto unlinked = UnlinkedSectors(e.level());
            Enter(e, kModeSector);
            if (!unlinked.empty() && rng.Chance(80))
                e.AddToSelection(unlinked[static_cast<std::size_t>(rng.Below(Count(unlinked)))]);
            else
                SelectRandom(e, rng, kModeSector, 1);
        },
        [](CMapEngine& e, Rng&) { return LinkSelection(e); });
    add(
        "unlink", [](CMapEngine& e, Rng& rng) { SelectPreferredWall(e, rng, AdjoinedWalls(e.level())); },
        [](CMapEngine& e, Rng&) { return UnlinkSelection(e); });
    add("extrude", select(kModeWall, 1, 1),
        [](CMapEngine& e, Rng& rng) { return ExtrudeSelection(e, rng.Hundredths(1, 64)); });
    add("flip", select(kModeSector, 1, 3), [](CMapEngine& e, Rng& rng) {
        return FlipSectors(e, rng.Chance(50) ? FlipDirection::LeftToRight : FlipDirection::TopToBottom);
    });
    add("rotate", select(kModeSector, 1, 3), [](CMapEngine& e, Rng& rng) {
        // 400 is out of range: the dialog would refuse it, and so must the command.
        constexpr std::array<double, 6> kAngles{90, -90, 360, 180, 45, 400};
        const double angle =
            rng.Chance(60) ? kAngles[static_cast<std::size_t>(rng.Below(6))] : rng.Hundredths(-360, 360);
        return RotateSectors(e, angle);
    });
    add("scale", select(kModeSector, 1, 3),
        [](CMapEngine& e, Rng& rng) { return ScaleSectors(e, rng.Hundredths(0.5, 2), rng.Chance(50)); });
    add("distribute", select(kModeSector, 1, 4), [](CMapEngine& e, Rng& rng) {
        constexpr std::array<DistributeWhich, 3> kWhich{DistributeWhich::Floors, DistributeWhich::Ceilings,
                                                        DistributeWhich::Both};
        const bool altitudes = rng.Chance(80);
        const DistributeWhich which = kWhich[static_cast<std::size_t>(rng.Below(3))];
        return DistributeSectors(e, {altitudes, which, rng.Chance(50)});
    });
    add("offsets", select(kModeSector, 1, 3), [](CMapEngine& e, Rng& rng) {
        const double dx = rng.Hundredths(-64, 64);
        const double dy = rng.Hundredths(-8, 8);
        return ChangeOffsets(e, dx, dy, rng.Hundredths(-64, 64));
    });
    add(
        "align",
        [](CMapEngine& e, Rng& rng) {
            SelectRandom(e, rng, rng.Chance(50) ? kModeSector : kModeWall, rng.Between(1, 3));
        },
        [](CMapEngine& e, Rng& rng) {
            AlignmentOptions options;
            for (bool* flag :
                 {&options.m_bVerticalMid, &options.m_bVerticalTop, &options.m_bVerticalBottom,
                  &options.m_bHorizontalMid, &options.m_bHorizontalTop, &options.m_bHorizontalBottom})
                *flag = rng.Chance(50);
            const int width = TextureWidth(rng);
            return AlignWalls(e, options, [width](std::string_view) { return width; });
        });
    add(
        "copy",
        [](CMapEngine& e, Rng& rng) {
            SelectRandom(e, rng, rng.Chance(70) ? kModeSector : kModeObject, rng.Between(1, 2));
        },
        [this](CMapEngine& e, Rng&) { return Copy(e, m_Clipboard); });
    add(
        "paste",
        [this](CMapEngine& e, Rng& rng) {
            const auto stored = StoredMode(m_Clipboard.bytes());
            Enter(e, stored && rng.Chance(80) ? *stored : (rng.Chance(50) ? kModeSector : kModeObject));
        },
        [this](CMapEngine& e, Rng&) { return Paste(e, m_Clipboard); });
    add(
        "cut", [](CMapEngine& e, Rng& rng) { SelectRandom(e, rng, RandomMode(rng), rng.Between(1, 2)); },
        [this](CMapEngine& e, Rng&) { return Cut(e, m_Clipboard); });
    add(
        "insert polygon",
        [](CMapEngine& e, Rng& rng) { SelectRandom(e, rng, kModeSector, rng.Chance(50) ? 1 : 0); },
        [](CMapEngine& e, Rng& rng) {
            constexpr std::array<PolygonKind, 3> kKinds{PolygonKind::NewSector, PolygonKind::Subsector,
                                                        PolygonKind::Gap};
            // Now and then out of range, which must be refused.
            const int sides = rng.Chance(90) ? rng.Between(3, 12) : 101;
            return InsertPolygon(e, {sides, rng.Hundredths(4, 100),
                                     kKinds[static_cast<std::size_t>(rng.Below(3))], rng.Chance(30)});
        });
    add(
        "cylinder", [](CMapEngine& e, Rng&) { Enter(e, kModeSector); },
        [](CMapEngine& e, Rng& rng) {
            const double inner = rng.Hundredths(0, 40);
            return CreateCylinder(e, {rng.Between(4, 24), rng.Between(1, 360), inner + rng.Hundredths(-5, 60),
                                      inner, rng.Chance(30)});
        });
    add("passage", select(kModeWall, 2, 2), [](CMapEngine& e, Rng& rng) {
        constexpr std::array<PassageKind, 3> kKinds{PassageKind::Door, PassageKind::Staircase,
                                                    PassageKind::Elevator};
        const PassageKind kind = kKinds[static_cast<std::size_t>(rng.Below(3))];
        PassageOptions options = PassageStart(e, kind);
        options.m_bSplitFirst = rng.Chance(70);
        options.m_bSplitSecond = rng.Chance(70);
        options.m_dWidthFirst = rng.Hundredths(1, 40);
        options.m_dWidthSecond = rng.Hundredths(1, 40);
        options.m_bSunken = rng.Chance(50);
        options.m_nSteps = rng.Between(1, 6);
        options.m_bSnap = rng.Chance(30);
        return CreatePassage(e, kind, options);
    });
    // Changes of the archive, as the text windows and the Options sheet make them.
    add("rename level", nullptr, [](CMapEngine& e, Rng& rng) {
        EditResult result;
        const std::string name = rng.Chance(50) ? "RENAMED" : "SECBASE";
        result.m_bChanged = e.level().GetLevelName() != name && e.level().RenameLevel(name).ok();
        result.m_bMembersChanged = result.m_bChanged;
        return result;
    });
    add("edit texts", nullptr, [](CMapEngine& e, Rng& rng) {
        EditResult result;
        const std::string gol = "GOAL: " + std::to_string(rng.Below(1000)) + "\r\n";
        result.m_bChanged = SetLevelText(e.level(), LevelText::Gol, gol);
        if (const auto inf = GetLevelText(e.level(), LevelText::Inf); inf && rng.Chance(50))
            result.m_bChanged |= SetLevelText(e.level(), LevelText::Inf, *inf + "\r\n# edited\r\n");
        result.m_bMembersChanged = result.m_bInfChanged = result.m_bChanged;
        return result;
    });
    // The drag picks its own target with the press; the snapshot holds the selection before it.
    add("drag", nullptr, [this](CMapEngine& e, Rng& rng) { return Drag(e, m_Settings, rng); });
}

namespace {

// Writing the texts costs more than any edit, so the state before a step is kept as text only
// every few steps; the other steps are checked field by field against their snapshot.
constexpr int kTextsEvery = 8;

struct StepRecord {
    std::string m_strName;
    std::vector<CMapSelItem> m_Selection;
    int m_nMode = kModeSector;
    std::optional<LevelTexts> m_Texts;
};

using Problem = LevelFinding::Problem;

// The errors of each problem the level has.
std::map<Problem, std::vector<std::string>> Errors(const CDataLevel& level) {
    std::map<Problem, std::vector<std::string>> errors;
    for (const LevelFinding& f : CheckWholeLevel(level))
        if (f.m_Severity == LevelFinding::Severity::Error) errors[f.m_Problem].push_back(f.m_strText);
    return errors;
}

// How a paste is judged when the clipboard was filled while the level had errors.
constexpr const char* kFaultyPaste = "paste of a faulty copy";

// The user's moves (a drag, a flip, a rotation, a scaling, a distribution) may pull walls apart
// and across each other, a paste brings back the faults of sectors copied after such a move, and
// deleting a sector may leave INF lines naming it; every other edit either makes sound sectors or
// refuses. Broken references are never allowed.
bool MayAdd(const std::string& operation, Problem problem) {
    static const std::set<std::string> kMoves{"drag",       "flip",    "rotate",    "scale",
                                              "distribute", "offsets", kFaultyPaste};
    if (problem == Problem::BrokenReference) return false;
    if (problem == Problem::MissingSector) return operation == "delete sectors" || operation == "cut";
    return kMoves.contains(operation);
}

// The first error the step added that its operation may not add; empty when there is none. Once a
// move has pulled walls apart, later edits of those walls carry the fault along (a split makes two
// mismatched mirrors of one): only broken references are judged until the level is sound again.
std::string NewError(const std::string& operation, const std::map<Problem, std::vector<std::string>>& before,
                     const std::map<Problem, std::vector<std::string>>& after) {
    const bool sound = before.empty();
    for (const auto& [problem, texts] : after) {
        const auto was = before.find(problem);
        const std::size_t count = was == before.end() ? 0 : was->second.size();
        if (!sound && problem != Problem::BrokenReference) continue;
        if (texts.size() > count && !MayAdd(operation, problem))
            return texts.front() + " (" + std::to_string(texts.size()) + " findings)";
    }
    return {};
}

// Compares the level with the state a snapshot holds; empty when they are the same. The
// object-to-sector assignment is the editor's and may be refreshed by any command.
std::string DifferenceFrom(const LevelSnapshot& snapshot, CDataLevel& level, CDataLevel& scratch) {
    snapshot.RestoreLevel(scratch);
    const int differences = CountDifferences(scratch, level, {false, false});
    if (differences == 0) return {};
    return std::to_string(differences) + " records differ, " + FirstDifference(Write(scratch), Write(level));
}

} // namespace

// Every step goes through the document's funnel as the editor's commands do; at the end the
// document's own history undoes them.
SequenceOutcome EditSequence::Run(std::uint64_t seed, int steps) {
    SequenceOutcome outcome;
    Rng rng(seed);
    m_Clipboard.Clear();
    CDataLevel& level = m_Engine.level();
    auto errors = Errors(level);
    if (std::string finding = NewError("start", {}, errors); !finding.empty()) {
        outcome.m_strFailure = Where(seed, -1, "start") + finding;
        return outcome;
    }
    CDataLevel scratch;
    std::vector<StepRecord> records;
    bool faultyCopy = false; // the clipboard was filled while the level had errors
    for (int step = 0; step < steps && !m_Operations.empty(); ++step) {
        const EditOperation& op = m_Operations[static_cast<std::size_t>(rng.Below(Count(m_Operations)))];
        if (op.m_Target) op.m_Target(m_Engine, rng);
        const LevelSnapshot before = LevelSnapshot::Capture(level, m_Doc.selection(), m_Doc.m_nMode);
        StepRecord record{op.m_strName, m_Doc.selection(), m_Doc.m_nMode,
                          step % kTextsEvery == 0 ? std::optional(Write(level)) : std::nullopt};
        const std::vector<std::uint8_t> clipboard(m_Clipboard.bytes().begin(), m_Clipboard.bytes().end());
        const std::size_t stepsBefore = m_Doc.history().UndoCount();
        m_Doc.BeginChange();
        const EditResult result = op.m_Run(m_Engine, rng);
        m_Doc.EndChange(op.m_strName, ChangesOf(result));
        OperationCounts& counts = outcome.m_Counts[op.m_strName];
        ++counts.m_nRuns;
        counts.m_nChanged += result.m_bChanged ? 1 : 0;
        counts.m_nMessages += result.m_strMessage.empty() ? 0 : 1;
        outcome.m_nSteps = step + 1;
        if (!std::equal(clipboard.begin(), clipboard.end(), m_Clipboard.bytes().begin(),
                        m_Clipboard.bytes().end()))
            faultyCopy = !errors.empty();
        const std::string judged = op.m_strName == "paste" && faultyCopy ? kFaultyPaste : op.m_strName;
        auto errorsAfter = Errors(level);
        if (std::string finding = NewError(judged, errors, errorsAfter); !finding.empty()) {
            outcome.m_strFailure = Where(seed, step, op.m_strName) + finding;
            return outcome;
        }
        errors = std::move(errorsAfter);
        if (m_Doc.history().UndoCount() != stepsBefore + (result.m_bChanged ? 1 : 0)) {
            outcome.m_strFailure =
                Where(seed, step, op.m_strName) + "the change did not make exactly one step";
            return outcome;
        }
        if (result.m_bChanged) {
            records.push_back(std::move(record));
            continue;
        }
        if (std::string diff = DifferenceFrom(before, level, scratch); !diff.empty()) {
            outcome.m_strFailure = Where(seed, step, op.m_strName) + "reported no change (message \"" +
                                   result.m_strMessage + "\") but changed the level: " + diff;
            return outcome;
        }
    }
    // Undo everything, newest first: each undo must give back the state before its step.
    for (auto k = records.size(); k-- > 0;) {
        const StepRecord& record = records[k];
        const std::string where = Where(seed, static_cast<int>(k), "undo of " + record.m_strName);
        if (!m_Doc.Undo()) {
            outcome.m_strFailure = where + "there was no step to undo";
            return outcome;
        }
        if (m_Doc.selection() != record.m_Selection || m_Doc.m_nMode != record.m_nMode) {
            outcome.m_strFailure = where + "the selection was not restored";
            return outcome;
        }
        if (!record.m_Texts) continue;
        if (const LevelTexts after = Write(level); after != *record.m_Texts) {
            outcome.m_strFailure = where + "the level differs: " + FirstDifference(*record.m_Texts, after);
            return outcome;
        }
    }
    return outcome;
}

} // namespace morvi::testing
