#include "export/UCsv.h"

namespace {

// A spreadsheet runs a field that begins with one of these as a formula (a company name "=HYPERLINK(...)"), and
// also one that begins with a tab or a carriage return before them; an apostrophe before it makes it text there,
// and is taken away when the record is read. A field that begins with an apostrophe gets one more, so that it reads
// back as written.
bool PareceFormula(const std::string& campo) {
    return !campo.empty() && std::string_view("=+-@'\t\r").find(campo.front()) != std::string_view::npos;
}

std::string CampoCsv(const std::string& valor) {
    const std::string campo = PareceFormula(valor) ? "'" + valor : valor;
    if (campo.find_first_of(";\"\r\n") == std::string::npos)
        return campo;
    std::string texto = "\"";
    for (const char c : campo)
        texto += c == '"' ? std::string("\"\"") : std::string(1, c);
    return texto + "\"";
}

} // namespace

std::string LinhaCsv(const TCampos& campos) {
    std::string linha;
    for (std::size_t i = 0; i < campos.size(); ++i)
        linha += (i == 0 ? "" : ";") + CampoCsv(campos[i]);
    return linha + "\r\n";
}

namespace {

std::size_t DepoisDoFimDeLinha(std::string_view texto, std::size_t i) {
    while (i < texto.size() && texto[i] != '\r' && texto[i] != '\n')
        ++i;
    if (i < texto.size() && texto[i] == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n')
        ++i;
    return std::min(i + 1, texto.size());
}

// One field from i on; false when its quotes are broken.
bool LerCampo(std::string_view texto, std::size_t& i, std::string& campo) {
    if (i >= texto.size() || texto[i] != '"') {
        while (i < texto.size() && texto[i] != ';' && texto[i] != '\r' && texto[i] != '\n')
            if (texto[i] == '"')
                return false;
            else
                campo += texto[i++];
        return true;
    }
    for (++i; i < texto.size(); ++i) {
        if (texto[i] != '"') {
            campo += texto[i];
        } else if (i + 1 < texto.size() && texto[i + 1] == '"') {
            campo += texto[++i];
        } else {
            ++i;
            return i == texto.size() || texto[i] == ';' || texto[i] == '\r' || texto[i] == '\n';
        }
    }
    return false;
}

} // namespace

std::vector<TCampos> LerCsv(std::string_view texto) {
    std::vector<TCampos> linhas;
    std::size_t i = 0;
    while (i < texto.size()) {
        const std::size_t inicio = i;
        TCampos campos;
        bool valida = true;
        while (valida) {
            std::string campo;
            valida = LerCampo(texto, i, campo);
            if (!campo.empty() && campo.front() == '\'')
                campo.erase(0, 1);
            campos.push_back(std::move(campo));
            if (i >= texto.size() || texto[i] != ';')
                break;
            ++i;
        }
        if (valida)
            i = i < texto.size() ? DepoisDoFimDeLinha(texto, i) : i;
        else
            i = DepoisDoFimDeLinha(texto, inicio);
        linhas.push_back(valida ? std::move(campos) : TCampos());
    }
    return linhas;
}
