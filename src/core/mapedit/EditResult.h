#pragma once

#include <string>

namespace morvi {

// What a map edit tells the user interface to do next. An edit that refuses changes nothing and
// says why in m_strMessage.
struct EditResult {
    bool m_bChanged = false;          // the level changed: mark the document modified, repaint the views
    bool m_bSelectionChanged = false; // the selection was rebuilt: the properties pane reloads
    bool m_bInfChanged = false;       // INF items changed: the INF editor reloads
    std::string m_strMessage;         // text for a message box (a refusal or a notice); empty for none

    static EditResult Refused(std::string message) {
        EditResult r;
        r.m_strMessage = std::move(message);
        return r;
    }
};

} // namespace morvi
