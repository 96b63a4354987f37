#pragma once

#include "app/Settings.h"
#include "document/CMorviDoc.h"
#include "mapedit/CMapEngine.h"
#include "mapedit/ClipboardLibrary.h"
#include "mapedit/EditResult.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace morvi::testing {

// A small deterministic generator (xorshift64*): the same seed gives the same edits on every
// platform, which std::uniform_*_distribution does not promise.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_nState(seed != 0 ? seed : 0x9E3779B97F4A7C15ull) {}
    std::uint64_t Next();
    // 0 .. n-1; 0 for n <= 0.
    int Below(int n);
    // lo .. hi inclusive.
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(100) < percent; }
    // A value lo .. hi in hundredths, as the dialogs take them.
    double Hundredths(double lo, double hi);

private:
    std::uint64_t m_nState;
};

// One entry of the operation table. m_Target chooses the targets (edit mode and selection) and
// may be empty; the undo snapshot is taken between it and m_Run, which performs the edit.
struct EditOperation {
    std::string m_strName;
    std::function<void(CMapEngine&, Rng&)> m_Target;
    std::function<EditResult(CMapEngine&, Rng&)> m_Run;
};

// How often each operation ran, changed the level or answered with a message.
struct OperationCounts {
    int m_nRuns = 0;
    int m_nChanged = 0;
    int m_nMessages = 0;
};

struct SequenceOutcome {
    // Empty when every step passed; otherwise the seed, step, operation and what went wrong.
    std::string m_strFailure;
    int m_nSteps = 0;
    std::map<std::string, OperationCounts> m_Counts;
    bool ok() const { return m_strFailure.empty(); }
};

// Runs random edits on a document's level, each through the document's change funnel, and checks
// after every step that the level checker finds no new error that the edit may not make (only the
// user's moves may pull walls apart, only deleting sectors may leave INF lines naming none), that a change
// makes exactly one undo step and that an edit which reports no change (a refusal, a copy, a silent no-op)
// left every record as it was. At the end the document undoes every step, newest first: each undo must give
// back the selection and mode the step started with, and the LEV, O and INF texts and the archive (member
// names and bytes, level list, current level) as they were before the step (kept for the first
// step and every eighth after it). The engine shows the whole level and all layers in an
// 800 x 600 view, so that drags can click on any item.
class EditSequence {
public:
    explicit EditSequence(CMorviDoc& doc);
    EditSequence(const EditSequence&) = delete;
    EditSequence& operator=(const EditSequence&) = delete;

    void AddOperation(EditOperation operation) { m_Operations.push_back(std::move(operation)); }
    const std::vector<EditOperation>& operations() const { return m_Operations; }
    CMapEngine& engine() { return m_Engine; }
    Settings& settings() { return m_Settings; }
    ClipboardBuffer& clipboard() { return m_Clipboard; }

    SequenceOutcome Run(std::uint64_t seed, int steps);

private:
    void AddDefaultOperations();
    void LayOut();

    CMorviDoc& m_Doc;
    Settings m_Settings;
    CMapEngine m_Engine;
    ClipboardBuffer m_Clipboard;
    std::vector<EditOperation> m_Operations;
};

// Targets for operations added from outside: sets the mode and selects up to count distinct
// existing items of it (sectors, walls or vertices with their sector, objects); the selection is
// cleared first and stays empty when the level has none.
void SelectRandom(CMapEngine& engine, Rng& rng, int mode, int count);

} // namespace morvi::testing
