#pragma once

#include "document/Selection.h"
#include "model/CDataLevel.h"

#include <cstddef>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace morvi {

// What a change may touch when it touches little: the values of these sectors and of their walls
// (not their vertices, and not how many walls there are), of these objects (with their SEQ
// lines), the texture table and the object name tables (which may grow), and the INF part when
// m_bInf is set. Nothing else of the level may change, no record may come or go and no index may
// move. The map keeps what it drew by the same promise (the objects' sectors, its sector boxes).
struct ChangeScope {
    std::vector<int> m_Sectors;
    std::vector<int> m_Objects;
    bool m_bInf = false;
};

// The state an undo step of a scoped change returns to: copies of the records in its scope, the
// tables, the INF part when in scope, the selection and the edit mode. Restoring it after the
// change (or, for redo, before) gives back exactly the level the change started from, at the cost
// of the few records it names rather than of the whole level.
class ScopedSnapshot {
public:
    static ScopedSnapshot Capture(const CDataLevel& level, const ChangeScope& scope,
                                  std::span<const CMapSelItem> selection, int mode);
    void Restore(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode) const;

    const ChangeScope& scope() const { return m_Scope; }
    std::size_t MemoryBytes() const;

private:
    ChangeScope m_Scope;
    std::vector<std::pair<int, std::unique_ptr<CDataSector>>> m_Sectors;
    std::vector<std::pair<int, std::unique_ptr<CDataObjectItem>>> m_Objects;
    std::vector<CDataNameEntry> m_Textures;
    std::vector<CDataNameEntry> m_Pods, m_Sprs, m_Fmes, m_Sounds;
    std::unique_ptr<CDataInf> m_pInf;
    std::vector<CMapSelItem> m_Selection;
    int m_nMode = kModeSector;
};

} // namespace morvi
