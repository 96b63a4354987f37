// The 3D view's scene builder on levels read from arbitrary LEV and O texts (split at the
// first 0x1E byte): it must never crash or hang, and every face it makes must name vertices and a
// texture that exist.
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/CDataLevel.h"
#include "support/TextureSource.h"
#include "view3d/Scene3D.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('\x1e');
    morvi::CDataLevel level;
    morvi::ReadLev(level.m_Lev, text.substr(0, split));
    if (split != std::string_view::npos) morvi::ReadObjects(level.m_Objects, text.substr(split + 1));
    static morvi::testing::TextureForEveryName textures(24, 8);
    morvi::SceneBuilder builder(textures, morvi::SceneOptions{});
    morvi::Scene3D scene;
    builder.Build(level, scene);
    for (const morvi::SceneFace& face : scene.m_Faces) {
        if (face.m_nVertexCount < 3 ||
            std::size_t{face.m_nFirstVertex} + face.m_nVertexCount > scene.m_Vertices.size())
            std::abort();
        if (face.m_nTexture >= static_cast<int>(scene.m_Textures.size())) std::abort();
    }
    return 0;
}
