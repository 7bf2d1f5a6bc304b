#include "support/TestDb.h"

#include "platform/UCp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(TesteCp1252, EveryByte_RoundTripsThroughUtf8) {
    std::string todos;
    for (int c = 0; c < 256; ++c)
        todos += static_cast<char>(c);
    EXPECT_EQ(Utf8ParaCp1252(Cp1252ParaUtf8(todos)), todos);
}

TEST(TesteCp1252, Cp1252ParaUtf8_MapsAsWindowsDoes) {
    using C = std::pair<std::string, std::string>;
    const auto casos = Casos<C>(C("A", "A"), C("\x80", "\xE2\x82\xAC"), C("\x81", "\xC2\x81"), C("\x8A", "\xC5\xA0"),
                                C("\x93\x94", "\xE2\x80\x9C\xE2\x80\x9D"), C("\x9F", "\xC5\xB8"), C("\xA0", "\xC2\xA0"),
                                C("JOS\xC9", "JOS\xC3\x89"), C("\xE7\xE3", "\xC3\xA7\xC3\xA3"), C("\xFF", "\xC3\xBF"),
                                C(std::string(1, '\0'), std::string(1, '\0')));
    for (const auto& [ansi, utf8] : casos) {
        SCOPED_TRACE(::testing::PrintToString(utf8));
        EXPECT_EQ(Cp1252ParaUtf8(ansi), utf8);
        EXPECT_EQ(Utf8ParaCp1252(utf8), ansi);
    }
    // The program's own literals are written in UTF-8 source.
    EXPECT_EQ(TextoAnsi("FILIAL NÃO LOCALIZADA"), "FILIAL N\xC3O LOCALIZADA");
}

TEST(TesteCp1252, Utf8ParaCp1252_UnmappableOrMalformed_BecomesQuestionMark) {
    using C = std::pair<std::string, std::string>;
    const auto casos = Casos<C>(C("a\xC4\x89z", "a?z"),         // U+0109
                                C("a\xE2\x82\xADz", "a?z"),     // U+20AD
                                C("a\xF0\x9F\x98\x80z", "a?z"), // U+1F600, one character
                                C("\xC2\x80", "?"),             // U+0080 has no byte: 0x80 is the euro
                                C("a\xFFz", "a?z"), C("a\xC3", "a?"),
                                C("\xC3"
                                  "A",
                                  "?A"),
                                C("\x89", "?"),
                                // Overlong forms of "/" and of the zero byte, a surrogate and a code beyond Unicode.
                                C("a\xC0\xAFz", "a?z"), C("a\xE0\x80\x80z", "a?z"), C("a\xED\xA0\x80z", "a?z"),
                                C("a\xF4\x90\x80\x80z", "a?z"));
    for (const auto& [utf8, ansi] : casos)
        EXPECT_EQ(Utf8ParaCp1252(utf8), ansi) << ::testing::PrintToString(utf8);
}

} // namespace
