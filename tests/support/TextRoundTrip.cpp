#include "support/TextRoundTrip.h"

#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/LevelChecker.h"
#include "model/LevelDiff.h"

namespace morvi::testing {

namespace {

void Read(LevelText kind, CDataLevel& level, std::string_view text) {
    TextNotes notes;
    switch (kind) {
    case LevelText::Lev:
        ReadLev(level.m_Lev, text, &notes);
        break;
    case LevelText::Objects:
        ReadObjects(level.m_Objects, text, &notes);
        break;
    case LevelText::Inf:
        ReadInf(level.m_Inf, text, &notes);
        break;
    }
}

std::string Write(LevelText kind, const CDataLevel& level) {
    std::string out;
    switch (kind) {
    case LevelText::Lev:
        WriteLev(level.m_Lev, kGeneratorTitle, out);
        break;
    case LevelText::Objects:
        WriteObjects(level.m_Objects, kGeneratorTitle, out);
        break;
    case LevelText::Inf:
        WriteInf(level.m_Inf, kGeneratorTitle, out);
        break;
    }
    return out;
}

} // namespace

std::string TextRoundTripFaults(LevelText kind, std::string_view text) {
    CDataLevel first;
    Read(kind, first, text);
    // Whatever was read, the level checker must get through it.
    (void)checkLevel(first);
    const std::string once = Write(kind, first);
    CDataLevel second;
    Read(kind, second, once);
    const std::string twice = Write(kind, second);

    std::string faults;
    for (const LevelChange& change : DiffLevels(first, second).m_Changes)
        faults += change.m_strText + "\n";
    if (once != twice)
        faults += "the second save differs from the first:\n--- first\n" + once + "--- second\n" + twice;
    return faults;
}

} // namespace morvi::testing
