#pragma once

#include "app/Settings.h"
#include "document/CMorviDoc.h"

#include <string>
#include <vector>

namespace morvi {

// A point of the map in world units.
struct WorldPoint {
    double m_dX = 0.0;
    double m_dZ = 0.0;
    bool operator==(const WorldPoint&) const = default;
};

// What an edit works on: the document (its level, selection, edit mode, current layer and grid),
// the preferences edits read, and the point where a command places new things (the centre of the
// view it was given in). Edits decide in world units only, so that a result never depends on the
// zoom and the command line, the tests and every window get the same one. A map engine converts
// to the context of its view.
class EditContext {
public:
    EditContext(CMorviDoc& doc, const Settings& settings, WorldPoint place = {})
        : m_Doc(doc), m_Settings(settings), m_Place(place) {}

    CMorviDoc& document() const { return m_Doc; }
    CDataLevel& level() const { return m_Doc.level(); }
    std::vector<CMapSelItem>& selection() const { return m_Doc.selection(); }
    void ClearSelection() const { m_Doc.selection().clear(); }
    void AddToSelection(const CMapSelItem& item) const { m_Doc.selection().push_back(item); }
    int mode() const { return m_Doc.m_nMode; }
    const Settings& settings() const { return m_Settings; }
    WorldPoint place() const { return m_Place; }

    // An edit of the selected sectors (or of the sectors of the selected walls and vertices) reads
    // their neighbours and the neighbours' neighbours through adjoins and mirrors. When one of
    // those sectors holds an index that names nothing (a damaged file), the edit is refused with
    // the sentence that names it; empty when they are all sound, and in object mode.
    std::string DamageRefusal() const;

    // The step of the document's grid level, and the nearest grid point (halves away from zero)
    // with the grid on, or the nearest hundredth without it.
    double GridStep() const;
    double SnapPoint(double v) const;

private:
    CMorviDoc& m_Doc;
    const Settings& m_Settings;
    WorldPoint m_Place;
};

// The snapping rule itself, for a grid of the given step.
double SnapToGrid(double v, bool gridOn, double step);

} // namespace morvi
