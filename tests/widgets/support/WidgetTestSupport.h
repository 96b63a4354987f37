#pragma once

#include "document/Selection.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace morvi {
class CDataLevel;
}

namespace morvi::ui {
class CMainFrame;
class CMorviView;
class MorviDocument;
} // namespace morvi::ui

namespace morvi::ui::testing {

// Prepares a widget test program: settings go to a private test profile that starts empty, the
// data folder is the build's share/morvi, and every setting is back at its default.
void InitWidgetTests();

// Sets both game paths to a stand-in folder, so that opening a map window asks for none.
void SetStandInGamePaths();

// The sample level in the build's data folder.
QString SampleDocumentPath();
QString SampleGobPath();

// The level's LEV, O and INF texts as the writers print them, one after the other: equal texts
// mean an equal level as far as its files go.
QString LevelTexts(CDataLevel& level);

// The file's bytes; "<unreadable>" when it cannot be read.
QByteArray FileBytes(const QString& path);

// Switches the view to the edit mode of the command and selects exactly these items, then tells
// the document's windows, as a click on the map would.
void SelectOnMap(CMorviView& view, MorviDocument& document, int modeCommand,
                 const std::vector<CMapSelItem>& items);
// A small real change of the level (its music name), made through the document's funnel as one
// undo step, as any window would make it.
void MakeChange(MorviDocument& document);
// Closes every document of the frame, answering No to each question to save.
void CloseAllWithoutSaving(CMainFrame& frame);

// While it lives, file permissions apply to this thread even when the tests run as root (as they
// do in containers): file access is checked as an ordinary user's.
class WithoutFileAdminRights {
public:
    WithoutFileAdminRights();
    ~WithoutFileAdminRights();
    WithoutFileAdminRights(const WithoutFileAdminRights&) = delete;
    WithoutFileAdminRights& operator=(const WithoutFileAdminRights&) = delete;

private:
    int m_nSaved = -1;
};

} // namespace morvi::ui::testing
