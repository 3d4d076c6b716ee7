// Game file names to host paths, and the one way files are opened for reading.
#include "runtime/files/host_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rt;

namespace rt {

std::string hostPath(const char* name)
{
    std::string path = name ? name : "";
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

int openExistingFile(const char* name)
{
    int file = open(hostPath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return -1;
    // A folder opens for reading here but is not a file a game can read.
    struct stat info;
    if (fstat(file, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(file);
        return -1;
    }
    return file;
}

} // namespace rt
