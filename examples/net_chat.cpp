// A chat between two windows: one hosts, the other joins; a line typed in one appears in both.
//   net_chat host [port]            net_chat join [address] [port]
// Lines received are also printed on standard output.
#include "runtime/runtime.h"

#include <cstdio>
#include <cstring>

namespace {

bool hosting = true;
const char* address = "";
const char* port = "0"; // 0: the runtime's default port

constexpr int shownLines = 18;
RtString lines[shownLines];

void addLine(const RtString& line)
{
    for (int i = 0; i + 1 < shownLines; ++i)
        lines[i] = lines[i + 1];
    lines[shownLines - 1] = line;
    printf("%s\n", line.c_str());
    fflush(stdout);
}

void gameMain()
{
    bool connected = hosting ? rtNetHost(port) : rtNetJoin(address, port);
    RtString me = connected ? rtNetCreatePlayer(hosting ? "host" : "guest") : RtString("-1");
    addLine(me != "-1" ? (hosting ? "Hosting; waiting for a guest" : "Joined the game")
                       : RtString("No connection; Escape ends"));
    RtString typing;
    for (;;) {
        for (RtString message = rtNetReceiveMessage(me); message != ""; message = rtNetReceiveMessage(me)) {
            if (rtNetLastSender() == me) continue; // our own line, already shown
            addLine(rtNetPlayerName(rtNetLastSender()) + ": " + message);
        }
        RtString key = rtKeyText();
        if (key == "\b")
            typing = rtMidText(typing, 0, rtTextLength(typing) - 1);
        else if (key == "\n" && typing != "") {
            rtNetSendMessage(me, "0", typing); // "0": to every player
            addLine("me: " + typing);
            typing = "";
        } else if (key != "" && key != "\n" && rtTextLength(typing) < 38)
            typing += key;

        rtClearScreen();
        for (int i = 0; i < shownLines; ++i)
            rtPrint(lines[i], 4, 4 + i * 11);
        rtDrawLine(0, 214, 319, 214, 0x808080);
        rtPrint("> " + typing + "_", 4, 222);
        rtShowFrame();
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || (strcmp(argv[1], "host") != 0 && strcmp(argv[1], "join") != 0)) {
        fprintf(stderr, "usage: %s host [port] | join [address] [port]\n", argv[0]);
        return 2;
    }
    hosting = strcmp(argv[1], "host") == 0;
    if (hosting && argc > 2) port = argv[2];
    if (!hosting && argc > 2) address = argv[2];
    if (!hosting && argc > 3) port = argv[3];

    GameSettings settings;
    settings.title = hosting ? "Net chat host" : "Net chat guest";
    settings.fullScreen = false;
    settings.debugMode = true; // keeps receiving while the other window has the focus
    rtRunGame(argc, argv, settings, gameMain);
}
