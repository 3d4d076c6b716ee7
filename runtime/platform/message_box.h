// Message boxes for the player. With the environment variable RT_UNATTENDED set (to anything but
// "0" or the empty text) no box is shown: the caption and text go to standard error as one line
// instead, so unattended runs and tests never block on a box nobody can click.
#pragma once

namespace rt {

enum class MessageBoxIcon { Information, Warning, Error };

void showMessageBox(const char* caption, const char* text, MessageBoxIcon icon);
bool unattendedRun();

} // namespace rt
