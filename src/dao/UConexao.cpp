#include "dao/UConexao.h"

#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/URede.h"

#include <mysql.h>

#include <algorithm>

namespace {

// A handle for one connection: latin1, a time limit on reaching the server and on hearing its greeting (the
// client applies the connection's limit to every read until it is logged in), and the non-blocking calls that
// let a statement's wait be watched.
MYSQL* NovoHandle() {
    MYSQL* mysql = mysql_init(nullptr);
    if (!mysql)
        throw EFalha("Out of memory");
    // Names must arrive one byte a character, as the export file holds them.
    mysql_options(mysql, MYSQL_SET_CHARSET_NAME, "latin1");
    const unsigned segundos = TConexao::SegundosConexao;
    mysql_options(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &segundos);
    mysql_options(mysql, MYSQL_OPT_NONBLOCK, nullptr);
    return mysql;
}

bool Conectar(MYSQL* mysql, const std::string& host, const std::string& database, const std::string& usuario,
              const std::string& senha, int porta) {
    // The client never asks for credentials: it has no prompt to turn off.
    return mysql_real_connect(mysql, host.empty() ? nullptr : host.c_str(), usuario.c_str(), senha.c_str(),
                              database.empty() ? nullptr : database.c_str(), static_cast<unsigned>(porta), nullptr,
                              0) != nullptr;
}

// A server given up on: the connection is of no more use.
class EServidorAbandonado : public EFalha {
public:
    using EFalha::EFalha;
};

std::string SemDados() {
    return "nada chegou dele em " + std::to_string(TConexao::SegundosSilencio) + " s";
}

} // namespace

void TConexao::TFecharMysql::operator()(st_mysql* handle) const {
    mysql_close(handle);
}

TConexao::TConexao(const std::string& host, const std::string& database, const std::string& usuario,
                   const std::string& senha, int porta)
    : FHandle(NovoHandle()), FHost(host), FDatabase(database), FUsuario(usuario), FSenha(senha), FPorta(porta) {
    if (!Conectar(FHandle.get(), host, database, usuario, senha, porta))
        // The handle is closed by its owner on the way out.
        throw EFalha(mysql_error(FHandle.get()));
}

TConexao::~TConexao() = default;

std::string TConexao::VersaoServidor() const {
    return mysql_get_server_info(FHandle.get());
}

st_mysql_res* TConexao::Executar(const std::string& sql, const TReceptorLinha& receber) {
    try {
        return Consultar(sql, receber);
    } catch (const EServidorAbandonado&) {
        // A fresh handle, never connected: whatever runs on this connection later fails at once as a lost server.
        // The result being read went first, on the way out: it still referred to the old handle.
        FHandle.reset(NovoHandle());
        throw;
    }
}

st_mysql_res* TConexao::Consultar(const std::string& sql, const TReceptorLinha& receber) {
    MYSQL* mysql = FHandle.get();
    int erro = 0;
    for (int espera = mysql_real_query_start(&erro, mysql, sql.data(), sql.size()); espera != 0;)
        espera = mysql_real_query_cont(&erro, mysql, Aguardar(espera));
    if (erro != 0)
        throw EFalha(mysql_error(mysql));
    // The rows are read one at a time and handed on, with no copy of the whole result kept by the client: a large
    // result would otherwise be held twice.
    std::unique_ptr<MYSQL_RES, decltype(&mysql_free_result)> resultado(mysql_use_result(mysql), &mysql_free_result);
    if (!resultado) {
        if (mysql_errno(mysql) != 0)
            throw EFalha(mysql_error(mysql));
        return nullptr;
    }
    for (;;) {
        MYSQL_ROW linha = nullptr;
        for (int espera = mysql_fetch_row_start(&linha, resultado.get()); espera != 0;)
            espera = mysql_fetch_row_cont(&linha, resultado.get(), Aguardar(espera));
        if (!linha)
            break;
        receber(mysql_num_fields(resultado.get()), linha, mysql_fetch_lengths(resultado.get()));
    }
    if (mysql_errno(mysql) != 0)
        throw EFalha(mysql_error(mysql));
    return resultado.release();
}

// Waits for what the client asks (MYSQL_WAIT_*) and gives what happened. A long silence is no failure by itself:
// the server may be computing a long query, and sends nothing meanwhile.
int TConexao::Aguardar(int eventos) {
    MYSQL* mysql = FHandle.get();
    const bool leitura = (eventos & MYSQL_WAIT_READ) != 0;
    const bool escrita = (eventos & MYSQL_WAIT_WRITE) != 0;
    for (;;) {
        int limite = SegundosSilencio * 1000;
        const bool prazoCliente = (eventos & MYSQL_WAIT_TIMEOUT) != 0;
        if (prazoCliente)
            limite = std::min(limite, static_cast<int>(mysql_get_timeout_value_ms(mysql)));
        const TProntidaoSocket pronto = EsperarSocket(mysql_get_socket(mysql), leitura, escrita, limite);
        if (pronto.Leitura || pronto.Escrita)
            return (pronto.Leitura ? MYSQL_WAIT_READ : 0) | (pronto.Escrita ? MYSQL_WAIT_WRITE : 0);
        if (prazoCliente)
            return MYSQL_WAIT_TIMEOUT;
        // Asked over a connection of its own, the server tells whether this connection's statement still runs.
        std::unique_ptr<MYSQL, TFecharMysql> consulta(NovoHandle());
        const unsigned segundos = SegundosConexao;
        mysql_options(consulta.get(), MYSQL_OPT_READ_TIMEOUT, &segundos);
        mysql_options(consulta.get(), MYSQL_OPT_WRITE_TIMEOUT, &segundos);
        const std::string pergunta =
            "SELECT COMMAND FROM information_schema.PROCESSLIST WHERE ID = " + std::to_string(mysql_thread_id(mysql));
        if (!Conectar(consulta.get(), FHost, "", FUsuario, FSenha, FPorta) ||
            mysql_real_query(consulta.get(), pergunta.data(), pergunta.size()) != 0)
            Abandonar(TextoAnsi("O servidor de banco de dados não responde: ") + SemDados() +
                      TextoAnsi(", e uma nova conexão falhou: ") + mysql_error(consulta.get()));
        const std::unique_ptr<MYSQL_RES, decltype(&mysql_free_result)> resposta(mysql_store_result(consulta.get()),
                                                                                &mysql_free_result);
        MYSQL_ROW linha = resposta ? mysql_fetch_row(resposta.get()) : nullptr;
        // Idle ("Sleep"), the server has sent all it had: what it sent is lost on the way.
        if (!linha || !linha[0] || std::string(linha[0]) == "Sleep")
            Abandonar(TextoAnsi("A conexão com o servidor de banco de dados se perdeu: ") + SemDados() +
                      TextoAnsi(", e o servidor não está mais executando a consulta."));
    }
}

void TConexao::Abandonar(const std::string& motivo) {
    // Freeing a result half read reads the rest of it first: with the socket shut, there is no rest to wait for.
    EncerrarSocket(mysql_get_socket(FHandle.get()));
    throw EServidorAbandonado(motivo);
}
