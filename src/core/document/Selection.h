#pragma once

#include <algorithm>
#include <span>

namespace morvi {

// The map's edit modes, the document's m_nMode.
enum EditMode : int {
    kModeSector = 0,
    kModeWall = 1,
    kModeVertex = 2,
    kModeObject = 3,
    kModePerspective = 4
};

// One selection entry; what is filled depends on the edit mode (sector; sector and wall; sector
// and vertex; object and its assigned sector), the rest is -1. The document's first entry is the
// current item: the one single-item tools and the properties pane work on.
struct CMapSelItem {
    int m_nSector = -1;
    int m_nWall = -1;
    int m_nVertex = -1;
    int m_nObject = -1;
    bool operator==(const CMapSelItem&) const = default;
};

// Whether the selection holds the sector, the object, or the vertex of the sector.
inline bool IsSectorSelected(std::span<const CMapSelItem> selection, int sector) {
    return std::any_of(selection.begin(), selection.end(),
                       [&](const CMapSelItem& e) { return e.m_nSector == sector; });
}
inline bool IsObjectSelected(std::span<const CMapSelItem> selection, int object) {
    return std::any_of(selection.begin(), selection.end(),
                       [&](const CMapSelItem& e) { return e.m_nObject == object; });
}
inline bool IsVertexSelected(std::span<const CMapSelItem> selection, int sector, int vertex) {
    return std::any_of(selection.begin(), selection.end(),
                       [&](const CMapSelItem& e) { return e.m_nSector == sector && e.m_nVertex == vertex; });
}

} // namespace morvi
