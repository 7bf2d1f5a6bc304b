#include "support/TestDb.h"

#include "platform/UTexto.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(TesteTexto, Aparar_RemovesBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(Aparar(" \t\r\n abc d \x01\x1F "), "abc d");
    EXPECT_EQ(Aparar(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(Aparar("   "), "");
    EXPECT_EQ(Aparar(""), "");
    EXPECT_EQ(Aparar("\xA0x\xA0"), "\xA0x\xA0"); // no-break space is a character of the text
}

TEST(TesteTexto, MaiusculasMinusculas_FollowCodePage1252) {
    EXPECT_EQ(MaiusculasAnsi("jos\xE9 \xE7\xE3o \x9A\x9C\x9E\xFF \xDF\xF7\xD7 1a"),
              "JOS\xC9 \xC7\xC3O \x8A\x8C\x8E\x9F \xDF\xF7\xD7 1A");
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
