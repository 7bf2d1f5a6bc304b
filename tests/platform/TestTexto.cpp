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

} // namespace
