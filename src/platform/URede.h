#pragma once

#include <cstdint>
#include <string_view>

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

// A TCP socket on the loopback interface: the tests' stand-ins for a server that does not answer, or that stops.
// It is closed when destroyed.
class TSocketLocal {
public:
    // Listening on 127.0.0.1, on a port the system chooses. Connections are accepted by the system at once,
    // before Aceitar takes them.
    static TSocketLocal Escutar();
    static TSocketLocal Conectar(int porta);

    TSocketLocal(TSocketLocal&& outro) noexcept;
    TSocketLocal& operator=(TSocketLocal&& outro) noexcept;
    ~TSocketLocal();
    TSocketLocal(const TSocketLocal&) = delete;
    TSocketLocal& operator=(const TSocketLocal&) = delete;

    int Porta() const;
    TSocketNativo Nativo() const { return FSocket; }
    // The next connection, waiting for it.
    TSocketLocal Aceitar();
    // The bytes that came, up to `tamanho`; 0 when the peer closed it, -1 on error.
    long Receber(char* destino, std::size_t tamanho);
    // Sends them all; false on error.
    bool Enviar(std::string_view dados);

private:
    explicit TSocketLocal(TSocketNativo socket) : FSocket(socket) {}
    void Fechar();

    TSocketNativo FSocket;
};
