// sbx_pack: appends files to a host file as an archive that the runtime's data file resolver reads,
// so that a game can ship as one program file with its data attached.
//
//   sbx_pack [--from-end] [-C folder] host file-or-folder...
//
// Each file is stored under its own name without folders: the resolver finds an entry by the end
// of the name a game asks for ("images\pic00.bmp" finds "pic00.bmp") and unpacks entries only
// directly into the temp folder. A folder argument adds every regular file below it. Two files of
// the same name (in any letter case) are refused, and entries go longest name first, so that no
// entry hides another whose name ends with it ("a.bmp" would otherwise answer for "ba.bmp").
// -C reads the files relative to another folder. --from-end writes the directory and data offsets
// counted back from the end of the host file instead of from its start.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <strings.h>
#include <vector>

#include "runtime/files/archive_packer.h"

using namespace rt;

namespace fs = std::filesystem;

static int usage()
{
    fprintf(stderr, "usage: sbx_pack [--from-end] [-C folder] host file-or-folder...\n");
    return 2;
}

static bool readWholeFile(const fs::path& path, std::vector<unsigned char>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

static bool addFile(const fs::path& base, const std::string& path, std::vector<PackedFile>& files)
{
    std::string name = path;
    for (char& c : name)
        if (c == '\\') c = '/';
    PackedFile file;
    file.entryName = fs::path(name).filename().string();
    if (!readWholeFile(base / name, file.bytes)) {
        fprintf(stderr, "sbx_pack: cannot read %s\n", (base / name).c_str());
        return false;
    }
    for (const PackedFile& other : files) {
        if (strcasecmp(other.entryName.c_str(), file.entryName.c_str()) == 0) {
            fprintf(stderr, "sbx_pack: two files are named %s\n", file.entryName.c_str());
            return false;
        }
    }
    files.push_back(std::move(file));
    return true;
}

int main(int argc, char** argv)
{
    bool fromEnd = false;
    fs::path base = ".";
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        if (strcmp(argv[i], "--from-end") == 0)
            fromEnd = true;
        else if (strcmp(argv[i], "-C") == 0 && i + 1 < argc)
            base = argv[++i];
        else
            return usage();
    }
    if (argc - i < 2) return usage();
    std::string host = argv[i++];

    std::vector<PackedFile> files;
    for (; i < argc; ++i) {
        std::error_code error;
        if (fs::is_directory(base / argv[i], error)) {
            std::vector<std::string> names;
            for (const auto& item : fs::recursive_directory_iterator(base / argv[i], error))
                if (item.is_regular_file()) names.push_back(fs::relative(item.path(), base).generic_string());
            std::sort(names.begin(), names.end()); // the same archive from the same folder, every time
            for (const std::string& name : names)
                if (!addFile(base, name, files)) return 1;
        } else if (!addFile(base, argv[i], files)) {
            return 1;
        }
    }
    std::stable_sort(files.begin(), files.end(), [](const PackedFile& a, const PackedFile& b) {
        return a.entryName.size() > b.entryName.size();
    });
    std::string error;
    if (!appendArchive(host, files, fromEnd, error)) {
        fprintf(stderr, "sbx_pack: %s\n", error.c_str());
        return 1;
    }
    printf("sbx_pack: %zu files appended to %s\n", files.size(), host.c_str());
    return 0;
}
