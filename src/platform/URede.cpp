#include "platform/URede.h"

#include <chrono>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#endif

namespace {

#ifdef _WIN32
using TSocketSistema = SOCKET;
#else
using TSocketSistema = int;
#endif

TSocketSistema Sistema(TSocketNativo socket) {
    return static_cast<TSocketSistema>(socket);
}

} // namespace

TProntidaoSocket EsperarSocket(TSocketNativo socket, bool leitura, bool escrita, int milissegundos) {
    pollfd espera{};
    espera.fd = Sistema(socket);
    espera.events = static_cast<short>((leitura ? POLLIN : 0) | (escrita ? POLLOUT : 0));
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(milissegundos);
    for (;;) {
        const auto falta =
            std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now()).count();
#ifdef _WIN32
        const int prontos = WSAPoll(&espera, 1, falta > 0 ? static_cast<int>(falta) : 0);
#else
        const int prontos = ::poll(&espera, 1, falta > 0 ? static_cast<int>(falta) : 0);
        // A signal cut the wait short: it goes on for the time left.
        if (prontos < 0 && errno == EINTR)
            continue;
#endif
        if (prontos < 0)
            return {leitura, escrita};
        if (prontos == 0)
            return {};
        const bool falha = (espera.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
        return {leitura && (falha || (espera.revents & POLLIN) != 0),
                escrita && (falha || (espera.revents & POLLOUT) != 0)};
    }
}

void EncerrarSocket(TSocketNativo socket) {
#ifdef _WIN32
    ::shutdown(Sistema(socket), SD_BOTH);
#else
    ::shutdown(Sistema(socket), SHUT_RDWR);
#endif
}
