// The media window over a libmpv player: its options, opening a file, the operations and the
// player's reports.
#include "runtime/media/media_window.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "runtime/media/movie_picture.h"
#include "runtime/media/mpv_library.h"

namespace rt {

namespace {

int liveWindows = 0;

// Reply tags of the commands whose replies matter.
constexpr uint64_t seekReply = 1;
// Tags of the observed properties.
enum : uint64_t
{
    timePosTag = 1,
    durationTag,
    eofTag
};

// The player's sound goes where the runtime's sound effects go: on machines without a sound device
// (SDL's dummy or disk driver, as in tests) it goes nowhere, still in real time.
bool soundHasNoDevice()
{
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver) driver = SDL_getenv("SDL_AUDIODRIVER");
    return driver && (strcmp(driver, "dummy") == 0 || strcmp(driver, "disk") == 0);
}

void setOptions(mpv_handle* player, MediaKind kind)
{
    // A player of the game's own: no user configuration, scripts, key bindings, on-screen display,
    // subtitles or extra audio files found next to the file, no following of playlist references
    // (an outside file must not make the player fetch other files or addresses), and the picture
    // decoded on the CPU.
    static const char* const common[][2] = {
        {"config", "no"},
        {"terminal", "no"},
        {"load-scripts", "no"},
        {"osc", "no"},
        {"ytdl", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"osd-level", "0"},
        {"sub-auto", "no"},
        {"audio-file-auto", "no"},
        {"access-references", "no"},
        {"hwdec", "no"},
        {"idle", "yes"},      // the player stays when a file fails or ends
        {"keep-open", "yes"}, // and stops at the end, where its position is the length
        {"pause", "yes"},     // opening does not start playing
        {"audio-fallback-to-null", "yes"},
    };
    for (const auto& option : common)
        mpv().set_option_string(player, option[0], option[1]);
    if (soundHasNoDevice()) mpv().set_option_string(player, "ao", "null");
    if (kind == MediaKind::Music) {
        mpv().set_option_string(player, "vid", "no");
        mpv().set_option_string(player, "vo", "null");
    } else {
        mpv().set_option_string(player, "vo", "libmpv");
        mpv().set_option_string(player, "keepaspect", "no"); // the destination rectangle is the picture
        mpv().set_option_string(player, "gpu-hwdec-interop", "no");
    }
}

bool playable(const MediaWindow& window)
{
    return window.player && !window.failed;
}

double elapsedSeconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void takeProperty(MediaWindow& window, const mpv_event_property& property, uint64_t tag)
{
    if (property.format == MPV_FORMAT_DOUBLE) {
        double value = *static_cast<double*>(property.data);
        if (tag == durationTag) window.lengthMs = std::max(0.0, value * 1000);
        if (tag == timePosTag && !window.seeking) window.positionMs = std::max(0.0, value * 1000);
    } else if (property.format == MPV_FORMAT_FLAG && tag == eofTag && !window.seeking) {
        window.atEnd = *static_cast<int*>(property.data) != 0;
    }
}

// Handles one report of the player; true when it says the file has been opened.
bool takeEvent(MediaWindow& window, const mpv_event& event, std::string* reason)
{
    switch (event.event_id) {
    case MPV_EVENT_FILE_LOADED:
        return true;
    case MPV_EVENT_PROPERTY_CHANGE:
        takeProperty(window, *static_cast<mpv_event_property*>(event.data), event.reply_userdata);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        window.seeking = false;
        break;
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == seekReply && event.error < 0) window.seeking = false;
        break;
    case MPV_EVENT_END_FILE: {
        // With keep-open a file that plays to its end stays loaded: an end here is a failure.
        const auto& end = *static_cast<mpv_event_end_file*>(event.data);
        window.failed = true;
        window.atEnd = true;
        window.seeking = false;
        if (reason) *reason = end.error < 0 ? mpv().error_string(end.error) : "no playable stream";
        break;
    }
    case MPV_EVENT_SHUTDOWN:
        window.failed = window.atEnd = true;
        window.seeking = false;
        break;
    default:
        break;
    }
    return false;
}

// Waits, at most mediaOpenTimeoutSeconds, for the player to open the file it was given.
bool waitUntilLoaded(MediaWindow& window, std::string& reason)
{
    auto started = std::chrono::steady_clock::now();
    reason = "the file did not open in time";
    while (!window.failed) {
        double left = mediaOpenTimeoutSeconds - elapsedSeconds(started);
        if (left <= 0) return false;
        mpv_event* event = mpv().wait_event(window.player, left);
        if (takeEvent(window, *event, &reason)) return true;
    }
    return false;
}

