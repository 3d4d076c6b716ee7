// The INI reader, lookups, write-back and the current document's commands. INI files are
// untrusted: lines of any length come in pieces of 1024 bytes, and nothing is assumed about bytes.
#include "runtime/files/ini_document.h"

#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/files_lifecycle.h"
#include "runtime/files/host_path.h"
#include "runtime/files/line_splitter.h"
#include "runtime/files/resolve_for_reading.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

// ---- Reading

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsName(char c)
{
    return isBlank(c) || c == '=';
}

// Trailing control bytes and bytes of 128 and above are not part of a value.
bool isTrimmed(unsigned char c)
{
    return c < 32 || c >= 128;
}

RtString textOf(const char* begin, const char* end)
{
    RtString text;
    char* buffer = text.bufferOf(uint32_t(end - begin));
    memcpy(buffer, begin, size_t(end - begin));
    buffer[end - begin] = '\0';
    text.recount();
    return text;
}

// Collects the pairs of one section until the next header or the end of the file.
struct IniParser
{
    IniDocument& document;
    IniSection current;

    // A section reaches the document only once it has a pair.
    void closeSection()
    {
        if (!current.pairs.empty()) document.sections.push_back({current.name, std::move(current.pairs)});
        current.pairs.clear();
    }

    void parseLine(const char* line, size_t length)
    {
        const char* at = line;
        const char* end = line + length;
        while (at < end && isBlank(*at))
            ++at;
        if (at == end || *at == ';') return;
        if (*at == '[') {
            ++at;
            while (at < end && isBlank(*at))
                ++at;
            const char* nameEnd = at;
            while (nameEnd < end && !endsName(*nameEnd))
                ++nameEnd;
            if (nameEnd > at && nameEnd[-1] == ']') --nameEnd;
            closeSection();
            if (nameEnd > at) current.name = textOf(at, nameEnd); // an empty name keeps the previous one
            return;
        }
        const char* keyEnd = at;
        while (keyEnd < end && !endsName(*keyEnd))
            ++keyEnd;
        if (keyEnd == end) return; // a key without anything after it
        const char* value = keyEnd + 1;
        while (value < end && isBlank(*value))
            ++value;
        const char* valueEnd = end;
        while (valueEnd > value && isTrimmed(static_cast<unsigned char>(valueEnd[-1])))
            --valueEnd;
        if (valueEnd == value) return;
        current.pairs.push_back({textOf(at, keyEnd), textOf(value, valueEnd)});
    }
};

bool sameName(const RtString& name, const char* wanted)
{
    return strcasecmp(name.c_str(), wanted) == 0;
}

const IniSection* findSection(const IniDocument& document, const char* name)
{
    for (const IniSection& section : document.sections)
        if (sameName(section.name, name)) return &section;
    return nullptr;
}

} // namespace

// A document that outgrows memory ends the program as any runtime storage does, with code 7.
template <class Work> static void withStorage(Work&& work)
{
    try {
        work();
    } catch (const std::bad_alloc&) {
        rtEndWithCode(7);
    }
}

// Runs the parser over the lines that feed(splitter, onLine) produces.
template <class Feed> static void parseLines(IniDocument& document, Feed&& feed)
{
    withStorage([&] {
        IniParser parser{document, {}};
        LineSplitter splitter(LineSplitter::LongLines::InPieces);
        feed(splitter, [&](const char* line, size_t length) {
            parser.parseLine(line, length);
            return true;
        });
        parser.closeSection();
    });
}

void parseIniText(IniDocument& document, const char* text, size_t size)
{
    parseLines(document, [&](LineSplitter& splitter, auto&& onLine) {
        splitter.feed(text, size, onLine);
        splitter.finish(onLine);
    });
}

void readIniFile(IniDocument& document, const char* name)
{
    document.changed = false;
    document.sections.clear();
    std::string path = resolveForReading(name);
    document.fileName = path.c_str();
    int file = openExistingFile(path.c_str());
    if (file < 0) return; // a later write-back creates the file under this name
    parseLines(document,
               [&](LineSplitter& splitter, auto&& onLine) { splitFileLines(file, splitter, onLine); });
    close(file);
}

// ---- Lookup and write-back

RtString iniValue(const IniDocument& document, const char* section, const char* key)
{
    if (const IniSection* found = findSection(document, section))
        for (const IniPair& pair : found->pairs)
            if (sameName(pair.key, key)) return pair.value;
    return "NO_DATA";
}

std::vector<char> iniText(const IniDocument& document)
{
    std::vector<char> text;
    auto add = [&](const RtString& part) {
        text.insert(text.end(), part.c_str(), part.c_str() + part.length());
    };
    for (const IniSection& section : document.sections) {
        text.push_back('[');
        add(section.name);
        text.insert(text.end(), {']', '\r', '\n'});
        for (const IniPair& pair : section.pairs) {
            add(pair.key);
            text.push_back('=');
            add(pair.value);
            text.insert(text.end(), {'\r', '\n'});
        }
    }
    return text;
}

void writeBackIniDocument(const IniDocument& document)
{
    if (!document.changed || document.fileName.empty()) return;
    int file =
        open(hostPath(document.fileName.c_str()).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) return;
    std::vector<char> text = iniText(document);
    size_t done = 0;
    while (done < text.size()) {
        ssize_t written = write(file, text.data() + done, text.size() - done);
        if (written <= 0) break; // a file that cannot be written is skipped without a message
        done += size_t(written);
    }
    close(file);
}

// ---- The current document and its commands

static IniDocument currentDocument;

static void writeBackCurrentDocument()
{
    writeBackIniDocument(currentDocument);
}

static IniDocument& current()
{
    filesTeardown().writeBackIniDocument = writeBackCurrentDocument;
    return currentDocument;
}

} // namespace rt

void rtIniOpen(const RtString& name)
{
    writeBackIniDocument(current());
    readIniFile(current(), name.c_str());
}

RtString rtIniGet(const RtString& section, const RtString& key)
{
    return iniValue(current(), section.c_str(), key.c_str());
}

void rtIniPut(const RtString& sectionName, const RtString& key, const RtString& value)
{
    IniDocument& document = current();
    std::vector<IniSection>& sections = document.sections;
    auto section = sections.begin();
    while (section != sections.end() && !sameName(section->name, sectionName.c_str()))
        ++section;

    if (key.empty()) {
        // The whole section goes; the last one takes its place.
        if (section == sections.end()) return;
        *section = std::move(sections.back());
        sections.pop_back();
        document.changed = true;
        return;
    }
    withStorage([&] {
        if (section == sections.end()) {
            sections.push_back({sectionName, {}});
            section = sections.end() - 1;
        }
        std::vector<IniPair>& pairs = section->pairs;
        auto pair = pairs.begin();
        while (pair != pairs.end() && !sameName(pair->key, key.c_str()))
            ++pair;
        document.changed = true;
        if (pair == pairs.end()) {
            pairs.push_back({key, value});
        } else if (!value.empty()) {
            pair->value = value;
        } else {
            // An empty value deletes the pair; the section's last pair takes its place.
            *pair = std::move(pairs.back());
            pairs.pop_back();
        }
    });
}
