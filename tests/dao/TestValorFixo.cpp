#include "support/TestDb.h"

#include "dao/UValorFixo.h"
#include "dao/UVariante.h"

#include <gtest/gtest.h>

#include <locale>

namespace {

TEST(TesteValorFixo, DoTexto_HoldsFourDecimalsExactly) {
    using C = std::pair<std::string, std::int64_t>;
    const auto casos = Casos<C>(
        C("1234.50", 12345000), C("12", 120000), C("0.1", 1000), C("0.0001", 1), C(".5", 5000), C("7.", 70000),
        C("-0.004", -40), C("+3.25", 32500), C("0.00005", 1), C("0.00004999", 0), C("-0.00005", -1), C("-0.00004", 0),
        C("1.23455", 12346), C("1.23449999", 12345), C("0.99995", 10000), C("12345678901.99995", 123456789020000),
        C("00042.1000", 421000), C("922337203685477.5807", INT64_MAX), C("-922337203685477.5807", -INT64_MAX));
    for (const auto& [texto, dezMilesimos] : casos)
        EXPECT_EQ(TValorFixo::DoTexto(texto).DezMilesimos(), dezMilesimos) << texto;
}

TEST(TesteValorFixoInvalido, DoTexto_OtherTextOrOverflow_Fails) {
    for (const char* texto :
         {"", "-", ".", "abc", "1,5", "1.2.3", "1e5", " 1", "1 ", "--1", "0x10", "922337203685477.5808",
          "922337203685477.58075", "922337203685478", "9999999999999999999999", "-922337203685477.5809"}) {
        EXPECT_EQ(TextoDaFalha([&] { TValorFixo::DoTexto(texto); }),
                  "'" + std::string(texto) + "' is not a valid amount");
    }
}

TEST(TesteValorFixoCentavos, CentavosArredondados_RoundsHalfAwayFromZero) {
    EXPECT_EQ(TValorFixo::DoTexto("1234.50").CentavosArredondados(), 123450);
    EXPECT_EQ(TValorFixo::DoTexto("0.005").CentavosArredondados(), 1);
    EXPECT_EQ(TValorFixo::DoTexto("0.0049").CentavosArredondados(), 0);
    EXPECT_EQ(TValorFixo::DoTexto("-0.005").CentavosArredondados(), -1);
    EXPECT_EQ(TValorFixo::DoTexto("10.9950").CentavosArredondados(), 1100);
}

TEST(TesteValorFixoTexto, Texto_ShowsFourPlaces) {
    EXPECT_EQ(TValorFixo::DoTexto("1234.5").Texto(), "1234.5000");
    EXPECT_EQ(TValorFixo::DoTexto("-0.004").Texto(), "-0.0040");
    EXPECT_EQ(TValorFixo().Texto(), "0.0000");
}

// A locale that writes numbers the Brazilian way.
struct TVirgulaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(TesteVariante, VarParaTexto_EachType) {
    const std::locale anterior = std::locale::global(std::locale(std::locale::classic(), new TVirgulaDecimal));
    EXPECT_EQ(VarParaTexto(TVariante()), "");
    EXPECT_EQ(VarParaTexto(TVariante(std::int64_t{-1234567})), "-1234567");
    EXPECT_EQ(VarParaTexto(TVariante(1234.5)), "1234.5");
    EXPECT_EQ(VarParaTexto(TVariante(0.1 + 0.2)), "0.3");
    EXPECT_EQ(VarParaTexto(TVariante(TValorFixo::DoTexto("1234.5000"))), "1234.5");
    EXPECT_EQ(VarParaTexto(TVariante(TValorFixo::DoTexto("12.0000"))), "12");
    EXPECT_EQ(VarParaTexto(TVariante(TValorFixo())), "0");
    EXPECT_EQ(VarParaTexto(TVariante(TDataHora{2024, 3, 5, 14, 7, 9})), "05/03/2024 14:07:09");
    EXPECT_EQ(VarParaTexto(TVariante(std::string("FILIAL"))), "FILIAL");
    std::locale::global(anterior);
    EXPECT_TRUE(VarVazio(TVariante()));
    EXPECT_FALSE(VarVazio(TVariante(std::string())));
}

} // namespace
