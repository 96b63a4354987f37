#include "resources/PaletteEditDialog.h"

#include "app/DialogKit.h"
#include "resources/ResourceImage.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvi::ui {

namespace {
// Sixteen pixels an entry: the grid fills its area exactly, so a click picks the entry it shows.
constexpr int kGridSide = 16 * 16;
} // namespace

class PaletteEditDialog::Grid : public QWidget {
public:
    explicit Grid(PaletteEditDialog& dialog) : m_Dialog(dialog) {
        setObjectName(QStringLiteral("grid"));
        setFixedSize(kGridSide, kGridSide);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintPaletteGrid(painter, m_Dialog.palette().AllDisplayColours(), rect());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) m_Dialog.pickAt(event->position().toPoint());
    }

private:
    PaletteEditDialog& m_Dialog;
};

PaletteEditDialog::PaletteEditDialog(const GamePalette& palette, QWidget* parent)
    : QDialog(parent), m_Palette(palette) {
    setObjectName(QStringLiteral("EditPalette"));
    setWindowTitle(QStringLiteral("Edit Palette"));
    m_pGrid = new Grid(*this);
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = Named(buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole), "ok");
    Named(buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole), "cancel");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pGrid, 0, Qt::AlignCenter);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PaletteEditDialog::pickAt(const QPoint& point) {
    const std::optional<std::size_t> entry =
        PaletteGridEntry(point.x(), point.y(), m_pGrid->width(), m_pGrid->height());
    if (!entry) return;
    const std::uint32_t shown = m_Palette.DisplayColour(*entry); // 0x00BBGGRR
    QColorDialog dialog(QColor(int(shown & 0xFF), int((shown >> 8) & 0xFF), int((shown >> 16) & 0xFF)), this);
    dialog.setWindowTitle(QStringLiteral("Colour of entry %1").arg(*entry));
    if (dialog.exec() != QDialog::Accepted) return;
    const QColor chosen = dialog.selectedColor();
    m_Palette.SetDisplayColour(*entry, chosen.red(), chosen.green(), chosen.blue());
    m_pGrid->update();
}

} // namespace morvi::ui
