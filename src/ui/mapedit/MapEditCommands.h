#pragma once

#include "mapedit/ClipboardLibrary.h"
#include "mapedit/EditResult.h"
#include "mapedit/DisplayList.h"
#include "mapedit/MapCommands.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace morvi::ui {

class CMainFrame;
class CMorviView;
class LevelCheckerPanel;

// The map editing commands of the Edit and Tools menus on the frame: each asks its question or
// shows its dialog, runs the core operation on the active view's engine as one undo step, and
// shows the message the operation returns.
//
// The clipboard is the application's own buffer, shared by every open document. A copy is also
// put on the system clipboard under a private type, so that two running editors can exchange
// sectors: Paste takes the system clipboard's copy when it holds one.
class MapEditCommands : public QObject {
    Q_OBJECT
public:
    // The private clipboard type of copied sectors and objects.
    static constexpr const char* kMimeType = "application/x-morvi-map-records";

    explicit MapEditCommands(CMainFrame& frame);

    // What Paste would paste now.
    const ClipboardBuffer& clipboard() const;
    // The "Level Check" dock, which follows the active map window.
    LevelCheckerPanel& checker() { return *m_pChecker; }

private:
    using Operation = std::function<EditResult(const EditContext&)>;

    void install(MapCommand command, const QString& label, Operation operation);
    void install(MapCommand command, std::function<void(CMorviView&)> run);
    // Runs the operation as one undo step on the view and shows its message.
    void run(CMorviView& view, const QString& label, const Operation& operation);
    // The same with new things placed at the given point of the view (its centre for none).
    void runAt(CMorviView& view, std::optional<ScreenPoint> mouse, const QString& label,
               const Operation& operation);
    // Where the mouse is over the view's map; none when it is elsewhere.
    static std::optional<ScreenPoint> mouseOver(const CMorviView& view);
    bool enabled(MapCommand command) const;
    void publish();
    void onSystemClipboardChanged();
    void loadLibrary(CMorviView& view);
    void saveLibrary(CMorviView& view);

    CMainFrame& m_Frame;
    LevelCheckerPanel* m_pChecker;
    // A copy another editor put on the system clipboard (empty when it holds none).
    ClipboardBuffer m_System;
};

} // namespace morvi::ui
