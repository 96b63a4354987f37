#include "mapedit/CMorviView.h"

#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/MorviDocument.h"
#include "mapedit/DisplayListPainter.h"
#include "mapedit/MapPrinter.h"
#include "view3d/View3DWidget.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace morvi::ui {

namespace {

struct IdValue {
    int id;
    int value;
};

constexpr std::array<IdValue, 6> kToolCommands{{{cmd::kToolNormal, kToolNormal},
                                                {cmd::kToolAmbiance, kToolAmbiance},
                                                {cmd::kToolDamage, kToolDamage},
                                                {cmd::kToolAltitude, kToolAltitude},
                                                {cmd::kToolSkies, kToolSkiesPits},
                                                {cmd::kToolObjects, kToolObjects}}};

constexpr std::array<IdValue, 5> kModeCommands{{{cmd::kSector, kModeSector},
                                                {cmd::kWall, kModeWall},
                                                {cmd::kVertex, kModeVertex},
                                                {cmd::kObject, kModeObject},
                                                {cmd::kPerspective, kModePerspective}}};

struct ScrollCommand {
    int id;
    ScrollAxis axis;
    ScrollCode code;
};

// The line scroll commands and the commands the arrow keys send (plain, then with Ctrl).
constexpr std::array<ScrollCommand, 12> kScrollCommands{{
    {cmd::kScrollLineLeft, ScrollAxis::Horizontal, ScrollCode::LineBack},
    {cmd::kScrollLineRight, ScrollAxis::Horizontal, ScrollCode::LineForward},
    {cmd::kScrollLineUp, ScrollAxis::Vertical, ScrollCode::LineBack},
    {cmd::kScrollLineDown, ScrollAxis::Vertical, ScrollCode::LineForward},
    {cmd::kKeyLeft, ScrollAxis::Horizontal, ScrollCode::LineBack},
    {cmd::kKeyRight, ScrollAxis::Horizontal, ScrollCode::LineForward},
    {cmd::kKeyUp, ScrollAxis::Vertical, ScrollCode::LineBack},
    {cmd::kKeyDown, ScrollAxis::Vertical, ScrollCode::LineForward},
    {cmd::kScrollPageLeft, ScrollAxis::Horizontal, ScrollCode::PageBack},
    {cmd::kScrollPageRight, ScrollAxis::Horizontal, ScrollCode::PageForward},
    {cmd::kScrollPageUp, ScrollAxis::Vertical, ScrollCode::PageBack},
    {cmd::kScrollPageDown, ScrollAxis::Vertical, ScrollCode::PageForward},
}};

template <std::size_t N> const IdValue* FindId(const std::array<IdValue, N>& table, int id) {
    const auto it = std::find_if(table.begin(), table.end(), [id](const IdValue& e) { return e.id == id; });
    return it == table.end() ? nullptr : &*it;
}

const ScrollCommand* FindScroll(int id) {
    const auto it = std::find_if(kScrollCommands.begin(), kScrollCommands.end(),
                                 [id](const ScrollCommand& e) { return e.id == id; });
    return it == kScrollCommands.end() ? nullptr : &*it;
}

bool IsPlainCommand(int id) {
    switch (id) {
    case cmd::kZoomIn:
    case cmd::kZoomOut:
    case cmd::kZoomNormalize:
    case cmd::kGridZoomIn:
    case cmd::kGridZoomOut:
    case cmd::kGridOn:
    case cmd::kLayerUp:
    case cmd::kLayerDown:
    case cmd::kAllLayers:
    case cmd::kChangeTool:
    case cmd::kPageUpKey:
    case cmd::kPageDownKey:
        return true;
    default:
        return false;
    }
}

ScreenPoint ToScreen(const QPointF& point) {
    const QPoint p = point.toPoint();
    return {p.x(), p.y()};
}

KeyState KeysOf(Qt::KeyboardModifiers modifiers) {
    return {modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::ShiftModifier)};
}

} // namespace

