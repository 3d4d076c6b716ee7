// Message boxes through SDL, or lines on standard error in unattended runs.
#include "runtime/platform/message_box.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace rt;

namespace rt {

bool unattendedRun()
{
    const char* value = getenv("RT_UNATTENDED");
    return value && *value && strcmp(value, "0") != 0;
}

void showMessageBox(const char* caption, const char* text, MessageBoxIcon icon)
{
    if (unattendedRun()) {
        fprintf(stderr, "message box: %s: ", caption);
        for (const char* p = text; *p; ++p)
            fputc(*p == '\n' ? ' ' : *p, stderr);
        fputc('\n', stderr);
        return;
    }
    Uint32 flags = icon == MessageBoxIcon::Error     ? SDL_MESSAGEBOX_ERROR
                   : icon == MessageBoxIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                                     : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
}

} // namespace rt
