#include "support/TestDb.h"

#include "platform/USha256.h"

#include <gtest/gtest.h>

namespace {

// The test vectors of FIPS 180-2.
const std::string Vazio = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const std::string Abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string Mensagem448 = "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1";
const std::string MilhaoDeA = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
const std::string Texto448 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";

TEST(TesteSha256, Sha256_GivesTheStandardsTestVectors) {
    EXPECT_EQ(Sha256(""), Vazio);
    EXPECT_EQ(Sha256("abc"), Abc);
    EXPECT_EQ(Sha256(Texto448), Mensagem448);
    EXPECT_EQ(Sha256(std::string(1000000, 'a')), MilhaoDeA);
}

TEST(TesteSha256, Acrescentar_AnySplitOfTheInputGivesTheSameDigest) {
    for (const std::size_t pedaco : {1u, 7u, 55u, 56u, 64u, 65u, 1000u}) {
        SCOPED_TRACE(pedaco);
        TSha256 sha;
        for (std::size_t i = 0; i < Texto448.size(); i += pedaco)
            sha.Acrescentar(std::string_view(Texto448).substr(i, pedaco));
        EXPECT_EQ(sha.Concluir(), Mensagem448);
        EXPECT_EQ(sha.Concluir(), Vazio) << "starts over after Concluir";
    }
}

} // namespace
