#pragma once

#include "export/UInterfaces.h"

// A front end's information box, event pump and gauge, handed to the export services for as long as this object
// lives and taken back when it goes, on every way out: an export never speaks to a front end that is gone. A window
// that runs exports of its own over another's gets the other's back when it is done.
class TFrenteExportacao {
public:
    TFrenteExportacao(IInformacao* informacao, IEventos* eventos, IProgresso* progresso = nullptr);
    ~TFrenteExportacao();
    TFrenteExportacao(const TFrenteExportacao&) = delete;
    TFrenteExportacao& operator=(const TFrenteExportacao&) = delete;

private:
    IInformacao* FInformacao;
    IEventos* FEventos;
    IProgresso* FProgresso;
};