int64_t integerProperty(mpv_handle* player, const char* name)
{
    int64_t value = 0;
    return mpv().get_property(player, name, MPV_FORMAT_INT64, &value) >= 0 ? value : 0;
}

} // namespace

MediaWindow* openMediaWindow(const std::string& path, MediaKind kind, std::string& reason)
{
    if (!loadMpvLibrary(reason)) return nullptr;
    auto window = std::make_unique<MediaWindow>();
    ++liveWindows;
    window->kind = kind;
    window->player = mpv().create();
    if (!window->player) {
        reason = "the media player cannot start";
        return nullptr;
    }
    setOptions(window->player, kind);
    int error = mpv().initialize(window->player);
    if (error < 0) {
        reason = std::string("the media player cannot start: ") + mpv().error_string(error);
        return nullptr;
    }
    mpv().observe_property(window->player, timePosTag, "time-pos", MPV_FORMAT_DOUBLE);
    mpv().observe_property(window->player, durationTag, "duration", MPV_FORMAT_DOUBLE);
    mpv().observe_property(window->player, eofTag, "eof-reached", MPV_FORMAT_FLAG);
    if (kind == MediaKind::Movie) {
        window->picture = createMoviePicture(window->player, reason);
        if (!window->picture) return nullptr;
    }

    // An absolute path is always taken as a file, never as an address or a protocol.
    std::error_code ignored;
    window->path = std::filesystem::absolute(path, ignored).string();
    const char* load[] = {"loadfile", window->path.c_str(), nullptr};
    mpv().command_async(window->player, 0, load);
    if (!waitUntilLoaded(*window, reason)) return nullptr;

    double seconds = 0;
    if (mpv().get_property(window->player, "duration", MPV_FORMAT_DOUBLE, &seconds) >= 0)
        window->lengthMs = std::max(0.0, seconds * 1000);
    if (kind == MediaKind::Movie) {
        window->sourceWidth = int(std::clamp<int64_t>(integerProperty(window->player, "width"), 0, 1 << 16));
        window->sourceHeight =
            int(std::clamp<int64_t>(integerProperty(window->player, "height"), 0, 1 << 16));
    }
    return window.release();
}

MediaWindow::~MediaWindow()
{
    freeMoviePicture(picture); // the player's renderer goes before the player
    if (player) mpv().terminate_destroy(player);
    if (!ownedTempFile.empty()) unlink(ownedTempFile.c_str());
    --liveWindows;
}

int liveMediaWindowCount()
{
    return liveWindows;
}

void MediaWindow::collectEvents()
{
    while (player) {
        mpv_event* event = mpv().wait_event(player, 0);
        if (event->event_id == MPV_EVENT_NONE) return;
        takeEvent(*this, *event, nullptr);
    }
}

bool MediaWindow::play()
{
    collectEvents();
    if (!playable(*this)) return false;
    int paused = 0;
    mpv().set_property_async(player, 0, "pause", MPV_FORMAT_FLAG, &paused);
    return true;
}

void MediaWindow::stop()
{
    if (!player) return;
    int paused = 1;
    mpv().set_property_async(player, 0, "pause", MPV_FORMAT_FLAG, &paused);
}

void MediaWindow::seekToStart()
{
    collectEvents();
    if (!playable(*this)) return;
    const char* seek[] = {"seek", "0", "absolute", nullptr};
    mpv().command_async(player, seekReply, seek);
    // Reports of the old position may still be on their way: they are passed over until the player
    // says it plays from the new one.
    seeking = true;
    atEnd = false;
    positionMs = 0;
}

double MediaWindow::position()
{
    collectEvents();
    return atEnd ? std::max(positionMs, lengthMs) : positionMs;
}

double MediaWindow::length()
{
    collectEvents();
    return lengthMs;
}

bool MediaWindow::showPicture()
{
    if (!picture || !showNewMovieFrame(*picture, destination)) return false;
    ++picturesShown;
    return true;
}

void MediaWindow::waitForPicture(int milliseconds)
{
    if (picture)
        waitForMovieFrame(*picture, milliseconds);
    else
        SDL_Delay(milliseconds);
}

} // namespace rt
