#pragma once

#include "export/UVerificacaoExportacao.h"

#include <map>
#include <string>

// What the checks of an export's values say, field by field, as the window shows it and the command prints
// it (UTF-8; the command adds how to write a date). A missing folder, a file name that is a path and an
// unknown profile name what they refuse, so their texts are built where the value is known.
inline const std::map<TCampoExportacao, std::string> TextosVerificacao = {
    {TCampoExportacao::Diretorio, "Selecione o diretório onde será gerado o arquivo."},
    {TCampoExportacao::DataInicial, "Período inicial inválido."},
    {TCampoExportacao::DataFinal, "Período final inválido."},
    {TCampoExportacao::Empresa, "Informe o número da empresa"},
    {TCampoExportacao::NomeArquivo, "Informe o nome do arquivo."},
    {TCampoExportacao::CodTorvane, "Informe o número da empresa na Torvane"},
};

// The refusal of a file name that holds a folder (UTF-8).
inline std::string TextoNomeComPasta(const std::string& nome) {
#ifdef _WIN32
    const std::string proibidos = "\"/\", \"\\\" ou \":\"";
#else
    const std::string proibidos = "\"/\"";
#endif
    return "O nome do arquivo \"" + nome + "\" não é válido: informe só o nome do arquivo, sem pasta (sem " +
           proibidos + "), e escolha a pasta em \"Diretório de Geração do Arquivo\".";
}
