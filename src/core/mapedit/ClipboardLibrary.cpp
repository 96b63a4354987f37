// Copying sectors and objects out of a level and adding them to one: the clipboard and library
// files share one record stream.
#include "mapedit/ClipboardLibrary.h"

#include "mapedit/MapGeometry.h"
#include "mapedit/StructuralEdits.h"

#include "gamefiles/AtomicFile.h"
#include "gamefiles/InfFile.h"
#include "model/ModelOps.h"
#include "model/RecordArchive.h"
#include "model/ResourceBlock.h"
#include "resources/LfdArchive.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace morvi {

namespace {

// Items are counted in a u16 field.
constexpr std::size_t kMaxItems = 0xFFFF;
// A library larger than this is not one the editor wrote.
constexpr std::uint64_t kMaxLibraryBytes = 512ull * 1024 * 1024;
constexpr std::uint16_t kMore = 1;
constexpr std::uint16_t kEnd = 0;

void WriteU16(RecordArchive& ar, std::uint16_t v) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
    ar.WriteBytes(b);
}

std::uint16_t ReadU16(RecordArchive& ar) {
    const auto b = ar.ReadBytes(2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

// Whether another loop marker follows; anything but 0 or 1 is not a stream we wrote.
bool ReadMore(RecordArchive& ar) {
    const std::uint16_t flag = ReadU16(ar);
    if (flag > kMore) throw FormatError("an item list marker is " + std::to_string(flag));
    return flag == kMore;
}

// ---- Storing ----------------------------------------------------------------------------------

class StreamWriter {
public:
    // The record and resource serializers go both ways; storing only reads the level, so the
    // level is taken as const and handed to them as it is.
    explicit StreamWriter(const CDataLevel& level)
        : m_Level(level), m_Archive(RecordArchive::Context{const_cast<CDataLev*>(&level.m_Lev), 0}) {
        m_Stored.assign(level.m_Lev.m_pSectors.size(), false);
    }

    void Header(int mode, std::size_t count) {
        m_Archive.WriteString(kLibraryVersionTag);
        WriteU16(m_Archive, static_cast<std::uint16_t>(mode));
        WriteU16(m_Archive, static_cast<std::uint16_t>(count));
        SerializeResourceBlock(const_cast<CDataLevel&>(m_Level), m_Archive, kLibraryVersionTag);
    }

    void SectorItem(int s) {
        WriteSector(s);
        for (int island : GetEnclosedSectors(Sector(s))) {
            if (!ValidIndex(m_Stored.size(), island) || m_Stored[static_cast<std::size_t>(island)]) continue;
            WriteU16(m_Archive, kMore);
            WriteSector(island);
        }
        WriteU16(m_Archive, kEnd);
        for (const auto& object : m_Level.m_Objects.m_pObjects) {
            if (object->m_nSector != s) continue;
            WriteU16(m_Archive, kMore);
            m_Archive.WriteObject(object.get());
        }
        WriteU16(m_Archive, kEnd);
    }

    void ObjectItem(int o) {
        m_Archive.WriteObject(m_Level.m_Objects.m_pObjects[static_cast<std::size_t>(o)].get());
    }

    void AppendTo(std::vector<std::uint8_t>& out) const {
        out.insert(out.end(), m_Archive.bytes().begin(), m_Archive.bytes().end());
    }

private:
    const CDataSector& Sector(int s) const { return *m_Level.m_Lev.m_pSectors[static_cast<std::size_t>(s)]; }

    // The stored number (m_nIndex, the sector's place in the level, as the level checker makes
    // sure) is what the reader links pasted sectors by.
    void WriteSector(int s) {
        const CDataSector& sector = Sector(s);
        m_Stored[static_cast<std::size_t>(s)] = true;
        m_Archive.WriteObject(&sector);
        SerializeItemsOfSector(const_cast<CDataInf&>(m_Level.m_Inf), m_Archive, sector.m_strName,
                               sector.m_strName);
    }

    const CDataLevel& m_Level;
    RecordArchive m_Archive;
    std::vector<bool> m_Stored;
};

std::vector<int> ExistingObjects(const CDataLevel& level, std::span<const int> objects) {
    std::vector<int> result;
    std::unordered_set<int> seen;
    for (int o : objects)
        if (ValidIndex(level.m_Objects.m_pObjects.size(), o) && seen.insert(o).second) result.push_back(o);
    return result;
}

// ---- Loading ----------------------------------------------------------------------------------

struct LoadedSector {
    std::unique_ptr<CDataSector> m_pSector;
    int m_nStoredIndex = -1;
    std::vector<std::unique_ptr<CDataInfItem>> m_Items;
    std::vector<std::unique_ptr<CDataObjectItem>> m_Objects;
};

// A whole stream decoded apart from the level, so that a damaged one changes nothing. Texture
// indices refer to the scratch level's table and the resources sit in its members until the
// stream is added to the real level.
struct LoadedStream {
    int m_nMode = 0;
    CDataLevel m_Scratch;
    std::vector<LoadedSector> m_Sectors;
    std::vector<std::unique_ptr<CDataObjectItem>> m_Objects;
};

class StreamReader {
public:
    StreamReader(std::span<const std::uint8_t> bytes, LoadedStream& out, int layer)
        : m_Out(out), m_Archive(bytes, RecordArchive::Context{&out.m_Scratch.m_Lev, layer}) {}

    void Read() {
        const std::string tag = m_Archive.ReadString();
        if (tag.rfind("Morvi ", 0) != 0) throw FormatError("it does not start with a Morvi version tag");
        m_Out.m_nMode = ReadU16(m_Archive);
        if (m_Out.m_nMode != kModeSector && m_Out.m_nMode != kModeObject)
            throw FormatError("it holds items of edit mode " + std::to_string(m_Out.m_nMode));
        const std::uint16_t count = ReadU16(m_Archive);
        SerializeResourceBlock(m_Out.m_Scratch, m_Archive, tag);
        for (std::uint16_t i = 0; i < count; ++i) {
            if (m_Out.m_nMode == kModeSector)
                SectorItem();
            else
                m_Out.m_Objects.push_back(ReadObject());
        }
    }

private:
    void SectorItem() {
        ReadSector();
        // Islands are appended after it, so the top sector is found again by its place.
        const std::size_t top = m_Out.m_Sectors.size() - 1;
        while (ReadMore(m_Archive))
            ReadSector();
        while (ReadMore(m_Archive))
            m_Out.m_Sectors[top].m_Objects.push_back(ReadObject());
    }

    void ReadSector() {
        LoadedSector loaded;
        loaded.m_pSector = m_Archive.ReadObject<CDataSector>();
        if (!loaded.m_pSector) throw FormatError("a sector item is empty");
        CheckGeometry(*loaded.m_pSector);
        loaded.m_nStoredIndex = loaded.m_pSector->m_nIndex;
        m_Archive.SerializeArray(loaded.m_Items);
        m_Out.m_Sectors.push_back(std::move(loaded));
    }

    std::unique_ptr<CDataObjectItem> ReadObject() {
        auto object = m_Archive.ReadObject<CDataObjectItem>();
        if (!object) throw FormatError("an object item is empty");
        return object;
    }

    // Walls must name the sector's own vertices, or every edit of the sector would be refused.
    // Open loops and sectors of fewer than three walls are taken, as the level reader takes them
    // (the level checker lists them): a copy of a published level's sectors pastes whole.
    static void CheckGeometry(const CDataSector& sector) {
        for (const auto& wall : sector.m_pWalls)
            if (!ValidIndex(sector.m_pVertices.size(), wall->m_nLeft) ||
                !ValidIndex(sector.m_pVertices.size(), wall->m_nRight))
                throw FormatError("sector " + std::to_string(sector.m_nIndex) +
                                  " has a wall ending outside its vertices");
    }

    LoadedStream& m_Out;
    RecordArchive m_Archive;
};

Status Decode(std::span<const std::uint8_t> bytes, LoadedStream& out, int layer) {
    try {
        StreamReader(bytes, out, layer).Read();
    } catch (const FormatError& e) {
        return Status::Fail(std::string("The data is damaged (") + e.what() + ") and nothing was added.");
    }
    return Status::Ok();
}

// A name already used by a sector gets "%s-%d" with the lowest free number from 1.
class SectorNames {
public:
    explicit SectorNames(const CDataLevel& level) {
        for (const auto& s : level.m_Lev.m_pSectors)
            if (!s->m_strName.empty()) m_Used.insert(s->m_strName);
    }

    std::string MakeUnique(const std::string& name) {
        if (name.empty()) return name;
        std::string unique = name;
        for (int n = 1; m_Used.count(unique) != 0; ++n)
            unique = name + "-" + std::to_string(n);
        m_Used.insert(unique);
        return unique;
    }

private:
    std::unordered_set<std::string> m_Used;
};

void CopyResources(const CDataLevel& scratch, CDataLevel& level) {
    for (const auto& member : scratch.m_pMembers) {
        auto existing = std::find_if(level.m_pMembers.begin(), level.m_pMembers.end(),
                                     [&](const auto& m) { return m->m_strName == member->m_strName; });
        if (existing != level.m_pMembers.end())
            (*existing)->SetData(member->data());
        else
            level.AddMember(member->m_strName, member->data());
    }
}

void RemapTexture(CDataTexture& texture, const CDataLev& from, CDataLev& to) {
    if (texture.m_nTexture >= 0)
        texture.m_nTexture = to.FindOrAddTexture(from.GetTextureName(texture.m_nTexture));
}

void RemapTextures(CDataSector& sector, const CDataLev& from, CDataLev& to) {
    RemapTexture(sector.m_FloorTexture, from, to);
    RemapTexture(sector.m_CeilingTexture, from, to);
    for (auto& wall : sector.m_pWalls)
        for (CDataTexture* t : {&wall->m_Mid, &wall->m_Top, &wall->m_Bottom, &wall->m_Sign})
            RemapTexture(*t, from, to);
}

// An object joins the level's name tables and gets its colour as the O reader would give it.
void AddObject(CDataLevel& level, std::unique_ptr<CDataObjectItem> object, int sector) {
    object->m_nIndex = static_cast<int>(level.m_Objects.m_pObjects.size());
    object->m_nSector = sector;
    SetObjectDataIndex(level.m_Objects, *object);
    AssignObjectColour(*object);
    for (const auto& seq : object->m_pSeqs)
        AssignObjectColour(*object, seq.get());
    level.m_Objects.m_pObjects.push_back(std::move(object));
}

// What the adding pass hands on to the linking and moving steps.
struct Added {
    std::vector<int> m_Sectors;                 // new indices, in stream order
    std::unordered_map<int, int> m_StoredToNew; // the first sector stored under each number
    std::vector<int> m_LooseObjects;            // new indices of the objects of an object stream
    bool m_bInf = false;
};

void AddSectors(CDataLevel& level, LoadedStream& stream, Added& added) {
    SectorNames names(level);
    for (LoadedSector& loaded : stream.m_Sectors) {
        CDataSector& sector = *loaded.m_pSector;
        const int index = static_cast<int>(level.m_Lev.m_pSectors.size());
        const std::string oldName = sector.m_strName;
        sector.m_strName = names.MakeUnique(oldName);
        sector.m_nIndex = index;
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w)
            sector.m_pWalls[w]->m_nIndex = static_cast<int>(w);
        RemapTextures(sector, stream.m_Scratch.m_Lev, level.m_Lev);
        for (auto& item : loaded.m_Items) {
            if (sector.m_strName != oldName) RenameSectorReference(*item, oldName, sector.m_strName);
            level.m_Inf.m_pItems.push_back(std::move(item));
            added.m_bInf = true;
        }
        added.m_StoredToNew.emplace(loaded.m_nStoredIndex, index);
        added.m_Sectors.push_back(index);
        level.m_Lev.m_pSectors.push_back(std::move(loaded.m_pSector));
        for (auto& object : loaded.m_Objects)
            AddObject(level, std::move(object), index);
    }
}

// Links between pasted sectors follow them to their new numbers; links to anything else go.
void RelinkWalls(CDataLevel& level, const Added& added) {
    auto& sectors = level.m_Lev.m_pSectors;
    for (int s : added.m_Sectors)
        for (auto& wall : sectors[static_cast<std::size_t>(s)]->m_pWalls) {
            const auto found = added.m_StoredToNew.find(wall->m_nAdjoin);
            if (wall->m_nAdjoin >= 0 && found != added.m_StoredToNew.end()) {
                wall->m_nAdjoin = wall->m_nWalk = found->second;
            } else {
                wall->m_nAdjoin = wall->m_nMirror = wall->m_nWalk = -1;
            }
        }
}

// A stored mirror that does not lead to a wall pointing back (a stream not written from a sound
// level) would break the level: such walls are left unlinked. Decided before any wall changes.
void DropOneSidedLinks(CDataLevel& level, const Added& added) {
    auto& sectors = level.m_Lev.m_pSectors;
    std::vector<CDataWall*> broken;
    for (int s : added.m_Sectors)
        for (std::size_t w = 0; w < sectors[static_cast<std::size_t>(s)]->m_pWalls.size(); ++w) {
            CDataWall& wall = *sectors[static_cast<std::size_t>(s)]->m_pWalls[w];
            if (wall.m_nAdjoin < 0) continue;
            const auto& otherWalls = sectors[static_cast<std::size_t>(wall.m_nAdjoin)]->m_pWalls;
            const bool backOk =
                ValidIndex(otherWalls.size(), wall.m_nMirror) &&
                otherWalls[static_cast<std::size_t>(wall.m_nMirror)]->m_nAdjoin == s &&
                otherWalls[static_cast<std::size_t>(wall.m_nMirror)]->m_nMirror == static_cast<int>(w);
            if (!backOk) broken.push_back(&wall);
        }
    for (CDataWall* wall : broken)
        wall->m_nAdjoin = wall->m_nMirror = wall->m_nWalk = -1;
}

void AddLooseObjects(CDataLevel& level, LoadedStream& stream, Added& added) {
    for (auto& object : stream.m_Objects) {
        added.m_LooseObjects.push_back(static_cast<int>(level.m_Objects.m_pObjects.size()));
        AddObject(level, std::move(object), -1);
    }
}

// The mean of the left corners of the sectors' first loops; nothing when they have none.
std::optional<WorldPoint> FirstLoopsCentre(const CDataLevel& level, const std::vector<int>& sectors) {
    double sumX = 0.0, sumZ = 0.0;
    int n = 0;
    std::vector<int> starts;
    for (int s : sectors) {
        const CDataSector& sector = *level.m_Lev.m_pSectors[static_cast<std::size_t>(s)];
        starts.clear();
        BuildLoopStarts(sector, starts);
        for (int w = starts[0]; w < starts[1]; ++w) {
            const int left = sector.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft;
            sumX += sector.m_pVertices[static_cast<std::size_t>(left)]->m_dX;
            sumZ += sector.m_pVertices[static_cast<std::size_t>(left)]->m_dZ;
            ++n;
        }
    }
    if (n == 0) return std::nullopt;
    return WorldPoint{sumX / n, sumZ / n};
}

// Moves the sectors, and the objects assigned to them, so that their first loops' centre lies on
// the point.
void MoveTo(CDataLevel& level, const std::vector<int>& sectors, WorldPoint at) {
    const std::optional<WorldPoint> centre = FirstLoopsCentre(level, sectors);
    if (!centre) return;
    const double dx = at.m_dX - centre->m_dX, dz = at.m_dZ - centre->m_dZ;
    for (int s : sectors)
        for (auto& v : level.m_Lev.m_pSectors[static_cast<std::size_t>(s)]->m_pVertices) {
            v->m_dX = RoundHundredths(v->m_dX + dx);
            v->m_dZ = RoundHundredths(v->m_dZ + dz);
        }
    const std::unordered_set<int> moved(sectors.begin(), sectors.end());
    for (auto& object : level.m_Objects.m_pObjects)
        if (moved.count(object->m_nSector) != 0) {
            object->m_dX = RoundHundredths(object->m_dX + dx);
            object->m_dZ = RoundHundredths(object->m_dZ + dz);
        }
}

void SelectPasted(const EditContext& ctx, const Added& added) {
    const int mode = ctx.document().m_nMode;
    if (mode == kModeSector) {
        for (int s : added.m_Sectors)
            ctx.AddToSelection({s, -1, -1, -1});
    } else if (mode == kModeObject) {
        // Each pasted object goes first, so the last one read leads the selection.
        std::vector<CMapSelItem> items;
        for (auto o = added.m_LooseObjects.rbegin(); o != added.m_LooseObjects.rend(); ++o)
            items.push_back(
                {ctx.level().m_Objects.m_pObjects[static_cast<std::size_t>(*o)]->m_nSector, -1, -1, *o});
        items.insert(items.end(), ctx.selection().begin(), ctx.selection().end());
        ctx.ClearSelection();
        for (const CMapSelItem& item : items)
            ctx.AddToSelection(item);
    }
}

} // namespace

