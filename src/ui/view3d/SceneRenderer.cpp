#include "view3d/SceneRenderer.h"

#include "view3d/SpriteViews.h"

#include <QMatrix4x4>
#include <QOpenGLShaderProgram>
#include <QOpenGLVersionFunctionsFactory>
#include <QVector3D>
#include <QVector4D>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace morvi::ui {
namespace {

constexpr float kNearPlane = 0.05f;
constexpr float kFarPlane = 1000.0f;
constexpr int kColourMapBytes = kLightLevels * 256;

// Texture units: the face's index texture, the palette and the colour map.
constexpr int kIndexUnit = 0;
constexpr int kPaletteUnit = 1;
constexpr int kColourMapUnit = 2;

enum VertexKind : std::uint8_t { kSurface = 0, kDirectional = 1 };

// One vertex of the face buffer: 24 bytes.
struct FaceVertex {
    float x, y, z;
    float u, v;
    std::uint8_t light;  // colour map row
    std::uint8_t kind;   // kSurface or kDirectional (sky and pit: textured by view direction)
    std::uint8_t colour; // palette index of an untextured face
    std::uint8_t unused;
};
static_assert(sizeof(FaceVertex) == 24);

constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec2 aUv;
layout(location = 2) in uvec4 aInfo; // light, kind, colour

uniform mat4 uViewProjection;
// Sprites draw a unit quad placed by these: the anchor, the camera's right, and the view's
// rectangle (left, bottom, width, height in scene units).
uniform bool uSprite;
uniform vec3 uAnchor;
uniform vec3 uRight;
uniform vec4 uRect;
uniform vec2 uUvScale;
uniform bool uFlip;
uniform int uSpriteLight;

out vec2 vUv;
out vec3 vWorld;
flat out int vLight;
flat out int vKind;
flat out int vColour;

void main() {
    vec3 position = aPosition;
    vec2 uv = aUv;
    int light = int(aInfo.x);
    if (uSprite) {
        position = uAnchor + uRight * (uRect.x + aUv.x * uRect.z) + vec3(0.0, uRect.y + aUv.y * uRect.w, 0.0);
        uv = vec2(uFlip ? 1.0 - aUv.x : aUv.x, aUv.y) * uUvScale;
        light = uSpriteLight;
    }
    vUv = uv;
    vWorld = position;
    vLight = light;
    vKind = int(aInfo.y);
    vColour = int(aInfo.z);
    gl_Position = uViewProjection * vec4(position, 1.0);
}
)";

constexpr const char* kFragmentShader = R"(#version 330 core
in vec2 vUv;
in vec3 vWorld;
flat in int vLight;
flat in int vKind;
flat in int vColour;

uniform sampler2D uIndices;   // R8 palette indices, repeating
uniform sampler2D uPalette;   // 256 x 1 colours
uniform sampler2D uColourMap; // 256 x 32: row = light, column = index
uniform bool uLit;
uniform bool uTextured;
uniform bool uDecal;
uniform bool uLinear;
uniform vec2 uTextureSize;
uniform vec3 uCamera;
uniform vec2 uParallax;

out vec4 fragColour;

const float kTurn = 6.28318530718;

vec3 colourOf(int index) {
    int mapped = uLit ? int(texelFetch(uColourMap, ivec2(index, vLight), 0).r * 255.0 + 0.5) : index;
    return texelFetch(uPalette, ivec2(mapped, 0), 0).rgb;
}

// The index of the texel whose centre is at texel coordinates st.
int indexAt(vec2 st) {
    return int(textureLod(uIndices, st / uTextureSize, 0.0).r * 255.0 + 0.5);
}

