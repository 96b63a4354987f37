#pragma once

#include "model/Status.h"
#include "resources/IndexedImage.h"

#include <filesystem>

namespace morvi::cli {

// 8-bit palettized PNG files. The palette indices pass through unchanged both ways, so a picture
// painted in an image editor comes back with the same indices.

// Writes the picture with its display colours (grey when it has none) as an 8-bit palettized PNG.
Status WritePng(const IndexedImage& image, const std::filesystem::path& path);

// Reads a palettized PNG (1, 2, 4 or 8 bits per pixel) into a picture without header, keeping the
// indices. Other PNG kinds (grey, true colour) are refused: their pixels are no palette indices.
Status ReadPng(const std::filesystem::path& path, IndexedImage& out);

} // namespace morvi::cli
