#include "mapedit/EditContext.h"

#include <algorithm>
#include <cmath>

namespace morvi {

double SnapToGrid(double v, bool gridOn, double step) {
    if (gridOn) {
        const double t = v >= 0 ? v + step / 2 : v - step / 2;
        return t - std::fmod(t, step);
    }
    return v >= 0 ? std::trunc(v * 100 + 0.5) / 100 : std::trunc(v * 100 - 0.5) / 100;
}

// A document read from a file may hold any grid level; the views clamp it when they lay
// themselves out, an edit without a view clamps it here.
double EditContext::GridStep() const {
    return std::ldexp(1.0, 8 - std::clamp(m_Doc.m_nGridLevel, 0, 16));
}

double EditContext::SnapPoint(double v) const {
    return SnapToGrid(v, m_Doc.m_bGridOn != 0, GridStep());
}

} // namespace morvi