CMorviView::CMorviView(MorviDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), m_Document(document), m_Doc(document.doc()),
      m_Engine(m_Doc, AppContext::instance().settings()) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_DragTimer.setSingleShot(true);
    m_DragTimer.setInterval(kDragDelayMs);
    connect(&m_DragTimer, &QTimer::timeout, this, [this] { m_Engine.drag().OnTimer(); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onScrollAction(ScrollAxis::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onScrollAction(ScrollAxis::Vertical, action); });
    connect(&m_Document, &MorviDocument::updated, this, &CMorviView::onDocumentUpdated);
    connect(&AppContext::instance(), &AppContext::settingsChanged, this, &CMorviView::invalidateMap);
    wireEngine();
}

CMorviView::~CMorviView() {
    // A press whose release never came must not leave the document's undo step open.
    if (m_bPressed) m_Document.endEdit(QStringLiteral("Move"), kChangedNothing);
}

void CMorviView::wireEngine() {
    m_Engine.m_Notify.m_Invalidate = [this](bool) { invalidateMap(); };
    // Every view of the document shows its selection, whichever view or command changed it.
    connect(&m_Document, &MorviDocument::selectionChanged, this, [this] {
        invalidateMap();
        emitSelectionPanes(false);
    });
}

MapDevice CMorviView::device() const {
    return ScreenMapDevice(screen());
}

ClientRect CMorviView::clientRect() const {
    return {0, 0, viewport()->width(), viewport()->height()};
}

// ---- Layout and updates -------------------------------------------------------------------------

void CMorviView::relayout() {
    m_Engine.viewport().RecalcLayout(device(), clientRect());
    syncScrollBars();
    invalidateMap();
}

void CMorviView::onDocumentUpdated(int hint) {
    m_Engine.viewport().OnUpdate(hint, device(), clientRect());
    syncScrollBars();
    invalidateMap();
}

void CMorviView::invalidateMap() {
    m_bMapStale = true;
    viewport()->update();
}

void CMorviView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (m_bInitialised) return;
    m_bInitialised = true;
    initialUpdate();
}

void CMorviView::initialUpdate() {
    CMorviDoc& doc = m_Doc;
    m_Document.setActiveView(this);
    relayout();
    if (doc.m_bNormalizeOnOpen) {
        m_Engine.viewport().ZoomNormalize(device(), clientRect());
        doc.m_bNormalizeOnOpen = false;
        m_Document.updateAllViews(kHintZoom);
    }
    // Queued, so that the frame's message box comes up over a view that is already on screen.
    if (!AppContext::instance().settings().GamePathsSet())
        QMetaObject::invokeMethod(
            this, [this] { emit pathsMissing(); }, Qt::QueuedConnection);
}

void CMorviView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

// ---- Scroll bars --------------------------------------------------------------------------------

void CMorviView::syncScrollBars() {
    syncScrollBar(ScrollAxis::Horizontal);
    syncScrollBar(ScrollAxis::Vertical);
}

// The engine counts like a Windows scroll bar (range min..max, the thumb covering a page); a Qt
// scroll bar's maximum is the last position the thumb's start can take.
void CMorviView::syncScrollBar(ScrollAxis axis) {
    const ScrollBarState& state = m_Engine.viewport().scrollBar(axis);
    QScrollBar* bar = axis == ScrollAxis::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    const QSignalBlocker blocker(bar);
    bar->setRange(state.m_nMin, std::max(state.m_nMin, state.m_nMax - state.m_nPage + 1));
    bar->setPageStep(std::max(state.m_nPage, 1));
    bar->setSingleStep(1);
    bar->setValue(state.m_nPos);
    bar->setEnabled(state.m_bEnabled);
}

void CMorviView::onScrollAction(ScrollAxis axis, int action) {
    QScrollBar* bar = axis == ScrollAxis::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        scroll(axis, ScrollCode::LineBack);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        scroll(axis, ScrollCode::LineForward);
        break;
    case QAbstractSlider::SliderPageStepSub:
        scroll(axis, ScrollCode::PageBack);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        scroll(axis, ScrollCode::PageForward);
        break;
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
        scroll(axis, ScrollCode::ThumbTrack, bar->sliderPosition());
        break;
    default:
        return;
    }
    // The bar applies its own idea of the position after this slot; the engine's wins.
    bar->setSliderPosition(m_Engine.viewport().scrollBar(axis).m_nPos);
}

void CMorviView::scroll(ScrollAxis axis, ScrollCode code, int thumb) {
    const ScreenPoint moved = m_Engine.viewport().Scroll(axis, code, thumb);
    if (moved == ScreenPoint{0, 0}) return;
    syncScrollBar(axis);
    invalidateMap();
}

