#pragma once

#include <functional>
#include <utility>

// A call that a test can put a function of its own in place of; while none is set, the real
// call runs. The tag keeps seams of the same signature apart.
template <typename Tag, typename Signature> class Seam {
public:
    using Handler = std::function<Signature>;

    // Returns the handler it replaces, so that a test can put that one back.
    static Handler Set(Handler handler) { return std::exchange(Current(), std::move(handler)); }
    static const Handler& Get() { return Current(); }

private:
    static Handler& Current() {
        static Handler handler;
        return handler;
    }
};
