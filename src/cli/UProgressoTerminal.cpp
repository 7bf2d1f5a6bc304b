#include "cli/UProgressoTerminal.h"

#include <algorithm>
#include <string>

namespace {
constexpr int LarguraBarra = 30;
}

void TProgressoTerminal::Mudou(TMudanca mudanca) {
    // A new maximum draws the bar afresh.
    if (mudanca == TMudanca::Maximo)
        FPercentualDesenhado = -1;
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
    if (!FTerminal || Maximo() <= 0)
        return;
    const int percentual = static_cast<int>(static_cast<long long>(Posicao()) * 100 / Maximo());
    if (percentual == FPercentualDesenhado)
        return;
    FPercentualDesenhado = percentual;
    const int cheios = percentual * LarguraBarra / 100;
    std::string barra = "\r[" + std::string(static_cast<std::size_t>(cheios), '#') +
                        std::string(static_cast<std::size_t>(LarguraBarra - cheios), '.') + "] ";
    const std::string numero = std::to_string(percentual);
    barra += std::string(3 - numero.size(), ' ') + numero + "%  " + std::to_string(Posicao()) + "/" +
             std::to_string(Maximo());
    FSaida << barra;
    FSaida.flush();
    FLinhaAberta = true;
}
