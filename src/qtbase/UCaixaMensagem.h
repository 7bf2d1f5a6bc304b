#pragma once

#include <string>

class QWidget;

enum class TIconeMensagem { Informacao, Exclamacao, Parada, Pergunta };
// OkConfigurarConexao: OK beside "Configurar conexão…", for a connection that failed. SimNaoSomenteNovos: a period
// sent before, to send again whole, not at all, or with only the postings that no file sent held.
enum class TBotoesMensagem { Ok, SimNao, OkConfigurarConexao, SimNaoSomenteNovos };
enum class TRespostaMensagem { Ok, Sim, Nao, ConfigurarConexao, SomenteNovos };

// Every message box of the program goes through here, so that tests can put a fake in its place.
// Texts are code page 1252.
class TCaixaMensagem {
public:
    virtual ~TCaixaMensagem() = default;

    // A modal box that returns only when the user has answered. With Yes and No, `naoPadrao` makes No
    // the default button.
    virtual TRespostaMensagem Mostrar(QWidget* dono, const std::string& texto, const std::string& titulo,
                                      TIconeMensagem icone, TBotoesMensagem botoes, bool naoPadrao);

    static TCaixaMensagem& Atual();
    // Puts another box in place; nullptr gives back the real one.
    static void Definir(TCaixaMensagem* caixa);
};

// The program's four kinds of box over the current one; an empty title gives the usual caption ("Atenção",
// "Informação", "Erro", "Confirmação").
void MostrarAviso(QWidget* dono, const std::string& texto, const std::string& titulo = {});
void MostrarInformacao(QWidget* dono, const std::string& texto, const std::string& titulo = {});
void MostrarErro(QWidget* dono, const std::string& texto, const std::string& titulo = {});
// True only when the answer is Yes; `naoPadrao` makes No the default button.
bool Perguntar(QWidget* dono, const std::string& texto, const std::string& titulo = {}, bool naoPadrao = false);
// A warning with OK and "Configurar conexão…"; true when the user chose to set up the connection.
bool AvisarOferecendoConexao(QWidget* dono, const std::string& texto, const std::string& titulo);
