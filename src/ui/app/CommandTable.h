#pragma once

#include "app/CommandIds.h"

#include <QKeySequence>
#include <QList>
#include <QString>

#include <vector>

namespace morvi::ui {

// The editor's commands under their command ids: the menu text, the keys and the status-bar tip.
// Menus, tool bars and tests all take them from here, so an id always means the same command.
struct CommandInfo {
    int m_nId = 0;
    const char* m_szText = "";      // menu text with its mnemonic, without the key hint
    const char* m_szKeys = nullptr; // keys separated by ';' (the first one is shown in the menu)
    const char* m_szTip = "";       // status-bar text
    bool m_bCheckable = false;
};

const std::vector<CommandInfo>& Commands();
// nullptr for an unknown id.
const CommandInfo* FindCommand(int id);
// The command's keys as key sequences, in table order.
QList<QKeySequence> CommandKeys(const CommandInfo& command);

// The command ids are the core's (app/CommandIds.h): this table gives them their texts.

} // namespace morvi::ui
