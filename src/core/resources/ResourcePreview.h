#pragma once

#include "model/Status.h"
#include "resources/GamePalette.h"
#include "resources/IndexedImage.h"
#include "resources/Model3D.h"
#include "resources/VocSound.h"
#include "resources/WaxFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

class CDataGobEntry;
class CDataLevel;
class ResourceCache;
class SoundManager;

// Where a sprite frame stands against the sprite's anchor; the picture is mirrored when drawn
// with m_bFlip set, never in its pixels.
struct SpritePlacement {
    std::int32_t m_nX = 0;
    std::int32_t m_nY = 0;
    bool m_bFlip = false;
};

// One decoded picture. Only FME and WAX frames carry a placement; a palette picture has no
// pixels, only the display colours of the palette shown.
struct PreviewFrame {
    IndexedImage m_Image;
    std::optional<SpritePlacement> m_Placement;
};

// What a resource viewer shows: the member last loaded, decoded into pictures, a sound or a 3D
// object. It finds members in the level first and then in the game's archives, and draws nothing
// itself.
class ResourcePreview {
public:
    // The palette starts as the current level's palette (a grey ramp when there is none).
    ResourcePreview(CDataLevel* level, ResourceCache& cache);

    // Loads a member by extension (".bm", ".fme", ".wax", ".3do", ".voc", ".pal", ".dlt", ".anm",
    // ".plt" (laid over the level's palette, which then colours later pictures), any
    // case). With an entry the member is decoded from its data; otherwise it is looked up in the
    // level's members of that kind and then in the game archive of that kind. Returns whether a
    // member was found; when its decoding fails, lastMessage() tells why and frames stay empty.
    bool load(std::string_view extension, std::string_view memberName, bool withHeader,
              const CDataGobEntry* entry = nullptr);
    // The palette pictures start with, and that a PLTT is laid over (the current level's palette
    // unless set otherwise).
    void setBasePalette(const GamePalette& palette);
    // Sets the palette and header choice for the next load (converters) and empties the frames.
    void forcePalette(const GamePalette& palette, bool withHeader);

    // With a manager, every sound this preview reads is loaded into it (and so plays at once in
    // the manager's play-on-load mode); every load first stops the sound loaded before. The
    // manager must outlive the preview; nullptr plays nothing.
    void setSoundManager(SoundManager* manager) { m_pSounds = manager; }
    // Stops the sound this preview loaded, unless the manager has since dropped it (then the
    // handle may stand for another preview's sound).
    void stopSound();

    const std::string& fileName() const { return m_strFileName; }
    const std::string& sizeText() const { return m_strSizeText; }
    const std::string& extension() const { return m_strExtension; }
    // The archive the last member was read from; empty for members of the level or given entries.
    const std::filesystem::path& archivePath() const { return m_ArchivePath; }
    const GamePalette& palette() const { return m_Palette; }
    bool withHeader() const { return m_bWithHeader; }
    const std::vector<PreviewFrame>& frames() const { return m_Frames; }
    const VocSound& sound() const { return m_Sound; }
    const Model3D& object3d() const { return m_Object3d; }
    // The WAX choice is set by the viewer before a load; the counters are recounted by it.
    WaxSelection& waxSelection() { return m_WaxSelection; }
    const Status& lastMessage() const { return m_LastMessage; }

private:
    bool findBytes(std::string_view ext, std::string_view memberName, const CDataGobEntry* entry,
                   std::vector<std::uint8_t>& bytes);
    Status decode(std::string_view ext, std::span<const std::uint8_t> bytes);
    Status decodeSprites(std::string_view ext, std::span<const std::uint8_t> bytes);
    void addPicture(IndexedImage image, std::optional<SpritePlacement> placement = std::nullopt);

    CDataLevel* m_pLevel;
    ResourceCache& m_Cache;
    std::string m_strFileName;
    std::string m_strSizeText;
    std::string m_strExtension;
    std::filesystem::path m_ArchivePath;
    GamePalette m_Palette;
    GamePalette m_BasePalette;
    bool m_bWithHeader = false;
    std::vector<PreviewFrame> m_Frames;
    VocSound m_Sound;
    Model3D m_Object3d;
    WaxSelection m_WaxSelection;
    Status m_LastMessage;
    SoundManager* m_pSounds = nullptr;
    // The manager's handle of the sound last loaded, -1 when none was.
    int m_nSoundHandle = -1;
    // The output's buffer behind the handle when it was loaded.
    int m_nSoundBuffer = -1;
};

} // namespace morvi
