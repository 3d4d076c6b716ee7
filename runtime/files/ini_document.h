// IniDocument: an INI file held in memory - sections in file order, each with its key/value pairs
// in order. Sections and keys are found without regard to ASCII letter case; the first of equal
// names wins. The runtime keeps one current document for rtIniOpen/rtIniGet/rtIniPut; the 3D scene
// loader reads documents of its own with the same reader and lookup.
#pragma once

#include <cstddef>
#include <vector>

#include "runtime/values/rt_string.h"

namespace rt {

struct IniPair
{
    RtString key;
    RtString value;
};

struct IniSection
{
    RtString name; // as written in the file, without brackets
    std::vector<IniPair> pairs;
};

struct IniDocument
{
    std::vector<IniSection> sections;
    RtString fileName;    // the path that was read and that write-back writes; empty = none
    bool changed = false; // set by every change through rtIniPut, cleared by reading a file
};

// Reads the named file into the document (which is emptied first). The name goes through the data
// resolver, and the path it gives becomes the document's file name; a file that cannot be read
// leaves the document empty.
void readIniFile(IniDocument& document, const char* name);
// Adds the sections and pairs of INI text to the (empty) document: the parsing half of readIniFile.
// Lines are read as rtReadLine reads them (LF ends a line, CR before it dropped, pieces of 1024).
void parseIniText(IniDocument& document, const char* text, size_t size);
// The value of key in section, or "NO_DATA".
RtString iniValue(const IniDocument& document, const char* section, const char* key);
// Writes the document to its file when it is changed and has a file name: "[name]" and
// "key=value" lines, each ended by CR LF. A file that cannot be written is skipped.
void writeBackIniDocument(const IniDocument& document);
// The INI text write-back produces.
std::vector<char> iniText(const IniDocument& document);

} // namespace rt
