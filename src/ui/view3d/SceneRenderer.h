#pragma once

#include "model/Status.h"
#include "view3d/Camera3D.h"
#include "view3d/Scene3D.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions_3_3_Core>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class QOpenGLShaderProgram;

namespace morvi::ui {

struct RenderOptions {
    bool m_bLinear = false; // bilinear texture filtering ("3DGameTexturing" 1), else nearest
};

// Draws a Scene3D with OpenGL 3.3 (core profile) into whatever framebuffer is bound: a
// QOpenGLWidget's or an offscreen one. Textures are 8-bit palette indices; the shader turns each
// texel into a colour through the scene's colour map (row = the face's light) and its palette, so
// filtering, when asked for, mixes the colours of four texels by hand.
//
// Every call needs the context current that initialize() ran in. The scene's data is uploaded by
// setScene() only; a frame uploads nothing but uniforms.
class SceneRenderer {
public:
    SceneRenderer();
    ~SceneRenderer(); // frees the GL objects when the context is still current
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // Compiles the shaders and makes the buffers. Fails with a message (and draws nothing later)
    // when the current context is not OpenGL 3.3 or anything else goes wrong.
    Status initialize();

    // Takes a scene built first or rebuilt after an edit: the faces' vertex data is uploaded again,
    // textures only from the first one not uploaded before (a rebuild keeps their indices), the
    // palette and the colour map when they changed. A scene whose textures do not begin with those
    // uploaded (another level) has all of its textures uploaded anew.
    void setScene(const Scene3D& scene);

    // Clears the bound framebuffer to black and draws the scene seen from the camera into its
    // width x height pixels (device pixels on a high-density screen).
    void draw(const Camera3D& camera, int width, int height, const RenderOptions& options);

    // Draw calls of the last frame: one per texture group of faces and one per sprite shown.
    int drawCalls() const { return m_nDrawCalls; }

private:
    // The faces of one texture in the vertex buffer; texture -1 holds the untextured faces.
    struct Group {
        int m_nTexture = -1;
        GLint m_nFirst = 0;
        GLsizei m_nCount = 0;
    };
    struct Texture {
        GLuint m_nId = 0;
        std::string m_strName;
        float m_fWidth2 = 1.0f, m_fHeight2 = 1.0f; // the power-of-two size
        float m_fU = 1.0f, m_fV = 1.0f;            // the picture's part of it
        bool m_bDecal = false;
    };
    // Uniform locations, looked up once.
    struct Uniforms {
        int viewProjection = -1, camera = -1, linear = -1, lit = -1, parallax = -1;
        int textured = -1, decal = -1, textureSize = -1;
        int sprite = -1, anchor = -1, right = -1, rect = -1, uvScale = -1, flip = -1, spriteLight = -1;
    };

    void release();
    void uploadTextures(const Scene3D& scene);
    void uploadPalette(const Scene3D& scene);
    void uploadVertices(const Scene3D& scene);
    void drawSprites(const Camera3D& camera);
    void bindTexture(int index);

    QPointer<QOpenGLContext> m_pContext;
    QOpenGLFunctions_3_3_Core* m_pGl = nullptr; // owned by the context
    std::unique_ptr<QOpenGLShaderProgram> m_pProgram;
    Uniforms m_Uniforms;
    GLuint m_nFaceArray = 0, m_nFaceBuffer = 0;
    GLuint m_nQuadArray = 0, m_nQuadBuffer = 0;
    GLuint m_nPalette = 0, m_nColourMap = 0;

    std::vector<Texture> m_Textures;
    std::vector<Group> m_Groups;
    std::vector<SceneSprite> m_Sprites;
    GamePalette m_Palette;
    std::vector<std::uint8_t> m_ColourMap;
    bool m_bPaletteUploaded = false;
    bool m_bLit = false;
    float m_fParallax1 = 1024.0f, m_fParallax2 = 1024.0f;
    int m_nDrawCalls = 0;
};

} // namespace morvi::ui
