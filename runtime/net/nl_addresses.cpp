// Addresses in their text form: look-up of "host[:port]", the dotted text of an address, and its port.
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <netdb.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>

#include "runtime/net/nl_error.h"
#include "runtime/net/nl_sockets.h"

namespace rt {

bool nlSetAddrPort(NLaddress* address, uint16_t port)
{
    if (!address) return nlFail(NL_ERR_BAD_ARGUMENT, false);
    address->port = port;
    return true;
}

bool nlGetAddrFromName(const char* name, NLaddress* address)
{
    if (!name || !address) return nlFail(NL_ERR_BAD_ARGUMENT, false);
    std::string host = name;
    uint16_t port = 0;
    size_t colon = host.rfind(':');
    if (colon != std::string::npos) {
        char* end = nullptr;
        unsigned long value = strtoul(host.c_str() + colon + 1, &end, 10);
        if (*end != '\0' || value > 65535) return nlFail(NL_ERR_HOST_NOT_FOUND, false);
        port = uint16_t(value);
        host.resize(colon);
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return nlFail(NL_ERR_HOST_NOT_FOUND, false);
    address->host = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    address->port = port;
    address->valid = true;
    freeaddrinfo(found);
    return true;
}

char* nlAddrToString(const NLaddress* address, char* text)
{
    if (!text) return text;
    if (!address) {
        text[0] = '\0';
        return text;
    }
    uint32_t host = ntohl(address->host);
    snprintf(text, 22, "%u.%u.%u.%u:%u", host >> 24, (host >> 16) & 255, (host >> 8) & 255, host & 255,
             unsigned(address->port));
    return text;
}

} // namespace rt
