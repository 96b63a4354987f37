#include "resources/WaxFile.h"

#include "model/ByteStream.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <utility>

namespace morvi {

namespace {

constexpr std::size_t kStateListOffset = 32;
constexpr std::size_t kViewListOffset = 28;
constexpr std::size_t kFrameListOffset = 16;

enum class Kind { Header, State, View, Frame, Cell };

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::Header:
        return "header";
    case Kind::State:
        return "state";
    case Kind::View:
        return "view";
    case Kind::Frame:
        return "frame";
    case Kind::Cell:
        return "cell header";
    }
    return "";
}

std::size_t KindSize(Kind kind) {
    switch (kind) {
    case Kind::Header:
        return kWaxHeaderSize;
    case Kind::State:
        return kWaxStateSize;
    case Kind::View:
        return kWaxViewSize;
    case Kind::Frame:
        return kSpriteFrameHeaderSize;
    case Kind::Cell:
        return kSpriteCellHeaderSize;
    }
    return 0;
}

class WaxReader {
public:
    WaxReader(std::span<const std::uint8_t> bytes, std::string_view name) : m_Bytes(bytes), m_Name(name) {}

    Status Read(WaxFile& out) {
        if (Status header = Place(0, Kind::Header); !header) return header;
        for (const std::uint32_t offset : ReadList(kStateListOffset))
            if (Status state = ReadState(offset); !state) return state;
        out = std::move(m_Wax);
        return Status::Ok();
    }

private:
    Status Fail(const std::string& problem) const {
        return Status::Fail(std::string(m_Name) + ": " + problem);
    }

    // Checks that a structure of the kind fits at offset without overlapping another one, and
    // remembers where it lies. Shared structures are placed once; any other overlap means an offset
    // points into another structure, as a view naming itself or its state as a frame would, and is
    // refused before anything is read from it. The placed extents never overlap, so only the
    // neighbours need checking.
    Status Place(std::uint64_t offset, Kind kind) {
        if (offset > m_Bytes.size() || m_Bytes.size() - offset < KindSize(kind))
            return Fail(std::string("the ") + KindName(kind) + " at offset " + std::to_string(offset) +
                        " lies outside the " + std::to_string(m_Bytes.size()) + "-byte file.");
        auto next = m_Extents.lower_bound(offset);
        if (next != m_Extents.end() && next->first == offset && next->second == kind) return Status::Ok();
        if (next != m_Extents.end() && next->first < offset + KindSize(kind))
            return Overlap(offset, kind, *next);
        if (next != m_Extents.begin()) {
            const auto prev = std::prev(next);
            if (prev->first + KindSize(prev->second) > offset) return Overlap(offset, kind, *prev);
        }
        m_Extents.emplace_hint(next, offset, kind);
        return Status::Ok();
    }

    Status Overlap(std::uint64_t offset, Kind kind, const std::pair<const std::uint64_t, Kind>& other) const {
        return Fail(std::string("the ") + KindName(kind) + " at offset " + std::to_string(offset) +
                    " overlaps the " + KindName(other.second) + " at offset " + std::to_string(other.first) +
                    ".");
    }

    // The entries of a 32-entry offset list before its first 0.
    std::vector<std::uint32_t> ReadList(std::uint64_t at) const {
        ByteReader in(m_Bytes.subspan(at, 4 * kWaxListLength));
        std::vector<std::uint32_t> list;
        for (int i = 0; i < kWaxListLength; ++i) {
            const std::uint32_t offset = in.u32();
            if (offset == 0) break;
            list.push_back(offset);
        }
        return list;
    }

    Status ReadState(std::uint32_t offset) {
        if (Status placed = Place(offset, Kind::State); !placed) return placed;
        ByteReader in(m_Bytes.subspan(offset, kWaxStateSize));
        WaxState state;
        state.m_nOffset = offset;
        state.m_nWorldWidth = in.i32();
        state.m_nWorldHeight = in.i32();
        state.m_nFrameRate = in.i32();
        for (const std::uint32_t view : ReadList(std::uint64_t(offset) + kViewListOffset)) {
            state.m_Views.push_back(0);
            if (Status read = ReadView(view, state.m_Views.back()); !read) return read;
        }
        m_Wax.m_States.push_back(std::move(state));
        return Status::Ok();
    }

    Status ReadView(std::uint32_t offset, int& index) {
        if (const auto known = m_ViewAt.find(offset); known != m_ViewAt.end()) {
            index = known->second;
            return Status::Ok();
        }
        if (Status placed = Place(offset, Kind::View); !placed) return placed;
        WaxView view;
        view.m_nOffset = offset;
        for (const std::uint32_t frame : ReadList(std::uint64_t(offset) + kFrameListOffset)) {
            view.m_Frames.push_back(0);
            if (Status read = ReadFrame(frame, view.m_Frames.back()); !read) return read;
        }
        index = static_cast<int>(m_Wax.m_Views.size());
        m_ViewAt[offset] = index;
        m_Wax.m_Views.push_back(std::move(view));
        return Status::Ok();
    }

    Status ReadFrame(std::uint32_t offset, int& index) {
        if (const auto known = m_FrameAt.find(offset); known != m_FrameAt.end()) {
            index = known->second;
            return Status::Ok();
        }
        if (Status placed = Place(offset, Kind::Frame); !placed) return placed;
        ByteReader in(m_Bytes.subspan(offset, kSpriteFrameHeaderSize));
        WaxFrame frame;
        frame.m_nOffset = offset;
        frame.m_nX = in.i32();
        frame.m_nY = in.i32();
        frame.m_bFlip = in.i32() != 0;
        if (Status cell = ReadCell(in.u32(), frame.m_nCell); !cell) return cell;
        index = static_cast<int>(m_Wax.m_Frames.size());
        m_FrameAt[offset] = index;
        m_Wax.m_Frames.push_back(frame);
        return Status::Ok();
    }

