#include "dao/UConexao.h"

#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/URede.h"

#include <errmsg.h>
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

TConexao::TVigia& VigiaDefinida() {
    static TConexao::TVigia vigia;
    return vigia;
}

std::chrono::milliseconds& SilencioDefinido() {
    static std::chrono::milliseconds silencio{0};
    return silencio;
}

int MilissegundosSilencio() {
    const auto definido = SilencioDefinido();
    return definido.count() > 0 ? static_cast<int>(definido.count()) : TConexao::SegundosSilencio * 1000;
}

// How long the answer of a statement that the server has just finished may still take to arrive.
constexpr int MilissegundosUltimaLeitura = 1000;

// The client's own errors (it could not reach or hear the server) are numbered from 2000; below are the server's.
bool ErroDoServidor(unsigned erro) {
    return erro > 0 && erro < CR_MIN_ERROR;
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
        int limite = MilissegundosSilencio();
        const bool prazoCliente = (eventos & MYSQL_WAIT_TIMEOUT) != 0;
        if (prazoCliente)
            limite = std::min(limite, static_cast<int>(mysql_get_timeout_value_ms(mysql)));
        const TProntidaoSocket pronto = EsperarSocket(mysql_get_socket(mysql), leitura, escrita, limite);
        if (pronto.Leitura || pronto.Escrita)
            return (pronto.Leitura ? MYSQL_WAIT_READ : 0) | (pronto.Escrita ? MYSQL_WAIT_WRITE : 0);
        if (prazoCliente)
            return MYSQL_WAIT_TIMEOUT;
        std::string falha;
        const TVigia& vigia = VigiaDefinida();
        const TSituacaoConsulta situacao = vigia ? vigia(*this, falha) : PerguntarServidor(*this, falha);
        if (situacao == TSituacaoConsulta::SemResposta)
            Abandonar(TextoAnsi("O servidor de banco de dados não responde: ") + SemDados() +
                      TextoAnsi(", e uma nova conexão falhou: ") + falha);
        if (situacao == TSituacaoConsulta::Parada) {
            if (const int chegou = JaChegou(leitura, escrita))
                return chegou;
            // Idle ("Sleep"), the server has sent all it had: what it sent is lost on the way.
            Abandonar(TextoAnsi("A conexão com o servidor de banco de dados se perdeu: ") + SemDados() +
                      TextoAnsi(", e o servidor não está mais executando a consulta."));
        }
    }
}

int TConexao::JaChegou(bool leitura, bool escrita) {
    const TProntidaoSocket pronto =
        EsperarSocket(mysql_get_socket(FHandle.get()), leitura, escrita, MilissegundosUltimaLeitura);
    return (pronto.Leitura ? MYSQL_WAIT_READ : 0) | (pronto.Escrita ? MYSQL_WAIT_WRITE : 0);
}

void TConexao::DefinirVigia(TVigia vigia) {
    VigiaDefinida() = std::move(vigia);
}

void TConexao::DefinirSilencio(std::chrono::milliseconds silencio) {
    SilencioDefinido() = silencio;
}

// Asked over a connection of its own, the server tells whether this connection's statement still runs.
TConexao::TSituacaoConsulta TConexao::PerguntarServidor(const TConexao& conexao, std::string& falha) {
    std::unique_ptr<MYSQL, TFecharMysql> consulta(NovoHandle());
    const unsigned segundos = SegundosConexao;
    mysql_options(consulta.get(), MYSQL_OPT_READ_TIMEOUT, &segundos);
    mysql_options(consulta.get(), MYSQL_OPT_WRITE_TIMEOUT, &segundos);
    const std::string pergunta = "SELECT COMMAND FROM information_schema.PROCESSLIST WHERE ID = " +
                                 std::to_string(mysql_thread_id(conexao.Handle()));
    if (!Conectar(consulta.get(), conexao.FHost, "", conexao.FUsuario, conexao.FSenha, conexao.FPorta) ||
        mysql_real_query(consulta.get(), pergunta.data(), pergunta.size()) != 0) {
        // A server that says no has answered: one without a spare connection slot is still running the statement.
        if (ErroDoServidor(mysql_errno(consulta.get())))
            return TSituacaoConsulta::Executando;
        falha = mysql_error(consulta.get());
        return TSituacaoConsulta::SemResposta;
    }
    const std::unique_ptr<MYSQL_RES, decltype(&mysql_free_result)> resposta(mysql_store_result(consulta.get()),
                                                                            &mysql_free_result);
    MYSQL_ROW linha = resposta ? mysql_fetch_row(resposta.get()) : nullptr;
    if (!linha || !linha[0] || std::string(linha[0]) == "Sleep")
        return TSituacaoConsulta::Parada;
    return TSituacaoConsulta::Executando;
}

void TConexao::Abandonar(const std::string& motivo) {
    // Freeing a result half read reads the rest of it first: with the socket shut, there is no rest to wait for.
    EncerrarSocket(mysql_get_socket(FHandle.get()));
    throw EServidorAbandonado(motivo);
}
