#include "support/LevelCompare.h"
#include "support/SyntheticLevel.h"

#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <tuple>

namespace morvi {
namespace {

using testing::BuildSyntheticLevel;
using testing::SyntheticLevelOptions;

std::size_t CountWalls(const CDataLevel& level) {
    std::size_t walls = 0;
    for (const auto& s : level.m_Lev.m_pSectors)
        walls += s->m_pWalls.size();
    return walls;
}

std::vector<std::string> FindingTexts(const CDataLevel& level) {
    std::vector<std::string> texts;
    for (const auto& f : checkLevel(level))
        texts.push_back(f.m_strText);
    return texts;
}

// The vertices of one loop of a sector, in wall order.
std::vector<const CDataVertex*> LoopCorners(const CDataSector& s, int begin, int end) {
    std::vector<const CDataVertex*> corners;
    for (int w = begin; w < end; ++w)
        corners.push_back(
            s.m_pVertices[static_cast<std::size_t>(s.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft)].get());
    return corners;
}

// Twice the signed area of a loop: negative when it runs clockwise on the map (Z up).
double SignedArea(const std::vector<const CDataVertex*>& loop) {
    double area = 0.0;
    for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++)
        area += loop[j]->m_dX * loop[i]->m_dZ - loop[i]->m_dX * loop[j]->m_dZ;
    return area;
}

bool Inside(const std::vector<const CDataVertex*>& loop, double x, double z) {
    bool inside = false;
    for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
        const CDataVertex& a = *loop[i];
        const CDataVertex& b = *loop[j];
        if ((a.m_dZ > z) != (b.m_dZ > z) && x < (b.m_dX - a.m_dX) * (z - a.m_dZ) / (b.m_dZ - a.m_dZ) + a.m_dX)
            inside = !inside;
    }
    return inside;
}

// A point as the text files print it, in hundredths.
std::pair<long long, long long> Key(const CDataVertex& v) {
    return {std::llround(v.m_dX * 100), std::llround(v.m_dZ * 100)};
}

const CDataVertex& LeftOf(const CDataSector& s, const CDataWall& w) {
    return *s.m_pVertices[static_cast<std::size_t>(w.m_nLeft)];
}
const CDataVertex& RightOf(const CDataSector& s, const CDataWall& w) {
    return *s.m_pVertices[static_cast<std::size_t>(w.m_nRight)];
}

class SyntheticLevelTest : public ::testing::Test {
protected:
    // The default level is built once for the whole suite; its build time is recorded.
    static void SetUpTestSuite() {
        s_pDefault = std::make_unique<CDataLevel>();
        const auto start = std::chrono::steady_clock::now();
        BuildSyntheticLevel(*s_pDefault);
        s_dBuildMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        s_pSmall = std::make_unique<CDataLevel>();
        BuildSyntheticLevel(*s_pSmall, SyntheticLevelOptions::Small());
    }
    static void TearDownTestSuite() {
        s_pDefault.reset();
        s_pSmall.reset();
    }

    static std::vector<const CDataLevel*> Both() { return {s_pDefault.get(), s_pSmall.get()}; }

    static inline std::unique_ptr<CDataLevel> s_pDefault;
    static inline std::unique_ptr<CDataLevel> s_pSmall;
    static inline double s_dBuildMs = 0.0;
};

TEST_F(SyntheticLevelTest, CheckerFindsNothing) {
    for (const CDataLevel* level : Both()) {
        const auto texts = FindingTexts(*level);
        EXPECT_TRUE(texts.empty()) << texts.size() << " findings, first: " << texts.front();
    }
}

TEST_F(SyntheticLevelTest, CountsFollowTheOptions) {
    const CDataLevel& big = *s_pDefault;
    EXPECT_EQ(big.m_Lev.m_pSectors.size(), 4000u);
    EXPECT_NEAR(static_cast<double>(CountWalls(big)), 40000.0, 2000.0);
    EXPECT_EQ(big.m_Objects.m_pObjects.size(), 1200u);
    EXPECT_EQ(big.m_Inf.m_pItems.size(), 550u);
    EXPECT_EQ(big.m_Lev.m_Textures.size(), 200u);
    std::size_t vertices = 0;
    for (const auto& s : big.m_Lev.m_pSectors)
        vertices += s->m_pVertices.size();
    RecordProperty("walls", static_cast<int>(CountWalls(big)));
    RecordProperty("vertices", static_cast<int>(vertices));
    RecordProperty("build_ms", static_cast<int>(s_dBuildMs));

    const CDataLevel& small = *s_pSmall;
    EXPECT_EQ(small.m_Lev.m_pSectors.size(), 40u);
    EXPECT_NEAR(static_cast<double>(CountWalls(small)), 400.0, 60.0);
    EXPECT_EQ(small.m_Objects.m_pObjects.size(), 30u);
    EXPECT_EQ(small.m_Inf.m_pItems.size(), 10u);
}

