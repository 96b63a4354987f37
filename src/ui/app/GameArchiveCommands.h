#pragma once

#include "gamefiles/TestArchive.h"
#include "model/Status.h"

#include <QString>

namespace morvi::ui {

class CMainFrame;
class MorviDocument;

// Save All: merges the levels of the open documents, in opening order, into one GOB archive the
// user names, writing it with progress. Refusals come before the file dialog; what was left out
// and what the game will not find are said after the write.
void SaveAllDocuments(CMainFrame& frame);

// Test GOB: puts the document's level into the game's folder as the test archive, with its
// briefing, and starts the game there through the game command of the settings. The program is
// looked for before anything is written; every failure is said once and starts nothing. Returns
// whether the game was started.
bool TestGob(CMainFrame& frame, MorviDocument& document);

// The program of the launch as it would be started: a path as given, a bare name looked up on the
// PATH; empty when there is no such executable.
QString FindGameProgram(const GameLaunch& launch);

} // namespace morvi::ui
