#include "support/TestDb.h"

#include "platform/UTexto.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(TesteTexto, Aparar_RemovesBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(Aparar(" \t\r\n abc d \x01\x1F "), "abc d");
    EXPECT_EQ(Aparar(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(Aparar("   "), "");
    EXPECT_EQ(Aparar(""), "");
    EXPECT_EQ(Aparar("\xA0x\xA0"), "\xA0x\xA0"); // no-break space is a character of the text
}

TEST(TesteTexto, MinusculasAnsi_FollowsCodePage1252) {
    EXPECT_EQ(MinusculasAnsi("JOS\xC9 \xC7\xC3O \x8A\x8C\x8E\x9F \xD7 1A"),
              "jos\xE9 \xE7\xE3o \x9A\x9C\x9E\xFF \xD7 1a");
}

TEST(TesteTexto, IguaisComecaSemCaixa_IgnoreLetterCase) {
    EXPECT_TRUE(IguaisSemCaixa("Filial A\xC7\xC3O", "filial a\xE7\xE3o"));
    EXPECT_FALSE(IguaisSemCaixa("abc", "abd"));
    EXPECT_FALSE(IguaisSemCaixa("abc", "ab"));
    EXPECT_FALSE(IguaisSemCaixa("\xD7", "\xF7"));
    EXPECT_TRUE(ComecaSemCaixa("Jos\xE9 da Silva", "JOS\xC9"));
    EXPECT_TRUE(ComecaSemCaixa("abc", ""));
    EXPECT_FALSE(ComecaSemCaixa("ab", "abc"));
}

TEST(TesteTexto, FormatarZeros_FillsOnTheLeft) {
    EXPECT_EQ(FormatarZeros(7, 2), "07");
    EXPECT_EQ(FormatarZeros(123, 2), "123");
    EXPECT_EQ(FormatarZeros(0, 6), "000000");
    EXPECT_EQ(FormatarZeros(-5, 3), "-005");
    EXPECT_EQ(FormatarZeros(LLONG_MIN, 1), "-9223372036854775808");
    EXPECT_EQ(FormatarZeros(12, 0), "12");
}

TEST(TesteTexto, ReaisMilharesBrasileiros_GroupThousandsWithDotsAndCentsAfterAComma) {
    using C = std::pair<long long, std::string>;
    for (const auto& [centavos, texto] :
         Casos<C>(C(0, "0,00"), C(5, "0,05"), C(99999, "999,99"), C(100000, "1.000,00"), C(4567890, "45.678,90"),
                  C(123456789, "1.234.567,89"), C(-123456, "-1.234,56"), C(LLONG_MIN, "-92.233.720.368.547.758,08")))
        EXPECT_EQ(ReaisBrasileiros(centavos), texto);
    EXPECT_EQ(MilharesBrasileiros(1234), "1.234");
    EXPECT_EQ(MilharesBrasileiros(999), "999");
    EXPECT_EQ(MilharesBrasileiros(-1234567), "-1.234.567");
}

} // namespace

TEST(TesteTexto, LerDecimal_ReadsOnlyPlainDecimalWithinTheRangeAsked) {
    struct TCaso {
        std::string texto;
        std::int64_t minimo, maximo;
        TLeituraNumero leitura;
        std::int64_t valor;
    };
    constexpr auto Valido = TLeituraNumero::Valido;
    constexpr auto NaoNumero = TLeituraNumero::NaoNumero;
    constexpr auto Fora = TLeituraNumero::ForaDoIntervalo;
    for (const auto& caso : std::vector<TCaso>{
             {"011", INT_MIN, INT_MAX, Valido, 11},
             {"-0", 0, 9, Valido, 0},
             {"+7", INT_MIN, INT_MAX, Valido, 7},
             {"-2147483648", INT_MIN, INT_MAX, Valido, INT_MIN},
             {"-9223372036854775808", INT64_MIN, INT64_MAX, Valido, INT64_MIN},
             {"9223372036854775807", INT64_MIN, INT64_MAX, Valido, INT64_MAX},
             {"", INT_MIN, INT_MAX, NaoNumero, 0},
             {"-", INT_MIN, INT_MAX, NaoNumero, 0},
             {" 1", INT_MIN, INT_MAX, NaoNumero, 0},
             {"1 ", INT_MIN, INT_MAX, NaoNumero, 0},
             {"0x10", INT_MIN, INT_MAX, NaoNumero, 0},
             {"$10", INT_MIN, INT_MAX, NaoNumero, 0},
             {"2147483648", INT_MIN, INT_MAX, Fora, 0},
             {"-2147483649", INT_MIN, INT_MAX, Fora, 0},
             {"9223372036854775808", INT64_MIN, INT64_MAX, Fora, 0},
             {"99999999999999999999999", INT64_MIN, INT64_MAX, Fora, 0},
             {"-5", 0, 999999, Fora, 0},
             {"1000000", 0, 999999, Fora, 0},
         }) {
        SCOPED_TRACE(caso.texto);
        const TNumeroLido lido = LerDecimal(caso.texto, caso.minimo, caso.maximo);
        EXPECT_EQ(lido.Leitura, caso.leitura);
        if (caso.leitura == Valido) {
            EXPECT_EQ(lido.Valor, caso.valor);
        }
    }
    EXPECT_EQ(TextoNumeroRecusado("09x", INT_MIN, INT_MAX), "\"09x\" não é um número inteiro decimal");
    EXPECT_EQ(TextoNumeroRecusado("99999999999", INT_MIN, INT_MAX),
              "\"99999999999\" é grande demais: o maior valor aceito é 2147483647");
    EXPECT_EQ(TextoNumeroRecusado("-99999999999", INT_MIN, INT_MAX),
              "\"-99999999999\" é pequeno demais: o menor valor aceito é -2147483648");
}
