// The profile file, as the export and the windows read it.
#include "Fuzz.h"

#include "export/UDados.h"
#include "platform/UErro.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"

#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    DefinirPastaPrograma(PastaFuzz());
    DefinirPastasConfiguracao(PastaFuzz(), PastaFuzz());
    const auto arquivo = TDadosExportacao::ArquivoPerfis();
    std::ofstream(arquivo, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(dados), static_cast<std::streamsize>(tamanho));
    const auto linhas = LerLinhas(arquivo);
    for (int perfil = 0; perfil <= static_cast<int>(linhas.size()) && perfil < 8; ++perfil) {
        try {
            const std::string grupos = TDadosExportacao::GruposDoPerfil(perfil);
            // Only a list of decimal keys may reach the SQL text.
            if (TArquivoPerfis::ListaGruposValida(grupos))
                Exigir(grupos.find_first_not_of("0123456789,()") == std::string::npos);
        } catch (const EFalha&) {
        }
    }
    return 0;
}
