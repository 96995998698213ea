#include "ZkDb/platform/Platform.h"

#include <cstring>

namespace zkdb {
namespace platform {

std::string directoryOfModule(const char* fileName, char separator) {
    if (fileName == nullptr || *fileName == '\0') {
        return std::string();
    }
    // The module name is read into a bounded buffer, so anything past the
    // bound never takes part in finding the directory.
    std::string name(fileName, ::strnlen(fileName, kModulePathBound - 1));
    const std::size_t last = name.rfind(separator);
    if (last == std::string::npos) {
        name.push_back(separator);
        return name;
    }
    name.resize(last + 1);
    return name;
}

}  // namespace platform
}  // namespace zkdb