void main() {
    if (!uTextured) {
        fragColour = vec4(colourOf(vColour), 1.0);
        return;
    }
    vec2 uv = vUv;
    if (vKind == 1) {
        // Sky and pit: the direction seen decides, so they stay at infinity while the camera moves
        // and scroll as it turns; a full turn spans the parallax in texels.
        vec3 d = vWorld - uCamera;
        vec2 angles = vec2(atan(d.x, d.z), atan(d.y, length(d.xz)));
        uv = angles / kTurn * uParallax / uTextureSize;
    }
    vec2 st = uv * uTextureSize;
    int nearest = indexAt(floor(st) + 0.5);
    if (uDecal && nearest == 0)
        discard;
    if (!uLinear) {
        fragColour = vec4(colourOf(nearest), 1.0);
        return;
    }
    // Indices cannot be mixed: mix the colours of the four texels round the point instead.
    vec2 corner = floor(st - 0.5);
    vec2 f = st - 0.5 - corner;
    vec3 sum = vec3(0.0);
    float weights = 0.0;
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            int index = indexAt(corner + vec2(i, j) + 0.5);
            float w = (i == 1 ? f.x : 1.0 - f.x) * (j == 1 ? f.y : 1.0 - f.y);
            if (uDecal && index == 0)
                w = 0.0;
            sum += w * colourOf(index);
            weights += w;
        }
    }
    fragColour = vec4(sum / max(weights, 1e-6), 1.0);
}
)";

std::uint8_t LightRow(int light) {
    return static_cast<std::uint8_t>(std::clamp(light, 0, kFullLight));
}

// A texture's pixels can be handed to OpenGL as they are: sizes in range and every row there.
bool UsableTexture(const SceneTexture& texture, int maximumSize) {
    if (texture.m_nWidth2 <= 0 || texture.m_nHeight2 <= 0 || texture.m_nWidth2 > maximumSize ||
        texture.m_nHeight2 > maximumSize || texture.m_nStride < texture.m_nWidth2)
        return false;
    return texture.m_Pixels.size() >= std::size_t(texture.m_nStride) * std::size_t(texture.m_nHeight2);
}

GLuint MakeTexture(QOpenGLFunctions_3_3_Core& gl, GLint wrap) {
    GLuint id = 0;
    gl.glGenTextures(1, &id);
    gl.glBindTexture(GL_TEXTURE_2D, id);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    return id;
}

} // namespace

SceneRenderer::SceneRenderer() = default;

SceneRenderer::~SceneRenderer() {
    if (m_pContext && QOpenGLContext::currentContext() == m_pContext) release();
}

void SceneRenderer::release() {
    m_pProgram.reset();
    if (m_pGl) {
        for (const Texture& texture : m_Textures)
            m_pGl->glDeleteTextures(1, &texture.m_nId);
        const GLuint textures[] = {m_nPalette, m_nColourMap};
        m_pGl->glDeleteTextures(2, textures);
        const GLuint buffers[] = {m_nFaceBuffer, m_nQuadBuffer};
        m_pGl->glDeleteBuffers(2, buffers);
        const GLuint arrays[] = {m_nFaceArray, m_nQuadArray};
        m_pGl->glDeleteVertexArrays(2, arrays);
    }
    m_Textures.clear();
    m_Groups.clear();
    m_Sprites.clear();
    m_nFaceArray = m_nFaceBuffer = m_nQuadArray = m_nQuadBuffer = m_nPalette = m_nColourMap = 0;
    m_bPaletteUploaded = false;
    m_bLit = false;
    m_pGl = nullptr;
    m_pContext = nullptr;
}

