#include "resources/ResourcePreview.h"

#include "model/CDataLevel.h"
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "resources/DeltPicture.h"
#include "resources/FmeFile.h"
#include "resources/LevelPalette.h"
#include "resources/PlttPalette.h"
#include "resources/ResourceCache.h"
#include "resources/SoundManager.h"

namespace morvi {

namespace {

struct Kind {
    ResourceList m_List;
    std::vector<CDataGobEntry*> CDataLevel::*m_LevelList;
};

// The archive and level list that hold members of an extension; nothing for the extensions
// that are only ever shown from a given entry or from the level's members.
std::optional<Kind> KindOf(std::string_view ext) {
    if (ext == ".bm") return Kind{ResourceList::Textures, &CDataLevel::m_Bitmaps};
    if (ext == ".fme" || ext == ".wax") return Kind{ResourceList::Sprites, &CDataLevel::m_Sprites};
    if (ext == ".3do") return Kind{ResourceList::Objects, &CDataLevel::m_Models3D};
    if (ext == ".voc") return Kind{ResourceList::Sounds, &CDataLevel::m_Sounds};
    return std::nullopt;
}

const CDataGobEntry* FindIn(const std::vector<CDataGobEntry*>& list, std::string_view name) {
    for (const CDataGobEntry* member : list)
        if (EqualsNoCase(member->m_strName, name)) return member;
    return nullptr;
}

Status ReadEntryBytes(const CDataGobEntry& entry, std::vector<std::uint8_t>& bytes) {
    SpanSource source(entry.data());
    return ReadSourceBlock(source, 0, entry.m_nSize, entry.m_strName, bytes);
}

} // namespace

ResourcePreview::ResourcePreview(CDataLevel* level, ResourceCache& cache)
    : m_pLevel(level), m_Cache(cache),
      m_Palette(currentLevelPalette(level, cache).value_or(GamePalette::Grey())), m_BasePalette(m_Palette) {}

void ResourcePreview::setBasePalette(const GamePalette& palette) {
    m_BasePalette = palette;
    m_Palette = palette;
}

void ResourcePreview::forcePalette(const GamePalette& palette, bool withHeader) {
    m_Palette = palette;
    m_bWithHeader = withHeader;
    m_Frames.clear();
}

bool ResourcePreview::load(std::string_view extension, std::string_view memberName, bool withHeader,
                           const CDataGobEntry* entry) {
    stopSound();
    m_nSoundHandle = -1;
    m_Frames.clear();
    m_Sound = VocSound{};
    m_Object3d = Model3D{};
    m_strSizeText.clear();
    m_ArchivePath.clear();
    m_LastMessage = Status::Ok();
    m_strExtension = std::string(extension);
    m_strFileName = std::string(memberName);
    m_bWithHeader = withHeader;
    const std::string ext = ToLower(extension);
    std::vector<std::uint8_t> bytes;
    if (!findBytes(ext, memberName, entry, bytes)) return false;
    if (m_LastMessage) m_LastMessage = decode(ext, bytes);
    if (!m_LastMessage) m_Frames.clear();
    return true;
}

void ResourcePreview::stopSound() {
    if (!m_pSounds || m_nSoundHandle < 0) return;
    if (m_pSounds->BufferOf(m_nSoundHandle) == m_nSoundBuffer) m_pSounds->Stop(m_nSoundHandle);
}

bool ResourcePreview::findBytes(std::string_view ext, std::string_view memberName, const CDataGobEntry* entry,
                                std::vector<std::uint8_t>& bytes) {
    if (entry) {
        m_LastMessage = ReadEntryBytes(*entry, bytes);
        return true;
    }
    const std::optional<Kind> kind = KindOf(ext);
    const CDataGobEntry* own = nullptr;
    if (m_pLevel && kind) own = FindIn(m_pLevel->*(kind->m_LevelList), memberName);
    // Palettes are not a kind of their own: any member of the level of that name will do.
    if (m_pLevel && ext == ".pal") own = m_pLevel->FindMember(memberName);
    if (own) {
        m_LastMessage = ReadEntryBytes(*own, bytes);
        return true;
    }
    if (!kind) return false;
    const GobDirectoryEntry* member = m_Cache.find(kind->m_List, memberName);
    if (!member) return false;
    m_ArchivePath = m_Cache.archivePath(kind->m_List);
    m_LastMessage = m_Cache.readMember(kind->m_List, *member, bytes);
    return true;
}

Status ResourcePreview::decode(std::string_view ext, std::span<const std::uint8_t> bytes) {
    if (ext == ".bm") {
        std::vector<IndexedImage> pictures;
        Status status = DecodeBm(bytes, m_strFileName, m_Palette, m_bWithHeader, pictures);
        for (IndexedImage& picture : pictures)
            addPicture(std::move(picture));
        return status;
    }
    if (ext == ".fme" || ext == ".wax") return decodeSprites(ext, bytes);
    if (ext == ".3do") {
        m_Object3d = Read3DO(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        return Status::Ok();
    }
    if (ext == ".voc") {
        Status read = ReadVoc(m_strFileName, bytes, m_Sound);
        // Without a device the sound is silently not played: the preview still shows its name.
        if (read && m_pSounds) {
            m_nSoundHandle = m_pSounds->LoadSound(m_strFileName, m_Sound);
            m_nSoundBuffer = m_pSounds->BufferOf(m_nSoundHandle).value_or(-1);
        }
        return read;
    }
    if (ext == ".pal") {
        GamePalette shown;
        if (Status read = GamePalette::Read(bytes, m_strFileName, shown); !read) return read;
        PreviewFrame frame;
        frame.m_Image.SetPalette(shown);
        m_Frames.push_back(std::move(frame));
        return Status::Ok();
    }
    if (ext == ".dlt") {
        DeltPicture picture;
        Status status = DecodeDelt(bytes, m_strFileName, m_Palette, m_bWithHeader, picture);
        if (status) addPicture(std::move(picture.m_Image));
        return status;
    }
    if (ext == ".anm") {
        std::vector<DeltPicture> pictures;
        Status status = DecodeAnim(bytes, m_strFileName, m_Palette, m_bWithHeader, pictures);
        for (DeltPicture& picture : pictures)
            if (picture.m_Image.width() > 0) addPicture(std::move(picture.m_Image));
        return status;
    }
    if (ext == ".plt") {
        // A PLTT sets some entries over the level's palette; the result colours later pictures.
        PlttPalette pltt;
        if (Status read = ReadPltt(bytes, m_strFileName, pltt); !read) return read;
        m_Palette = m_BasePalette;
        ApplyPltt(pltt, m_Palette);
        PreviewFrame frame;
        frame.m_Image.SetPalette(m_Palette);
        m_Frames.push_back(std::move(frame));
        return Status::Ok();
    }
    return Status::Fail(m_strFileName + ": the preview cannot show files of the type \"" + m_strExtension +
                        "\".");
}

Status ResourcePreview::decodeSprites(std::string_view ext, std::span<const std::uint8_t> bytes) {
    std::vector<SpriteFrame> sprites(1);
    Status status = ext == ".fme"
                        ? DecodeFme(bytes, m_strFileName, m_Palette, m_bWithHeader, sprites[0])
                        : DecodeWax(bytes, m_strFileName, m_Palette, m_bWithHeader, m_WaxSelection, sprites);
    if (!status) return status;
    for (SpriteFrame& sprite : sprites)
        addPicture(std::move(sprite.m_Image), SpritePlacement{sprite.m_nX, sprite.m_nY, sprite.m_bFlip});
    return status;
}

void ResourcePreview::addPicture(IndexedImage image, std::optional<SpritePlacement> placement) {
    m_strSizeText = std::to_string(image.width()) + " x " + std::to_string(image.height());
    m_Frames.push_back(PreviewFrame{std::move(image), placement});
}

} // namespace morvi
