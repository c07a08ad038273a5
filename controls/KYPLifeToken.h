// Tells code that goes on after a call that may have freed its object (a
// message handed on, a step deferred until a drop-down closes) whether the
// object still lives. The object holds the token; the code keeps a watch.
#pragma once

#include <memory>

class TkypLifeToken {
public:
    class TWatch {
    public:
        bool Alive() const { return !m_Flag.expired(); }
        explicit operator bool() const { return Alive(); }

    private:
        friend class TkypLifeToken;
        explicit TWatch(std::weak_ptr<const bool> flag) : m_Flag(std::move(flag)) {}
        std::weak_ptr<const bool> m_Flag;
    };

    TkypLifeToken() = default;
    TkypLifeToken(const TkypLifeToken&) = delete;
    TkypLifeToken& operator=(const TkypLifeToken&) = delete;

    // Ends before the object does, e.g. when its teardown begins.
    void End() { m_Flag.reset(); }
    TWatch Watch() const { return TWatch(m_Flag); }
    // The same, for code that takes any expiring pointer.
    std::weak_ptr<const void> Weak() const { return m_Flag; }

private:
    std::shared_ptr<const bool> m_Flag = std::make_shared<const bool>(true);
};