Status SceneRenderer::initialize() {
    if (m_pGl) release();
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context) return Status::Fail("No OpenGL context is current.");
    const QSurfaceFormat format = context->format();
    if (context->isOpenGLES() || format.version() < qMakePair(3, 3))
        return Status::Fail("the 3D view needs OpenGL 3.3 (core profile); the display offers " +
                            std::string(context->isOpenGLES() ? "OpenGL ES " : "OpenGL ") +
                            std::to_string(format.majorVersion()) + "." +
                            std::to_string(format.minorVersion()) + ".");
    auto* gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(context);
    if (!gl || !gl->initializeOpenGLFunctions())
        return Status::Fail("the 3D view needs OpenGL 3.3 (core profile); its functions are missing.");

    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) || !program->link())
        return Status::Fail("the 3D view's shaders could not be built: " +
                            program->log().trimmed().toStdString());
    m_pContext = context;
    m_pGl = gl;
    m_pProgram = std::move(program);

    QOpenGLShaderProgram& p = *m_pProgram;
    m_Uniforms = {p.uniformLocation("uViewProjection"), p.uniformLocation("uCamera"),
                  p.uniformLocation("uLinear"),         p.uniformLocation("uLit"),
                  p.uniformLocation("uParallax"),       p.uniformLocation("uTextured"),
                  p.uniformLocation("uDecal"),          p.uniformLocation("uTextureSize"),
                  p.uniformLocation("uSprite"),         p.uniformLocation("uAnchor"),
                  p.uniformLocation("uRight"),          p.uniformLocation("uRect"),
                  p.uniformLocation("uUvScale"),        p.uniformLocation("uFlip"),
                  p.uniformLocation("uSpriteLight")};
    p.bind();
    p.setUniformValue("uIndices", kIndexUnit);
    p.setUniformValue("uPalette", kPaletteUnit);
    p.setUniformValue("uColourMap", kColourMapUnit);
    p.release();

    // Both vertex arrays read the same layout: faces from the scene, sprites from one unit quad.
    const auto makeArray = [&](GLuint& array, GLuint& buffer) {
        gl->glGenVertexArrays(1, &array);
        gl->glGenBuffers(1, &buffer);
        gl->glBindVertexArray(array);
        gl->glBindBuffer(GL_ARRAY_BUFFER, buffer);
        const auto offset = [](std::size_t bytes) { return reinterpret_cast<const void*>(bytes); };
        gl->glEnableVertexAttribArray(0);
        gl->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(FaceVertex),
                                  offset(offsetof(FaceVertex, x)));
        gl->glEnableVertexAttribArray(1);
        gl->glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(FaceVertex),
                                  offset(offsetof(FaceVertex, u)));
        gl->glEnableVertexAttribArray(2);
        gl->glVertexAttribIPointer(2, 4, GL_UNSIGNED_BYTE, sizeof(FaceVertex),
                                   offset(offsetof(FaceVertex, light)));
    };
    makeArray(m_nFaceArray, m_nFaceBuffer);
    makeArray(m_nQuadArray, m_nQuadBuffer);
    const FaceVertex quad[] = {{0, 0, 0, 0, 0, 0, 0, 0, 0},
                               {0, 0, 0, 1, 0, 0, 0, 0, 0},
                               {0, 0, 0, 0, 1, 0, 0, 0, 0},
                               {0, 0, 0, 1, 1, 0, 0, 0, 0}};
    gl->glBufferData(GL_ARRAY_BUFFER, sizeof(quad), quad, GL_STATIC_DRAW);
    gl->glBindVertexArray(0);
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);

    m_nPalette = MakeTexture(*gl, GL_CLAMP_TO_EDGE);
    m_nColourMap = MakeTexture(*gl, GL_CLAMP_TO_EDGE);
    gl->glBindTexture(GL_TEXTURE_2D, 0);
    if (gl->glGetError() != GL_NO_ERROR) {
        release();
        return Status::Fail("the 3D view could not set up its OpenGL buffers.");
    }
    return Status::Ok();
}

void SceneRenderer::setScene(const Scene3D& scene) {
    if (!m_pGl) return;
    uploadTextures(scene);
    uploadPalette(scene);
    uploadVertices(scene);
    m_Sprites = scene.m_Sprites;
    m_fParallax1 = scene.m_fParallax1;
    m_fParallax2 = scene.m_fParallax2;
}