void CMorviView::scrollContentsBy(int, int) {
    // The whole map is repainted after every scroll; nothing is shifted on screen.
}

// ---- Painting -----------------------------------------------------------------------------------

void CMorviView::paintMapCache() {
    const qreal ratio = viewport()->devicePixelRatioF();
    const QSize size = viewport()->size() * ratio;
    if (m_MapCache.size() != size) m_MapCache = QImage(size, QImage::Format_RGB32);
    m_MapCache.setDevicePixelRatio(ratio);
    m_MapCache.fill(Qt::black);
    QPainter painter(&m_MapCache);
    m_List.Clear();
    m_Engine.Draw(m_List, device());
    PaintDisplayList(painter, m_List);
    m_bMapStale = false;
}

// While the button is down only the ghost or the rubber band changes, so the map painted at the
// press is reused: a drag over a large level costs the ghost alone.
void CMorviView::paintEvent(QPaintEvent*) {
    const bool reuse = m_bPressed && !m_bMapStale &&
                       m_MapCache.size() == viewport()->size() * viewport()->devicePixelRatioF();
    if (!reuse) paintMapCache();
    QPainter painter(viewport());
    painter.drawImage(0, 0, m_MapCache);
    if (m_Engine.drag().dragging()) {
        m_Ghost.Clear();
        m_Engine.drag().DrawGhost(m_Ghost);
        PaintDisplayList(painter, m_Ghost);
    }
    paintRubberBand(painter);
    emitSelectionPanes(false);
}

void CMorviView::paintRubberBand(QPainter& painter) const {
    if (!m_bPressed) return;
    const std::optional<ClientRect> band = m_Engine.drag().rubberBand();
    if (!band || band->width() <= 0 || band->height() <= 0) return;
    QPen pen(Qt::white);
    pen.setWidth(0);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(band->left, band->top, band->width() - 1, band->height() - 1);
}

// ---- Status panes -------------------------------------------------------------------------------

bool CMorviView::isActiveView() const {
    return m_Document.activeView() == this;
}

void CMorviView::emitCursorPanes(const QPoint& point) {
    const std::array<std::string, 3> panes = m_Engine.viewport().CursorPanes({point.x(), point.y()});
    emit statusTextChanged(kPaneX, QString::fromStdString(panes[0]));
    emit statusTextChanged(kPaneZ, QString::fromStdString(panes[1]));
    emit statusTextChanged(kPaneLayer, QString::fromStdString(panes[2]));
}

// Only the active view writes the selection panes unasked; a forced call writes them anyway.
void CMorviView::emitSelectionPanes(bool force) {
    const auto [first, second] = m_Engine.picker().StatusPanes();
    const QString pane1 = QString::fromStdString(first);
    const QString pane2 = QString::fromStdString(second);
    const QString count = QString::fromStdString(m_Engine.picker().SelectionCountPane());
    const bool changed = pane1 != m_strPane1 || pane2 != m_strPane2 || count != m_strCount;
    m_strPane1 = pane1;
    m_strPane2 = pane2;
    m_strCount = count;
    if (!force && !(changed && isActiveView())) return;
    emit statusTextChanged(kPaneSelection1, m_strPane1);
    emit statusTextChanged(kPaneSelection2, m_strPane2);
    emit statusTextChanged(kPaneCount, m_strCount);
}

void CMorviView::emitLayerPane() {
    emit statusTextChanged(kPaneLayer, QString::fromStdString(m_Engine.viewport().LayerPane()));
}

void CMorviView::emitZoomPane() {
    emit statusTextChanged(kPaneZoom, QString::fromStdString(m_Engine.viewport().ZoomPane()));
}

void CMorviView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    m_Document.setActiveView(this);
    emitSelectionPanes(true);
    emitLayerPane();
    emitZoomPane();
}

void CMorviView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    for (int pane : {kPaneSelection1, kPaneSelection2, kPaneX, kPaneZ, kPaneLayer, kPaneZoom, kPaneCount})
        emit statusTextChanged(pane, QString());
}

// ---- Keys and commands --------------------------------------------------------------------------

