#pragma once

// The small types the map's parts share: the display tools, the sector flags and colours the map
// reads, the view's client rectangle and device, keys, scroll bars, and the hints views pass on.
#include <cstdint>
#include <functional>

namespace morvi {

// The display tools of sector mode, the document's m_nTool.
enum DisplayTool : int {
    kToolNormal = 0,
    kToolAmbiance = 1,
    kToolDamage = 2,
    kToolAltitude = 3,
    kToolSkiesPits = 4,
    kToolObjects = 5,
};

// Sector flag bits the map reads (first flags word).
inline constexpr int kSectorSky = 1;
inline constexpr int kSectorDoor = 2;
inline constexpr int kSectorExploding = 64;
inline constexpr int kSectorPit = 128;
inline constexpr int kSectorLowDamage = 2048;
inline constexpr int kSectorHighDamage = 4096;
inline constexpr int kSectorSecret = 0x80000;

// Map colours, 0x00BBGGRR.
namespace MapColour {
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x00FF00;
inline constexpr std::uint32_t kDarkGreen = 0x008000;
inline constexpr std::uint32_t kYellow = 0x00FFFF;
inline constexpr std::uint32_t kCyan = 0xFFFF00;
inline constexpr std::uint32_t kGrey = 0x808080;
inline constexpr std::uint32_t kMagenta = 0xFF00FF;
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kGridDot = 0x0080FF;
inline constexpr std::uint32_t kBackground = 0x000000;
} // namespace MapColour

// A map view's client area in pixels; right and bottom are one past the last pixel.
struct ClientRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ClientRect&) const = default;
};

// What the engine needs of the device it draws for: its width in pixels and in millimetres (the
// scale follows the device's resolution) and whether it prints.
struct MapDevice {
    int m_nHorzRes = 1024;
    int m_nHorzSizeMm = 320;
    bool m_bPrinting = false;
};

struct KeyState {
    bool m_bCtrl = false;
    bool m_bShift = false;
};

enum class ScrollAxis { Horizontal, Vertical };
// Line and page codes: "back" is left or up, "forward" right or down.
enum class ScrollCode { LineBack, LineForward, PageBack, PageForward, ThumbTrack, ThumbPosition, EndScroll };
enum class MapKey { Left, Right, Up, Down };

// A scroll bar in grid cells: range m_nMin..m_nMax, page and position; shown disabled, never
// hidden, when the whole world fits.
struct ScrollBarState {
    int m_nMin = 0;
    int m_nMax = 0;
    int m_nPage = 0;
    int m_nPos = 0;
    bool m_bEnabled = false;
    bool operator==(const ScrollBarState&) const = default;
};

// How the engine tells its view what happened; the document tells everyone else (its store-edits
// and selection notifiers). May be empty.
struct MapNotifications {
    // The view needs repainting; erase when items disappeared.
    std::function<void(bool erase)> m_Invalidate;
};

// Document view hints: after a zoom change, after a grid-level change, anything else.
inline constexpr int kHintZoom = 1;
inline constexpr int kHintGrid = 2;
inline constexpr int kHintOther = 0;

} // namespace morvi
