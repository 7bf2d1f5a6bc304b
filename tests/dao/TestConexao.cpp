#include "TestDb.h"

#include "UConexao.h"
#include "UDao.h"
#include "UErro.h"

class TesteConexao : public TTesteBanco {};

TEST_F(TesteConexao, CriarConexao_ServidorDeTeste_Conecta) {
    auto valor = TDao::ConsultarValor(Conexao(), "select 41 + 1", std::string("x"), true);
    EXPECT_EQ(VarParaTexto(valor), "42");
}
