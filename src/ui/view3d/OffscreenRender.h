#pragma once

#include "model/Status.h"
#include "view3d/SceneRenderer.h"

#include <QImage>
#include <QSize>

#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

namespace morvi::ui {

// An OpenGL 3.3 core context on an offscreen surface drawing into a framebuffer (colour and depth)
// of a fixed size: the 3D view's renderer without a window, for pictures, tests and
// benchmarks. Needs a QGuiApplication.
class OffscreenTarget {
public:
    OffscreenTarget();
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // Makes the context and the framebuffer, and leaves both current and bound. Fails with a
    // message when no OpenGL 3.3 context can be made.
    Status open(QSize size);
    // Makes the context current again and binds the framebuffer.
    bool makeCurrent();
    QSize size() const { return m_Size; }
    // What the framebuffer holds, top row first.
    QImage image() const;

private:
    QSize m_Size;
    std::unique_ptr<QOffscreenSurface> m_pSurface;
    std::unique_ptr<QOpenGLContext> m_pContext;
    std::unique_ptr<QOpenGLFramebufferObject> m_pFramebuffer;
};

// Renders the scene seen from the camera into a picture of the given size.
Status RenderSceneOffscreen(const Scene3D& scene, const Camera3D& camera, QSize size,
                            const RenderOptions& options, QImage& image);

} // namespace morvi::ui
