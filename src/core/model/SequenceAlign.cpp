#include "model/SequenceAlign.h"

#include <algorithm>
#include <cstddef>

namespace morvi {

namespace {

// Beyond this many insertions and deletions the middle of two lists is paired by position: the
// search's memory grows with the square of the edit count.
constexpr int kMaxEdits = 2000;
// Beyond this many candidate pairs in one gap, sameRecord is not asked.
constexpr std::size_t kMaxGapPairs = std::size_t(1) << 20;

using Keys = std::span<const std::uint64_t>;

// The matched positions of a shortest edit script (Myers' greedy search), in order, offset by
// base; false when more than kMaxEdits edits would be needed.
bool MatchRuns(Keys a, Keys b, AlignedPair base, std::vector<AlignedPair>& matches) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int limit = std::min(n + m, kMaxEdits);
    const int offset = limit + 1;
    std::vector<int> v(static_cast<std::size_t>(2 * limit + 3), 0);
    // trace[d] holds the furthest x of diagonals -d..d before step d.
    std::vector<std::vector<int>> trace;
    for (int d = 0; d <= limit; ++d) {
        trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                                   : v[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y])
                ++x, ++y;
            v[offset + k] = x;
            if (x < n || y < m) continue;

            // Walk back from the end, collecting each diagonal run.
            const std::size_t first = matches.size();
            for (int e = d; e > 0; --e) {
                const std::vector<int>& prev = trace[e];
                const int kk = x - y;
                const int prevK =
                    (kk == -e || (kk != e && prev[kk - 1 + e] < prev[kk + 1 + e])) ? kk + 1 : kk - 1;
                const int prevX = prev[prevK + e];
                const int startX = prevK == kk - 1 ? prevX + 1 : prevX;
                while (x > startX) {
                    --x, --y;
                    matches.push_back({base.m_nA + x, base.m_nB + y});
                }
                x = prevX;
                y = prevX - prevK;
            }
            while (x > 0 && y > 0) {
                --x, --y;
                matches.push_back({base.m_nA + x, base.m_nB + y});
            }
            std::reverse(matches.begin() + static_cast<std::ptrdiff_t>(first), matches.end());
            return true;
        }
    }
    return false;
}

// Pairs the records of a[a0, a1) and b[b0, b1), which lie between the same two matches.
void PairGap(int a0, int a1, int b0, int b1, const SameRecord& sameRecord, std::vector<AlignedPair>& out) {
    const std::size_t countA = static_cast<std::size_t>(a1 - a0);
    const std::size_t countB = static_cast<std::size_t>(b1 - b0);
    std::vector<int> partner(countA, -1);
    std::vector<bool> taken(countB, false);
    if (sameRecord && countA * countB <= kMaxGapPairs) {
        for (int i = a0; i < a1; ++i)
            for (int j = b0; j < b1; ++j)
                if (!taken[static_cast<std::size_t>(j - b0)] && sameRecord(i, j)) {
                    partner[static_cast<std::size_t>(i - a0)] = j;
                    taken[static_cast<std::size_t>(j - b0)] = true;
                    break;
                }
    }
    int nextB = b0;
    for (int i = a0; i < a1; ++i) {
        int& j = partner[static_cast<std::size_t>(i - a0)];
        if (j < 0) {
            while (nextB < b1 && taken[static_cast<std::size_t>(nextB - b0)])
                ++nextB;
            if (nextB < b1) {
                j = nextB;
                taken[static_cast<std::size_t>(nextB - b0)] = true;
            }
        }
        out.push_back({i, j});
    }
    for (int j = b0; j < b1; ++j)
        if (!taken[static_cast<std::size_t>(j - b0)]) out.push_back({-1, j});
}

} // namespace

std::vector<AlignedPair> AlignSequences(Keys a, Keys b, const SameRecord& sameRecord) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    int prefix = 0;
    while (prefix < n && prefix < m && a[prefix] == b[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix && a[n - 1 - suffix] == b[m - 1 - suffix])
        ++suffix;

    std::vector<AlignedPair> matches;
    matches.reserve(static_cast<std::size_t>(prefix + suffix));
    for (int i = 0; i < prefix; ++i)
        matches.push_back({i, i});
    const Keys middleA =
        a.subspan(static_cast<std::size_t>(prefix), static_cast<std::size_t>(n - prefix - suffix));
    const Keys middleB =
        b.subspan(static_cast<std::size_t>(prefix), static_cast<std::size_t>(m - prefix - suffix));
    const std::size_t matchedBefore = matches.size();
    if (!MatchRuns(middleA, middleB, {prefix, prefix}, matches)) matches.resize(matchedBefore);
    for (int i = 0; i < suffix; ++i)
        matches.push_back({n - suffix + i, m - suffix + i});

    std::vector<AlignedPair> out;
    out.reserve(static_cast<std::size_t>(std::max(n, m)));
    AlignedPair last{-1, -1};
    for (const AlignedPair& match : matches) {
        PairGap(last.m_nA + 1, match.m_nA, last.m_nB + 1, match.m_nB, sameRecord, out);
        out.push_back(match);
        last = match;
    }
    PairGap(last.m_nA + 1, n, last.m_nB + 1, m, sameRecord, out);
    return out;
}

} // namespace morvi
