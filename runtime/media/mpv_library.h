// The media player library, opened the first time music or a movie plays. Linking it directly would
// load it and the two hundred libraries it needs into every game at start-up, costing start-up time
// and resident memory to games that never play a music or movie file, and it would make the player
// library a requirement of every game.
#pragma once

#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <string>

namespace rt {

// The entry points the media windows use, named after the library's functions without their prefix.
struct MpvLibrary
{
    decltype(&::mpv_create) create;
    decltype(&::mpv_initialize) initialize;
    decltype(&::mpv_terminate_destroy) terminate_destroy;
    decltype(&::mpv_error_string) error_string;
    decltype(&::mpv_set_option_string) set_option_string;
    decltype(&::mpv_observe_property) observe_property;
    decltype(&::mpv_get_property) get_property;
    decltype(&::mpv_set_property_async) set_property_async;
    decltype(&::mpv_command_async) command_async;
    decltype(&::mpv_wait_event) wait_event;
    decltype(&::mpv_render_context_create) render_context_create;
    decltype(&::mpv_render_context_free) render_context_free;
    decltype(&::mpv_render_context_set_update_callback) render_context_set_update_callback;
    decltype(&::mpv_render_context_update) render_context_update;
    decltype(&::mpv_render_context_render) render_context_render;
    decltype(&::mpv_render_context_report_swap) render_context_report_swap;
};

// Opens the library on the first call. False, with the reason, when it or one of its entry points
// cannot be had; later calls give the same answer without trying again.
bool loadMpvLibrary(std::string& reason);
// The entry points; only valid after loadMpvLibrary returned true (a player exists only then).
const MpvLibrary& mpv();

} // namespace rt
