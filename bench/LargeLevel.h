#pragma once

// The 4,000-sector synthetic level the benchmarks measure, made once per run, and its LEV text.
#include "gamefiles/LevFile.h"
#include "model/CDataLevel.h"
#include "support/SyntheticLevel.h"

#include <string>

namespace morvi::bench {

inline const CDataLevel& LargeLevel() {
    static const CDataLevel level = [] {
        CDataLevel l;
        testing::BuildSyntheticLevel(l, testing::SyntheticLevelOptions{});
        return l;
    }();
    return level;
}

inline const std::string& LargeLevelLevText() {
    static const std::string text = [] {
        std::string t;
        WriteLev(LargeLevel().m_Lev, kGeneratorTitle, t);
        return t;
    }();
    return text;
}

} // namespace morvi::bench