ClipboardBuffer& ClipboardBuffer::Application() {
    static ClipboardBuffer clipboard;
    return clipboard;
}

std::vector<int> TopLevelSectors(const CDataLevel& level, std::span<const int> sectors) {
    const auto& all = level.m_Lev.m_pSectors;
    std::vector<int> given;
    std::unordered_set<int> seen;
    for (int s : sectors)
        if (ValidIndex(all.size(), s) && seen.insert(s).second) given.push_back(s);
    std::unordered_set<int> islands;
    for (int s : given)
        for (int island : GetEnclosedSectors(*all[static_cast<std::size_t>(s)]))
            if (island != s) islands.insert(island);
    std::vector<int> result;
    for (int s : given)
        if (islands.count(s) == 0) result.push_back(s);
    return result;
}

Status StoreSectors(const CDataLevel& level, std::span<const int> sectors, std::vector<std::uint8_t>& out) {
    const std::vector<int> targets = TopLevelSectors(level, sectors);
    if (targets.size() > kMaxItems) return Status::Fail("Too many sectors to copy at once.");
    StreamWriter writer(level);
    writer.Header(kModeSector, targets.size());
    for (int s : targets)
        writer.SectorItem(s);
    writer.AppendTo(out);
    return Status::Ok();
}

Status StoreObjects(const CDataLevel& level, std::span<const int> objects, std::vector<std::uint8_t>& out) {
    const std::vector<int> targets = ExistingObjects(level, objects);
    if (targets.size() > kMaxItems) return Status::Fail("Too many objects to copy at once.");
    StreamWriter writer(level);
    writer.Header(kModeObject, targets.size());
    for (int o : targets)
        writer.ObjectItem(o);
    writer.AppendTo(out);
    return Status::Ok();
}

