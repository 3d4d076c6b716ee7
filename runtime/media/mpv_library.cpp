#include "runtime/media/mpv_library.h"

#include <dlfcn.h>

namespace rt {

namespace {

MpvLibrary library;
bool tried = false, loaded = false;
std::string failure;

template <class Function> bool take(void* handle, const char* name, Function& entry)
{
    entry = reinterpret_cast<Function>(dlsym(handle, name));
    if (!entry) failure = std::string("the media player library has no ") + name;
    return entry != nullptr;
}

bool open()
{
    // The library's major version is the one the headers were written for.
    std::string file = "libmpv.so." + std::to_string(MPV_CLIENT_API_VERSION >> 16);
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        failure = "the media player library cannot be loaded: " + std::string(why ? why : file);
        return false;
    }
    MpvLibrary& l = library;
    return take(handle, "mpv_create", l.create) && take(handle, "mpv_initialize", l.initialize) &&
           take(handle, "mpv_terminate_destroy", l.terminate_destroy) &&
           take(handle, "mpv_error_string", l.error_string) &&
           take(handle, "mpv_set_option_string", l.set_option_string) &&
           take(handle, "mpv_observe_property", l.observe_property) &&
           take(handle, "mpv_get_property", l.get_property) &&
           take(handle, "mpv_set_property_async", l.set_property_async) &&
           take(handle, "mpv_command_async", l.command_async) && take(handle, "mpv_wait_event", l.wait_event) &&
           take(handle, "mpv_render_context_create", l.render_context_create) &&
           take(handle, "mpv_render_context_free", l.render_context_free) &&
           take(handle, "mpv_render_context_set_update_callback", l.render_context_set_update_callback) &&
           take(handle, "mpv_render_context_update", l.render_context_update) &&
           take(handle, "mpv_render_context_render", l.render_context_render) &&
           take(handle, "mpv_render_context_report_swap", l.render_context_report_swap);
}

} // namespace

bool loadMpvLibrary(std::string& reason)
{
    if (!tried) {
        tried = true;
        loaded = open(); // the library stays loaded for the rest of the process
    }
    if (!loaded) reason = failure;
    return loaded;
}

const MpvLibrary& mpv()
{
    return library;
}

} // namespace rt
