#include "mapedit/CMapEngine.h"

namespace morvi {

CMapEngine::CMapEngine(CMorviDoc& doc, const Settings& settings)
    : m_Doc(doc), m_Settings(settings), m_Viewport(doc), m_Drawing(doc, settings, m_Viewport),
      m_Picker(doc, m_Viewport, m_Notify), m_Drag(doc, settings, m_Viewport, m_Drawing, m_Picker, m_Notify),
      m_GeometryWatch(doc.m_GeometryChanged.Connect([this] {
          const ChangeScope* scope = m_Doc.NotifiedScope();
          m_Drawing.GeometryChanged(scope);
          // A scoped change moves no vertex: the picker's sector boxes stay right.
          if (!scope) m_Picker.MarkGeometryDirty();
      })) {}

EditContext CMapEngine::ContextAt(std::optional<ScreenPoint> mouse) const {
    const ClientRect& client = m_Viewport.m_rcClient;
    if (!mouse || mouse->x < client.left || mouse->x >= client.right || mouse->y < client.top ||
        mouse->y >= client.bottom)
        return Context();
    const EditContext centred = Context();
    const WorldPoint at{centred.SnapPoint(m_Viewport.ScreenToWorldX(mouse->x)),
                        centred.SnapPoint(m_Viewport.ScreenToWorldZ(mouse->y))};
    return EditContext(m_Doc, m_Settings, at);
}

void CMapEngine::Draw(DisplayList& out, const MapDevice& device) {
    m_Drawing.Draw(out, device);
    m_Picker.CheckGrid();
}

} // namespace morvi