TEST_F(SyntheticLevelTest, WallDensityFollowsTheRequest) {
    for (int perSector : {5, 7, 9, 11}) {
        SyntheticLevelOptions options;
        options.sectors = 900;
        options.wallsPerSector = perSector;
        options.objects = 0;
        options.infItems = 0;
        CDataLevel level;
        BuildSyntheticLevel(level, options);
        EXPECT_NEAR(static_cast<double>(CountWalls(level)) / 900.0, perSector, 0.5) << perSector;
        EXPECT_TRUE(checkLevel(level).empty());
    }
}

TEST_F(SyntheticLevelTest, OuterLoopsRunClockwiseWithFourToTwelveCorners) {
    std::set<int> outerSizes;
    for (const auto& s : s_pDefault->m_Lev.m_pSectors) {
        std::vector<int> starts;
        BuildLoopStarts(*s, starts);
        ASSERT_GE(starts.size(), 2u);
        ASSERT_EQ(starts.back(), static_cast<int>(s->m_pWalls.size())) << "walls outside any loop";
        outerSizes.insert(starts[1]);
        // Outer loops run clockwise, holes the other way round.
        EXPECT_LT(SignedArea(LoopCorners(*s, 0, starts[1])), 0.0);
        for (std::size_t k = 1; k + 1 < starts.size(); ++k) {
            EXPECT_EQ(starts[k + 1] - starts[k], 4);
            EXPECT_GT(SignedArea(LoopCorners(*s, starts[k], starts[k + 1])), 0.0);
        }
    }
    EXPECT_GE(*outerSizes.begin(), 4);
    EXPECT_EQ(*outerSizes.rbegin(), 12);
    EXPECT_GE(outerSizes.size(), 6u);
}

TEST_F(SyntheticLevelTest, HolesAreFilledByPillarsAdjoinedBothWays) {
    for (const CDataLevel* level : Both()) {
        const auto& sectors = level->m_Lev.m_pSectors;
        std::set<int> pillars;
        for (std::size_t i = 0; i < sectors.size(); ++i) {
            const std::vector<int> enclosed = GetEnclosedSectors(*sectors[i]);
            if (enclosed.empty()) continue;
            ASSERT_EQ(enclosed.size(), 1u);
            EXPECT_TRUE(pillars.insert(enclosed[0]).second) << "pillar " << enclosed[0] << " in two holes";
            const CDataSector& pillar = *sectors[static_cast<std::size_t>(enclosed[0])];
            EXPECT_EQ(pillar.m_pWalls.size(), 4u);
            for (const auto& w : pillar.m_pWalls)
                EXPECT_EQ(w->m_nAdjoin, static_cast<int>(i));
            EXPECT_LT(pillar.m_dFloorAltitude, sectors[i]->m_dFloorAltitude)
                << "a pillar stands above its room";
        }
        EXPECT_GE(pillars.size(), sectors.size() / 10);
    }
}

