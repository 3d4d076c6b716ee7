// Commands for sound effects, music and movies.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/rt_string.h"

// ---------------------------------------------------------------------------------------------
// Sound: sound effects in 128 slots
// ---------------------------------------------------------------------------------------------

// Loads a WAV file (8 or 16 bits, mono or stereo) into slot 0..127 (higher numbers are slot 127) with
// 1..4 copies that can play at once; 1 on success, 0 for a missing or malformed file or no audio
// device (the slot is then empty).
double rtLoadSound(const RtString& name, double slot, double copies);
// Plays the slot's next free copy once (a busy copy hands over to the next, which restarts); pan -1
// left .. 1 right, volume 0 silent .. 1 full. Returns the channel slot × 256 + copy, or -1 when the
// slot is empty or its only copy still plays.
double rtPlaySound(double slot, double pan, double volume);
// 1 while the channel that rtPlaySound returned plays, else 0.
double rtSoundPlaying(double channel);
// Stops every sound.
void rtStopAllSounds();

// ---------------------------------------------------------------------------------------------
// Media: music and movies
// ---------------------------------------------------------------------------------------------
// Any file the media player can play; names are found through the media resolver, so music and
// movies may come from the appended archive. Without a sound device both play silently.

// Stops any music, then plays the file in the background; it starts again at its end while frames
// are shown (rtShowFrame), never otherwise. 0 when it plays, 3 when the file cannot be found or
// played (why is logged for a file that cannot be played).
double rtPlayMusic(const RtString& name);
// Stops and closes the music, if any.
void rtStopMusic();
// Milliseconds into the music (its length once it has reached its end); 0 without music.
double rtMusicPosition();
// The music's length in milliseconds; 0 without music or when the player cannot tell.
double rtMusicLength();
// Plays a movie in the game window, scaled to fit and centred on black, again and again until a
// character key or a mouse button is pressed (one held when it starts counts only once released).
// The game draws nothing meanwhile; a close request ends the program. 0 when done, 3 when the file
// cannot be found or played.
double rtPlayMovieLooped(const RtString& name);
// As rtPlayMovieLooped, but the movie plays once.
double rtPlayMovieOnce(const RtString& name);
