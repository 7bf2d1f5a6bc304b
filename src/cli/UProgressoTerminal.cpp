#include "cli/UProgressoTerminal.h"

#include <algorithm>
#include <string>

namespace {
constexpr int LarguraBarra = 30;
}

void TProgressoTerminal::SetMaximo(int maximo) {
    FMaximo = std::max(maximo, 0);
    FPosicao = std::min(FPosicao, FMaximo);
    FPercentualDesenhado = -1;
    Desenhar();
}

void TProgressoTerminal::SetPosicao(int posicao) {
    FPosicao = std::clamp(posicao, 0, FMaximo);
    Desenhar();
}

void TProgressoTerminal::Passo() {
    if (FPosicao < FMaximo)
        ++FPosicao;
    Desenhar();
}

void TProgressoTerminal::Anunciar(const std::string& texto) {
    if (!FTerminal)
        return;
    FSaida << '\r' << texto;
    FSaida.flush();
    FLinhaAberta = true;
}

void TProgressoTerminal::Encerrar() {
    if (FLinhaAberta) {
        FSaida << '\n';
        FSaida.flush();
    }
    FLinhaAberta = false;
    FPercentualDesenhado = -1;
}

void TProgressoTerminal::Desenhar() {
    if (!FTerminal || FMaximo <= 0)
        return;
    const int percentual = static_cast<int>(static_cast<long long>(FPosicao) * 100 / FMaximo);
    if (percentual == FPercentualDesenhado)
        return;
    FPercentualDesenhado = percentual;
    const int cheios = percentual * LarguraBarra / 100;
    std::string barra = "\r[" + std::string(static_cast<std::size_t>(cheios), '#') +
                        std::string(static_cast<std::size_t>(LarguraBarra - cheios), '.') + "] ";
    const std::string numero = std::to_string(percentual);
    barra +=
        std::string(3 - numero.size(), ' ') + numero + "%  " + std::to_string(FPosicao) + "/" + std::to_string(FMaximo);
    FSaida << barra;
    FSaida.flush();
    FLinhaAberta = true;
}
