// Object files: the description reader and the loader that fills an object slot from a mesh file or
// a description.
#include "runtime/gfx3d/object_file.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/files/load_failure_log.h"
#include "runtime/gfx3d/mesh_file.h"
#include "runtime/values/number_text.h"
#include "runtime/values/numbers.h"

using namespace rt;

namespace rt {

// ---------------------------------------------------------------------------------------------
// Description text
// ---------------------------------------------------------------------------------------------

namespace {

struct IniPair
{
    std::string key;
    std::string value;
};

struct IniSection
{
    std::string name;
    std::vector<IniPair> pairs;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Sections in file order, each with at least one pair.
std::vector<IniSection> readIniText(std::string_view text)
{
    std::vector<IniSection> sections;
    IniSection current;
    auto closeSection = [&] {
        if (!current.pairs.empty()) sections.push_back(current);
        current.pairs.clear();
    };

    size_t lineStart = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        size_t i = 0;
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == line.size() || line[i] == ';') continue;

        if (line[i] == '[') {
            ++i;
            while (i < line.size() && isBlank(line[i]))
                ++i;
            size_t start = i;
            while (i < line.size() && !isBlank(line[i]) && line[i] != '=')
                ++i;
            size_t end = i;
            if (end > start && line[end - 1] == ']') --end;
            closeSection();
            if (end > start) current.name = std::string(line.substr(start, end - start));
            continue;
        }

        size_t keyStart = i;
        while (i < line.size() && !isBlank(line[i]) && line[i] != '=')
            ++i;
        if (i == line.size()) continue; // no separator: not a pair
        std::string_view key = line.substr(keyStart, i - keyStart);
        ++i;
        while (i < line.size() && isBlank(line[i]))
            ++i;
        size_t valueEnd = line.size();
        while (valueEnd > i && (uint8_t(line[valueEnd - 1]) < 32 || uint8_t(line[valueEnd - 1]) >= 128))
            --valueEnd;
        if (valueEnd == i) continue; // no value
        current.pairs.push_back({std::string(key), std::string(line.substr(i, valueEnd - i))});
    }
    closeSection();
    return sections;
}

// The value of the first matching key in the first matching section, or null.
const std::string* iniValue(const std::vector<IniSection>& sections, std::string_view section,
                            std::string_view key)
{
    for (const IniSection& s : sections) {
        if (!sameIgnoringCase(s.name, section)) continue;
        for (const IniPair& pair : s.pairs)
            if (sameIgnoringCase(pair.key, key)) return &pair.value;
        return nullptr; // only the first section of a name is ever searched
    }
    return nullptr;
}

int iniNumber(const std::vector<IniSection>& sections, std::string_view section, std::string_view key)
{
    const std::string* value = iniValue(sections, section, key);
    return value ? toInt(textToNumber(value->c_str())) : 0;
}

std::string iniText(const std::vector<IniSection>& sections, std::string_view section, std::string_view key)
{
    const std::string* value = iniValue(sections, section, key);
    return value ? *value : std::string();
}

int entryCount(const std::vector<IniSection>& sections, std::string_view section)
{
    return std::clamp(iniNumber(sections, section, "count"), 0, maxDescriptionEntries);
}

} // namespace

ObjectDescription parseObjectDescription(std::string_view text)
{
    std::vector<IniSection> sections = readIniText(text);
    ObjectDescription description;
    int textureCount = entryCount(sections, "textures");
    for (int i = 1; i <= textureCount; ++i)
        description.textureFiles.push_back(iniText(sections, "textures", std::to_string(i)));
    int meshCount = entryCount(sections, "objects");
    for (int i = 1; i <= meshCount; ++i) {
        std::string number = std::to_string(i);
        ObjectMeshEntry entry;
        entry.file = iniText(sections, "objects", number);
        entry.textureA = iniNumber(sections, "objects", number + "ta");
        entry.textureB = iniNumber(sections, "objects", number + "tb");
        description.meshes.push_back(entry);
    }
    return description;
}

// ---------------------------------------------------------------------------------------------
// Loading into a slot
// ---------------------------------------------------------------------------------------------

std::string folderOfFile(const char* name)
{
    std::string text = name ? name : "";
    size_t separator = text.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : text.substr(0, separator + 1);
}

namespace {

// A member file's path: folder + name through the data file resolver (as it is when the engine has
// no resolver, as in tools). False when it names no file.
bool resolveMember(const std::string& folder, const std::string& name, char* path, const char* kind)
{
    std::string joined = folder + name;
    if (name.empty() || joined.size() >= size_t(resolvedPathCapacity)) return false;
    if (!engine.dataResolver) {
        memcpy(path, joined.c_str(), joined.size() + 1);
        return true;
    }
    if (rtResolveDataFile(engine.dataResolver, joined.c_str(), path)) return true;
    rt::logLoadFailure(kind, joined.c_str(), rt::LoadFailure::NotFound);
    return false;
}

bool hasRecords(const MeshObject& mesh)
{
    return std::any_of(mesh.frames.begin(), mesh.frames.end(),
                       [](const MeshFrame& frame) { return !frame.records.empty(); });
}

void prepareMesh(MeshObjectX& mesh)
{
    mesh.prepare();
    computeBoundingSpheres(mesh);
}

// The whole file, or false when it cannot be opened or read.
bool readFile(const char* path, std::string& out)
{
    int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0) return false;
    char buffer[65536];
    ssize_t got;
    while ((got = read(file, buffer, sizeof buffer)) > 0)
        out.append(buffer, size_t(got));
    close(file);
    return got == 0;
}

} // namespace

bool loadObjectFile(ObjectSlot& object, const char* path, ObjectTextureLoader loadTexture,
                    const char* folderOf)
{
    object = ObjectSlot();
    char head[4] = {};
    int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0) return false;
    ssize_t got = read(file, head, sizeof head);
    close(file);

    if (got != 4 || memcmp(head, ";DDW", 4) != 0) {
        object.meshes.resize(1);
        MeshObjectX& mesh = object.meshes[0];
        if (!loadMesh(mesh, path, false) || !hasRecords(mesh)) {
            object.meshes.clear();
            return false;
        }
        prepareMesh(mesh);
        object.loaded = true;
        return true;
    }

    std::string text;
    if (!readFile(path, text)) return false;
    ObjectDescription description = parseObjectDescription(text);
    const std::string folder = folderOfFile(folderOf ? folderOf : path);
    char memberPath[resolvedPathCapacity];

    for (const std::string& name : description.textureFiles) {
        uint32_t texture = 0;
        // Uploading the image as a texture is the scene's part (it needs the renderer).
        if (loadTexture && resolveMember(folder, name, memberPath, "texture")) texture = loadTexture(memberPath);
        object.textures.push_back(texture);
    }

    object.meshes.resize(description.meshes.size());
    bool any = false;
    for (size_t i = 0; i < description.meshes.size(); ++i) {
        const ObjectMeshEntry& entry = description.meshes[i];
        MeshObjectX& mesh = object.meshes[i];
        if (resolveMember(folder, entry.file, memberPath, "mesh")) loadMesh(mesh, memberPath, false);
        mesh.textureA = entry.textureA >= 1 ? entry.textureA - 1 : entry.textureA;
        mesh.textureB = entry.textureB >= 1 ? entry.textureB - 1 : entry.textureB;
        prepareMesh(mesh);
        any = any || hasRecords(mesh);
    }
    object.composite = true;
    object.loaded = any;
    return any;
}

} // namespace rt