// Beyond what the checker looks at: walk goes with adjoin, both walls of a pair run along the
// same edge in opposite directions, and no edge two sectors share is left solid.
TEST_F(SyntheticLevelTest, EveryAdjoinPairsUpWallToWall) {
    for (const CDataLevel* level : Both()) {
        const auto& sectors = level->m_Lev.m_pSectors;
        using Edge = std::pair<std::pair<long long, long long>, std::pair<long long, long long>>;
        std::map<Edge, int> owner;
        std::size_t adjoined = 0;
        for (std::size_t i = 0; i < sectors.size(); ++i)
            for (const auto& w : sectors[i]->m_pWalls) {
                owner[{Key(LeftOf(*sectors[i], *w)), Key(RightOf(*sectors[i], *w))}] = static_cast<int>(i);
                if (w->m_nAdjoin < 0) continue;
                ++adjoined;
                const CDataSector& other = *sectors[static_cast<std::size_t>(w->m_nAdjoin)];
                const CDataWall& back = *other.m_pWalls[static_cast<std::size_t>(w->m_nMirror)];
                EXPECT_EQ(w->m_nWalk, w->m_nAdjoin);
                EXPECT_EQ(Key(LeftOf(*sectors[i], *w)), Key(RightOf(other, back)));
                EXPECT_EQ(Key(RightOf(*sectors[i], *w)), Key(LeftOf(other, back)));
            }
        for (std::size_t i = 0; i < sectors.size(); ++i)
            for (const auto& w : sectors[i]->m_pWalls) {
                if (w->m_nAdjoin >= 0) continue;
                const auto twin = owner.find({Key(RightOf(*sectors[i], *w)), Key(LeftOf(*sectors[i], *w))});
                EXPECT_TRUE(twin == owner.end()) << "sector " << i << " wall " << w->m_nIndex
                                                 << " faces sector " << twin->second << " but is solid";
            }
        EXPECT_GT(adjoined, CountWalls(*level) / 2);
    }
}

template <class F> void ForEachReal(const CDataLevel& level, F check) {
    for (const auto& s : level.m_Lev.m_pSectors) {
        for (double v :
             {s->m_dFloorAltitude, s->m_dCeilingAltitude, s->m_dSecondAltitude, s->m_FloorTexture.m_dOffsetX,
              s->m_FloorTexture.m_dOffsetY, s->m_CeilingTexture.m_dOffsetX, s->m_CeilingTexture.m_dOffsetY})
            check(v);
        for (const auto& v : s->m_pVertices) {
            check(v->m_dX);
            check(v->m_dZ);
        }
        for (const auto& w : s->m_pWalls)
            for (const CDataTexture* t : {&w->m_Mid, &w->m_Top, &w->m_Bottom, &w->m_Sign}) {
                check(t->m_dOffsetX);
                check(t->m_dOffsetY);
            }
    }
    for (const auto& o : level.m_Objects.m_pObjects)
        for (double v : {o->m_dX, o->m_dY, o->m_dZ, o->m_dPitch, o->m_dYaw, o->m_dRoll})
            check(v);
}

TEST_F(SyntheticLevelTest, RealsAreHundredthsInsideTheWorld) {
    int notRounded = 0;
    double largest = 0.0;
    bool secondDecimal = false;
    ForEachReal(*s_pDefault, [&](double v) {
        if (RoundHundredths(v) != v) ++notRounded;
        largest = std::max(largest, std::abs(v));
        secondDecimal = secondDecimal || std::llround(std::abs(v) * 100) % 10 != 0;
    });
    EXPECT_EQ(notRounded, 0);
    EXPECT_LE(largest, 2048.0);
    // Offsets and altitudes really use the second decimal.
    EXPECT_TRUE(secondDecimal);
}

const std::vector<CDataNameEntry>* TableOf(const CDataObjects& objects, const std::string& cls) {
    if (cls == "SPRITE") return &objects.m_Sprs;
    if (cls == "FRAME") return &objects.m_Fmes;
    if (cls == "3D") return &objects.m_Pods;
    if (cls == "SOUND") return &objects.m_Sounds;
    return nullptr;
}

