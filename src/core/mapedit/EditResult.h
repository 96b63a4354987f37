#pragma once

#include "document/ChangeFlags.h"

#include <string>

namespace morvi {

// What a map edit tells the user interface to do next. An edit that refuses changes nothing and
// says why in m_strMessage.
struct EditResult {
    bool m_bChanged = false;          // the level changed: mark the document modified, repaint the views
    bool m_bSelectionChanged = false; // the selection was rebuilt: the properties pane reloads
    bool m_bInfChanged = false;       // INF items changed: the INF editor reloads
    bool m_bMembersChanged = false;   // archive members were added or replaced (pasted textures)
    std::string m_strMessage;         // text for a message box (a refusal or a notice); empty for none

    static EditResult Refused(std::string message) {
        EditResult r;
        r.m_strMessage = std::move(message);
        return r;
    }
};

// The document's change flags for what an edit reports.
inline unsigned ChangesOf(const EditResult& r) {
    unsigned flags = r.m_bSelectionChanged ? kChangedSelection : kChangedNothing;
    if (r.m_bChanged) flags |= kChangedGeometry;
    if (r.m_bInfChanged) flags |= kChangedInf;
    if (r.m_bMembersChanged) flags |= kChangedMembers;
    return flags;
}

} // namespace morvi
