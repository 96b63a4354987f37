#include "view3d/View3DWidget.h"

#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/MorviDocument.h"
#include "view3d/LevelSceneSource.h"
#include "view3d/SceneRenderer.h"
#include "view3d/View3DSounds.h"

#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QSurfaceFormat>

#include <array>

namespace morvi::ui {

namespace {

constexpr std::array<int, 7> kMoveKeys{Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Left, Qt::Key_Right,
                                       Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Shift};
// The status panes after the message pane, in order.
constexpr std::array<int, 5> kPanes{59133, 59134, 59131, 59130, 59132};
// How far one line scroll moves the camera sideways or up, in scene units.
constexpr float kScrollStep = 0.2f;
// Render sizes of the video modes 1 to 5.
constexpr std::array<QSize, 5> kVideoModes{QSize(320, 240), QSize(512, 384), QSize(640, 480), QSize(800, 600),
                                           QSize(1024, 768)};

QSurfaceFormat View3DFormat() {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    return format;
}

bool IsMoveKey(int key) {
    return std::find(kMoveKeys.begin(), kMoveKeys.end(), key) != kMoveKeys.end();
}

} // namespace

const char* const View3DWidget::kSetupFailedMessage =
    "There was not enough video memory to create the Z-buffer surface.\nTo operate in Perspective mode, "
    "please "
    "adjust the size of the window\nor adjust your display settings for a smaller desktop area or a "
    "lower\npalette "
    "size and restart Morvi.";

View3DWidget::View3DWidget(MorviDocument& document, bool fullScreen, QWidget* parent)
    : QOpenGLWidget(parent), m_Document(document), m_bFullScreen(fullScreen), m_bGame(fullScreen) {
    setObjectName("View3DWidget");
    setFormat(View3DFormat());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    AppContext& context = AppContext::instance();
    m_pSource = std::make_unique<LevelSceneSource>(document.level(), context.resources());
    SceneOptions options;
    options.m_b3DO = context.settings().m_b3DO;
    options.m_bLighting = context.settings().m_b3DLighting;
    m_pBuilder = std::make_unique<SceneBuilder>(*m_pSource, options);
    m_pSounds = std::make_unique<View3DSounds>(context.soundOutput());
    m_FrameTimer.setTimerType(Qt::PreciseTimer);
    m_FrameTimer.setInterval(MinimumFrameTime(context.settings().m_n3DGameRate));
    connect(&m_FrameTimer, &QTimer::timeout, this, &View3DWidget::frameStep);
    // Every change of the level is a step of its history: the scene follows it.
    connect(&document, &MorviDocument::historyChanged, this, [this] { m_bSceneStale = true; });
    connect(&document, &MorviDocument::membersChanged, this, [this] { m_bSceneStale = true; });
    rebuild();
    m_Camera = StartCamera(document.level(), m_Scene);
    if (m_bGame) {
        m_pWalker = std::make_unique<GameWalker>(document.level());
        m_pWalker->Place(m_Camera);
    }
}

View3DWidget::~View3DWidget() {
    m_FrameTimer.stop();
    if (m_pRenderer) {
        makeCurrent();
        m_pRenderer.reset();
        doneCurrent();
    }
}

void View3DWidget::releaseSounds() {
    m_pSounds = std::make_unique<View3DSounds>(AppContext::instance().soundOutput());
}

void View3DWidget::rebuild() {
    m_pBuilder->Build(m_Document.level(), m_Scene);
    m_pSounds->load(m_Scene, *m_pSource);
    m_bSceneStale = false;
    if (m_pRenderer) m_pRenderer->setScene(m_Scene);
    // An edit may have renumbered or moved the sector under the walker.
    if (m_pWalker) m_pWalker->Place(m_Camera);
}

void View3DWidget::fail(const QString& detail) {
    if (m_bFailed) return;
    m_bFailed = true;
    m_FrameTimer.stop();
    emit setupFailed(detail);
}

void View3DWidget::showEvent(QShowEvent* event) {
    QOpenGLWidget::showEvent(event);
    // A context that could not be made never reaches initializeGL.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_bFailed && (!context() || !context()->isValid()))
                fail(QStringLiteral("No OpenGL context could be made."));
        },
        Qt::QueuedConnection);
}

