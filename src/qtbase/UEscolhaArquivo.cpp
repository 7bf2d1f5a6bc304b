#include "qtbase/UEscolhaArquivo.h"

#include "qtbase/UTextoQt.h"

#include <QFileDialog>

namespace {

TEscolhaArquivo EscolhaReal;
TEscolhaArquivo* EscolhaAtual = &EscolhaReal;

std::optional<std::filesystem::path> Escolhido(const QString& caminho) {
    return caminho.isEmpty() ? std::nullopt : std::optional(CaminhoDeQString(caminho));
}

} // namespace

std::optional<std::filesystem::path> TEscolhaArquivo::EscolherPasta(QWidget* dono, const QString& titulo,
                                                                    const std::filesystem::path& inicial) {
    return Escolhido(QFileDialog::getExistingDirectory(dono, titulo, CaminhoParaQString(inicial)));
}

std::optional<std::filesystem::path> TEscolhaArquivo::EscolherArquivoParaSalvar(QWidget* dono, const QString& titulo,
                                                                                const std::filesystem::path& sugerido,
                                                                                const QString& tipos) {
    return Escolhido(QFileDialog::getSaveFileName(dono, titulo, CaminhoParaQString(sugerido), tipos));
}

TEscolhaArquivo& TEscolhaArquivo::Atual() {
    return *EscolhaAtual;
}

void TEscolhaArquivo::Definir(TEscolhaArquivo* escolha) {
    EscolhaAtual = escolha ? escolha : &EscolhaReal;
}
