#pragma once

#include <QString>
#include <QWidget>

#include <memory>

namespace morvi {
class ResourcePreview;
}

namespace morvi::ui {

class MorviDocument;

// The floating preview window of the property panes: a small tool window titled
// "Morvi Bitmap: " and the resource's name that shows one texture, sprite, frame, 3D object or
// sound of the document's level or the game's archives. Its place on screen is kept in the
// settings (m_nBitmapLeft/Top/Right/Bottom): unset, the first window is centred on its parent's
// window, one eighth of the screen's width a side; every move or resize stores it back. A sound
// plays as it is shown, until it ends, another one is shown, or the window is clicked or hidden.
//   auto* preview = new CBitmapWnd(document, pane);
//   preview->showResource(".wax", "stormfin.wax");
//   preview->show();
class CBitmapWnd : public QWidget {
    Q_OBJECT
public:
    CBitmapWnd(MorviDocument& document, QWidget* parent);
    ~CBitmapWnd() override;

    // Loads the member (extension ".bm", ".wax", ".fme", ".3do", ".voc", any case) from the level's
    // own members or the game's archives and repaints; the title follows the name.
    void showResource(const QString& extension, const QString& name);
    const ResourcePreview& preview() const { return *m_pPreview; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // A click stops the sound shown; so does hiding the window.
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();
    void storePlace();

    MorviDocument& m_Document;
    std::unique_ptr<ResourcePreview> m_pPreview;
    bool m_bFound = false;
    // Moves and resizes before the window has its place are the window system's, not the user's.
    bool m_bPlaced = false;
};

} // namespace morvi::ui
