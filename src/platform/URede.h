#pragma once

#include <cstdint>

// A socket as the system knows it (a descriptor, or a Windows SOCKET).
using TSocketNativo = std::uint64_t;

// What a socket is ready for after a wait; an error or a closed peer counts as ready for both, so that the
// next read or write finds it out.
struct TProntidaoSocket {
    bool Leitura = false;
    bool Escrita = false;
};

// Waits at most `milissegundos` until the socket can be read or written, as asked; nothing ready when the time
// runs out.
TProntidaoSocket EsperarSocket(TSocketNativo socket, bool leitura, bool escrita, int milissegundos);

// Stops both ways of a socket that another owner still holds: its reads end at once, whatever the peer does.
void EncerrarSocket(TSocketNativo socket);
