#include "Menus.h"

#include <array>
#include <stdexcept>
#include <string>

namespace {

constexpr std::array kFunctionMenu = {
    MenuItem{ID_MEMORY_SCHEDULE, "Memory Schedule..."},
    MenuItem{ID_OPTION, "Option..."},
    MenuItem{0, ""},
    MenuItem{ID_NEW_FILE, "New QLD file..."},
    MenuItem{ID_OPEN_FILE, "Open QLD file..."},
    MenuItem{0, ""},
    MenuItem{ID_USERS_MANUAL, "User's Manual..."},
    MenuItem{0, ""},
    MenuItem{ID_ABOUT, "About Quillow..."},
};

} // namespace

std::span<const MenuItem> FindMenu(int id) {
    if (id == IDR_FUNCTION_MENU)
        return kFunctionMenu;
    throw std::logic_error("no menu " + std::to_string(id));
}