void CMorviView::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
    case Qt::Key_Left:
        return scrollForKey(MapKey::Left, ctrl);
    case Qt::Key_Right:
        return scrollForKey(MapKey::Right, ctrl);
    case Qt::Key_Up:
        return scrollForKey(MapKey::Up, ctrl);
    case Qt::Key_Down:
        return scrollForKey(MapKey::Down, ctrl);
    case Qt::Key_PageUp:
        return runCommand(cmd::kPageUpKey);
    case Qt::Key_PageDown:
        return runCommand(cmd::kPageDownKey);
    case Qt::Key_Space:
        // Space and the left button drag the map.
        if (!event->isAutoRepeat()) {
            m_bSpaceHeld = true;
            viewport()->setCursor(Qt::OpenHandCursor);
        }
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void CMorviView::scrollForKey(MapKey key, bool ctrl) {
    if (const auto message = MapViewport::ScrollForKey(key, ctrl)) scroll(message->first, message->second);
}

bool CMorviView::handlesCommand(int commandId) {
    return IsPlainCommand(commandId) || FindId(kToolCommands, commandId) != nullptr ||
           FindId(kModeCommands, commandId) != nullptr || FindScroll(commandId) != nullptr;
}

bool CMorviView::isEnabled(int commandId) const {
    const CMorviDoc& doc = m_Doc;
    if (FindId(kToolCommands, commandId) != nullptr || commandId == cmd::kChangeTool)
        return doc.m_nMode == kModeSector;
    switch (commandId) {
    case cmd::kZoomIn:
        return m_Engine.viewport().CanZoomIn();
    case cmd::kZoomOut:
        return m_Engine.viewport().CanZoomOut();
    case cmd::kGridZoomIn:
        return m_Engine.viewport().CanGridZoomIn();
    case cmd::kGridZoomOut:
        return m_Engine.viewport().CanGridZoomOut();
    case cmd::kLayerUp:
    case cmd::kPageUpKey:
        return m_Engine.viewport().CanLayerUp();
    case cmd::kLayerDown:
    case cmd::kPageDownKey:
        return m_Engine.viewport().CanLayerDown();
    default:
        return handlesCommand(commandId);
    }
}

bool CMorviView::isChecked(int commandId) const {
    const CMorviDoc& doc = m_Doc;
    if (const IdValue* tool = FindId(kToolCommands, commandId)) return doc.m_nTool == tool->value;
    if (const IdValue* mode = FindId(kModeCommands, commandId)) return doc.m_nMode == mode->value;
    if (commandId == cmd::kGridOn) return doc.m_bGridOn != 0;
    if (commandId == cmd::kAllLayers) return doc.m_bAllLayers != 0;
    return false;
}

void CMorviView::setView3DWidget(View3DWidget* view) {
    m_pView3D = view;
}

void CMorviView::runCommand(int commandId) {
    if (const IdValue* tool = FindId(kToolCommands, commandId))
        return applyHint(m_Engine.viewport().SetTool(tool->value));
    if (const IdValue* mode = FindId(kModeCommands, commandId)) return setMode(mode->value);
    // In perspective mode the 3D view walks where the map would zoom and scroll.
    if (m_pView3D && m_Doc.m_nMode == kModePerspective && View3DWidget::handlesCommand(commandId))
        return m_pView3D->runCommand(commandId);
    if (const ScrollCommand* s = FindScroll(commandId)) return scroll(s->axis, s->code);
    runPlainCommand(commandId);
}

void CMorviView::runPlainCommand(int commandId) {
    switch (commandId) {
    case cmd::kZoomIn:
        return applyHint(m_Engine.viewport().ZoomIn());
    case cmd::kZoomOut:
        return applyHint(m_Engine.viewport().ZoomOut());
    case cmd::kZoomNormalize:
        return applyHint(m_Engine.viewport().ZoomNormalize(device(), clientRect()));
    case cmd::kGridZoomIn:
        return applyHint(m_Engine.viewport().GridZoomIn());
    case cmd::kGridZoomOut:
        return applyHint(m_Engine.viewport().GridZoomOut());
    case cmd::kGridOn:
        return applyHint(m_Engine.viewport().ToggleGrid());
    case cmd::kAllLayers:
        return applyHint(m_Engine.viewport().ToggleAllLayers());
    case cmd::kChangeTool:
        return applyHint(m_Engine.viewport().NextTool());
    case cmd::kLayerUp:
    case cmd::kPageUpKey:
        return changeLayer(m_Engine.viewport().LayerUp());
    case cmd::kLayerDown:
    case cmd::kPageDownKey:
        return changeLayer(m_Engine.viewport().LayerDown());
    default:
        return;
    }
}

