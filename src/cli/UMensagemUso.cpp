#include "cli/UMensagemUso.h"

#include <memory>
#include <utility>

namespace {

// The part of the parser's text before `marca`, and after it.
std::string Antes(const std::string& texto, const std::string& marca) {
    return texto.substr(0, texto.find(marca));
}
std::string Depois(const std::string& texto, const std::string& marca) {
    const auto lugar = texto.find(marca);
    return lugar == std::string::npos ? std::string() : texto.substr(lugar + marca.size());
}

} // namespace

void EmPortugues(CLI::App& app) {
    static const std::pair<const char*, const char*> rotulos[] = {
        {"Usage", "Uso"},
        {"OPTIONS", "OPÇÕES"},
        {"Positionals", "Argumentos"},
        {"REQUIRED", "OBRIGATÓRIA"},
        {"Env", "Variável"},
        {"Needs", "Requer"},
        {"Excludes", "Não combina com"},
        {"SUBCOMMAND", "SUBCOMANDO"},
        {"SUBCOMMANDS", "SUBCOMANDOS"},
        {"TEXT", "TEXTO"},
    };
    auto formatador = std::make_shared<CLI::Formatter>();
    for (const auto& [chave, texto] : rotulos)
        formatador->label(chave, texto);
    app.formatter(formatador);
    app.option_defaults()->group("Opções");
}

// The values that fail a check already come in Portuguese, from the command's own checks.
std::string MensagemUso(const CLI::ParseError& erro, const CLI::App& app) {
    const std::string texto = erro.what();
    switch (static_cast<CLI::ExitCodes>(erro.get_exit_code())) {
    case CLI::ExitCodes::ExcludesError:
        return Antes(texto, " excludes ") + " não pode ser usado com " + Depois(texto, " excludes ");
    case CLI::ExitCodes::RequiresError:
        return Antes(texto, " requires ") + " só pode ser usado com " + Depois(texto, " requires ");
    case CLI::ExitCodes::RequiredError:
        return "Falta a opção " + Antes(texto, " is required") + ".";
    case CLI::ExitCodes::ExtrasError: {
        std::string sobras;
        for (const auto& sobra : app.remaining())
            sobras += " " + sobra;
        return (app.remaining_size() > 1 ? "Argumentos não esperados:" : "Argumento não esperado:") + sobras;
    }
    case CLI::ExitCodes::ArgumentMismatch:
        return Antes(texto, ":") +
               (texto.find("missing") != std::string::npos ? ": falta o valor" : ": número de valores errado");
    case CLI::ExitCodes::ConversionError:
        return Antes(texto, ":") + ": valor que não pode ser usado";
    case CLI::ExitCodes::ValidationError:
        return texto;
    default:
        return "Linha de comando que não pode ser lida.";
    }
}
