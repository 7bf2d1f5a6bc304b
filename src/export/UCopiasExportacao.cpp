#include "export/UCopiasExportacao.h"

#include "dao/UArquivoConexao.h"
#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/USha256.h"

namespace {

std::string Resumo(std::string_view texto) {
    TSha256 sha;
    sha.Acrescentar(texto);
    return sha.Concluir();
}

// Whether the file holds the bytes of that digest; a file that cannot be read does not.
bool TemOsBytes(const std::filesystem::path& caminho, const std::string& sha256, std::string& texto) {
    try {
        if (!ArquivoExiste(caminho))
            return false;
        texto = LerArquivo(caminho);
    } catch (const EFalha&) {
        return false;
    }
    return Resumo(texto) == sha256;
}

// Whether a copy already kept holds those bytes, read a block at a time: a copy may be as large as the export.
bool CopiaGuardada(const std::filesystem::path& caminho, const std::string& sha256) {
    try {
        if (!ArquivoExiste(caminho))
            return false;
        TSha256 sha;
        LerEmBlocos(caminho, [&sha](std::string_view bloco) { sha.Acrescentar(bloco); });
        return sha.Concluir() == sha256;
    } catch (const EFalha&) {
        return false;
    }
}

std::filesystem::path PrepararCopia(const std::string& sha256) {
    const auto pasta = TCopiasExportacao::Pasta();
    PrepararPasta(pasta, TextoAnsi("das cópias dos arquivos enviados"));
    return pasta / TCopiasExportacao::Nome(sha256);
}

} // namespace

std::filesystem::path TCopiasExportacao::Pasta() {
    return THistoricoExportacao::Pasta() / "ArquivosEnviados";
}

bool TCopiasExportacao::Ligadas() {
    return TArquivoConexao::EmUso().GuardarCopias();
}

std::string TCopiasExportacao::Nome(const std::string& sha256) {
    return sha256 + ".txt";
}

std::string TCopiasExportacao::Guardar(const std::filesystem::path& arquivo, const std::string& sha256) {
    const auto destino = PrepararCopia(sha256);
    if (CopiaGuardada(destino, sha256))
        return Nome(sha256);
    TArquivoSeguro copia(destino);
    TSha256 sha;
    LerEmBlocos(arquivo, [&](std::string_view bloco) {
        sha.Acrescentar(bloco);
        copia.Escrever(bloco);
    });
    // Another program may have changed the file in the meantime: the copy is of what was sent, or none.
    if (sha.Concluir() != sha256)
        throw EFalha(TextoAnsi("o arquivo \"") + CaminhoMensagem(arquivo) +
                     TextoAnsi("\" foi alterado antes que sua cópia fosse guardada."));
    copia.Confirmar();
    return Nome(sha256);
}

std::string TCopiasExportacao::GuardarTexto(std::string_view texto, const std::string& sha256) {
    const auto destino = PrepararCopia(sha256);
    if (CopiaGuardada(destino, sha256))
        return Nome(sha256);
    TArquivoSeguro copia(destino);
    copia.Escrever(texto);
    copia.Confirmar();
    return Nome(sha256);
}

std::string TCopiasExportacao::LerEnviado(const TRegistroExportacao& registro) {
    std::string texto;
    if (!registro.Copia.empty() && TemOsBytes(Pasta() / registro.Copia, registro.Sha256, texto))
        return texto;
    if (TemOsBytes(registro.Arquivo, registro.Sha256, texto))
        return texto;
    const std::string copia = registro.Copia.empty()
                                  ? TextoAnsi("a exportação não guardou cópia dele")
                                  : TextoAnsi("sua cópia \"") + CaminhoMensagem(Pasta() / registro.Copia) +
                                        TextoAnsi("\" não existe mais ou foi alterada");
    const std::string arquivo = TextoAnsi("o arquivo \"") + CaminhoMensagem(registro.Arquivo) +
                                (ArquivoExiste(registro.Arquivo) ? TextoAnsi("\" não é mais o que foi gerado")
                                                                 : TextoAnsi("\" não existe mais"));
    throw EFalha(TextoAnsi("O arquivo enviado não pode mais ser lido: ") + copia + ", e " + arquivo + ".");
}
