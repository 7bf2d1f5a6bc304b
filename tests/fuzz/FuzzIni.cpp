// The settings-file reader and writer over any file contents.
#include "Fuzz.h"

#include "platform/UIni.h"

#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const auto arquivo = PastaFuzz() / "fuzz.ini";
    std::ofstream(arquivo, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(dados), static_cast<std::streamsize>(tamanho));
    TIniFile ini(arquivo);
    for (const char* secao : {"ip", "QOR", "FilialMatriz"}) {
        ini.LerTexto(secao, "local", "padrao");
        ini.LerInteiro(secao, "Porta", 3306);
        ini.ExisteChave(secao, "senha");
    }
    // Whatever the file held, a value written is the value read, and the other bytes survive.
    ini.GravarTexto("QOR", "Diretorio", "/saida/x1");
    Exigir(ini.LerTexto("QOR", "Diretorio", "") == "/saida/x1");
    ini.GravarInteiro("Nova Secao", "Empresa", -12);
    Exigir(ini.LerInteiro("nova secao", "EMPRESA", 0) == -12);
    Exigir(ini.LerTexto("QOR", "Diretorio", "") == "/saida/x1");
    return 0;
}
