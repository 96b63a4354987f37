#pragma once

#include "document/CMorviDoc.h"
#include "mapedit/CMapEngine.h"
#include "model/LevelChecker.h"

#include <string>
#include <vector>

namespace morvi::testing {

// A map engine over a fresh document, laid out so that world (0, 0) is pixel (100, 500) at one
// pixel per unit in an 800 x 600 view.
struct EngineView {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};

    explicit EngineView(int mode, void (*build)(CDataLevel&) = nullptr) {
        if (build) build(doc.level());
        doc.m_nMode = mode;
        doc.m_nZoom = 6;
        doc.m_nGridLevel = 4;
        doc.m_dScrollX = 1948;
        doc.m_dScrollZ = 1548;
        engine.viewport().RecalcLayout(MapDevice{}, ClientRect{0, 0, 800, 600});
    }
    CDataLevel& level() { return doc.level(); }
    CDataSector& sector(int s) { return *level().m_Lev.m_pSectors[static_cast<std::size_t>(s)]; }
    CDataWall& wall(int s, int w) { return *sector(s).m_pWalls[static_cast<std::size_t>(w)]; }
    CDataVertex& vertex(int s, int v) { return *sector(s).m_pVertices[static_cast<std::size_t>(v)]; }
    void Select(const std::vector<CMapSelItem>& items) {
        engine.ClearSelection();
        for (const auto& i : items)
            engine.AddToSelection(i);
    }
};

// The level checker's findings as one text, empty for a sound level: a failing expectation
// prints every finding.
inline std::string FindingsText(const CDataLevel& level) {
    std::string text;
    for (const LevelFinding& f : checkLevel(level))
        text += f.m_strText + "\n";
    return text;
}

} // namespace morvi::testing
