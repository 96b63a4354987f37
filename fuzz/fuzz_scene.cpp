// The perspective view's scene builder on levels read from arbitrary LEV and O texts (split at the
// first 0x1E byte): it must never crash or hang, and every face it makes must name vertices and a
// texture that exist.
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/CDataLevel.h"
#include "resources/BmFile.h"
#include "view3d/Scene3D.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

// Every BM name finds one small texture; nothing else exists.
class FixedTextures final : public morvi::SceneResourceSource {
public:
    FixedTextures() {
        morvi::IndexedImage picture;
        picture.Create(morvi::GamePalette::Grey(), morvi::kPaletteMultiplier, 24, 8, false);
        picture.setPixel(3, 2, 7);
        if (!morvi::EncodeBm(picture, morvi::kBmPlain, m_Bm)) std::abort();
    }
    bool Find(std::string_view name, std::vector<std::uint8_t>& bytes) override {
        if (name.size() < 3 ||
            (name.substr(name.size() - 3) != ".BM" && name.substr(name.size() - 3) != ".bm"))
            return false;
        bytes = m_Bm;
        return true;
    }

private:
    std::vector<std::uint8_t> m_Bm;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('\x1e');
    morvi::CDataLevel level;
    morvi::ReadLev(level.m_Lev, text.substr(0, split));
    if (split != std::string_view::npos) morvi::ReadObjects(level.m_Objects, text.substr(split + 1));
    static FixedTextures textures;
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
