#include "view3d/SceneTextures.h"

#include <algorithm>

namespace morvi {

int PowerOfTwo(int side) {
    int power = 1;
    // Pictures are at most kMaxPictureSide a side; the cap only keeps a wild value from looping.
    while (power < side && power < (1 << 30))
        power <<= 1;
    return power;
}

SceneTexture MakeSceneTexture(std::string name, const IndexedImage& picture, bool decal) {
    SceneTexture texture;
    texture.m_strName = std::move(name);
    texture.m_nWidth = picture.width();
    texture.m_nHeight = picture.height();
    texture.m_nWidth2 = PowerOfTwo(texture.m_nWidth);
    texture.m_nHeight2 = PowerOfTwo(texture.m_nHeight);
    texture.m_nStride = (texture.m_nWidth2 + 3) / 4 * 4;
    texture.m_bDecal = decal;
    texture.m_Pixels.assign(
        static_cast<std::size_t>(texture.m_nStride) * static_cast<std::size_t>(texture.m_nHeight2), 0);
    for (int r = 0; r < texture.m_nHeight; ++r) {
        const auto row = picture.row(r);
        std::copy(row.begin(), row.begin() + texture.m_nWidth,
                  texture.m_Pixels.begin() + static_cast<std::ptrdiff_t>(r) * texture.m_nStride);
    }
    return texture;
}

} // namespace morvi
