#pragma once

#include "export/UVerificacaoExportacao.h"

#include <string>
#include <vector>

class QWidget;

// A company about to be exported, and the name it is shown by.
struct TEmpresaPedida {
    TPedidoExportacao Pedido;
    std::string Nome; // "N – NOME", code page 1252; empty for the main window's single company
};

// How a period sent before goes again: not at all, whole, or with only the postings that no file sent held.
enum class TEnvioNovamente { Cancelado, Todos, SomenteNovos };

// The questions before files are written, asked once for one company or for several at once: "Não" is the default
// of each, the answer that costs nothing.
class TConfirmacoesExportacao {
public:
    TConfirmacoesExportacao() = delete;

    // A number in Torvane that the record knows only as another company's pays the wrong company; two companies
    // of one run with the same number would go as one.
    static bool ConfirmarCodigos(QWidget* dono, const std::vector<TEmpresaPedida>& empresas);
    // A period of a company sent before is paid twice when imported again.
    static bool ConfirmarNovamente(QWidget* dono, const std::vector<TEmpresaPedida>& empresas);
    // The same question for one company, which may also be answered "Somente os novos".
    static TEnvioNovamente EscolherEnvio(QWidget* dono, const TEmpresaPedida& empresa);

private:
    static TEnvioNovamente PerguntarNovamente(QWidget* dono, const std::vector<TEmpresaPedida>& empresas, bool novos);
};
