#pragma once

#include "document/CMorviDoc.h"
#include "infedit/InfChecker.h"
#include "mapedit/CMapEngine.h"
#include "mapedit/MapDrawing.h"
#include "mapedit/MapPicker.h"
#include "model/ModelOps.h"

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace morvi::testing {

using Points = std::vector<std::pair<double, double>>;

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
    // The sector's vertices in their order, as (X, Z).
    Points vertices(int s) {
        Points points;
        for (const auto& v : sector(s).m_pVertices)
            points.emplace_back(v->m_dX, v->m_dZ);
        return points;
    }
    void Select(const std::vector<CMapSelItem>& items) {
        engine.ClearSelection();
        for (const auto& i : items)
            engine.AddToSelection(i);
    }
};

inline constexpr auto Sector = [](int s) { return CMapSelItem{s, -1, -1, -1}; };
inline constexpr auto Wall = [](int s, int w) { return CMapSelItem{s, w, -1, -1}; };
inline constexpr auto Vertex = [](int s, int v) { return CMapSelItem{s, -1, v, -1}; };
inline constexpr auto Object = [](int o, int s) { return CMapSelItem{s, -1, -1, o}; };

// An object at (x, z), standing 4 units above the floor 0 of the builders' rooms.
inline CDataObjectItem& AddObject(CDataLevel& level, double x, double z, int sector = -1) {
    auto& objects = level.m_Objects.m_pObjects;
    auto object = std::make_unique<CDataObjectItem>();
    object->m_nIndex = static_cast<int>(objects.size());
    object->m_dX = x;
    object->m_dY = -4;
    object->m_dZ = z;
    object->m_nSector = sector;
    SetObjectDataIndex(level.m_Objects, *object);
    objects.push_back(std::move(object));
    return *objects.back();
}

// The sector-pick rule taken literally over every sector of the current layer, for tests and
// benchmarks to hold picking against; polygon is scratch space.
inline int ReferenceSectorPick(const CMapEngine& engine, const CMorviDoc& doc, ScreenPoint point,
                               std::vector<ScreenPoint>& polygon) {
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    double best = std::numeric_limits<double>::infinity();
    int found = -1;
    for (int i = static_cast<int>(sectors.size()) - 1; i >= 0; --i) {
        const CDataSector& sector = *sectors[static_cast<std::size_t>(i)];
        if (sector.m_nLayer != doc.m_nCurrentLayer) continue;
        polygon.clear();
        const int n = MapDrawing::FirstLoopLength(sector);
        for (int w = 0; w < n; ++w) {
            const CDataVertex& v = *sector.m_pVertices[static_cast<std::size_t>(
                sector.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft)];
            polygon.push_back(engine.viewport().WorldToScreen(v.m_dX, v.m_dZ));
        }
        if (!MapPicker::PointInPolygon(polygon, point)) continue;
        double score = 0;
        for (ScreenPoint p : polygon)
            score += std::hypot(p.x - point.x, p.y - point.y);
        if (score < best) {
            best = score;
            found = i;
        }
    }
    return found;
}

// The level checker's errors as one text, empty for a level the game takes: a failing expectation
// prints every one. Warnings (overlapping sectors, objects in no sector) are left out.
inline std::string FindingsText(const CDataLevel& level) {
    std::string text;
    for (const LevelFinding& f : CheckWholeLevel(level))
        if (f.m_Severity == LevelFinding::Severity::Error) text += f.m_strText + "\n";
    return text;
}

// Only the broken references: what every edit keeps, a user's move that pulls walls apart included.
inline std::string ReferenceFindingsText(const CDataLevel& level) {
    std::string text;
    for (const LevelFinding& f : checkLevel(level))
        if (f.m_Problem == LevelFinding::Problem::BrokenReference) text += f.m_strText + "\n";
    return text;
}

} // namespace morvi::testing
