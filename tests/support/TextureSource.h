#pragma once

// A stand-in for the game's archives when only textures matter: every BM name finds a texture,
// nothing else exists.
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "view3d/Scene3D.h"

#include <cstdlib>
#include <functional>
#include <string_view>
#include <vector>

namespace morvi::testing {

class TextureForEveryName final : public SceneResourceSource {
public:
    // With distinct set, each name gets a picture of its own (its pixels follow the name's hash);
    // otherwise every name gets the same one.
    TextureForEveryName(int width, int height, bool distinct = false)
        : m_nWidth(width), m_nHeight(height), m_bDistinct(distinct) {
        m_Same = Encode(0);
    }
    bool Find(std::string_view name, std::vector<std::uint8_t>& bytes) override {
        if (name.size() < 3 || !EqualsNoCase(name.substr(name.size() - 3), ".bm")) return false;
        bytes = m_bDistinct ? Encode(std::hash<std::string_view>{}(name)) : m_Same;
        return true;
    }

private:
    std::vector<std::uint8_t> Encode(std::size_t seed) const {
        IndexedImage picture;
        picture.Create(GamePalette::Grey(), kPaletteMultiplier, m_nWidth, m_nHeight, false);
        for (int y = 0; y < m_nHeight; ++y)
            for (int x = 0; x < m_nWidth; ++x)
                picture.setPixel(x, y, static_cast<std::uint8_t>(seed + std::size_t(x * 7 + y * 13)));
        std::vector<std::uint8_t> bytes;
        if (!EncodeBm(picture, kBmPlain, bytes)) std::abort();
        return bytes;
    }

    int m_nWidth;
    int m_nHeight;
    bool m_bDistinct;
    std::vector<std::uint8_t> m_Same;
};

} // namespace morvi::testing
