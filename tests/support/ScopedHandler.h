#pragma once

#include <type_traits>
#include <utility>

// Puts a test's handler in place of a replaceable call while it lives, then the one it replaced.
template <typename Handler> class ScopedHandler {
public:
    ScopedHandler(Handler (*set)(Handler), std::type_identity_t<Handler> handler)
        : m_set(set), m_previous(set(std::move(handler))) {}
    ~ScopedHandler() { m_set(std::move(m_previous)); }
    ScopedHandler(const ScopedHandler&) = delete;
    ScopedHandler& operator=(const ScopedHandler&) = delete;

private:
    Handler (*m_set)(Handler);
    Handler m_previous;
};
