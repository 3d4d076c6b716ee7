// rtFileList: the current folder's sub-folders (all of them, "." and ".." included) and the files
// that match a pattern, in the order the system lists them.
#include "runtime/files/file_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include "runtime/runtime.h"
#include "runtime/values/text_arrays.h"

using namespace rt;

namespace rt {

static bool sameLetter(char a, char b)
{
    if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
    return a == b;
}

bool matchesFilePattern(const char* name, const char* pattern)
{
    // Matching goes back to the last star on a mismatch, one name character further on each time.
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            while (*pattern == '*')
                ++pattern;
            if (!*pattern) return true;
            starPattern = pattern;
            starName = name;
            continue;
        }
        bool single = *pattern == '?' ? *name != '.' : (*pattern && sameLetter(*pattern, *name));
        if (single) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return !*pattern;
}

static bool isFolder(DIR* folder, const dirent* entry)
{
    if (entry->d_type == DT_DIR) return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return false;
    struct stat info; // links count as what they lead to
    return fstatat(dirfd(folder), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

} // namespace rt

double rtFileList(const RtString& pattern, RtTextArray& array)
{
    TextList folders, files;
    if (DIR* folder = opendir(".")) {
        while (const dirent* entry = readdir(folder)) {
            if (isFolder(folder, entry))
                folders.append(entry->d_name);
            else if (matchesFilePattern(entry->d_name, pattern.c_str()))
                files.append(entry->d_name);
        }
        closedir(folder);
    }
    int32_t folderCount = folders.count(), fileCount = files.count();
    TextList all;
    for (int32_t i = 0; i < folderCount; ++i)
        all.append(folders[i]);
    for (int32_t i = 0; i < fileCount; ++i)
        all.append(files[i]);
    all.moveInto(array);
    return fileCount + 65536.0 * folderCount;
}