TEST_F(SyntheticLevelTest, ObjectsStandInTheirRoomsAndMatchTheNameTables) {
    for (const CDataLevel* level : Both()) {
        const CDataObjects& objects = level->m_Objects;
        std::map<std::string, int> classes;
        for (std::size_t i = 0; i < objects.m_pObjects.size(); ++i) {
            const CDataObjectItem& o = *objects.m_pObjects[i];
            SCOPED_TRACE("object " + std::to_string(i));
            ++classes[o.m_strClass];
            EXPECT_EQ(o.m_nIndex, static_cast<int>(i));
            if (const auto* table = TableOf(objects, o.m_strClass)) {
                ASSERT_LT(o.m_nData, static_cast<int>(table->size()));
                EXPECT_EQ((*table)[static_cast<std::size_t>(o.m_nData)].m_strName, o.m_strData);
                EXPECT_EQ(ToUpper(o.m_strData), o.m_strData);
            } else {
                EXPECT_EQ(o.m_nData, 0);
                EXPECT_EQ(o.m_strData, ToLower(o.m_strClass));
            }
            // Without SEQ lines an object would take over its same-class successor's on reading.
            EXPECT_EQ(o.m_pSeqs.empty(), o.m_strClass == "SAFE" || o.m_strClass == "SOUND");
            for (const auto& seq : o.m_pSeqs)
                EXPECT_EQ(ToUpper(seq->m_strKey + seq->m_strValue), seq->m_strKey + seq->m_strValue);

            ASSERT_GE(o.m_nSector, 0);
            const CDataSector& room = *level->m_Lev.m_pSectors[static_cast<std::size_t>(o.m_nSector)];
            std::vector<int> starts;
            BuildLoopStarts(room, starts);
            EXPECT_TRUE(Inside(LoopCorners(room, starts[0], starts[1]), o.m_dX, o.m_dZ));
            for (std::size_t k = 1; k + 1 < starts.size(); ++k)
                EXPECT_FALSE(Inside(LoopCorners(room, starts[k], starts[k + 1]), o.m_dX, o.m_dZ))
                    << "inside a pillar";
            EXPECT_EQ(o.m_dY, room.m_dFloorAltitude);
        }
        EXPECT_EQ(classes["SPIRIT"], 1);
        for (const char* cls : {"SAFE", "SPRITE", "FRAME", "3D", "SOUND"})
            EXPECT_GT(classes[cls], 0) << cls;
    }
}

// True when name is a named sector that has a wall of that number.
bool ValidWallReference(const std::map<std::string, const CDataSector*>& named, const std::string& name,
                        int wall) {
    const auto it = named.find(name);
    return it != named.end() && wall >= 0 && wall < static_cast<int>(it->second->m_pWalls.size());
}

void CheckInfLine(const std::map<std::string, const CDataSector*>& named, const std::string& line) {
    const std::size_t colon = line.find(':');
    ASSERT_NE(colon, std::string::npos) << line;
    ASSERT_LT(colon + 1, line.size()) << line;
    EXPECT_EQ(line[colon + 1], '\t') << line;
    const std::string key = line.substr(0, colon);
    const std::string value = line.substr(colon + 2);
    EXPECT_EQ(key.find_first_of(" \t"), std::string::npos) << line;
    char a[32] = {}, b[32] = {};
    int wallA = -1, wallB = -1, stop = -1;
    if (key == "client") {
        EXPECT_TRUE(named.count(value)) << line;
    }
    if (key == "message") {
        ASSERT_EQ(std::sscanf(value.c_str(), "%d %31[^(](%d)", &stop, a, &wallA), 3) << line;
        EXPECT_TRUE(ValidWallReference(named, a, wallA)) << line;
    }
    if (key == "adjoin") {
        ASSERT_EQ(std::sscanf(value.c_str(), "%d %31s %d %31s %d", &stop, a, &wallA, b, &wallB), 5) << line;
        EXPECT_TRUE(ValidWallReference(named, a, wallA)) << line;
        EXPECT_TRUE(ValidWallReference(named, b, wallB)) << line;
    }
}

TEST_F(SyntheticLevelTest, InfItemsReferToNamedSectorsAndExistingWalls) {
    for (const CDataLevel* level : Both()) {
        std::map<std::string, const CDataSector*> named;
        for (const auto& s : level->m_Lev.m_pSectors)
            if (!s->m_strName.empty()) {
                EXPECT_TRUE(named.emplace(s->m_strName, s.get()).second) << s->m_strName;
            }
        std::map<std::string, int> types;
        std::set<std::string> classes;
        for (const auto& item : level->m_Inf.m_pItems) {
            ++types[item->m_strType];
            ASSERT_FALSE(item->m_Lines.empty());
            EXPECT_EQ(item->m_Lines[0].rfind("class:\t", 0), 0u) << item->m_Lines[0];
            classes.insert(item->m_Lines[0]);
            for (std::size_t l = 1; l < item->m_Lines.size(); ++l)
                EXPECT_NE(item->m_Lines[l].rfind("class:", 0), 0u) << "two classes in one item";
            for (const auto& line : item->m_Lines)
                CheckInfLine(named, line);
            if (item->m_strType == "level") continue;
            ASSERT_TRUE(named.count(item->m_strName)) << item->m_strName;
            if (item->m_strType == "line")
                EXPECT_TRUE(ValidWallReference(named, item->m_strName, item->m_nNum)) << item->m_nNum;
            else
                EXPECT_EQ(item->m_nNum, -1);
        }
        EXPECT_EQ(types["level"], 1);
        EXPECT_EQ(level->m_Inf.m_pItems.front()->m_strType, "level");
        EXPECT_GT(types["sector"], 0);
        EXPECT_GT(types["line"], 0);
        EXPECT_EQ(types.size(), 3u);
        EXPECT_TRUE(classes.count("class:\televator door"));
        EXPECT_TRUE(named.count("door1") && named.count("elev1"));
    }
    std::size_t messages = 0;
    for (const auto& item : s_pDefault->m_Inf.m_pItems)
        for (const auto& line : item->m_Lines)
            messages += line.rfind("message:", 0) == 0 || line.rfind("adjoin:", 0) == 0;
    EXPECT_GT(messages, 20u);
}

