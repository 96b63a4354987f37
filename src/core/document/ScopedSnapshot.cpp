#include "document/ScopedSnapshot.h"

#include "model/ModelOps.h"

namespace morvi {

namespace {

// Every field is copied by name below: a record that gains one stops this compiling until it is.
static_assert(sizeof(CDataTexture) == 40 && sizeof(CDataVertex) == 24 && sizeof(CDataWall) == 216 &&
                  sizeof(CDataSector) == 224 && sizeof(CDataObjectItem) == 176 &&
                  sizeof(CDataObjectSeq) == 72,
              "a record gained or lost a field: copy it below");

// Records of plain values (walls, vertices, SEQ lines): the list keeps its records, and so their
// addresses, wherever it has them.
template <class T>
void CopyRecords(const std::vector<std::unique_ptr<T>>& from, std::vector<std::unique_ptr<T>>& to) {
    to.resize(from.size());
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (!to[i]) to[i] = std::make_unique<T>();
        *to[i] = *from[i];
    }
}

void CopyValues(const CDataSector& from, CDataSector& to) {
    to.m_nIndex = from.m_nIndex;
    to.m_strName = from.m_strName;
    to.m_nAmbient = from.m_nAmbient;
    to.m_FloorTexture = from.m_FloorTexture;
    to.m_dFloorAltitude = from.m_dFloorAltitude;
    to.m_CeilingTexture = from.m_CeilingTexture;
    to.m_dCeilingAltitude = from.m_dCeilingAltitude;
    to.m_dSecondAltitude = from.m_dSecondAltitude;
    to.m_nFlags1 = from.m_nFlags1;
    to.m_nFlags2 = from.m_nFlags2;
    to.m_nFlags3 = from.m_nFlags3;
    to.m_nLayer = from.m_nLayer;
    CopyRecords(from.m_pVertices, to.m_pVertices);
    CopyRecords(from.m_pWalls, to.m_pWalls);
}

void CopyValues(const CDataObjectItem& from, CDataObjectItem& to) {
    to.m_nIndex = from.m_nIndex;
    to.m_strClass = from.m_strClass;
    to.m_strData = from.m_strData;
    to.m_nData = from.m_nData;
    to.m_dX = from.m_dX;
    to.m_dY = from.m_dY;
    to.m_dZ = from.m_dZ;
    to.m_dPitch = from.m_dPitch;
    to.m_dYaw = from.m_dYaw;
    to.m_dRoll = from.m_dRoll;
    to.m_nDiff = from.m_nDiff;
    to.m_crColour = from.m_crColour;
    to.m_nSector = from.m_nSector;
    CopyRecords(from.m_pSeqs, to.m_pSeqs);
}

std::size_t TableBytes(const std::vector<CDataNameEntry>& table) {
    std::size_t bytes = table.capacity() * sizeof(CDataNameEntry);
    for (const CDataNameEntry& e : table)
        bytes += e.m_strName.capacity();
    return bytes;
}

} // namespace

ScopedSnapshot ScopedSnapshot::Capture(const CDataLevel& level, const ChangeScope& scope,
                                       std::span<const CMapSelItem> selection, int mode) {
    ScopedSnapshot s;
    s.m_Scope = scope;
    for (const int i : scope.m_Sectors) {
        const CDataSector* sector = ItemAt(level.m_Lev.m_pSectors, i);
        if (!sector) continue;
        auto copy = std::make_unique<CDataSector>();
        CopyValues(*sector, *copy);
        s.m_Sectors.emplace_back(i, std::move(copy));
    }
    for (const int i : scope.m_Objects) {
        const CDataObjectItem* object = ItemAt(level.m_Objects.m_pObjects, i);
        if (!object) continue;
        auto copy = std::make_unique<CDataObjectItem>();
        CopyValues(*object, *copy);
        s.m_Objects.emplace_back(i, std::move(copy));
    }
    s.m_Textures = level.m_Lev.m_Textures;
    s.m_Pods = level.m_Objects.m_Pods;
    s.m_Sprs = level.m_Objects.m_Sprs;
    s.m_Fmes = level.m_Objects.m_Fmes;
    s.m_Sounds = level.m_Objects.m_Sounds;
    if (scope.m_bInf) s.m_pInf = std::make_unique<CDataInf>(level.m_Inf);
    s.m_Selection.assign(selection.begin(), selection.end());
    s.m_nMode = mode;
    return s;
}

void ScopedSnapshot::Restore(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode) const {
    for (const auto& [i, sector] : m_Sectors)
        if (CDataSector* target = ItemAt(level.m_Lev.m_pSectors, i)) CopyValues(*sector, *target);
    for (const auto& [i, object] : m_Objects)
        if (CDataObjectItem* target = ItemAt(level.m_Objects.m_pObjects, i)) CopyValues(*object, *target);
    level.m_Lev.m_Textures = m_Textures;
    level.m_Objects.m_Pods = m_Pods;
    level.m_Objects.m_Sprs = m_Sprs;
    level.m_Objects.m_Fmes = m_Fmes;
    level.m_Objects.m_Sounds = m_Sounds;
    if (m_pInf) level.m_Inf = *m_pInf;
    selection = m_Selection;
    mode = m_nMode;
}

std::size_t ScopedSnapshot::MemoryBytes() const {
    std::size_t bytes = sizeof(ScopedSnapshot);
    for (const auto& [i, sector] : m_Sectors)
        bytes += sizeof(CDataSector) + sector->m_strName.capacity() +
                 sector->m_pWalls.size() * (sizeof(CDataWall) + sizeof(void*)) +
                 sector->m_pVertices.size() * (sizeof(CDataVertex) + sizeof(void*));
    for (const auto& [i, object] : m_Objects)
        bytes += sizeof(CDataObjectItem) + object->m_pSeqs.size() * (sizeof(CDataObjectSeq) + sizeof(void*));
    bytes += TableBytes(m_Textures) + TableBytes(m_Pods) + TableBytes(m_Sprs) + TableBytes(m_Fmes) +
             TableBytes(m_Sounds);
    if (m_pInf)
        for (const auto& item : m_pInf->m_pItems) {
            bytes += sizeof(CDataInfItem);
            for (const std::string& line : item->m_Lines)
                bytes += sizeof(std::string) + line.capacity();
        }
    bytes += m_Selection.capacity() * sizeof(CMapSelItem);
    return bytes;
}

} // namespace morvi
