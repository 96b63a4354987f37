// Every map edit on whatever the level readers make of arbitrary LEV, O and INF text (the three
// parts separated by a 0x1E byte): in every edit mode, on a selection of existing items, each edit
// runs through the document's funnel. No edit may read or write outside an array, hang or crash,
// whatever indices the text held; then every step is undone and redone.
#include "document/CMorviDoc.h"
#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "mapedit/ClipboardLibrary.h"
#include "mapedit/Generators.h"
#include "mapedit/MapMove.h"
#include "mapedit/StructuralEdits.h"
#include "mapedit/TransformTools.h"
#include "model/LevelChecker.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace {

using namespace morvi;

using Edit = std::function<EditResult(const EditContext&)>;

std::vector<Edit> Edits(ClipboardBuffer& clipboard) {
    const auto passage = [](PassageKind kind) {
        return [kind](const EditContext& c) { return CreatePassage(c, kind, PassageStart(c, kind)); };
    };
    return {
        InsertAtSelection,
        DeleteSelection,
        LinkSelection,
        UnlinkSelection,
        [](const EditContext& c) { return ExtrudeSelection(c, 8.0); },
        [](const EditContext& c) { return FlipSectors(c, FlipDirection::LeftToRight); },
        [](const EditContext& c) { return FlipSectors(c, FlipDirection::TopToBottom); },
        [](const EditContext& c) { return RotateSectors(c, 33.33); },
        [](const EditContext& c) { return ScaleSectors(c, 1.5, true); },
        [](const EditContext& c) {
            return DistributeSectors(c, {true, DistributeWhich::Both, true});
        },
        [](const EditContext& c) {
            return AlignWalls(c, {true, true, true, true, true, true}, [](auto) { return 64; });
        },
        [](const EditContext& c) { return ChangeOffsets(c, 8.0, 2.0, -8.0); },
        [](const EditContext& c) {
            return InsertPolygon(c, {5, 24.0, PolygonKind::NewSector, true});
        },
        [](const EditContext& c) {
            return InsertPolygon(c, {4, 4.0, PolygonKind::Subsector, false});
        },
        [](const EditContext& c) {
            return InsertPolygon(c, {6, 4.0, PolygonKind::Gap, false});
        },
        [](const EditContext& c) { return CreateCylinder(c, {}); },
        passage(PassageKind::Door),
        passage(PassageKind::Staircase),
        passage(PassageKind::Elevator),
        [&clipboard](const EditContext& c) { return Copy(c, clipboard); },
        [&clipboard](const EditContext& c) { return Paste(c, clipboard); },
        [&clipboard](const EditContext& c) { return Cut(c, clipboard); },
        [](const EditContext& c) {
            EditResult r;
            r.m_bChanged = ApplyMove(c.level(), c.selection(), 12.5, -3.0, MoveOptions{c.mode()});
            return r;
        },
    };
}

// Up to three existing items of the mode, picked by the input's bytes.
void Select(CMorviDoc& doc, int mode, std::string_view input) {
    doc.m_nMode = mode;
    doc.selection().clear();
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    const auto& objects = doc.level().m_Objects.m_pObjects;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t pick =
            k < input.size() ? static_cast<unsigned char>(input[input.size() - 1 - k]) : k;
        if (mode == kModeObject) {
            if (objects.empty()) return;
            doc.selection().push_back({-1, -1, -1, static_cast<int>(pick % objects.size())});
            continue;
        }
        if (sectors.empty()) return;
        const int s = static_cast<int>(pick % sectors.size());
        const CDataSector& sector = *sectors[static_cast<std::size_t>(s)];
        if (mode == kModeSector) {
            doc.selection().push_back({s, -1, -1, -1});
        } else if (mode == kModeWall && !sector.m_pWalls.empty()) {
            doc.selection().push_back({s, static_cast<int>(pick % sector.m_pWalls.size()), -1, -1});
        } else if (mode == kModeVertex && !sector.m_pVertices.empty()) {
            doc.selection().push_back({s, -1, static_cast<int>(pick % sector.m_pVertices.size()), -1});
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view parts[3];
    std::size_t start = 0;
    for (int p = 0; p < 3; ++p) {
        const std::size_t end = p < 2 ? std::min(input.find('\x1e', start), input.size()) : input.size();
        parts[p] = start < input.size() ? input.substr(start, end - start) : std::string_view();
        start = end + 1;
    }
    CMorviDoc doc;
    ReadLev(doc.level().m_Lev, parts[0]);
    ReadObjects(doc.level().m_Objects, parts[1]);
    ReadInf(doc.level().m_Inf, parts[2]);
    // A level far larger than the edits need only slows the search down.
    if (doc.level().m_Lev.m_pSectors.size() > 64) return 0;

    const Settings settings;
    ClipboardBuffer clipboard;
    const std::vector<Edit> edits = Edits(clipboard);
    for (int mode : {kModeSector, kModeWall, kModeVertex, kModeObject}) {
        for (const Edit& edit : edits) {
            Select(doc, mode, input);
            doc.BeginChange();
            const EditResult result = edit(EditContext(doc, settings, {16.0, -16.0}));
            doc.EndChange("Edit", ChangesOf(result));
        }
    }
    (void)checkLevel(doc.level());
    doc.GoToHistoryPosition(0);
    doc.GoToHistoryPosition(doc.HistoryLabels().size());
    return 0;
}