    Status ReadCell(std::uint32_t offset, int& index) {
        if (const auto known = m_CellAt.find(offset); known != m_CellAt.end()) {
            index = known->second;
            return Status::Ok();
        }
        if (Status placed = Place(offset, Kind::Cell); !placed) return placed;
        WaxCell cell;
        cell.m_nOffset = offset;
        ReadSpriteCellHeader(m_Bytes, offset, m_Name, cell.m_Header);
        if (Status size = CheckCell(cell); !size) return size;
        index = static_cast<int>(m_Wax.m_Cells.size());
        m_CellAt[offset] = index;
        m_Wax.m_Cells.push_back(cell);
        return Status::Ok();
    }

    Status CheckCell(const WaxCell& cell) const {
        const SpriteCellHeader& h = cell.m_Header;
        const std::string where = "the cell at offset " + std::to_string(cell.m_nOffset);
        if (h.m_nWidth < 1 || h.m_nHeight < 1 || h.m_nWidth > kMaxPictureSide ||
            h.m_nHeight > kMaxPictureSide)
            return Fail(where + " of " + std::to_string(h.m_nWidth) + " x " + std::to_string(h.m_nHeight) +
                        " pixels is outside 1 to 4096 a side.");
        const std::uint64_t after = m_Bytes.size() - cell.m_nOffset - kSpriteCellHeaderSize;
        const std::uint64_t needed = h.m_nCompressed != 0
                                         ? 4 * std::uint64_t(h.m_nWidth)
                                         : std::uint64_t(h.m_nWidth) * std::uint64_t(h.m_nHeight);
        if (needed > after)
            return Fail(where + " promises more data than the " + std::to_string(after) +
                        " bytes after its header hold.");
        return Status::Ok();
    }

    std::span<const std::uint8_t> m_Bytes;
    std::string_view m_Name;
    WaxFile m_Wax;
    std::map<std::uint64_t, Kind> m_Extents;
    std::map<std::uint32_t, int> m_ViewAt;
    std::map<std::uint32_t, int> m_FrameAt;
    std::map<std::uint32_t, int> m_CellAt;
};

constexpr std::array<const char*, 14> kStateNames = {
    "Normal Walk",    "Attacking 1", "Dying",          "Dying with flash", "Lying dead",
    "Standing still", "Attacking 2", "Special attack", "Fast Walk 1",      "Fast Walk 2",
    "Fast Walk 3",    "Fast Walk 4", "Getting hit",    "Special action"};

} // namespace

Status WaxFile::Read(std::span<const std::uint8_t> bytes, std::string_view name, WaxFile& out) {
    return WaxReader(bytes, name).Read(out);
}

std::vector<int> SelectWaxFrames(const WaxFile& wax, WaxSelection& selection) {
    selection.m_nStateCount = static_cast<int>(wax.m_States.size());
    if (selection.m_nSelectedState < 0 || selection.m_nSelectedState >= selection.m_nStateCount)
        selection.m_nSelectedState = 0;
    selection.m_nViewCount = 0;
    selection.m_nFrameCount = 0;
    if (wax.m_States.empty()) return {};
    const WaxState& state = wax.m_States[static_cast<std::size_t>(selection.m_nSelectedState)];
    selection.m_nViewCount = static_cast<int>(state.m_Views.size());
    selection.m_nFrameRate = state.m_nFrameRate;
    if (selection.m_nSelectedView < 0 || selection.m_nSelectedView >= selection.m_nViewCount) return {};
    const WaxView& view = wax.m_Views[static_cast<std::size_t>(state.m_Views[selection.m_nSelectedView])];
    selection.m_nFrameCount = static_cast<int>(view.m_Frames.size());
    if (selection.m_bShowAllFrames) return view.m_Frames;
    if (selection.m_nSelectedFrame < 0 || selection.m_nSelectedFrame >= selection.m_nFrameCount) return {};
    return {view.m_Frames[static_cast<std::size_t>(selection.m_nSelectedFrame)]};
}

Status DecodeWax(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                 bool withHeader, WaxSelection& selection, std::vector<SpriteFrame>& frames) {
    frames.clear();
    WaxFile wax;
    Status status = WaxFile::Read(bytes, name, wax);
    const std::vector<int> shown = status ? SelectWaxFrames(wax, selection) : std::vector<int>{};
    for (const int index : shown) {
        frames.emplace_back();
        status = DecodeSpriteFrame(bytes, wax.m_Frames[static_cast<std::size_t>(index)].m_nOffset, name,
                                   palette, withHeader, frames.back());
        if (!status) break;
    }
    if (status) return status;
    frames.clear();
    selection.m_nStateCount = selection.m_nViewCount = selection.m_nFrameCount = 0;
    return status;
}

std::string WaxStateName(int index) {
    if (index < 0) return {};
    if (index < static_cast<int>(kStateNames.size())) return kStateNames[static_cast<std::size_t>(index)];
    return "Enemy State " + std::to_string(index + 1);
}

std::string WaxViewName(int index) {
    if (index < 0) return {};
    const long long hundredths = 1125LL * index;
    std::string whole = std::to_string(hundredths / 100);
    if (whole.size() < 3) whole.insert(0, 3 - whole.size(), '0');
    const long long fraction = hundredths % 100;
    return whole + (fraction < 10 ? ".0" : ".") + std::to_string(fraction);
}

} // namespace morvi