void View3DWidget::closeEvent(QCloseEvent* event) {
    // Closing the full-screen window (as the desktop's close key does) leaves the 3D view like F10.
    if (!m_bFullScreen) return QOpenGLWidget::closeEvent(event);
    event->ignore();
    emit stopRequested();
}

void View3DWidget::initializeGL() {
    QOpenGLContext* gl = context();
    const QSurfaceFormat format = gl ? gl->format() : QSurfaceFormat();
    if (!gl || format.version() < qMakePair(3, 3))
        return fail(QStringLiteral("OpenGL 3.3 is not available (the context is %1.%2).")
                        .arg(format.majorVersion())
                        .arg(format.minorVersion()));
    m_pRenderer = std::make_unique<SceneRenderer>();
    if (const Status status = m_pRenderer->initialize(); !status) {
        m_pRenderer.reset();
        return fail(QString::fromStdString(status.message()));
    }
    m_pRenderer->setScene(m_Scene);
    m_strDevice =
        QString::fromLatin1(reinterpret_cast<const char*>(gl->functions()->glGetString(GL_RENDERER)));
    emit statusTextChanged(0, m_strDevice);
    m_Clock.start();
    m_FrameTimer.start();
}

void View3DWidget::resizeGL(int, int) {}

void View3DWidget::paintGL() {
    if (!m_pRenderer) return;
    if (m_bSceneStale) rebuild();
    RenderOptions options;
    options.m_bLinear = AppContext::instance().settings().m_n3DGameTexturing == 1;
    const int mode = AppContext::instance().settings().m_n3DGameMode;
    const qreal ratio = devicePixelRatioF();
    const QSize device(qRound(width() * ratio), qRound(height() * ratio));
    if (m_bFullScreen && mode >= 1 && mode <= static_cast<int>(kVideoModes.size())) {
        // A video mode is the size the frame is drawn at, then stretched over the screen.
        const QSize size = kVideoModes[static_cast<std::size_t>(mode - 1)];
        QOpenGLFramebufferObject target(size, QOpenGLFramebufferObject::Depth);
        target.bind();
        m_pRenderer->draw(m_Camera, size.width(), size.height(), options);
        QOpenGLFramebufferObject::blitFramebuffer(nullptr, QRect(QPoint(), device), &target,
                                                  QRect(QPoint(), size), GL_COLOR_BUFFER_BIT, GL_NEAREST);
        target.release();
        // blitFramebuffer binds the default framebuffer of the context, not the widget's.
        context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    } else {
        m_pRenderer->draw(m_Camera, device.width(), device.height(), options);
    }
    if (m_bFullScreen && AppContext::instance().settings().m_b3DFrameText) {
        QPainter painter(this);
        painter.setPen(QColor(255, 255, 0));
        painter.drawText(QPoint(4, 4 + painter.fontMetrics().ascent()), frameText());
    }
}

QString View3DWidget::frameText() const {
    return QString::asprintf("Fps %03d, %s. Press F10 to stop.", m_nFramesPerSecond, qPrintable(m_strDevice));
}

CameraKeys View3DWidget::heldKeys() const {
    CameraKeys keys;
    keys.m_bUp = m_HeldKeys.contains(Qt::Key_Up);
    keys.m_bDown = m_HeldKeys.contains(Qt::Key_Down);
    keys.m_bLeft = m_HeldKeys.contains(Qt::Key_Left);
    keys.m_bRight = m_HeldKeys.contains(Qt::Key_Right);
    keys.m_bPageUp = m_HeldKeys.contains(Qt::Key_PageUp);
    keys.m_bPageDown = m_HeldKeys.contains(Qt::Key_PageDown);
    keys.m_bShift = m_HeldKeys.contains(Qt::Key_Shift);
    return keys;
}

