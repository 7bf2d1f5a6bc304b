#include "UDataHora.h"
#include "UErro.h"

#include <gtest/gtest.h>

namespace {

struct TCasoMes {
    TDataHora Hoje;
    TDataHora Inicio;
    TDataHora Fim;
};

void PrintTo(const TCasoMes& caso, std::ostream* saida) {
    *saida << caso.Hoje.TextoDataIso();
}

class TesteMesAnterior : public ::testing::TestWithParam<TCasoMes> {};

TEST_P(TesteMesAnterior, MesAnterior_GivesFirstAndLastDayOfPreviousMonth) {
    const auto periodo = MesAnterior(GetParam().Hoje);
    EXPECT_EQ(periodo.Inicio, GetParam().Inicio);
    EXPECT_EQ(periodo.Fim, GetParam().Fim);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TesteMesAnterior,
    ::testing::Values(
        TCasoMes{{2024, 3, 31, 23, 59, 59}, TDataHora::Data(2024, 2, 1), TDataHora::Data(2024, 2, 29)},
        TCasoMes{TDataHora::Data(2023, 3, 31), TDataHora::Data(2023, 2, 1), TDataHora::Data(2023, 2, 28)},
        TCasoMes{TDataHora::Data(2000, 3, 1), TDataHora::Data(2000, 2, 1), TDataHora::Data(2000, 2, 29)},
        TCasoMes{TDataHora::Data(1900, 3, 1), TDataHora::Data(1900, 2, 1), TDataHora::Data(1900, 2, 28)},
        TCasoMes{TDataHora::Data(2024, 1, 15), TDataHora::Data(2023, 12, 1), TDataHora::Data(2023, 12, 31)},
        TCasoMes{TDataHora::Data(2024, 1, 1), TDataHora::Data(2023, 12, 1), TDataHora::Data(2023, 12, 31)},
        TCasoMes{TDataHora::Data(2024, 5, 31), TDataHora::Data(2024, 4, 1), TDataHora::Data(2024, 4, 30)},
        TCasoMes{TDataHora::Data(2024, 12, 31), TDataHora::Data(2024, 11, 1), TDataHora::Data(2024, 11, 30)}));

struct TCasoTexto {
    std::string Texto;
    TDataHora Esperado;
};

void PrintTo(const TCasoTexto& caso, std::ostream* saida) {
    *saida << caso.Texto;
}

class TesteDoTextoMysql : public ::testing::TestWithParam<TCasoTexto> {};

TEST_P(TesteDoTextoMysql, DoTextoMysql_ReadsServerText) {
    EXPECT_EQ(TDataHora::DoTextoMysql(GetParam().Texto), GetParam().Esperado) << GetParam().Texto;
}

INSTANTIATE_TEST_SUITE_P(Casos, TesteDoTextoMysql,
                         ::testing::Values(TCasoTexto{"2024-03-05 14:07:09", {2024, 3, 5, 14, 7, 9}},
                                           TCasoTexto{"2024-03-05", {2024, 3, 5, 0, 0, 0}},
                                           TCasoTexto{"2024-02-29 23:59:59.999999", {2024, 2, 29, 23, 59, 59}},
                                           TCasoTexto{"2024-03-05T01:02:03", {2024, 3, 5, 1, 2, 3}},
                                           TCasoTexto{"0001-01-01 00:00:00", {1, 1, 1, 0, 0, 0}},
                                           TCasoTexto{"0000-00-00 00:00:00", TDataHora::Zero()},
                                           TCasoTexto{"0000-00-00", TDataHora::Zero()},
                                           TCasoTexto{"14:07:09", {1899, 12, 30, 14, 7, 9}}));

class TesteDoTextoMysqlInvalido : public ::testing::TestWithParam<std::string> {};

TEST_P(TesteDoTextoMysqlInvalido, DoTextoMysql_OtherText_Fails) {
    try {
        TDataHora::DoTextoMysql(GetParam());
        FAIL() << "no failure for " << GetParam();
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()), "'" + GetParam() + "' is not a valid date and time");
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, TesteDoTextoMysqlInvalido,
                         ::testing::Values("", "abc", "2024/03/05", "2024-13-01", "2023-02-29", "2024-04-31",
                                           "2024-00-10", "2024-03-05x", "2024-03-05 ", "2024-03-05 25:00:00",
                                           "2024-03-05 14:60:00", "2024-03-05 14:07", "2024-3-5",
                                           "2024-03-05 14:07:09 ", "14:07"));

TEST(TesteDataHora, DiasNoMes_LeapYearsAndMonthsOutsideYear) {
    EXPECT_EQ(DiasNoMes(2024, 2), 29);
    EXPECT_EQ(DiasNoMes(2023, 2), 28);
    EXPECT_EQ(DiasNoMes(2100, 2), 28);
    EXPECT_EQ(DiasNoMes(2000, 2), 29);
    EXPECT_EQ(DiasNoMes(2024, 12), 31);
    EXPECT_EQ(DiasNoMes(2024, 0), 0);
    EXPECT_EQ(DiasNoMes(2024, 13), 0);
    EXPECT_EQ(DiasNoMes(2024, -11), 0);
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
