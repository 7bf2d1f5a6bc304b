#include "cli/UProgressoTerminal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

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
    EXPECT_EQ(texto.substr(texto.rfind('\r')), "\r[##############################] 100%  100000/100000\n");
    EXPECT_NE(texto.find("\r[###############...............]  50%  50000/100000"), std::string::npos);
}

TEST(TesteProgressoTerminal, BarAndAnnouncement_ShareOneLineWhichEncerrarEndsOnlyWhenDrawn) {
    std::ostringstream saida;
    TProgressoTerminal progresso(saida, true);
    progresso.Encerrar();
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

    std::ostringstream consulta;
    TProgressoTerminal anuncio(consulta, true);
    anuncio.Anunciar("Consultando...");
    anuncio.Encerrar();
    EXPECT_EQ(consulta.str(), "\rConsultando...\n");
    // A bar replaces the announcement on its line.
    consulta.str("");
    anuncio.Anunciar("Consultando...");
    anuncio.SetMaximo(1);
    anuncio.SetPosicao(0);
    anuncio.Passo();
    anuncio.Encerrar();
    EXPECT_EQ(consulta.str(), "\rConsultando...\r[..............................]   0%  0/1"
                              "\r[##############################] 100%  1/1\n");
}
