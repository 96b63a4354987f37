#include "resources/BitmapWindow.h"

#include "app/AppContext.h"
#include "app/MorviDocument.h"
#include "resources/ResourceImage.h"
#include "resources/ResourcePreview.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace morvi::ui {

namespace {
// A stored place smaller than this is not a place anybody chose.
constexpr int kSmallestSide = 16;
} // namespace

CBitmapWnd::CBitmapWnd(MorviDocument& document, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_Document(document),
      m_pPreview(std::make_unique<ResourcePreview>(&document.level(), AppContext::instance().resources())) {
    setObjectName(QStringLiteral("MorviBitmap"));
    setWindowTitle(QStringLiteral("Morvi Bitmap: "));
    place();
}

CBitmapWnd::~CBitmapWnd() {
    m_pPreview->stopSound();
}

void CBitmapWnd::place() {
    const Settings& settings = AppContext::instance().settings();
    QRect rect(QPoint(settings.m_nBitmapLeft, settings.m_nBitmapTop),
               QPoint(settings.m_nBitmapRight - 1, settings.m_nBitmapBottom - 1));
    if (settings.m_nBitmapLeft == -1 || rect.width() < kSmallestSide || rect.height() < kSmallestSide) {
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        const int side = std::max(kSmallestSide, screen ? screen->geometry().width() / 8 : 128);
        const QRect owner = parentWidget() ? parentWidget()->window()->frameGeometry()
                                           : (screen ? screen->availableGeometry() : QRect(0, 0, side, side));
        rect = QRect(0, 0, side, side);
        rect.moveCenter(owner.center());
    }
    setGeometry(rect);
    m_bPlaced = true;
    storePlace();
}

void CBitmapWnd::storePlace() {
    if (!m_bPlaced) return;
    Settings& settings = AppContext::instance().settings();
    const QRect rect = geometry();
    settings.m_nBitmapLeft = rect.left();
    settings.m_nBitmapTop = rect.top();
    settings.m_nBitmapRight = rect.left() + rect.width();
    settings.m_nBitmapBottom = rect.top() + rect.height();
}

void CBitmapWnd::showResource(const QString& extension, const QString& name) {
    // The document may have read another level since the last load: bind to the current one.
    m_pPreview->stopSound();
    m_pPreview = std::make_unique<ResourcePreview>(&m_Document.level(), AppContext::instance().resources());
    // A sound plays as it loads; the sound device is only looked for once a sound is shown.
    const bool sound = extension.compare(".voc", Qt::CaseInsensitive) == 0;
    if (sound) m_pPreview->setSoundManager(&AppContext::instance().sounds());
    setToolTip(sound ? QStringLiteral("Click to stop the sound.") : QString());
    m_bFound = m_pPreview->load(extension.toStdString(), name.toStdString(), true);
    setWindowTitle(QStringLiteral("Morvi Bitmap: ") + name);
    update();
}

void CBitmapWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_bFound)
        PaintPreview(painter, *m_pPreview, rect());
    else
        painter.fillRect(rect(), palette().window());
}

void CBitmapWnd::mousePressEvent(QMouseEvent* event) {
    m_pPreview->stopSound();
    QWidget::mousePressEvent(event);
}

void CBitmapWnd::hideEvent(QHideEvent* event) {
    m_pPreview->stopSound();
    QWidget::hideEvent(event);
}

void CBitmapWnd::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    storePlace();
}

void CBitmapWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    storePlace();
}

} // namespace morvi::ui