void CMorviView::changeLayer(std::optional<int> hint) {
    if (!hint) return;
    emitLayerPane();
    m_Document.updateAllViews(*hint);
}

void CMorviView::applyHint(std::optional<int> hint) {
    if (!hint) return;
    m_Document.updateAllViews(*hint);
    if (*hint == kHintZoom) emitZoomPane();
}

void CMorviView::setMode(int mode) {
    // Tool windows store what was typed while the item they show is still selected.
    if (mode != m_Doc.m_nMode) m_Doc.m_StoreEdits();
    if (!m_Engine.picker().SetMode(mode)) return;
    emitSelectionPanes(true);
    m_Document.notifySelectionChanged();
    m_Document.updateAllViews(kHintOther);
}

// ---- Mouse editing ------------------------------------------------------------------------------

void CMorviView::mousePressEvent(QMouseEvent* event) {
    const bool pan =
        event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && m_bSpaceHeld);
    if (pan && !m_bPressed) {
        m_PanFrom = event->position().toPoint();
        viewport()->setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton || m_bPressed || m_Doc.m_nMode == kModePerspective) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_bPressed = true;
    m_Document.setActiveView(this);
    // The press may change the selection, which belongs to the move's undo step.
    m_Document.beginEdit();
    m_Engine.drag().OnPress(ToScreen(event->position()), KeysOf(event->modifiers()));
    emitSelectionPanes(false);
    m_DragTimer.start();
    invalidateMap();
}

void CMorviView::mouseMoveEvent(QMouseEvent* event) {
    if (m_PanFrom) {
        panTo(event->position().toPoint());
        emitCursorPanes(event->position().toPoint());
        return;
    }
    if (m_bPressed && event->buttons().testFlag(Qt::LeftButton)) {
        m_Engine.drag().OnMove(ToScreen(event->position()));
        if (m_Engine.drag().dragging() || m_Engine.drag().rubberBand()) viewport()->update();
    }
    emitCursorPanes(event->position().toPoint());
}

void CMorviView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_PanFrom && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panTo(event->position().toPoint());
        m_PanFrom.reset();
        viewport()->setCursor(m_bSpaceHeld ? Qt::OpenHandCursor : Qt::ArrowCursor);
        return;
    }
    if (event->button() != Qt::LeftButton || !m_bPressed) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_DragTimer.stop();
    m_bPressed = false;
    const bool changed = m_Engine.drag().OnRelease(ToScreen(event->position()));
    m_Document.endEdit(QStringLiteral("Move"), changed ? kChangedGeometry : kChangedNothing);
    invalidateMap();
    emitSelectionPanes(false);
}

// ---- Navigation ---------------------------------------------------------------------------------

// The wheel zooms about the point under the cursor, one step per notch; other views of the
// document keep their centres.
void CMorviView::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0 || m_bPressed) {
        event->ignore();
        return;
    }
    const QPoint at = event->position().toPoint();
    std::optional<int> hint;
    for (int i = 0; i < std::abs(notches); ++i)
        if (const auto step = m_Engine.viewport().ZoomAbout({at.x(), at.y()}, notches > 0, device()))
            hint = step;
    event->accept();
    if (!hint) return;
    syncScrollBars();
    invalidateMap();
    m_Document.updateAllViews(*hint);
    emitZoomPane();
    emitCursorPanes(at);
}

bool CMorviView::panTo(const QPoint& point) {
    const QPoint delta = point - *m_PanFrom;
    m_PanFrom = point;
    if (!m_Engine.viewport().PanBy(delta.x(), delta.y(), device())) return false;
    syncScrollBars();
    invalidateMap();
    m_Document.updateAllViews(kHintOther);
    return true;
}

void CMorviView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_bSpaceHeld = false;
        if (!m_PanFrom) viewport()->setCursor(Qt::ArrowCursor);
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

} // namespace morvi::ui
