#include "support/TestDb.h"

#include "platform/UDataHora.h"

#include <gtest/gtest.h>

namespace {

TDataHora D(int ano, int mes, int dia) {
    return TDataHora::Data(ano, mes, dia);
}

TEST(TesteDataHora, MesAnterior_GivesFirstAndLastDayOfPreviousMonth) {
    const TDataHora casos[][3] = {{{2024, 3, 31, 23, 59, 59}, D(2024, 2, 1), D(2024, 2, 29)},
                                  {D(2023, 3, 31), D(2023, 2, 1), D(2023, 2, 28)},
                                  {D(2000, 3, 1), D(2000, 2, 1), D(2000, 2, 29)},
                                  {D(1900, 3, 1), D(1900, 2, 1), D(1900, 2, 28)},
                                  {D(2024, 1, 1), D(2023, 12, 1), D(2023, 12, 31)},
                                  {D(2024, 5, 31), D(2024, 4, 1), D(2024, 4, 30)},
                                  {D(2024, 12, 31), D(2024, 11, 1), D(2024, 11, 30)}};
    for (const auto& [hoje, inicio, fim] : casos) {
        SCOPED_TRACE(hoje.TextoDataIso());
        EXPECT_EQ(MesAnterior(hoje).Inicio, inicio);
        EXPECT_EQ(MesAnterior(hoje).Fim, fim);
    }
}

TEST(TesteDataHora, DoTextoMysql_ReadsServerTextAndFailsOnAnyOther) {
    using C = std::pair<std::string, TDataHora>;
    const auto casos = Casos<C>(C("2024-03-05 14:07:09", {2024, 3, 5, 14, 7, 9}), C("2024-03-05", D(2024, 3, 5)),
                                C("2024-02-29 23:59:59.999999", {2024, 2, 29, 23, 59, 59}),
                                C("2024-03-05T01:02:03", {2024, 3, 5, 1, 2, 3}), C("0001-01-01 00:00:00", D(1, 1, 1)),
                                C("0000-00-00 00:00:00", TDataHora::Zero()), C("0000-00-00", TDataHora::Zero()),
                                C("14:07:09", {1899, 12, 30, 14, 7, 9}));
    for (const auto& [texto, esperado] : casos)
        EXPECT_EQ(TDataHora::DoTextoMysql(texto), esperado) << texto;
    for (const std::string texto : {"", "abc", "2024/03/05", "2024-13-01", "2023-02-29", "2024-04-31", "2024-00-10",
                                    "2024-03-05x", "2024-03-05 ", "2024-03-05 25:00:00", "2024-03-05 14:60:00",
                                    "2024-03-05 14:07", "2024-3-5", "2024-03-05 14:07:09 ", "14:07"})
        EXPECT_EQ(TextoDaFalha([&] { TDataHora::DoTextoMysql(texto); }),
                  "'" + texto + "' is not a valid date and time");
}

TEST(TesteDataHora, DiasNoMes_LeapYearsAndMonthsOutsideYear) {
    const int casos[][3] = {{2024, 2, 29},  {2023, 2, 28}, {2100, 2, 28}, {2000, 2, 29},
                            {2024, 12, 31}, {2024, 0, 0},  {2024, 13, 0}, {2024, -11, 0}};
    for (const auto& [ano, mes, dias] : casos)
        EXPECT_EQ(DiasNoMes(ano, mes), dias) << ano << "-" << mes;
    EXPECT_FALSE((TDataHora{2024, 0, 1, 0, 0, 0}).DataValida());
    EXPECT_FALSE((TDataHora{2024, 13, 1, 0, 0, 0}).DataValida());
}

TEST(TesteDataHora, Textos_AreZeroFilled) {
    const TDataHora valor{2024, 3, 5, 4, 7, 9};
    EXPECT_EQ(valor.TextoDataIso(), "2024-03-05");
    EXPECT_EQ(valor.TextoExibicao(), "05/03/2024 04:07:09");
    EXPECT_EQ(TDataHora::Zero().TextoExibicao(), "30/12/1899 00:00:00");
}

TEST(TesteDataHora, Agora_FollowsTheClockTestsSet) {
    DefinirRelogio([] { return TDataHora{2024, 3, 31, 10, 0, 0}; });
    EXPECT_EQ(Agora(), (TDataHora{2024, 3, 31, 10, 0, 0}));
    DefinirRelogio(nullptr);
    const TDataHora real = Agora();
    EXPECT_TRUE(real.DataValida());
    EXPECT_GE(real.Ano, 2024);
}

} // namespace
