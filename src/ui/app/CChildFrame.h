#pragma once

#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QScrollArea;

namespace morvi::ui {

class CMorviView;
class View3DWidget;
class MorviDocument;
class PropertiesPane;

// The inside of one map window: the map view, and the properties pane at its left edge while it is
// shown. The pane follows the document's edit mode (a sector pane in sector mode ...); the
// perspective mode has none. The caption follows the document's title and modified mark.
class CChildFrame : public QWidget {
    Q_OBJECT
public:
    CChildFrame(MorviDocument& document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    MorviDocument& document() { return m_Document; }
    CMorviView& view() { return *m_pView; }

    // The Properties command: shows or hides the pane (and remembers the choice in the settings).
    void togglePane();
    bool paneShown() const { return m_bPaneShown; }
    void setPaneShown(bool shown);
    // The pane of the current mode; nullptr while hidden or in the perspective mode.
    PropertiesPane* pane() const;
    // F6: the focus goes from the map to the pane and back.
    void switchFocus();
    // The 3D view while the document is in perspective mode: in place of the map ("Perspective"),
    // or alone on the whole screen ("Game"); nullptr otherwise.
    View3DWidget* view3DWidget() const;

private:
    void updateCaption();
    void syncPane();
    void syncView3D();
    void closeView3D();

    MorviDocument& m_Document;
    CMorviView* m_pView;
    QScrollArea* m_pPaneArea;
    QPointer<PropertiesPane> m_pPane;
    bool m_bPaneShown = false;
    QPointer<View3DWidget> m_pView3D;
};

} // namespace morvi::ui
