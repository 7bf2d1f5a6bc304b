#include "export/UFrenteExportacao.h"

#include "export/UDados.h"

TFrenteExportacao::TFrenteExportacao(IInformacao* informacao, IEventos* eventos, IProgresso* progresso)
    : FInformacao(TDadosExportacao::GetInformacao()), FEventos(TDadosExportacao::GetEventos()),
      FProgresso(TDadosExportacao::GetProgresso()) {
    TDadosExportacao::SetInformacao(informacao);
    TDadosExportacao::SetEventos(eventos);
    TDadosExportacao::SetProgresso(progresso);
}

TFrenteExportacao::~TFrenteExportacao() {
    TDadosExportacao::SetInformacao(FInformacao);
    TDadosExportacao::SetEventos(FEventos);
    TDadosExportacao::SetProgresso(FProgresso);
}