void SceneRenderer::uploadTextures(const Scene3D& scene) {
    QOpenGLFunctions_3_3_Core& gl = *m_pGl;
    // A rebuild only appends; anything else is another scene, whose textures all go up anew.
    bool same = m_Textures.size() <= scene.m_Textures.size();
    for (std::size_t i = 0; same && i < m_Textures.size(); ++i)
        same = m_Textures[i].m_strName == scene.m_Textures[i].m_strName;
    if (!same) {
        for (const Texture& texture : m_Textures)
            gl.glDeleteTextures(1, &texture.m_nId);
        m_Textures.clear();
    }
    GLint maximumSize = 0;
    gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maximumSize);
    gl.glActiveTexture(GL_TEXTURE0 + kIndexUnit);
    for (std::size_t i = m_Textures.size(); i < scene.m_Textures.size(); ++i) {
        const SceneTexture& source = scene.m_Textures[i];
        Texture texture;
        texture.m_strName = source.m_strName;
        texture.m_bDecal = source.m_bDecal;
        texture.m_nId = MakeTexture(gl, source.m_bDecal ? GL_CLAMP_TO_EDGE : GL_REPEAT);
        if (UsableTexture(source, maximumSize)) {
            texture.m_fWidth2 = float(source.m_nWidth2);
            texture.m_fHeight2 = float(source.m_nHeight2);
            texture.m_fU = float(std::clamp(source.m_nWidth, 0, source.m_nWidth2)) / texture.m_fWidth2;
            texture.m_fV = float(std::clamp(source.m_nHeight, 0, source.m_nHeight2)) / texture.m_fHeight2;
            gl.glPixelStorei(GL_UNPACK_ALIGNMENT, source.m_nStride % 4 == 0 ? 4 : 1);
            gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, source.m_nStride);
            gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, source.m_nWidth2, source.m_nHeight2, 0, GL_RED,
                            GL_UNSIGNED_BYTE, source.m_Pixels.data());
        } else {
            // A texture the builder could not fill keeps its place as one transparent texel.
            const std::uint8_t zero[4] = {};
            gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
            gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, 1, 1, 0, GL_RED, GL_UNSIGNED_BYTE, zero);
        }
        m_Textures.push_back(std::move(texture));
    }
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl.glBindTexture(GL_TEXTURE_2D, 0);
}

void SceneRenderer::uploadPalette(const Scene3D& scene) {
    QOpenGLFunctions_3_3_Core& gl = *m_pGl;
    gl.glActiveTexture(GL_TEXTURE0);
    if (!m_bPaletteUploaded || scene.m_Palette.m_Bytes != m_Palette.m_Bytes) {
        m_Palette = scene.m_Palette;
        std::uint8_t rgba[kPaletteEntries * 4];
        const DisplayColours colours = m_Palette.AllDisplayColours();
        for (std::size_t i = 0; i < kPaletteEntries; ++i) {
            rgba[4 * i] = std::uint8_t(colours[i]);
            rgba[4 * i + 1] = std::uint8_t(colours[i] >> 8);
            rgba[4 * i + 2] = std::uint8_t(colours[i] >> 16);
            rgba[4 * i + 3] = 255;
        }
        gl.glBindTexture(GL_TEXTURE_2D, m_nPalette);
        gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kPaletteEntries, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        m_bPaletteUploaded = true;
    }
    // A colour map too short for every light row is taken as none.
    m_bLit = scene.m_ColourMap.size() >= std::size_t(kColourMapBytes);
    if (m_bLit && (m_ColourMap.size() != std::size_t(kColourMapBytes) ||
                   !std::equal(m_ColourMap.begin(), m_ColourMap.end(), scene.m_ColourMap.begin()))) {
        m_ColourMap.assign(scene.m_ColourMap.begin(), scene.m_ColourMap.begin() + kColourMapBytes);
        gl.glBindTexture(GL_TEXTURE_2D, m_nColourMap);
        gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, 256, kLightLevels, 0, GL_RED, GL_UNSIGNED_BYTE,
                        m_ColourMap.data());
    }
    gl.glBindTexture(GL_TEXTURE_2D, 0);
}

