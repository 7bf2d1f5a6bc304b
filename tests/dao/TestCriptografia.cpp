#include "dao/UDao.h"
#include "platform/UErro.h"
#include "platform/UTexto.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace {

// The stored form written by hand from the documented rule, with a seed of our choosing.
std::string StoredForm(const std::string& senha, const std::string& chave, int semente) {
    char par[3];
    std::snprintf(par, sizeof par, "%02X", semente);
    std::string saida = par;
    int anterior = semente;
    std::size_t k = 0;
    for (unsigned char c : senha) {
        k = k < chave.size() ? k + 1 : 1;
        const int valor = ((anterior + c) % 255) ^ static_cast<unsigned char>(chave[k - 1]);
        std::snprintf(par, sizeof par, "%02X", valor);
        saida += par;
        anterior = valor;
    }
    return saida;
}

std::string TodosOsCodigos() {
    std::string texto;
    for (int c = 1; c <= 254; ++c)
        texto += static_cast<char>(c);
    return texto;
}

TEST(TesteCriptografia, Scramble_RandomSeedThenOneUpperCasePairPerCharacter_AndRoundTrips) {
    for (const std::string chave : {"KAV", "K", "uma chave longa que passa do texto"}) {
        for (const std::string& senha : {TodosOsCodigos() + std::string("\0\xFF", 2), std::string()}) {
            std::set<std::string> vistas;
            for (int vez = 0; vez < 30; ++vez) {
                const std::string armazenada = Criptografia("E", senha, chave);
                ASSERT_EQ(armazenada.size(), 2 + 2 * senha.size());
                for (char c : armazenada)
                    ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << armazenada;
                EXPECT_EQ(armazenada, StoredForm(senha, chave, std::stoi(armazenada.substr(0, 2), nullptr, 16)));
                if (!senha.empty()) {
                    EXPECT_EQ(Criptografia("D", armazenada, chave).substr(0, 254), senha.substr(0, 254));
                }
                vistas.insert(armazenada);
            }
            EXPECT_GT(vistas.size(), 1u);
        }
    }
}

TEST(TesteCriptografia, Unscramble_EveryCode1To254_UnderEverySeed) {
    const std::string senha = TodosOsCodigos();
    for (int semente = 0; semente <= 255; ++semente) {
        for (const std::string chave : {"KAV", "Z", "\xFF\x01\x80"})
            ASSERT_EQ(Criptografia("D", StoredForm(senha, chave, semente), chave), senha)
                << "seed " << semente << " key " << chave;
    }
}

TEST(TesteCriptografia, Codes0And255_ScrambleAlikeAndUnscrambleBySeed) {
    for (int semente = 0; semente <= 255; ++semente) {
        const std::string zero = StoredForm(std::string(1, '\0'), "KAV", semente);
        EXPECT_EQ(zero, StoredForm("\xFF", "KAV", semente));
        const std::string esperado = semente == 255 ? std::string(1, '\0') : std::string("\xFF");
        EXPECT_EQ(Criptografia("D", zero, "KAV"), esperado) << "seed " << semente;
    }
    // For a later character the previous value is the stored value of the one before it.
    for (int c = 0; c < 256; ++c) {
        const std::string armazenada =
            StoredForm(std::string(1, static_cast<char>(c)) + std::string(1, '\0'), "KAV", 7);
        const int primeiro = std::stoi(armazenada.substr(2, 2), nullptr, 16);
        const std::string segundo = Criptografia("D", armazenada, "KAV").substr(1);
        EXPECT_EQ(segundo, primeiro == 255 ? std::string(1, '\0') : std::string("\xFF")) << "first code " << c;
    }
}

TEST(TesteCriptografia, Unscramble_KnownValuesOddLengthsAndLowerCase) {
    // Worked out by hand from the rule: seed 0x7C, key bytes K A V K A V K A V.
    EXPECT_EQ(Criptografia("D", "7C19E05B3A62D8F40B15", "KAV"), "\xD5\x88,\x16\xE8,\xE6U8");
    EXPECT_EQ(Criptografia("D", "7c19E05b3A62d8F40b15", "KAV"), "\xD5\x88,\x16\xE8,\xE6U8");
    // 0x01 xor 'K' = 74; 74 - 0 = 74.
    EXPECT_EQ(Criptografia("D", "0001", "KAV"), "J");
    // A single third digit is read alone: 0x1 xor 'K' = 74, below the seed 124: 74 + 255 - 124 = 205.
    EXPECT_EQ(Criptografia("D", "7C1", "KAV"), "\xCD");
    EXPECT_EQ(Criptografia("D", "001", "KAV"), "J");
    // Past the third character an odd last one is ignored, whatever it is.
    const std::string armazenada = StoredForm("abc", "KAV", 0x3A);
    for (const char* resto : {"F", "Z", " "})
        EXPECT_EQ(Criptografia("D", armazenada + resto, "KAV"), "abc") << resto;
    EXPECT_EQ(Criptografia("D", "7C19E", "KAV"), Criptografia("D", "7C19", "KAV"));
    for (int semente : {0, 0xAB, 0xFF})
        EXPECT_EQ(Criptografia("D", MinusculasAnsi(StoredForm("S\xEAnha#2024", "KAV", semente)), "KAV"),
                  "S\xEAnha#2024");
}

TEST(TesteCriptografia, Unscramble_MalformedTextOrEmptyKey_Fails) {
    for (const char* texto :
         {"", "7", "7C", "7G19", "G719", "7C1G", "7C 9", " 7C19", "7C19 0", "7C1 ", "0x19", "+7C19", "-7C19",
          "7C\xE9"
          "19"})
        EXPECT_THROW(Criptografia("D", texto, "KAV"), EFalha) << "text: \"" << texto << "\"";
    EXPECT_THROW(Criptografia("E", "abc", ""), EFalha);
    EXPECT_THROW(Criptografia("D", "7C19", ""), EFalha);
}

TEST(TesteCriptografia, OtherModes_GiveEmptyText) {
    const std::string armazenada = StoredForm("abc", "KAV", 1);
    for (const char* modo : {"e", "d", "", "X", "ED", "E ", " D"}) {
        for (const std::string& texto : {std::string("abc"), armazenada, std::string("zz")})
            EXPECT_EQ(Criptografia(modo, texto, "KAV"), "") << modo;
    }
}

TEST(TesteCriptografia, DescriptografarSenha_BlanksOnlyGiveEmpty_OtherTextIsPassedOnUntrimmed) {
    for (const char* texto : {"", " ", "   ", "\t", " \r\n\t "})
        EXPECT_EQ(DescriptografarSenha(texto, "KAV"), "") << "\"" << texto << "\"";
    const std::string armazenada = StoredForm("root123", "KAV", 0x5D);
    EXPECT_EQ(DescriptografarSenha(armazenada, "KAV"), "root123");
    EXPECT_EQ(DescriptografarSenha(MinusculasAnsi(armazenada), "KAV"), "root123");
    // One blank at the end of an even-length value becomes the ignored last character.
    EXPECT_EQ(DescriptografarSenha(armazenada + " ", "KAV"), "root123");
    for (const std::string& texto :
         {" " + armazenada, armazenada + "  ", armazenada.substr(0, 3) + " " + armazenada.substr(3), std::string("7C")})
        EXPECT_THROW(DescriptografarSenha(texto, "KAV"), EFalha) << texto;
}

} // namespace
