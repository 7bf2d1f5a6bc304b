#include "support/SocketLocal.h"

#include "platform/UErro.h"
#include "platform/UErroSistema.h"

#include <string>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

constexpr TSocketNativo SocketInvalido = ~TSocketNativo{0};

#ifdef _WIN32
using TSocketSistema = SOCKET;
int ErroRede() {
    return WSAGetLastError();
}
// Winsock works only once started in the process; the database client starts it too, and each start counts.
void IniciarRede() {
    static const bool iniciada = [] {
        WSADATA dados{};
        return WSAStartup(MAKEWORD(2, 2), &dados) == 0;
    }();
    (void)iniciada;
}
#else
using TSocketSistema = int;
int ErroRede() {
    return errno;
}
void IniciarRede() {}
#endif

TSocketSistema Sistema(TSocketNativo socket) {
    return static_cast<TSocketSistema>(socket);
}

[[noreturn]] void FalhaRede(const char* operacao) {
    throw EFalha(std::string(operacao) + ": " + TextoErroSistema(ErroRede()));
}

sockaddr_in Loopback(int porta) {
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_port = htons(static_cast<unsigned short>(porta));
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return endereco;
}

// The socket the call gave, or its failure.
TSocketNativo Criado(TSocketSistema socket, const char* operacao) {
#ifdef _WIN32
    if (socket == INVALID_SOCKET)
#else
    if (socket < 0)
#endif
        FalhaRede(operacao);
    return static_cast<TSocketNativo>(socket);
}

TSocketNativo NovoSocket() {
    IniciarRede();
    return Criado(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), "socket");
}

} // namespace

TSocketLocal TSocketLocal::Escutar() {
    TSocketLocal escuta(NovoSocket());
    const sockaddr_in endereco = Loopback(0);
    if (::bind(Sistema(escuta.FSocket), reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) != 0)
        FalhaRede("bind");
    if (::listen(Sistema(escuta.FSocket), 16) != 0)
        FalhaRede("listen");
    return escuta;
}

TSocketLocal TSocketLocal::Conectar(int porta) {
    TSocketLocal conexao(NovoSocket());
    const sockaddr_in endereco = Loopback(porta);
    if (::connect(Sistema(conexao.FSocket), reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) != 0)
        FalhaRede("connect");
    return conexao;
}

TSocketLocal::TSocketLocal(TSocketLocal&& outro) noexcept : FSocket(outro.FSocket) {
    outro.FSocket = SocketInvalido;
}

TSocketLocal& TSocketLocal::operator=(TSocketLocal&& outro) noexcept {
    if (this != &outro) {
        Fechar();
        FSocket = outro.FSocket;
        outro.FSocket = SocketInvalido;
    }
    return *this;
}

TSocketLocal::~TSocketLocal() {
    Fechar();
}

void TSocketLocal::Fechar() {
    if (FSocket == SocketInvalido)
        return;
#ifdef _WIN32
    ::closesocket(Sistema(FSocket));
#else
    ::close(Sistema(FSocket));
#endif
    FSocket = SocketInvalido;
}

int TSocketLocal::Porta() const {
    sockaddr_in endereco{};
    socklen_t tamanho = sizeof endereco;
    if (::getsockname(Sistema(FSocket), reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0)
        FalhaRede("getsockname");
    return ntohs(endereco.sin_port);
}

TSocketLocal TSocketLocal::Aceitar() {
    return TSocketLocal(Criado(::accept(Sistema(FSocket), nullptr, nullptr), "accept"));
}

long TSocketLocal::Receber(char* destino, std::size_t tamanho) {
#ifdef _WIN32
    return ::recv(Sistema(FSocket), destino, static_cast<int>(tamanho), 0);
#else
    return static_cast<long>(::recv(Sistema(FSocket), destino, tamanho, 0));
#endif
}

bool TSocketLocal::Enviar(std::string_view dados) {
    while (!dados.empty()) {
#ifdef _WIN32
        const long enviados = ::send(Sistema(FSocket), dados.data(), static_cast<int>(dados.size()), 0);
#else
        const long enviados = static_cast<long>(::send(Sistema(FSocket), dados.data(), dados.size(), MSG_NOSIGNAL));
#endif
        if (enviados <= 0)
            return false;
        dados.remove_prefix(static_cast<std::size_t>(enviados));
    }
    return true;
}
