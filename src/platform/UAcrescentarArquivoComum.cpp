#include "platform/UAcrescentarArquivoComum.h"

#include "platform/UAcrescentarArquivo.h"

#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"

namespace {

std::string TextoFalha(const std::filesystem::path& caminho, const std::string& motivo) {
    return TextoAnsi("Não foi possível gravar no arquivo \"") + CaminhoMensagem(caminho) + "\". " + motivo;
}

std::string Segundos(std::chrono::milliseconds espera) {
    return std::to_string((espera.count() + 999) / 1000) + " s";
}

} // namespace

void FalhaAcrescentar(const std::filesystem::path& caminho, const std::string& motivo) {
    throw EFalha(TextoFalha(caminho, motivo));
}

void FalhaOcupado(const std::filesystem::path& caminho, const std::string& motivo) {
    throw EArquivoOcupado(TextoFalha(caminho, motivo));
}

std::string NaoEArquivoComum() {
    return TextoAnsi("Não é um arquivo comum (é uma pasta, um pipe, um dispositivo ou um socket).");
}

std::string TextoTravaOcupada(std::chrono::milliseconds espera) {
    return TextoAnsi("Outro programa está gravando nele há mais de ") + Segundos(espera) + "; tente de novo.";
}

std::string TextoArquivoEmUso(std::chrono::milliseconds espera) {
    return TextoAnsi("Outro programa (uma planilha, por exemplo) o mantém aberto só para si há mais de ") +
           Segundos(espera) + ".";
}

// A row starts on a line of its own, even after one cut short.
std::string DadosAcrescimo(std::string_view final, long long tamanho, std::string_view texto,
                           std::string_view inicioSeVazio) {
    if (tamanho == 0)
        return std::string(inicioSeVazio) + std::string(texto);
    return (final == "\r\n" ? std::string() : std::string("\r\n")) + std::string(texto);
}
