#pragma once

#include <QWidget>

namespace morvi::ui {

class CMorviView;
class MorviDocument;

// The inside of one map window: the map view, and later the properties pane at its left edge.
// Its caption follows the document's title and modified mark.
class CChildFrame : public QWidget {
    Q_OBJECT
public:
    CChildFrame(MorviDocument& document, QWidget* parent = nullptr);

    MorviDocument& document() { return m_Document; }
    CMorviView& view() { return *m_pView; }

private:
    void updateCaption();

    MorviDocument& m_Document;
    CMorviView* m_pView;
};

} // namespace morvi::ui
