#pragma once

#include "model/Status.h"
#include "model/TaskProgress.h"
#include "resources/GamePalette.h"
#include "resources/IndexedImage.h"
#include "resources/SpriteConverter.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// What the sprite editor's tree shows of an opened picture file or an imported folder. A WAX is
// listed as scenes (its states), under each the distinct sequences (views) its walk meets, under
// each their frames; every other file as one node per picture.
struct SpriteTreeNode {
    enum class Kind { Root, Scene, Sequence, Frame, Picture };
    Kind m_Kind = Kind::Root;
    std::string m_strLabel;
    // Scenes, sequences and frames of a WAX: the state, the first view slot of the state that
    // shows the sequence, and the frame's place in it (-1 where it does not apply).
    int m_nState = -1;
    int m_nViewSlot = -1;
    int m_nFrameSlot = -1;
    // Frames: the cell (counted as the map counts cells); pictures: their place among the file's
    // shown pictures or among the imported files.
    int m_nPicture = -1;
    // Imported pictures: the BMP file.
    std::filesystem::path m_Path;
    std::vector<SpriteTreeNode> m_Children;
};

// The tree of a picture file by its name's extension (.wax .fme .bm .dlt .anm, any case): a root
// named after the file holding "Scene 1" ... / "Sequence n" / "Frame f - Cell c" (numbers from
// 1), or "frame", "texture 01" ... (one per picture of a BM), "delt", "delt 01" ... (one per
// picture of an ANIM that is not empty). On failure out is left as it was.
Status BuildSpriteTree(std::span<const std::uint8_t> bytes, std::string_view name, SpriteTreeNode& out);

// A picture file format besides BMP that export and import offer, given by the window (PNG through
// its image library): its extension (".png") and how a picture becomes file bytes and back. A
// decoded picture holds 8-bit palette indices, as a BMP of 256 colours does.
struct PictureFileFormat {
    std::string m_strExtension;
    std::function<Status(const IndexedImage& picture, std::vector<std::uint8_t>& out)> m_Encode;
    std::function<Status(std::span<const std::uint8_t> bytes, std::string_view name,
                         const GamePalette& palette, IndexedImage& out)>
        m_Decode;
};

// The picture files of folder with this extension (".bmp" or a format's; any case), ordered by
// name ignoring case: the n-th of them becomes cell n of a WAX built with an exported map, as
// "cell0000.bmp" ... order them.
Status ListPictureFiles(const std::filesystem::path& folder, std::vector<std::filesystem::path>& out,
                        std::string_view extension = ".bmp");

// The tree of an import: a root named after the folder with one picture node per file.
SpriteTreeNode ImportTree(const std::filesystem::path& folder, std::span<const std::filesystem::path> files);

// The folder an export writes into for the file name chosen: the name up to its first dot, beside
// it ("/x/walk.old.bmp" exports into "/x/walk").
std::filesystem::path ExportFolderFor(const std::filesystem::path& chosen);

// The files of an earlier export in folder (names IsExportFileName accepts), which an export
// there replaces; other files are never touched. Empty when the folder does not exist.
std::vector<std::string> ExportFilesIn(const std::filesystem::path& folder);

// Reads the BMP files in order, each given palette's display colours. The first file that cannot
// be read, or is not an 8-bit BMP, fails the whole read with its name and the reason: a picture
// left out would shift every cell after it. Reports one step per file to progress.
// Files with format's extension are decoded by format.
Status ReadPictureFiles(std::span<const std::filesystem::path> files, const GamePalette& palette,
                        TaskProgress& progress, std::vector<IndexedImage>& out,
                        const PictureFileFormat* format = nullptr);

// Reads a map file.
Status ReadWaxMapFile(const std::filesystem::path& path, WaxMap& out);

// Builds the kind of resource output's extension asks for (BuildSpriteResource) from the BMP files
// and writes it atomically. A WAX needs map.
Status SaveSpriteFile(const std::filesystem::path& output, std::span<const std::filesystem::path> files,
                      const GamePalette& palette, const WaxMap* map, TaskProgress& progress,
                      const PictureFileFormat* format = nullptr);

// Exports a picture file into folder (ExportSpriteResource, WriteExportFolder); with a format,
// the pictures are written in it instead of as BMPs ("cell0000.png" ...).
Status ExportSpriteFile(std::span<const std::uint8_t> bytes, std::string_view name,
                        const GamePalette& palette, const std::filesystem::path& folder,
                        TaskProgress& progress, const PictureFileFormat* format = nullptr);

// The wait after each frame while a scene plays: 1000 / frame rate milliseconds, 100 for a rate of
// 0 or less, which the game never gives a playing state.
int SpriteFrameMilliseconds(int frameRate);

} // namespace morvi
