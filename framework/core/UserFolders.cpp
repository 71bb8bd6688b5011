#include "UserFolders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return WithSlash(home);
    const passwd* user = ::getpwuid(::getuid());
    return WithSlash(user && user->pw_dir ? user->pw_dir : "/");
}

// A relative path in the variable is ignored, as the XDG rules say.
std::string BaseFolder(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value && value[0] == '/')
        return WithSlash(value);
    return HomeFolder() + underHome;
}

} // namespace

std::string UserDataHome() {
    return BaseFolder("XDG_DATA_HOME", ".local/share/");
}

std::string UserConfigHome() {
    return BaseFolder("XDG_CONFIG_HOME", ".config/");
}

std::string UserCacheHome() {
    return BaseFolder("XDG_CACHE_HOME", ".cache/");
}