Status StoreSelection(const EditContext& ctx, std::vector<std::uint8_t>& out) {
    if (!CanCopy(ctx)) return Status::Fail("Select sectors or objects to copy.");
    // What a copy stores, a paste must accept: a damaged sector is refused here, by name.
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty()) return Status::Fail(std::move(refusal));
    std::vector<int> items;
    const int mode = ctx.document().m_nMode;
    for (const CMapSelItem& item : ctx.selection())
        items.push_back(mode == kModeSector ? item.m_nSector : item.m_nObject);
    if (mode == kModeObject) return StoreObjects(ctx.level(), items, out);
    // The objects travel with the sector they stand in, so that must be known.
    AssignObjectSectors(ctx.level());
    return StoreSectors(ctx.level(), items, out);
}

std::optional<int> StoredMode(std::span<const std::uint8_t> bytes) {
    try {
        RecordArchive ar(bytes, RecordArchive::Context{});
        if (ar.ReadString().rfind("Morvi ", 0) != 0) return std::nullopt;
        const int mode = ReadU16(ar);
        if (mode == kModeSector || mode == kModeObject) return mode;
    } catch (const FormatError&) {
    }
    return std::nullopt;
}

EditResult LoadRecords(const EditContext& ctx, std::span<const std::uint8_t> bytes,
                       std::optional<WorldPoint> at) {
    CMorviDoc& doc = ctx.document();
    LoadedStream stream;
    if (Status decoded = Decode(bytes, stream, doc.m_nCurrentLayer); !decoded)
        return EditResult::Refused(decoded.message());
    CDataLevel& level = ctx.level();
    CopyResources(stream.m_Scratch, level);
    Added added;
    AddSectors(level, stream, added);
    RelinkWalls(level, added);
    DropOneSidedLinks(level, added);
    AddLooseObjects(level, stream, added);
    ctx.ClearSelection();
    SelectPasted(ctx, added);
    if (stream.m_nMode == kModeSector && doc.m_nMode == kModeSector && at)
        MoveTo(level, added.m_Sectors, *at);
    EditResult result;
    result.m_bChanged = true;
    result.m_bSelectionChanged = true;
    result.m_bInfChanged = added.m_bInf;
    result.m_bMembersChanged = !stream.m_Scratch.m_pMembers.empty();
    return result;
}

