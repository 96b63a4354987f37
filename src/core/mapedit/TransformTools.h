#pragma once

#include "mapedit/EditContext.h"
#include "mapedit/EditResult.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// The sectors the tools work on: the selected sectors in selection order, each once, without the
// selected sectors that fill a hole of another selected sector (they go along with it).
std::vector<int> TransformTargets(const CDataLevel& level, const std::vector<CMapSelItem>& selection);
// The targets and, transitively, the islands inside them: every sector whose vertices move.
std::vector<int> TransformedSectors(const CDataLevel& level, const std::vector<int>& targets);

struct TransformCentre {
    double m_dX = 0.0;
    double m_dZ = 0.0;
};
// The mean of the left vertices of the targets' first wall loops; nothing without any vertex.
std::optional<TransformCentre> ComputeTransformCentre(const CDataLevel& level,
                                                      const std::vector<int>& targets);

// The dialogs' checks: an empty string when the value is accepted, else the message to show.
std::string ValidateRotateAngle(double angle);
std::string ValidateScale(double scale);

enum class FlipDirection { LeftToRight, TopToBottom };
// Mirrors the targets (X or Z about the centre), keeping every wall loop's rotational sense,
// with the mirrors of adjoined walls and the INF wall numbers following the walls.
EditResult FlipSectors(const EditContext& ctx, FlipDirection direction);
// Turns the targets about the centre by angle degrees, counter-clockwise with Z up.
EditResult RotateSectors(const EditContext& ctx, double angle);
// Scales the targets about the centre; without snap the coordinates keep hundredths.
EditResult ScaleSectors(const EditContext& ctx, double scale, bool snap);

enum class DistributeWhich { Floors, Ceilings, Both };
struct DistributionOptions {
    bool m_bAltitudes = true;
    DistributeWhich m_Which = DistributeWhich::Floors;
    bool m_bLight = false;
};
// Spreads altitudes and light evenly between the first and last selected sector, in selection order.
EditResult DistributeSectors(const EditContext& ctx, const DistributionOptions& options);

struct AlignmentOptions {
    bool m_bVerticalMid = false;
    bool m_bVerticalTop = false;
    bool m_bVerticalBottom = false;
    bool m_bHorizontalMid = false;
    bool m_bHorizontalTop = false;
    bool m_bHorizontalBottom = false;
};
// The width in pixels of a texture, -1 when it is not known.
using TextureWidthFunction = std::function<int(std::string_view textureName)>;
// Aligns the texture offsets of the selected sectors (sector mode) or walls (wall mode).
EditResult AlignWalls(const EditContext& ctx, const AlignmentOptions& options,
                      const TextureWidthFunction& textureWidth);

// Moves the targets and their islands by (dx, dz) on the map and up by dy.
EditResult ChangeOffsets(const EditContext& ctx, double dx, double dy, double dz);

} // namespace morvi
