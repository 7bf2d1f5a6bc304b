#pragma once

#include "platform/URede.h"

#include <cstddef>
#include <string_view>

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