void SceneRenderer::uploadVertices(const Scene3D& scene) {
    // Faces go into one buffer sorted by texture (slot 0 for the untextured ones), each convex
    // polygon cut into a fan of triangles. Faces naming vertices the scene does not have are left out.
    const std::size_t slotCount = m_Textures.size() + 1;
    const auto slotOf = [&](const SceneFace& face) {
        return face.m_nTexture >= 0 && std::size_t(face.m_nTexture) < m_Textures.size()
                   ? std::size_t(face.m_nTexture) + 1
                   : 0;
    };
    const auto usable = [&](const SceneFace& face) {
        return face.m_nVertexCount >= 3 &&
               std::size_t(face.m_nFirstVertex) + face.m_nVertexCount <= scene.m_Vertices.size();
    };
    std::vector<std::size_t> starts(slotCount + 1, 0);
    for (const SceneFace& face : scene.m_Faces)
        if (usable(face)) starts[slotOf(face) + 1] += 3 * (face.m_nVertexCount - 2u);
    for (std::size_t s = 1; s <= slotCount; ++s)
        starts[s] += starts[s - 1];

    std::vector<FaceVertex> vertices(starts[slotCount]);
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    for (const SceneFace& face : scene.m_Faces) {
        if (!usable(face)) continue;
        const bool directional = face.m_Kind == FaceKind::Sky || face.m_Kind == FaceKind::Pit;
        const auto vertex = [&](std::size_t i) {
            const SceneVertex& v = scene.m_Vertices[face.m_nFirstVertex + i];
            return FaceVertex{v.x,
                              v.y,
                              v.z,
                              v.u,
                              v.v,
                              LightRow(face.m_nLight),
                              directional ? kDirectional : kSurface,
                              face.m_nColour,
                              0};
        };
        std::size_t& out = next[slotOf(face)];
        for (std::size_t i = 1; i + 1 < face.m_nVertexCount; ++i) {
            vertices[out++] = vertex(0);
            vertices[out++] = vertex(i);
            vertices[out++] = vertex(i + 1);
        }
    }
    m_Groups.clear();
    for (std::size_t s = 0; s < slotCount; ++s)
        if (starts[s + 1] > starts[s])
            m_Groups.push_back({int(s) - 1, GLint(starts[s]), GLsizei(starts[s + 1] - starts[s])});

    QOpenGLFunctions_3_3_Core& gl = *m_pGl;
    gl.glBindBuffer(GL_ARRAY_BUFFER, m_nFaceBuffer);
    gl.glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(FaceVertex)), vertices.data(),
                    GL_STATIC_DRAW);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void SceneRenderer::bindTexture(int index) {
    QOpenGLShaderProgram& p = *m_pProgram;
    const bool textured = index >= 0 && std::size_t(index) < m_Textures.size();
    p.setUniformValue(m_Uniforms.textured, textured);
    if (!textured) return;
    const Texture& texture = m_Textures[std::size_t(index)];
    p.setUniformValue(m_Uniforms.decal, texture.m_bDecal);
    p.setUniformValue(m_Uniforms.textureSize, texture.m_fWidth2, texture.m_fHeight2);
    m_pGl->glActiveTexture(GL_TEXTURE0 + kIndexUnit);
    m_pGl->glBindTexture(GL_TEXTURE_2D, texture.m_nId);
}

