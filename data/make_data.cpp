// Generates the bundled sample level: morvi-make-data SHAREDIR writes SHAREDIR/sample/sample.gob
// and the same level as SHAREDIR/sample/sample.mrv. Everything is built from our own model.
#include "gamefiles/DocumentFile.h"
#include "model/CMorviDoc.h"
#include "model/LevelChecker.h"
#include "model/ModelOps.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
using namespace morvi;

namespace {

// A sector from a closed outline (counter-clockwise in map view).
CDataSector& AddSector(CDataLevel& level, std::initializer_list<std::pair<double, double>> outline, double floor,
                       double ceiling, const char* name = "") {
    CDataLev& lev = level.m_Lev;
    auto s = std::make_unique<CDataSector>();
    s->m_nIndex = static_cast<int>(lev.m_pSectors.size());
    s->m_strName = name;
    s->m_nAmbient = 24;
    s->m_dFloorAltitude = floor;
    s->m_dCeilingAltitude = ceiling;
    s->m_FloorTexture.m_nTexture = lev.FindOrAddTexture("IF3.BM");
    s->m_CeilingTexture.m_nTexture = lev.FindOrAddTexture("IPBIGLT.BM");
    const int wallTexture = lev.FindOrAddTexture("RWRWALL1.BM");
    for (const auto& [x, z] : outline) s->m_pVertices.push_back(std::make_unique<CDataVertex>(x, z));
    const int n = static_cast<int>(outline.size());
    for (int i = 0; i < n; ++i) {
        auto w = std::make_unique<CDataWall>();
        w->m_nIndex = i;
        w->m_nLeft = i;
        w->m_nRight = (i + 1) % n;
        w->m_Mid.m_nTexture = w->m_Top.m_nTexture = w->m_Bottom.m_nTexture = wallTexture;
        s->m_pWalls.push_back(std::move(w));
    }
    lev.m_pSectors.push_back(std::move(s));
    return *lev.m_pSectors.back();
}

void Adjoin(CDataLevel& level, int s1, int w1, int s2, int w2) {
    CDataWall& a = *level.m_Lev.m_pSectors[s1]->m_pWalls[w1];
    CDataWall& b = *level.m_Lev.m_pSectors[s2]->m_pWalls[w2];
    a.m_nAdjoin = a.m_nWalk = s2;
    a.m_nMirror = w2;
    b.m_nAdjoin = b.m_nWalk = s1;
    b.m_nMirror = w1;
}

void AddObject(CDataLevel& level, const char* cls, const char* data, double x, double z,
               std::initializer_list<std::pair<const char*, const char*>> seqs = {}) {
    auto o = std::make_unique<CDataObjectItem>();
    o->m_nIndex = static_cast<int>(level.m_Objects.m_pObjects.size());
    o->m_strClass = cls;
    o->m_strData = data;
    o->m_dX = x;
    o->m_dZ = z;
    for (const auto& [key, value] : seqs) o->m_pSeqs.push_back(std::make_unique<CDataObjectSeq>(key, value));
    SetObjectDataIndex(level.m_Objects, *o);
    AssignObjectColour(*o);
    for (const auto& seq : o->m_pSeqs) AssignObjectColour(*o, seq.get());
    level.m_Objects.m_pObjects.push_back(std::move(o));
}

void BuildSample(CDataLevel& level) {
    // A hall, a door and a corridor, joined wall to wall.
    AddSector(level, {{0, 0}, {64, 0}, {64, 64}, {0, 64}}, 0, -24, "hall");
    AddSector(level, {{64, 24}, {72, 24}, {72, 40}, {64, 40}}, 0, 0, "door1");
    AddSector(level, {{72, 24}, {160, 24}, {160, 40}, {72, 40}}, 0, -16, "corridor");
    // The hall's east wall is split so that its middle piece meets the door.
    CDataSector& hall = *level.m_Lev.m_pSectors[0];
    hall.m_pVertices.insert(hall.m_pVertices.begin() + 2, std::make_unique<CDataVertex>(64, 24));
    hall.m_pVertices.insert(hall.m_pVertices.begin() + 3, std::make_unique<CDataVertex>(64, 40));
    hall.m_pWalls.clear();
    for (int i = 0; i < 6; ++i) {
        auto w = std::make_unique<CDataWall>();
        w->m_nIndex = i;
        w->m_nLeft = i;
        w->m_nRight = (i + 1) % 6;
        w->m_Mid.m_nTexture = w->m_Top.m_nTexture = w->m_Bottom.m_nTexture = 2;
        hall.m_pWalls.push_back(std::move(w));
    }
    Adjoin(level, 0, 2, 1, 3);
    Adjoin(level, 1, 1, 2, 3);

    auto item = std::make_unique<CDataInfItem>();
    item->m_strType = "sector";
    item->m_strName = "door1";
    item->m_Lines = {"class:\tdoor", "speed:\t20"};
    level.m_Inf.m_pItems.push_back(std::move(item));

    AddObject(level, "SPIRIT", "spirit", 32, 32);
    AddObject(level, "SPRITE", "STORMFIN.WAX", 120, 32, {{"LOGIC", "STORM1"}});
    AddObject(level, "FRAME", "IMEDKIT.FME", 16, 48, {{"LOGIC", "ITEM MEDKIT"}});
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: morvi-make-data SHAREDIR\n");
        return 2;
    }
    const fs::path sampleDir = fs::path(argv[1]) / "sample";
    fs::create_directories(sampleDir);

    CMorviDoc doc;
    CDataLevel& level = doc.level();
    level.m_LevelNames = {"SECBASE"};
    level.m_Lev.m_strAuthor = "Morvi";
    for (const char* member : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF"}) level.AddMember(member, {});
    const std::string gol = "GOL 1.0\r\n\r\nGOAL: 0 TRIG: 0\r\n";
    level.AddMember("SECBASE.GOL", std::span(reinterpret_cast<const std::uint8_t*>(gol.data()), gol.size()));
    BuildSample(level);

    if (const auto findings = checkLevel(level); !findings.empty()) {
        for (const auto& f : findings) std::fprintf(stderr, "morvi-make-data: %s\n", f.m_strText.c_str());
        return 1;
    }
    for (const char* name : {"sample.gob", "sample.mrv"}) {
        if (Status s = SaveDocument(doc, sampleDir / name); !s) {
            std::fprintf(stderr, "morvi-make-data: %s\n", s.message().c_str());
            return 1;
        }
    }
    return 0;
}
