// Fuzzes the INI reader, the lookups and the write-back text over any file contents; the text that
// write-back produces must read back into the same sections.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/files/ini_document.h"

using namespace rt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    IniDocument document;
    parseIniText(document, reinterpret_cast<const char*>(data), size);
    for (const IniSection& section : document.sections)
        for (const IniPair& pair : section.pairs)
            iniValue(document, section.name.c_str(), pair.key.c_str());
    iniValue(document, "", "");

    std::vector<char> text = iniText(document);
    IniDocument again;
    parseIniText(again, text.data(), text.size());
    if (again.sections.size() > document.sections.size()) __builtin_trap();
    return 0;
}
