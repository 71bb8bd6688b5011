#pragma once

#include <functional>

// Runs action just before this process's n-th change to any file from now on (a write, a flush,
// a rename, a change of permissions), counted from 1.
void AtChange(int n, std::function<void()> action);

// Runs f in a child process that is killed just before its n-th change to any file. True when
// the child was killed, false when f ended before its n-th change.
bool KilledAtChange(int n, const std::function<void()>& f);
