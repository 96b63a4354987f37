#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace morvi {

// The message of work the user cancelled.
inline constexpr std::string_view kWorkCancelled = "Cancelled.";

// How far long work on a worker thread has come, read by the window that shows it, and the
// user's wish to cancel it. Work that sees the wish stops and reports that it was cancelled.
struct TaskProgress {
    std::atomic<std::uint64_t> m_nDone{0};
    std::atomic<std::uint64_t> m_nTotal{0};
    std::atomic<bool> m_bCancel{false};

    void Advance(std::uint64_t n) { m_nDone.fetch_add(n, std::memory_order_relaxed); }
    bool Cancelled() const { return m_bCancel.load(std::memory_order_relaxed); }
};

} // namespace morvi