void SceneRenderer::draw(const Camera3D& camera, int width, int height, const RenderOptions& options) {
    m_nDrawCalls = 0;
    if (!m_pGl || width <= 0 || height <= 0) return;
    QOpenGLFunctions_3_3_Core& gl = *m_pGl;
    gl.glViewport(0, 0, width, height);
    gl.glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_LESS);
    gl.glDisable(GL_CULL_FACE);
    gl.glDisable(GL_BLEND);

    // The scene is left-handed (+X on the right when looking along +Z) while lookAt makes a
    // right-handed view: turning the view's x round keeps the picture the right way round.
    const QVector3D eye(camera.x, camera.y, camera.z);
    const QVector3D direction(std::sin(camera.m_fYaw), camera.m_fPitch, std::cos(camera.m_fYaw));
    QMatrix4x4 view;
    view.scale(-1.0f, 1.0f, 1.0f);
    view.lookAt(eye, eye + direction, QVector3D(0.0f, 1.0f, 0.0f));
    const float halfWidth = kNearPlane * std::tan(camera.m_fFieldOfView / 2.0f);
    const float halfHeight = halfWidth * float(height) / float(width);
    QMatrix4x4 projection;
    projection.frustum(-halfWidth, halfWidth, -halfHeight, halfHeight, kNearPlane, kFarPlane);

    QOpenGLShaderProgram& p = *m_pProgram;
    p.bind();
    p.setUniformValue(m_Uniforms.viewProjection, projection * view);
    p.setUniformValue(m_Uniforms.camera, eye);
    p.setUniformValue(m_Uniforms.linear, options.m_bLinear);
    p.setUniformValue(m_Uniforms.lit, m_bLit);
    p.setUniformValue(m_Uniforms.parallax, m_fParallax1, m_fParallax2);
    p.setUniformValue(m_Uniforms.sprite, false);
    gl.glActiveTexture(GL_TEXTURE0 + kPaletteUnit);
    gl.glBindTexture(GL_TEXTURE_2D, m_nPalette);
    gl.glActiveTexture(GL_TEXTURE0 + kColourMapUnit);
    gl.glBindTexture(GL_TEXTURE_2D, m_nColourMap);

    gl.glBindVertexArray(m_nFaceArray);
    for (const Group& group : m_Groups) {
        bindTexture(group.m_nTexture);
        gl.glDrawArrays(GL_TRIANGLES, group.m_nFirst, group.m_nCount);
        ++m_nDrawCalls;
    }
    drawSprites(camera);
    gl.glBindVertexArray(0);
    p.release();
    for (const int unit : {kColourMapUnit, kPaletteUnit, kIndexUnit}) {
        gl.glActiveTexture(GL_TEXTURE0 + unit);
        gl.glBindTexture(GL_TEXTURE_2D, 0);
    }
}

void SceneRenderer::drawSprites(const Camera3D& camera) {
    if (m_Sprites.empty()) return;
    QOpenGLShaderProgram& p = *m_pProgram;
    // Sprites turn about the vertical only, square to the view: along the camera's right.
    p.setUniformValue(m_Uniforms.right, QVector3D(std::cos(camera.m_fYaw), 0.0f, -std::sin(camera.m_fYaw)));
    p.setUniformValue(m_Uniforms.sprite, true);
    m_pGl->glBindVertexArray(m_nQuadArray);
    for (const SceneSprite& sprite : m_Sprites) {
        if (sprite.m_Views.empty()) continue;
        const SpriteView& view = sprite.m_Views[std::size_t(SpriteViewIndex(sprite, camera.x, camera.z))];
        if (view.m_nTexture < 0 || std::size_t(view.m_nTexture) >= m_Textures.size()) continue;
        const Texture& texture = m_Textures[std::size_t(view.m_nTexture)];
        bindTexture(view.m_nTexture);
        p.setUniformValue(m_Uniforms.anchor, QVector3D(sprite.x, sprite.y, sprite.z));
        p.setUniformValue(m_Uniforms.rect,
                          QVector4D(view.m_fLeft, view.m_fBottom, view.m_fWidth, view.m_fHeight) *
                              kSceneScale);
        p.setUniformValue(m_Uniforms.uvScale, texture.m_fU, texture.m_fV);
        p.setUniformValue(m_Uniforms.flip, view.m_bFlip);
        p.setUniformValue(m_Uniforms.spriteLight, GLint(LightRow(sprite.m_nLight)));
        m_pGl->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        ++m_nDrawCalls;
    }
    p.setUniformValue(m_Uniforms.sprite, false);
}

} // namespace morvi::ui
