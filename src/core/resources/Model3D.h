#pragma once

#include "model/TextNotes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// One entry of a 3DO texture table; m_nIndex is its position in the table.
struct ModelTexture {
    int m_nIndex = -1;
    std::string m_strName;
};

struct ModelVertex {
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_dZ = 0.0;
};

struct ModelQuad {
    int m_nA = 0, m_nB = 0, m_nC = 0, m_nD = 0;
    int m_nColor = 0;
    std::string m_strFill;

    // True when every corner names one of count vertices.
    bool IndicesWithin(std::size_t count) const;
};

struct ModelTriangle {
    int m_nA = 0, m_nB = 0, m_nC = 0;
    int m_nColor = 0;
    std::string m_strFill;

    bool IndicesWithin(std::size_t count) const;
};

struct ModelTexVertex {
    double m_dX = 0.0;
    double m_dY = 0.0;
};

struct ModelTexQuad {
    int m_nA = 0, m_nB = 0, m_nC = 0, m_nD = 0;

    bool IndicesWithin(std::size_t count) const;
};

struct ModelTexTriangle {
    int m_nA = 0, m_nB = 0, m_nC = 0;

    bool IndicesWithin(std::size_t count) const;
};

// A named part of a model. Texture quad i maps quad i, texture triangle i maps triangle i.
struct ModelObject {
    std::string m_strName;
    int m_nTextureIndex = 0;
    std::vector<ModelVertex> m_Vertices;
    std::vector<ModelQuad> m_Quads;
    std::vector<ModelTriangle> m_Triangles;
    std::vector<ModelTexVertex> m_TextureVertices;
    std::vector<ModelTexQuad> m_TextureQuads;
    std::vector<ModelTexTriangle> m_TextureTriangles;
};

// A 3DO object model: header values, texture table and sub-objects.
struct Model3D {
    std::string m_strVersion;
    std::string m_strName;
    std::string m_strPaletteName;
    std::vector<ModelTexture> m_Textures;
    std::vector<ModelObject> m_Objects;
};

// At most this many vertices are held in a model through shared-vertex copies; text records
// themselves are bounded by the text.
inline constexpr std::size_t kMaxModelVertices = std::size_t(1) << 20;

// Reads a 3DO text. Never fails: text that ends early keeps what was read, unknown lines are
// skipped, and polygons naming a vertex the object does not have are dropped. What was dropped
// or refused is recorded in notes when given. See the reader's rules in Model3D.cpp.
Model3D Read3DO(std::string_view text, TextNotes* notes = nullptr);

// Appends the 3DO text of model to out with CR LF line ends. Triangles and texture triangles
// are written as TRIANGLES and TEXTURE TRIANGLES blocks in the column style of the quads, and
// POLYGONS counts quads and triangles.
void Write3DO(const Model3D& model, std::string& out);

} // namespace morvi