TEST_F(SyntheticLevelTest, HeaderAndMembersDescribeLevelSynth) {
    const CDataLevel& level = *s_pSmall;
    EXPECT_EQ(level.m_Lev.m_strLevelName, "SYNTH");
    EXPECT_EQ(level.m_Lev.m_strPalette, "SYNTH.PAL");
    EXPECT_EQ(level.m_Inf.m_strLevelName, "SYNTH");
    EXPECT_EQ(level.m_Objects.m_strLevelName, "SYNTH");
    EXPECT_EQ(level.m_Inf.m_dParallax1, level.m_Lev.m_dParallax1);
    EXPECT_EQ(level.m_Inf.m_dParallax2, level.m_Lev.m_dParallax2);
    EXPECT_FALSE(level.m_Lev.m_strAuthor.empty());
    EXPECT_EQ(level.m_LevelNames, std::vector<std::string>{"SYNTH"});
    for (const char* name : {"SYNTH.LEV", "SYNTH.O", "SYNTH.INF", "SYNTH.GOL"})
        EXPECT_NE(level.FindMember(name), nullptr) << name;
    EXPECT_EQ(level.FindMember("SYNTH.PAL")->m_nSize, 768u);
    EXPECT_EQ(level.m_Bitmaps.size(), 3u);
    EXPECT_EQ(level.m_Sprites.size(), 2u);
    // Each bitmap holds its 32-byte header and width x height plain pixels.
    for (const CDataGobEntry* bm : level.m_Bitmaps) {
        const auto d = bm->data();
        ASSERT_GE(d.size(), 32u);
        EXPECT_EQ(d.size(), 32u + std::size_t{d[4]} * d[6]);
    }
    for (std::size_t i = 0; i < level.m_Lev.m_Textures.size(); ++i) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "TEX%04zu.BM", i + 1);
        EXPECT_EQ(level.m_Lev.m_Textures[i].m_strName, expected);
    }
}

TEST_F(SyntheticLevelTest, SameOptionsGiveTheSameLevel) {
    CDataLevel again;
    BuildSyntheticLevel(again);
    EXPECT_EQ(testing::CountDifferences(*s_pDefault, again), 0);

    // Building over a level replaces what it held.
    BuildSyntheticLevel(again, SyntheticLevelOptions::Small());
    EXPECT_EQ(testing::CountDifferences(*s_pSmall, again), 0);

    // The comparison does see a single changed field, and another seed changes the level.
    again.m_Lev.m_pSectors[7]->m_pWalls[2]->m_Sign.m_dOffsetY += 0.01;
    EXPECT_EQ(testing::CountDifferences(*s_pSmall, again), 1);
    SyntheticLevelOptions other = SyntheticLevelOptions::Small();
    other.seed += 1;
    CDataLevel reseeded;
    BuildSyntheticLevel(reseeded, other);
    EXPECT_GT(testing::CountDifferences(*s_pSmall, reseeded), 0);
    EXPECT_TRUE(checkLevel(reseeded).empty());
}

TEST_F(SyntheticLevelTest, TinyAndEmptyRequestsStayConsistent) {
    for (int sectors : {0, 1, 2, 9, 10}) {
        SyntheticLevelOptions options;
        options.sectors = sectors;
        options.objects = 7;
        options.infItems = 5;
        CDataLevel level;
        BuildSyntheticLevel(level, options);
        EXPECT_EQ(level.m_Lev.m_pSectors.size(), static_cast<std::size_t>(sectors));
        EXPECT_EQ(level.m_Objects.m_pObjects.size(), sectors ? 7u : 0u);
        EXPECT_TRUE(checkLevel(level).empty()) << sectors;
    }
}

} // namespace
} // namespace morvi
