#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace morvi {

// Tells observers that something happened. Connect returns a Connection that disconnects itself
// when it goes away, so an observer that holds its connections can never be called after it was
// destroyed; a notifier that goes first leaves its connections harmless.
template <class... Args> class Notifier {
    struct Slot {
        std::uint64_t m_nId;
        std::function<void(Args...)> m_Call;
    };
    using Slots = std::vector<Slot>;

public:
    class Connection {
    public:
        Connection() = default;
        Connection(const Connection&) = delete;
        Connection& operator=(const Connection&) = delete;
        Connection(Connection&& other) noexcept : m_Slots(std::move(other.m_Slots)), m_nId(other.m_nId) {}
        Connection& operator=(Connection&& other) noexcept {
            if (this != &other) {
                Disconnect();
                m_Slots = std::move(other.m_Slots);
                m_nId = other.m_nId;
            }
            return *this;
        }
        ~Connection() { Disconnect(); }

        void Disconnect() {
            if (const auto list = m_Slots.lock())
                std::erase_if(*list, [this](const Slot& s) { return s.m_nId == m_nId; });
            m_Slots.reset();
        }

    private:
        friend class Notifier;
        Connection(std::weak_ptr<Slots> list, std::uint64_t id) : m_Slots(std::move(list)), m_nId(id) {}
        std::weak_ptr<Slots> m_Slots;
        std::uint64_t m_nId = 0;
    };

    [[nodiscard]] Connection Connect(std::function<void(Args...)> call) {
        const std::uint64_t id = m_nNextId++;
        m_pSlots->push_back({id, std::move(call)});
        return Connection(m_pSlots, id);
    }

    // Calls every observer connected when the call starts and still connected when its turn
    // comes: an observer may disconnect itself or others (a window closing) while it is told.
    void operator()(Args... args) const {
        std::vector<std::uint64_t> ids;
        ids.reserve(m_pSlots->size());
        for (const Slot& slot : *m_pSlots)
            ids.push_back(slot.m_nId);
        const std::shared_ptr<Slots> keep = m_pSlots;
        for (const std::uint64_t id : ids) {
            for (const Slot& slot : *keep) {
                if (slot.m_nId != id) continue;
                const std::function<void(Args...)> call = slot.m_Call;
                call(args...);
                break;
            }
        }
    }

private:
    std::shared_ptr<Slots> m_pSlots = std::make_shared<Slots>();
    std::uint64_t m_nNextId = 1;
};

} // namespace morvi
