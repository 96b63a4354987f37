#pragma once

#include "view3d/Camera3D.h"
#include "view3d/Scene3D.h"

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

namespace morvi::ui {

class MorviDocument;
class SceneRenderer;
class View3DSounds;

// The level in 3D: the scene built from the document's level, drawn with OpenGL, and the camera
// walked with the keys and the mouse, one frame at the rate the settings ask for. It lives in the
// map window ("Perspective") or alone on the whole screen ("Game", where it also walks as the
// player does: on the floor, up steps, not through walls).
//
// The frame that holds it:
// - connects statusTextChanged to the status bar panes (the view fills panes 1 to 5, and the
//   message pane with the OpenGL device's name);
// - on setupFailed, deletes the view, returns to sector mode and shows the message;
// - on stopRequested (F10 or Escape while on the whole screen, or the full-screen window being
//   closed), returns to sector mode.
class View3DWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    // The message shown when OpenGL cannot be set up.
    static const char* const kSetupFailedMessage;

    View3DWidget(MorviDocument& document, bool fullScreen, QWidget* parent = nullptr);
    ~View3DWidget() override;

    bool fullScreen() const { return m_bFullScreen; }
    bool gameMode() const { return m_bGame; }
    const Camera3D& camera() const { return m_Camera; }
    const Scene3D& scene() const { return m_Scene; }
    int framesPerSecond() const { return m_nFramesPerSecond; }

    // The map commands the view takes over: zoom in and out narrow and widen the view, the line
    // scrolls move the camera sideways and up and down.
    static bool handlesCommand(int commandId);
    void runCommand(int commandId);

    // Stops and lets go of every sound the view plays (another program takes the audio device);
    // the next change of the level loads them again.
    void releaseSounds();

    // One frame: the held keys move the camera, the view repaints and the status panes follow.
    void frameStep();

signals:
    void statusTextChanged(int paneId, const QString& text);
    void setupFailed(const QString& detail);
    void stopRequested();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void rebuild();
    void fail(const QString& detail);
    void emitPanes();
    QString frameText() const;
    CameraKeys heldKeys() const;

    MorviDocument& m_Document;
    bool m_bFullScreen;
    bool m_bGame;
    std::unique_ptr<SceneRenderer> m_pRenderer;
    std::unique_ptr<SceneResourceSource> m_pSource;
    std::unique_ptr<SceneBuilder> m_pBuilder;
    std::unique_ptr<View3DSounds> m_pSounds;
    Scene3D m_Scene;
    Camera3D m_Camera;
    std::unique_ptr<GameWalker> m_pWalker;
    bool m_bSceneStale = true;
    bool m_bFailed = false;
    QString m_strDevice;
    QTimer m_FrameTimer;
    QElapsedTimer m_Clock;
    int m_nFramesPerSecond = 0;
    QSet<int> m_HeldKeys;
    std::optional<QPoint> m_LastMouse;
};

} // namespace morvi::ui
