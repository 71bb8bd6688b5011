#include "DataFolder.h"

#include <unistd.h>

std::string DefaultDataFolder(const std::string& programFolder, const std::string& userDataHome) {
    const bool installed = ::access((programFolder + kInstalledMarker).c_str(), F_OK) == 0;
    if (!installed && ::access(programFolder.c_str(), W_OK) == 0)
        return programFolder;
    return userDataHome + "Brightfen/Quillow/";
}
