#pragma once

// What the resource windows share: turning the core's 8-bit pictures into Qt images and painting
// whatever a ResourcePreview holds into a rectangle.
#include <QImage>
#include <QRect>
#include <QWidget>

#include "resources/SpriteEditor.h"

#include <cstdint>
#include <span>

class QPainter;

namespace morvi {
class IndexedImage;
class ResourcePreview;
} // namespace morvi

namespace morvi::ui {

// The picture as ARGB32, top row first; palette index 0 fully transparent when asked (sprites).
// A picture without display colours shows its indices as grey levels.
QImage ToQImage(const IndexedImage& image, bool transparentZero = false);

// PNG pictures for the sprite editor's export and import: indexed PNGs of 256 colours holding the
// picture's palette indices and display colours. Reading refuses PNGs of other kinds (they hold
// colours, not indices).
PictureFileFormat PngPictureFormat();

// How a preview is painted: the zoom choice (0 "Auto Sizing" fits the area, 1 to 6 are 500 %
// down to 50 %), one frame alone (during Play; -1 all side by side), and whether texts are
// written: thumbnails, painted away from the user-interface thread, have none.
struct PreviewPaint {
    int m_nZoom = 0;
    int m_nOnlyFrame = -1;
    bool m_bText = true;
};

// Paints into area, clipped to it: a decoding failure as its message; pictures side by side
// (sprite frames on their transparent index and mirrored when flipped); a palette as its 16 x 16
// grid of colours; a 3D object as its three wire-frame views; a sound as "Sound: name".
void PaintPreview(QPainter& painter, const ResourcePreview& preview, const QRect& area,
                  const PreviewPaint& how = {});

// Paints 256 display colours (0x00BBGGRR) as the 16 x 16 grid of a palette, row 0 at the top: square
// cells as large as the area allows, the grid centred in it.
void PaintPaletteGrid(QPainter& painter, std::span<const std::uint32_t> colours, const QRect& area);

// The preview area of the resource windows: what a preview holds, painted to fit, or nothing. A
// click stops the preview's sound.
class ResourcePreviewArea : public QWidget {
public:
    explicit ResourcePreviewArea(QWidget* parent);
    // What the area shows from now on; nullptr leaves it blank. A preview shown must outlive the
    // area or be replaced first.
    void setPreview(ResourcePreview* preview);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ResourcePreview* m_pPreview = nullptr;
};

} // namespace morvi::ui
