#include "UCp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(TesteCp1252, EveryByte_RoundTripsThroughUtf8) {
    std::string todos;
    for (int c = 0; c < 256; ++c)
        todos += static_cast<char>(c);
    const std::string utf8 = Cp1252ParaUtf8(todos);
    EXPECT_EQ(Utf8ParaCp1252(utf8), todos);
    for (int c = 0; c < 256; ++c) {
        const std::string um(1, static_cast<char>(c));
        EXPECT_EQ(Utf8ParaCp1252(Cp1252ParaUtf8(um)), um) << "byte " << c;
    }
}

struct TCasoCaractere {
    std::string Ansi;
    std::string Utf8;
};

void PrintTo(const TCasoCaractere& caso, std::ostream* saida) {
    *saida << ::testing::PrintToString(caso.Utf8);
}

class TesteCp1252Caractere : public ::testing::TestWithParam<TCasoCaractere> {};

TEST_P(TesteCp1252Caractere, Cp1252ParaUtf8_MapsAsWindowsDoes) {
    EXPECT_EQ(Cp1252ParaUtf8(GetParam().Ansi), GetParam().Utf8);
    EXPECT_EQ(Utf8ParaCp1252(GetParam().Utf8), GetParam().Ansi);
}

INSTANTIATE_TEST_SUITE_P(Casos, TesteCp1252Caractere,
                         ::testing::Values(TCasoCaractere{"A", "A"}, TCasoCaractere{"\x80", "\xE2\x82\xAC"},
                                           TCasoCaractere{"\x81", "\xC2\x81"}, TCasoCaractere{"\x8A", "\xC5\xA0"},
                                           TCasoCaractere{"\x93\x94", "\xE2\x80\x9C\xE2\x80\x9D"},
                                           TCasoCaractere{"\x9F", "\xC5\xB8"}, TCasoCaractere{"\xA0", "\xC2\xA0"},
                                           TCasoCaractere{"JOS\xC9", "JOS\xC3\x89"},
                                           TCasoCaractere{"\xE7\xE3", "\xC3\xA7\xC3\xA3"},
                                           TCasoCaractere{"\xFF", "\xC3\xBF"},
                                           TCasoCaractere{std::string(1, '\0'), std::string(1, '\0')}));

TEST(TesteCp1252, Utf8ParaCp1252_CharacterOutsideCodePage_BecomesQuestionMark) {
    EXPECT_EQ(Utf8ParaCp1252("a\xC4\x89"
                             "b"),
              "a?b"); // U+0109
    EXPECT_EQ(Utf8ParaCp1252("a\xE2\x82\xAD"
                             "b"),
              "a?b"); // U+20AD
    EXPECT_EQ(Utf8ParaCp1252("a\xF0\x9F\x98\x80"
                             "b"),
              "a?b");                           // U+1F600, one character
    EXPECT_EQ(Utf8ParaCp1252("\xC2\x80"), "?"); // U+0080 has no byte: 0x80 is the euro
}

TEST(TesteCp1252, Utf8ParaCp1252_MalformedBytes_BecomeQuestionMarks) {
    EXPECT_EQ(Utf8ParaCp1252("a\xFF"
                             "b"),
              "a?b");
    EXPECT_EQ(Utf8ParaCp1252("a\xC3"), "a?");
    EXPECT_EQ(Utf8ParaCp1252("\xC3"
                             "A"),
              "?A");
    EXPECT_EQ(Utf8ParaCp1252("\x89"), "?");
    // Overlong forms of "/" and of the zero byte, a surrogate and a code beyond Unicode.
    EXPECT_EQ(Utf8ParaCp1252("a\xC0\xAF"
                             "b"),
              "a?b");
    EXPECT_EQ(Utf8ParaCp1252("a\xE0\x80\x80"
                             "b"),
              "a?b");
    EXPECT_EQ(Utf8ParaCp1252("a\xED\xA0\x80"
                             "b"),
              "a?b");
    EXPECT_EQ(Utf8ParaCp1252("a\xF4\x90\x80\x80"
                             "b"),
              "a?b");
}

TEST(TesteCp1252, TextoAnsi_GivesCodePageBytes) {
    EXPECT_EQ(TextoAnsi("FILIAL NÃO LOCALIZADA"), "FILIAL N\xC3O LOCALIZADA");
    EXPECT_EQ(TextoAnsi("Informação"), "Informa\xE7\xE3o");
    EXPECT_EQ(TextoAnsi("€"), "\x80");
}

} // namespace
