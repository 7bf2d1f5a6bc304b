#include "UProgressoTerminal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

TEST(TesteProgressoTerminal, NotATerminal_WritesNothing) {
    std::ostringstream saida;
    TProgressoTerminal progresso(saida, false);
    progresso.SetMaximo(10);
    progresso.SetPosicao(0);
    for (int i = 0; i < 10; ++i)
        progresso.Passo();
    progresso.Encerrar();
    EXPECT_EQ(saida.str(), "");
    EXPECT_EQ(progresso.Posicao(), 10);
}

TEST(TesteProgressoTerminal, ManyRows_RedrawOnlyWhenThePercentageChanges) {
    std::ostringstream saida;
    TProgressoTerminal progresso(saida, true);
    progresso.SetMaximo(100000);
    progresso.SetPosicao(0);
    for (int i = 0; i < 100005; ++i)
        progresso.Passo();
    progresso.Encerrar();

    const std::string texto = saida.str();
    EXPECT_EQ(std::count(texto.begin(), texto.end(), '\r'), 101);
    EXPECT_EQ(progresso.Posicao(), 100000);
    const std::string ultima = texto.substr(texto.rfind('\r'));
    EXPECT_EQ(ultima, "\r[##############################] 100%  100000/100000\n");
    EXPECT_NE(texto.find("\r[###############...............]  50%  50000/100000"), std::string::npos);
}

TEST(TesteProgressoTerminal, Encerrar_EndsTheLineOnlyWhenABarWasDrawn) {
    std::ostringstream saida;
    TProgressoTerminal progresso(saida, true);
    progresso.Encerrar();
    EXPECT_EQ(saida.str(), "");
    progresso.SetMaximo(0);
    progresso.Passo();
    progresso.Encerrar();
    EXPECT_EQ(saida.str(), "");
    progresso.SetMaximo(2);
    progresso.Passo();
    progresso.Encerrar();
    progresso.Encerrar();
    EXPECT_EQ(saida.str(),
              "\r[..............................]   0%  0/2\r[###############...............]  50%  1/2\n");
}

TEST(TesteProgressoTerminal, Anunciar_ShowsALineUntilTheBarReplacesIt) {
    std::ostringstream saida;
    TProgressoTerminal progresso(saida, true);
    progresso.Anunciar("Consultando...");
    progresso.Encerrar();
    EXPECT_EQ(saida.str(), "\rConsultando...\n");

    saida.str("");
    progresso.Anunciar("Consultando...");
    progresso.SetMaximo(1);
    progresso.SetPosicao(0);
    progresso.Passo();
    progresso.Encerrar();
    EXPECT_EQ(saida.str(), "\rConsultando...\r[..............................]   0%  0/1"
                           "\r[##############################] 100%  1/1\n");

    std::ostringstream arquivo;
    TProgressoTerminal semTerminal(arquivo, false);
    semTerminal.Anunciar("Consultando...");
    semTerminal.Encerrar();
    EXPECT_EQ(arquivo.str(), "");
}
