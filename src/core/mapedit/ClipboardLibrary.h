#pragma once

#include "mapedit/EditContext.h"
#include "mapedit/EditResult.h"
#include "model/CDataLevel.h"
#include "model/Status.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace morvi {

// Copied sectors and objects travel as one stream of records: the version tag, the writer's edit
// mode (0 sectors, 3 objects), the item count, the level's resource block (left out by
// "Morvi 1.00" libraries), then the items. A sector item is the sector, its INF items, its
// islands (each flagged by a u16 1, closed by a u16 0) and the objects standing in it (likewise).
// The same stream fills the application's clipboard and library files (.lib).

// The application's clipboard: one byte block shared by every document of the running program.
class ClipboardBuffer {
public:
    // The program's one clipboard; empty at start, lost when the program ends.
    static ClipboardBuffer& Application();

    void Set(std::vector<std::uint8_t> bytes) { m_Bytes = std::move(bytes); }
    void Clear() { m_Bytes.clear(); }
    bool empty() const { return m_Bytes.empty(); }
    std::span<const std::uint8_t> bytes() const { return m_Bytes; }

private:
    std::vector<std::uint8_t> m_Bytes;
};

// The sectors a copy writes as top-level items: the given ones in their order, each once, minus
// those that are an island of another one given (they travel with their container).
std::vector<int> TopLevelSectors(const CDataLevel& level, std::span<const int> sectors);

// Appends the stream of the given sectors (mode 0) or objects (mode 3) to out. Sector and
// object numbers that do not exist are skipped. Objects travel with the sector their m_nSector
// names, so that assignment must be current. More than 65535 items are refused.
Status StoreSectors(const CDataLevel& level, std::span<const int> sectors, std::vector<std::uint8_t>& out);
Status StoreObjects(const CDataLevel& level, std::span<const int> objects, std::vector<std::uint8_t>& out);
// The engine's selection in sector or object mode (the objects' sectors are assigned first when
// stale); refused in other modes and with an empty selection.
Status StoreSelection(const EditContext& ctx, std::vector<std::uint8_t>& out);

// The mode word of a stream (0 or 3) when it holds something that can be pasted.
std::optional<int> StoredMode(std::span<const std::uint8_t> bytes);

// Adds what the stream holds to the engine's level. Sector names already used get "-1", "-2" ...;
// INF items follow their sector's new name; links between pasted sectors are kept and links to
// anything else dropped; pasted sectors land on the document's current layer. In sector mode the
// pasted sectors become the selection and, when at is given, are moved so that the mean of their
// first loops' corners lies on it; in object mode pasted objects are put first in the selection.
// A stream that cannot be read whole changes nothing and says so.
EditResult LoadRecords(const EditContext& ctx, std::span<const std::uint8_t> bytes,
                       std::optional<WorldPoint> at);

// Clipboard commands. Copy is possible in sector and object mode with a selection; Paste when the
// clipboard holds sectors or objects.
bool CanCopy(const EditContext& ctx);
bool CanPaste(const ClipboardBuffer& clipboard);
EditResult Copy(const EditContext& ctx, ClipboardBuffer& clipboard);
EditResult Paste(const EditContext& ctx, const ClipboardBuffer& clipboard);
// Cut, once the user said Yes to kCutConfirmation: in sector and object mode the selection is
// copied and then deleted; in wall and vertex mode it is deleted and the clipboard left alone.
// Nothing is deleted when the copy fails. Possible whenever something is selected.
bool CanCut(const EditContext& ctx);
EditResult Cut(const EditContext& ctx, ClipboardBuffer& clipboard);

// Library files: the selection written through a temporary file (an old library stays whole when
// the save fails), and a library read into the level.
Status SaveLibrary(const EditContext& ctx, const std::filesystem::path& path);
EditResult LoadLibrary(const EditContext& ctx, const std::filesystem::path& path,
                       std::optional<WorldPoint> at);

} // namespace morvi
