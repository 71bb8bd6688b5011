#pragma once

#include <string>

// What an operation of the data file could not do, as the message that says it; an empty one
// says it was done. A failed operation leaves the file as the failure left it.
struct [[nodiscard]] StoreStatus {
    std::string message;

    bool Failed() const { return !message.empty(); }
};
