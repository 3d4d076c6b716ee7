// Commands for network games over a relaying host, and HTTP download.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/rt_string.h"

// ---------------------------------------------------------------------------------------------
// Network: games over a relaying host, HTTP download
// ---------------------------------------------------------------------------------------------

// Hosts a game on the TCP port in the text (0 or less: 27013) and joins it; 1 on success, else 0.
double rtNetHost(const RtString& port);
// Joins the game at host (empty: this machine) and port (0 or less: 27013); 1 when the server answered.
double rtNetJoin(const RtString& host, const RtString& port);
// Registers a local player (an empty name registers a hidden one); its id as text, "-1" after 5 s.
RtString rtNetCreatePlayer(const RtString& name);
// Tells the server that the player with this id leaves; always 1.
double rtNetRemovePlayer(const RtString& player);
// Sends a text (cut to 2047 bytes) from one id to another (0: every player); 1 when it was written.
double rtNetSendMessage(const RtString& from, const RtString& to, const RtString& message);
// The oldest message in the local player's inbox, or "" when there is none.
RtString rtNetReceiveMessage(const RtString& player);
// The sender id of the message rtNetReceiveMessage took last, as text ("0" before any).
RtString rtNetLastSender();
// Number of visible players on the server; 0 without a local player or without a reply within 5 s.
double rtNetPlayerCount();
// Id of the n-th visible player (from 0) in join order, as text; "0" past the last or without reply.
RtString rtNetPlayerIdAt(double index);
// Name of the player with this id ("" for an unknown id); "NO_DATA" without a reply.
RtString rtNetPlayerName(const RtString& player);
// This machine's addresses as "a.b.c.d:27013" joined by "|"; "" when port 27013 cannot be opened.
RtString rtNetLocalAddresses();
// Fetches path from host:port (HTTP/1.0 GET) and stores the body in the file; 1 when the server
// closed the connection normally, 0 otherwise (a host that does not resolve creates no file).
double rtNetHttpGet(const RtString& host, const RtString& path, double port, const RtString& outputFile);
