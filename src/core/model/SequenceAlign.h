#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace morvi {

// One step of an alignment of two lists: positions in the first and the second list, -1 where
// the record exists on one side only.
struct AlignedPair {
    int m_nA = -1;
    int m_nB = -1;
    bool operator==(const AlignedPair&) const = default;
};

// Decides, for records left over between two matches, whether a record of the first list and
// one of the second are the same record changed (a sector keeping its name, say).
using SameRecord = std::function<bool(int a, int b)>;

// Aligns two lists of record keys the way a text diff aligns lines: the longest run of equal
// keys in order is matched, and the records left over between two matches are paired, first
// those that sameRecord accepts, then the rest in order; what remains is added or removed.
// Inserting or deleting one record therefore reads as one change, not as a shift of every
// later record. The pairs come in the order of both lists. When the lists differ in very many
// places the search gives up and pairs the records in the middle by position.
std::vector<AlignedPair> AlignSequences(std::span<const std::uint64_t> a, std::span<const std::uint64_t> b,
                                        const SameRecord& sameRecord = {});

} // namespace morvi