bool CanCopy(const EditContext& ctx) {
    const int mode = ctx.document().m_nMode;
    return (mode == kModeSector || mode == kModeObject) && !ctx.selection().empty();
}

bool CanPaste(const ClipboardBuffer& clipboard) {
    return StoredMode(clipboard.bytes()).has_value();
}

EditResult Copy(const EditContext& ctx, ClipboardBuffer& clipboard) {
    std::vector<std::uint8_t> bytes;
    if (Status stored = StoreSelection(ctx, bytes); !stored) return EditResult::Refused(stored.message());
    clipboard.Set(std::move(bytes));
    return EditResult();
}

EditResult Paste(const EditContext& ctx, const ClipboardBuffer& clipboard) {
    return LoadRecords(ctx, clipboard.bytes(), ctx.place());
}

bool CanCut(const EditContext& ctx) {
    return !ctx.selection().empty();
}

EditResult Cut(const EditContext& ctx, ClipboardBuffer& clipboard) {
    if (!CanCut(ctx)) return EditResult();
    const int mode = ctx.document().m_nMode;
    if (mode == kModeSector || mode == kModeObject) {
        if (EditResult copied = Copy(ctx, clipboard); !copied.m_strMessage.empty()) return copied;
    }
    return DeleteSelection(ctx);
}

Status SaveLibrary(const EditContext& ctx, const std::filesystem::path& path) {
    if (ctx.document().m_nMode != kModeSector)
        return Status::Fail("Libraries hold sectors: switch to sector mode.");
    std::vector<std::uint8_t> bytes;
    if (Status stored = StoreSelection(ctx, bytes); !stored) return stored;
    return WriteFileAtomically(path, [&bytes](ByteSink& sink) {
        sink.Write(bytes);
        return Status::Ok();
    });
}

EditResult LoadLibrary(const EditContext& ctx, const std::filesystem::path& path,
                       std::optional<WorldPoint> at) {
    std::vector<std::uint8_t> bytes;
    if (Status read = ReadResourceFile(path, kMaxLibraryBytes, bytes); !read)
        return EditResult::Refused(read.message());
    return LoadRecords(ctx, bytes, at);
}

} // namespace morvi
