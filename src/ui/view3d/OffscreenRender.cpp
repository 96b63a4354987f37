#include "view3d/OffscreenRender.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>

namespace morvi::ui {

OffscreenTarget::OffscreenTarget() = default;

OffscreenTarget::~OffscreenTarget() {
    // The framebuffer belongs to the context: it goes while the context is current.
    if (m_pFramebuffer && m_pContext && m_pContext->makeCurrent(m_pSurface.get())) {
        m_pFramebuffer.reset();
        m_pContext->doneCurrent();
    }
}

Status OffscreenTarget::open(QSize size) {
    if (size.isEmpty()) return Status::Fail("The picture has no pixels.");
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    m_pSurface = std::make_unique<QOffscreenSurface>();
    m_pSurface->setFormat(format);
    m_pSurface->create();
    m_pContext = std::make_unique<QOpenGLContext>();
    m_pContext->setFormat(format);
    if (!m_pSurface->isValid() || !m_pContext->create() || !m_pContext->makeCurrent(m_pSurface.get()))
        return Status::Fail("No OpenGL 3.3 context could be made for drawing off the screen.");
    const QSurfaceFormat made = m_pContext->format();
    if (m_pContext->isOpenGLES() || made.version() < qMakePair(3, 3))
        return Status::Fail(
            "No OpenGL 3.3 context could be made for drawing off the screen: the display offers " +
            std::to_string(made.majorVersion()) + "." + std::to_string(made.minorVersion()) + ".");
    m_pFramebuffer = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    if (!m_pFramebuffer->isValid() || !m_pFramebuffer->bind())
        return Status::Fail("No framebuffer of " + std::to_string(size.width()) + " x " +
                            std::to_string(size.height()) +
                            " pixels could be made for drawing off the screen.");
    m_Size = size;
    return Status::Ok();
}

bool OffscreenTarget::makeCurrent() {
    return m_pFramebuffer && m_pContext->makeCurrent(m_pSurface.get()) && m_pFramebuffer->bind();
}

QImage OffscreenTarget::image() const {
    return m_pFramebuffer ? m_pFramebuffer->toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

Status RenderSceneOffscreen(const Scene3D& scene, const Camera3D& camera, QSize size,
                            const RenderOptions& options, QImage& image) {
    OffscreenTarget target;
    if (Status status = target.open(size); !status) return status;
    {
        SceneRenderer renderer;
        if (Status status = renderer.initialize(); !status) return status;
        renderer.setScene(scene);
        renderer.draw(camera, size.width(), size.height(), options);
        image = target.image();
    }
    return Status::Ok();
}

} // namespace morvi::ui