void View3DWidget::frameStep() {
    const Camera3D before = m_Camera;
    const int mode = AppContext::instance().settings().m_n3DGameMode;
    m_Camera.StepKeys(heldKeys(), m_bFullScreen && m_bGame && mode > 0);
    if (m_pWalker) m_pWalker->Walk(before, m_Camera);
    m_pSounds->follow(m_Camera);
    update();
    const auto elapsed = static_cast<int>(m_Clock.restart());
    m_nFramesPerSecond =
        PaceFrame(elapsed, AppContext::instance().settings().m_n3DGameRate).m_nFramesPerSecond;
    if (!m_bFullScreen) emitPanes();
}

void View3DWidget::emitPanes() {
    const std::array<QString, 5> texts{
        QString::asprintf("Roll: %.0f", m_Camera.YawDegrees()),
        QString::asprintf("Y %8.2f", m_Camera.LevelY()), QString::asprintf("X %8.2f", m_Camera.LevelX()),
        QString::asprintf("Z %8.2f", m_Camera.LevelZ()), QString::asprintf("FR %d", m_nFramesPerSecond)};
    for (std::size_t i = 0; i < kPanes.size(); ++i)
        emit statusTextChanged(kPanes[i], texts[i]);
}

bool View3DWidget::handlesCommand(int commandId) {
    switch (commandId) {
    case cmd::kZoomIn:
    case cmd::kZoomOut:
    case cmd::kScrollLineLeft:
    case cmd::kScrollLineRight:
    case cmd::kScrollLineUp:
    case cmd::kScrollLineDown:
        return true;
    default:
        return false;
    }
}

void View3DWidget::runCommand(int commandId) {
    switch (commandId) {
    case cmd::kZoomIn:
    case cmd::kZoomOut:
        m_Camera.Zoom(commandId == cmd::kZoomIn);
        break;
    case cmd::kScrollLineLeft:
    case cmd::kScrollLineRight:
        m_Camera.Strafe(commandId == cmd::kScrollLineRight ? kScrollStep : -kScrollStep);
        break;
    case cmd::kScrollLineUp:
    case cmd::kScrollLineDown:
        m_Camera.Rise(commandId == cmd::kScrollLineUp ? kScrollStep : -kScrollStep);
        break;
    default:
        return;
    }
    if (m_pWalker) m_pWalker->Place(m_Camera);
    update();
}

bool View3DWidget::event(QEvent* event) {
    // The arrow and page keys walk here; the frame's shortcuts for them do not run.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsMoveKey(key->key()) && key->modifiers() == (key->modifiers() & Qt::ShiftModifier)) {
            event->accept();
            return true;
        }
    }
    return QOpenGLWidget::event(event);
}

void View3DWidget::keyPressEvent(QKeyEvent* event) {
    if (m_bFullScreen && (event->key() == Qt::Key_F10 || event->key() == Qt::Key_Escape)) {
        emit stopRequested();
        return;
    }
    if (!IsMoveKey(event->key())) return QOpenGLWidget::keyPressEvent(event);
    m_HeldKeys.insert(event->key());
    if (event->modifiers() & Qt::ShiftModifier) m_HeldKeys.insert(Qt::Key_Shift);
}

void View3DWidget::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    m_HeldKeys.remove(event->key());
    if (!(event->modifiers() & Qt::ShiftModifier)) m_HeldKeys.remove(Qt::Key_Shift);
}

void View3DWidget::focusOutEvent(QFocusEvent* event) {
    m_HeldKeys.clear();
    m_LastMouse.reset();
    QOpenGLWidget::focusOutEvent(event);
}

void View3DWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    m_LastMouse = event->position().toPoint();
}

void View3DWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!m_LastMouse || event->buttons() == Qt::NoButton) return;
    const QPoint at = event->position().toPoint();
    const Camera3D before = m_Camera;
    if (!m_Camera.StepMouse(at.x() - m_LastMouse->x(), at.y() - m_LastMouse->y(),
                            event->modifiers() & Qt::ShiftModifier))
        return;
    if (m_pWalker) m_pWalker->Walk(before, m_Camera);
    // The cursor goes back to the middle, so that a drag never runs out of screen.
    const QPoint centre(width() / 2, height() / 2);
    QCursor::setPos(mapToGlobal(centre));
    m_LastMouse = centre;
    frameStep();
}

void View3DWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) m_LastMouse.reset();
}

} // namespace morvi::ui
