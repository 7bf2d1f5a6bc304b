#include "export/UFrenteExportacao.h"

#include "export/UDados.h"

TFrenteExportacao::TFrenteExportacao(IInformacao* informacao, IEventos* eventos, IProgresso* progresso) {
    TDadosExportacao::SetInformacao(informacao);
    TDadosExportacao::SetEventos(eventos);
    TDadosExportacao::SetProgresso(progresso);
}

TFrenteExportacao::~TFrenteExportacao() {
    TDadosExportacao::SetInformacao(nullptr);
    TDadosExportacao::SetEventos(nullptr);
    TDadosExportacao::SetProgresso(nullptr);
}
