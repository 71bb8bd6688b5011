#pragma once

#include <span>

// Menu resources: the items of a pop-up menu in order; an id of 0 is a separator.
struct MenuItem {
    int id;
    const char* text;
};

enum : int { IDR_FUNCTION_MENU = 133 };

enum : int {
    ID_OPTION = 32777,
    ID_NEW_FILE = 32778,
    ID_OPEN_FILE = 32779,
    ID_MEMORY_SCHEDULE = 32781,
    ID_ABOUT = 32782,
    ID_USERS_MANUAL = 32783,
};

// The items of the menu of that id; there is one for every menu of the program.
std::span<const MenuItem> FindMenu(int id);
