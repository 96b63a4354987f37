#include "support/LevelCompare.h"

#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"

#include <algorithm>
#include <tuple>

namespace morvi::testing {

namespace {

// Field-by-field views of the records, so that two levels compare completely.
auto Fields(const CDataTexture& t) {
    return std::tuple(t.m_nTexture, t.m_dOffsetX, t.m_dOffsetY, t.m_nTexFlag);
}
auto Fields(const CDataVertex& v) {
    return std::tuple(v.m_dX, v.m_dZ);
}
auto Fields(const CDataWall& w) {
    return std::tuple(w.m_nIndex, w.m_nLeft, w.m_nRight, Fields(w.m_Mid), Fields(w.m_Top), Fields(w.m_Bottom),
                      Fields(w.m_Sign), w.m_nAdjoin, w.m_nMirror, w.m_nWalk, w.m_nFlags1, w.m_nFlags2,
                      w.m_nFlags3, w.m_nLight, w.m_nOldMirror);
}
auto Fields(const CDataSector& s) {
    return std::tuple(s.m_nIndex, s.m_strName, s.m_nAmbient, Fields(s.m_FloorTexture), s.m_dFloorAltitude,
                      Fields(s.m_CeilingTexture), s.m_dCeilingAltitude, s.m_dSecondAltitude, s.m_nFlags1,
                      s.m_nFlags2, s.m_nFlags3, s.m_nLayer, s.m_pVertices.size(), s.m_pWalls.size());
}
auto Fields(const CDataObjectItem& o) {
    return std::tuple(o.m_nIndex, o.m_strClass, o.m_strData, o.m_nData, o.m_dX, o.m_dY, o.m_dZ, o.m_dPitch,
                      o.m_dYaw, o.m_dRoll, o.m_nDiff, o.m_crColour, o.m_pSeqs.size());
}
auto Fields(const CDataInfItem& i) {
    return std::tuple(i.m_strType, i.m_strName, i.m_nNum, i.m_Lines);
}
auto Fields(const CDataNameEntry& e) {
    return std::tuple(e.m_nIndex, e.m_strName);
}
auto Fields(const CDataObjectSeq& q) {
    return std::tuple(q.m_strKey, q.m_strValue);
}

template <class T> int Differences(const std::vector<T>& a, const std::vector<T>& b) {
    if (a.size() != b.size()) return 1;
    int differences = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if constexpr (requires { *a[i]; })
            differences += Fields(*a[i]) != Fields(*b[i]);
        else
            differences += Fields(a[i]) != Fields(b[i]);
    }
    return differences;
}

auto HeaderFields(const CDataLev& l) {
    return std::tie(l.m_strVersion, l.m_strLevelName, l.m_strPalette, l.m_strMusic, l.m_dParallax1,
                    l.m_dParallax2, l.m_strAuthor);
}
auto HeaderFields(const CDataObjects& o) {
    return std::tie(o.m_strVersion, o.m_strLevelName, o.m_strAuthor);
}
auto HeaderFields(const CDataInf& i) {
    return std::tie(i.m_strVersion, i.m_strLevelName, i.m_dParallax1, i.m_dParallax2, i.m_strAuthor);
}

int SectorDifferences(const CDataSector& a, const CDataSector& b) {
    return (Fields(a) != Fields(b)) + Differences(a.m_pVertices, b.m_pVertices) +
           Differences(a.m_pWalls, b.m_pWalls);
}

int GeometryDifferences(const CDataLev& a, const CDataLev& b) {
    int d = (HeaderFields(a) != HeaderFields(b)) + Differences(a.m_Textures, b.m_Textures);
    if (a.m_pSectors.size() != b.m_pSectors.size()) return d + 1;
    for (std::size_t i = 0; i < a.m_pSectors.size(); ++i)
        d += SectorDifferences(*a.m_pSectors[i], *b.m_pSectors[i]);
    return d;
}

int ObjectDifferences(const CDataObjects& a, const CDataObjects& b, bool objectSectors) {
    int d = (HeaderFields(a) != HeaderFields(b)) + Differences(a.m_pObjects, b.m_pObjects) +
            Differences(a.m_Pods, b.m_Pods) + Differences(a.m_Sprs, b.m_Sprs) +
            Differences(a.m_Fmes, b.m_Fmes) + Differences(a.m_Sounds, b.m_Sounds);
    for (std::size_t i = 0; d == 0 && i < a.m_pObjects.size(); ++i) {
        d += Differences(a.m_pObjects[i]->m_pSeqs, b.m_pObjects[i]->m_pSeqs);
        if (objectSectors) d += a.m_pObjects[i]->m_nSector != b.m_pObjects[i]->m_nSector;
    }
    return d;
}

int MemberDifferences(const CDataLevel& a, const CDataLevel& b) {
    int d = (a.m_pMembers.size() != b.m_pMembers.size()) + (a.m_LevelNames != b.m_LevelNames) +
            (a.m_nCurrentLevel != b.m_nCurrentLevel);
    for (std::size_t i = 0; d == 0 && i < a.m_pMembers.size(); ++i)
        d += a.m_pMembers[i]->m_strName != b.m_pMembers[i]->m_strName ||
             !std::ranges::equal(a.m_pMembers[i]->data(), b.m_pMembers[i]->data());
    return d;
}

} // namespace

int CountDifferences(const CDataLev& a, const CDataLev& b) {
    return GeometryDifferences(a, b);
}
int CountDifferences(const CDataSector& a, const CDataSector& b) {
    return SectorDifferences(a, b);
}
int CountDifferences(const CDataWall& a, const CDataWall& b) {
    return Fields(a) != Fields(b);
}

int CountDifferences(const CDataLevel& a, const CDataLevel& b, CompareOptions options) {
    int d = GeometryDifferences(a.m_Lev, b.m_Lev) +
            ObjectDifferences(a.m_Objects, b.m_Objects, options.objectSectors) +
            (HeaderFields(a.m_Inf) != HeaderFields(b.m_Inf)) +
            Differences(a.m_Inf.m_pItems, b.m_Inf.m_pItems);
    if (options.members) d += MemberDifferences(a, b);
    return d;
}

GameTexts WriteGameTexts(const CDataLevel& level, std::string_view title) {
    GameTexts t;
    WriteLev(level.m_Lev, title, t.lev);
    WriteObjects(level.m_Objects, title, t.o);
    WriteInf(level.m_Inf, title, t.inf);
    return t;
}

} // namespace morvi::testing
