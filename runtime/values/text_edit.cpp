// The commands that cut, rebuild and split texts.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "runtime/runtime.h"
#include "runtime/values/text_arrays.h"

using namespace rt;

namespace rt {

// A text made of the given bytes, ending at the first zero byte among them.
static RtString textOfBytes(const char* bytes, size_t count)
{
    RtString text;
    if (count == 0) return text;
    char* buffer = text.bufferOf(uint32_t(count));
    memcpy(buffer, bytes, count);
    buffer[count] = '\0';
    text.recount();
    return text;
}

} // namespace rt

RtString rtMidText(const RtString& text, double start, double count)
{
    if (std::isnan(start) || std::isnan(count)) return RtString();
    double length = text.length();
    if (std::trunc(start + count) > length) count = length - start;
    if (count <= 0 || start > length || start < 0) return RtString();
    size_t from = size_t(std::trunc(start));
    size_t taken = std::min(size_t(std::trunc(count)), size_t(length) - from);
    return textOfBytes(text.c_str() + from, taken);
}

RtString rtReplaceText(const RtString& text, const RtString& find, const RtString& replacement)
{
    // An empty find text matches everywhere without ever moving on: nothing is replaced.
    if (find.empty()) return text;
    std::string work(text.c_str(), text.length());
    const std::string what(find.c_str(), find.length());
    const std::string with(replacement.c_str(), replacement.length());
    size_t pos = 0;
    for (;;) {
        size_t found = work.find(what, pos);
        if (found == std::string::npos) break;
        if (what.size() == with.size()) {
            work.replace(found, what.size(), with);
            pos = found + with.size();
        } else {
            // The search goes on just after the start of the inserted text's last find-length part,
            // so a match that the replacement completes with the following bytes is found as well.
            // It never goes back before the start of the text; a shorter replacement shrinks the
            // text at every step and a longer one moves past the found bytes, so the loop ends.
            work.replace(found, what.size(), with);
            long next = long(found) + long(with.size()) - long(what.size()) + 1;
            pos = size_t(std::max(next, 0L));
        }
    }
    return textOfBytes(work.data(), work.size());
}

double rtSplitText(const RtString& text, RtTextArray& array, const RtString& delimiters)
{
    // Own copies: the text or the delimiters may be elements of the array that is about to be cleared.
    const std::string bytes(text.c_str(), text.length());
    const std::string set(delimiters.c_str(), delimiters.length());
    rtDimTextArray(array, 0, 0, 0, 0);

    bool isDelimiter[256] = {};
    for (unsigned char c : set)
        isDelimiter[c] = true;
    auto delimiterAt = [&](size_t i) { return isDelimiter[(unsigned char)bytes[i]]; };

    TextList elements;
    size_t n = bytes.size(), pos = 0;
    for (;;) {
        // Skip a run of delimiters unless only delimiters are left: then each of them ends an element.
        size_t next = pos;
        while (next < n && delimiterAt(next))
            ++next;
        if (next < n) pos = next;
        size_t end = pos;
        while (end < n && !delimiterAt(end))
            ++end;
        if (end == n) break;
        elements.append(bytes.data() + pos, bytes.data() + end);
        pos = end + 1;
    }
    if (pos < n) elements.append(bytes.data() + pos, bytes.data() + n);

    int32_t count = elements.count();
    elements.moveInto(array);
    return count;
}
