#pragma once

// The 4,000-sector synthetic level in a document, with a map engine laid out so that the level's
// bounding box fits a 1920 x 1080 view, centred, every layer drawn: the map as a user sees the
// whole of a large level.

#include "mapedit/CMapEngine.h"
#include "mapedit/MapDrawing.h"
#include "mapedit/MapPicker.h"
#include "support/SyntheticLevel.h"

#include <algorithm>

namespace morvi::bench {

struct FittedView {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};

    FittedView() {
        testing::BuildSyntheticLevel(doc.level(), testing::SyntheticLevelOptions{});
        double minX = 1e11, maxX = -1e11, minZ = 1e11, maxZ = -1e11;
        for (const auto& s : doc.level().m_Lev.m_pSectors)
            for (const auto& v : s->m_pVertices) {
                minX = std::min(minX, v->m_dX), maxX = std::max(maxX, v->m_dX);
                minZ = std::min(minZ, v->m_dZ), maxZ = std::max(maxZ, v->m_dZ);
            }
        const double w = 1920, h = 1080;
        engine.viewport().m_rcClient = {0, 0, 1920, 1080};
        engine.viewport().m_dScale = 4096 * std::min(w / (maxX - minX), h / (maxZ - minZ));
        const double unitsPerPixel = 4096 / engine.viewport().m_dScale;
        doc.m_dScrollX = (minX + maxX) / 2 + 2048 - w / 2 * unitsPerPixel;
        doc.m_dScrollZ = (engine.viewport().m_dScale - h / 2) * unitsPerPixel - 2048 - (minZ + maxZ) / 2;
        doc.m_bAllLayers = 1; // every sector is drawn
        DisplayList warmUp;
        engine.drawing().DrawMap(warmUp,
                                 false); // assigns the objects' sectors once, as a view's first paint does
        // A first sector click builds the picking grid, so that every paint below pays for checking it.
        doc.m_nMode = kModeSector;
        engine.picker().PickAt({0, 0}, {});
        engine.ClearSelection();
    }
};

} // namespace morvi::bench
