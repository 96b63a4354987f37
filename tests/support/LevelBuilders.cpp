#include "support/LevelBuilders.h"

namespace morvi::testing {

namespace {

void AddWall(CDataSector& s, int left, int right) {
    auto wall = std::make_unique<CDataWall>();
    wall->m_nIndex = static_cast<int>(s.m_pWalls.size());
    wall->m_nLeft = left;
    wall->m_nRight = right;
    s.m_pWalls.push_back(std::move(wall));
}

void Texture(CDataLev& lev, CDataSector& s) {
    s.m_FloorTexture.m_nTexture = lev.FindOrAddTexture("IF3.BM");
    s.m_CeilingTexture.m_nTexture = lev.FindOrAddTexture("IPBIGLT.BM");
    const int wallTexture = lev.FindOrAddTexture("RWRWALL1.BM");
    for (auto& w : s.m_pWalls) w->m_Mid.m_nTexture = w->m_Top.m_nTexture = w->m_Bottom.m_nTexture = wallTexture;
}

} // namespace

std::unique_ptr<CDataSector> MakeSquareSector(CDataLev& lev, int index, double x0, double z0, double x1, double z1) {
    auto s = std::make_unique<CDataSector>();
    s->m_nIndex = index;
    s->m_nAmbient = 20;
    s->m_dFloorAltitude = 0.0;
    s->m_dCeilingAltitude = -16.0;
    s->m_pVertices.push_back(std::make_unique<CDataVertex>(x0, z0));
    s->m_pVertices.push_back(std::make_unique<CDataVertex>(x1, z0));
    s->m_pVertices.push_back(std::make_unique<CDataVertex>(x1, z1));
    s->m_pVertices.push_back(std::make_unique<CDataVertex>(x0, z1));
    for (int i = 0; i < 4; ++i) AddWall(*s, i, (i + 1) % 4);
    Texture(lev, *s);
    return s;
}

void BuildRoom(CDataLevel& level) {
    level.m_Lev.m_pSectors.push_back(MakeSquareSector(level.m_Lev, 0, 0, 0, 64, 64));
}

void BuildTwoRooms(CDataLevel& level) {
    auto& sectors = level.m_Lev.m_pSectors;
    sectors.push_back(MakeSquareSector(level.m_Lev, 0, 0, 0, 64, 64));
    sectors.push_back(MakeSquareSector(level.m_Lev, 1, 64, 0, 128, 64));
    // Sector 0 wall 1 runs (64,0)->(64,64); sector 1 wall 3 runs (64,64)->(64,0).
    CDataWall& a = *sectors[0]->m_pWalls[1];
    CDataWall& b = *sectors[1]->m_pWalls[3];
    a.m_nAdjoin = a.m_nWalk = 1;
    a.m_nMirror = 3;
    b.m_nAdjoin = b.m_nWalk = 0;
    b.m_nMirror = 1;
}

void BuildRoomWithPillar(CDataLevel& level) {
    auto& sectors = level.m_Lev.m_pSectors;
    auto room = MakeSquareSector(level.m_Lev, 0, 0, 0, 128, 128);
    auto pillar = MakeSquareSector(level.m_Lev, 1, 48, 48, 80, 80);
    // The hole runs clockwise through the room's own copies of the pillar's corners.
    const double hole[4][2] = {{48, 48}, {48, 80}, {80, 80}, {80, 48}};
    for (const auto& p : hole) room->m_pVertices.push_back(std::make_unique<CDataVertex>(p[0], p[1]));
    for (int i = 0; i < 4; ++i) AddWall(*room, 4 + i, 4 + (i + 1) % 4);
    Texture(level.m_Lev, *room);
    // Room hole wall k runs hole[k] -> hole[k+1]; pillar wall j runs corner j -> corner j+1 with
    // corners (48,48) (80,48) (80,80) (48,80): hole wall 4+k mirrors pillar wall (3 - k).
    for (int k = 0; k < 4; ++k) {
        CDataWall& rw = *room->m_pWalls[static_cast<std::size_t>(4 + k)];
        CDataWall& pw = *pillar->m_pWalls[static_cast<std::size_t>(3 - k)];
        rw.m_nAdjoin = rw.m_nWalk = 1;
        rw.m_nMirror = 3 - k;
        pw.m_nAdjoin = pw.m_nWalk = 0;
        pw.m_nMirror = 4 + k;
    }
    pillar->m_dFloorAltitude = -8.0;
    sectors.push_back(std::move(room));
    sectors.push_back(std::move(pillar));
}

CDataInfItem& AddItem(CDataInf& inf, std::string type, std::string name, int num, std::vector<std::string> lines) {
    auto item = std::make_unique<CDataInfItem>();
    item->m_strType = std::move(type);
    item->m_strName = std::move(name);
    item->m_nNum = num;
    item->m_Lines = std::move(lines);
    inf.m_pItems.push_back(std::move(item));
    return *inf.m_pItems.back();
}

} // namespace morvi::testing
