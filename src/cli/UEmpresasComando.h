#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// A command line that names companies the run cannot export as asked: a usage error, said in UTF-8.
class EUsoComando : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The companies of one run of torvane-export and each one's number in Torvane and file, from --empresa ("1",
// "1,2,5" or "todas"), --cod-torvane ("7", or "1=7,2=8" for several) and --arquivo ({empresa} and {codtorvane}
// replaced). Texts in and out are UTF-8, as the command line gives them.
class TEmpresasComando {
public:
    TEmpresasComando() = delete;

    // Why the option's text cannot be read; empty when it can.
    static std::string ProblemaEmpresas(const std::string& texto);
    static std::string ProblemaCodigos(const std::string& texto);

    static bool Todas(const std::string& texto) { return texto == "todas"; }
    // The companies named, in order and each once; "todas" is every company the window lists, which asks the
    // database.
    static std::vector<int> Empresas(const std::string& texto);
    // The company's number in Torvane: the one given for it, the one given alone for a run of one company, or
    // the one last used for it; `salvo` for a run of one company that none of those knows. Fails with
    // EUsoComando, naming the company, when there is none.
    static int CodTorvane(int empresa, const std::string& codigos, bool varias, int salvo);
    // The file name of the company's export; fails with EUsoComando when several companies would share one.
    static std::string NomeArquivo(const std::string& modelo, int empresa, int codTorvane, bool varias);
};
