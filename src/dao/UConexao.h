#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

struct st_mysql;
struct st_mysql_res;

// One open MySQL connection. It owns the client's handle and closes it when destroyed.
// Its character set is latin1 (MySQL's name for code page 1252): text arrives one byte a character.
// A server that does not answer the connection within SegundosConexao fails it with the client's time-out text.
class TConexao {
public:
    static constexpr unsigned SegundosConexao = 10;
    // How long a statement may go with no byte from the server before the server is asked, over a new connection,
    // whether it is still working on it.
    static constexpr int SegundosSilencio = 10;

    // Opens at once; fails with EFalha carrying the client's own error text, leaving nothing allocated.
    TConexao(const std::string& host, const std::string& database, const std::string& usuario, const std::string& senha,
             int porta);
    ~TConexao();
    TConexao(const TConexao&) = delete;
    TConexao& operator=(const TConexao&) = delete;

    st_mysql* Handle() const { return FHandle.get(); }
    const std::string& Host() const { return FHost; }
    const std::string& Database() const { return FDatabase; }
    // The version the server reports, such as "10.11.6-MariaDB-0+deb12u1".
    std::string VersaoServidor() const;

    // One row of a result as the client hands it: each of its `campos` values and their lengths, a NULL value being
    // a null pointer. Both are valid only during the call.
    using TReceptorLinha = std::function<void(unsigned campos, char** valores, const unsigned long* tamanhos)>;

    // What the watch learns when it asks the server, over a connection of its own, about this connection's
    // statement. A server that refuses that connection with an error of its own (too many connections, access
    // denied) has answered: the statement is taken as still running.
    enum class TSituacaoConsulta { Executando, Parada, SemResposta };
    // `falha` says why when the server did not answer.
    using TVigia = std::function<TSituacaoConsulta(const TConexao& conexao, std::string& falha)>;
    // Tests play the moments a real server rarely offers through a watch of their own, and a shorter silence;
    // an empty watch and a zero silence give back the real ones.
    static void DefinirVigia(TVigia vigia);
    static void DefinirSilencio(std::chrono::milliseconds silencio);
    // The real watch.
    static TSituacaoConsulta PerguntarServidor(const TConexao& conexao, std::string& falha);

    // Runs the statement and hands every row of its result to `receber`, in order, as the rows arrive. Gives the
    // result's description (its columns), all its rows read; null when the statement gives no result. Fails with
    // the client's text. However long the server computes, the wait goes on while the server is still working on
    // the statement; when the server no longer answers, or has dropped the statement, it ends with a failure
    // saying so and the connection is closed: later statements fail with the client's text for a lost server.
    st_mysql_res* Executar(const std::string& sql, const TReceptorLinha& receber);

private:
    struct TFecharMysql {
        void operator()(st_mysql* handle) const;
    };
    st_mysql_res* Consultar(const std::string& sql, const TReceptorLinha& receber);
    int Aguardar(int eventos);
    // Whether what the client waits for came while the server was asked: its answer may be on the way.
    int JaChegou(bool leitura, bool escrita);
    [[noreturn]] void Abandonar(const std::string& motivo);

    std::unique_ptr<st_mysql, TFecharMysql> FHandle;
    std::string FHost;
    std::string FDatabase;
    std::string FUsuario;
    std::string FSenha;
    int FPorta;
};
