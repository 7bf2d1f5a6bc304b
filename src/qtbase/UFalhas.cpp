#include "qtbase/UFalhas.h"

#include "platform/UCp1252.h"
#include "platform/UTexto.h"
#include "qtbase/UCaixaMensagem.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <exception>

std::string TituloAplicacao(const std::string& arquivoPrograma) {
    std::string nome = arquivoPrograma;
    const auto barra = nome.find_last_of("/\\:");
    if (barra != std::string::npos)
        nome.erase(0, barra + 1);
    const auto ponto = nome.find('.');
    if (ponto != std::string::npos)
        nome.erase(ponto);
    if (nome.size() > 1)
        nome = nome.substr(0, 1) + MinusculasAnsi(nome.substr(1));
    return nome;
}

std::string TituloAplicacao() {
    const QString arquivo = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    return TituloAplicacao(Utf8ParaCp1252(QFileInfo(arquivo).fileName().toStdString()));
}

std::string TextoFalhaPadrao(const std::string& mensagem) {
    if (!mensagem.empty() && static_cast<unsigned char>(mensagem.back()) > static_cast<unsigned char>('.'))
        return mensagem + ".";
    return mensagem;
}

void MostrarFalhaPadrao(QWidget* dono, const std::string& mensagem) {
    MostrarErro(dono, TextoFalhaPadrao(mensagem), TituloAplicacao());
}

void ExecutarTratando(QWidget* dono, const std::function<void()>& acao) {
    try {
        acao();
    } catch (const std::exception& erro) {
        MostrarFalhaPadrao(dono, erro.what());
    } catch (...) {
        MostrarFalhaPadrao(dono, "Unknown failure");
    }
}
