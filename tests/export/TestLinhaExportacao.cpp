#include "support/TestDb.h"

#include "export/ULinhaExportacao.h"

#include <string>
#include <vector>

namespace {

struct TCaso {
    std::string descricao;
    TLancamento lancamento;
    int codTorvane;
    std::string linha; // without CR LF
};

TLancamento Exemplo() {
    return {"4521", "CLIENTE EXEMPLO", TDataHora::Data(2024, 3, 5), 1893, 1000};
}

TLancamento Com(void (*mudar)(TLancamento&)) {
    TLancamento lancamento = Exemplo();
    mudar(lancamento);
    return lancamento;
}

const std::string Nome40 = "CLIENTE EXEMPLO" + std::string(25, ' ');

} // namespace

TEST(TesteLinhaExportacao, AcrescentarLinhaExportacao_PutsEachFieldAtItsWidth) {
    const std::string nome45 = "NOME QUE PASSA DOS QUARENTA CARACTERES DO CAMPO";
    for (const auto& caso : std::vector<TCaso>{
             {"example", Exemplo(), 7, "070000004521" + Nome40 + "05032024001893" + "01" + "000000001000"},
             {"badge longer than 10 keeps its first 10", Com([](TLancamento& l) { l.Chapa = "123456789012"; }), 7,
              "071234567890" + Nome40 + "05032024001893" + "01" + "000000001000"},
             {"empty badge and name", Com([](TLancamento& l) { l.Chapa = l.Nome = ""; }), 1,
              "010000000000" + std::string(40, ' ') + "05032024001893" + "01" + "000000001000"},
             {"name longer than 40 keeps its first 40",
              Com([](TLancamento& l) { l.Nome = "NOME QUE PASSA DOS QUARENTA CARACTERES DO CAMPO"; }), 7,
              "070000004521" + nome45.substr(0, 40) + "05032024001893" + "01" + "000000001000"},
             {"accented name counts bytes", Com([](TLancamento& l) { l.Nome = "JOS\xC9"; }), 7,
              "070000004521JOS\xC9" + std::string(36, ' ') + "05032024001893" + "01" + "000000001000"},
             {"control characters become blanks, after the cut", Com([](TLancamento& l) {
                  l.Chapa = std::string_view("12\t4\r\n\0", 7);
                  l.Nome = "A\x7F"
                           "B";
              }),
              7, "0700012 4   " + std::string("A B") + std::string(37, ' ') + "05032024001893" + "01" + "000000001000"},
             {"zero amount, number and code", Com([](TLancamento& l) { l.Numero = l.Centavos = 0; }), 0,
              "000000004521" + Nome40 + "05032024000000" + "01" + "000000000000"},
             {"largest amount, number and code", Com([](TLancamento& l) {
                  l.Numero = MaiorNumeroLancamento;
                  l.Centavos = MaiorValorCentavos;
              }),
              99, "990000004521" + Nome40 + "05032024999999" + "01" + "999999999999"},
             {"the zero date", Com([](TLancamento& l) { l.Data = TDataHora::Zero(); }), 7,
              "070000004521" + Nome40 + "30121899001893" + "01" + "000000001000"},
             {"last day of the year", Com([](TLancamento& l) { l.Data = TDataHora{2023, 12, 31, 23, 59, 59}; }), 7,
              "070000004521" + Nome40 + "31122023001893" + "01" + "000000001000"},
         }) {
        SCOPED_TRACE(caso.descricao);
        ASSERT_EQ(caso.linha.size(), 80u);
        // Lines are written in blocks: each goes after the ones before it.
        std::string bloco = "linha anterior\r\n";
        AcrescentarLinhaExportacao(bloco, caso.lancamento, caso.codTorvane);
        EXPECT_EQ(bloco, "linha anterior\r\n" + caso.linha + "\r\n");
    }
}

TEST(TesteLinhaExportacao, AcrescentarLinhaExportacao_RefusesANumberOutsideItsField) {
    for (const auto& [descricao, lancamento, codTorvane] : std::vector<std::tuple<std::string, TLancamento, int>>{
             {"posting number", Com([](TLancamento& l) { l.Numero = MaiorNumeroLancamento + 1; }), 7},
             {"negative posting number", Com([](TLancamento& l) { l.Numero = -1; }), 7},
             {"amount", Com([](TLancamento& l) { l.Centavos = MaiorValorCentavos + 1; }), 7},
             {"negative amount", Com([](TLancamento& l) { l.Centavos = -5; }), 7},
             {"Torvane code", Exemplo(), 100},
             {"negative Torvane code", Exemplo(), -1},
             {"year of five digits", Com([](TLancamento& l) { l.Data.Ano = 10000; }), 7},
         }) {
        SCOPED_TRACE(descricao);
        std::string bloco = "linha anterior\r\n";
        EXPECT_THROW(AcrescentarLinhaExportacao(bloco, lancamento, codTorvane), EFalha);
        EXPECT_EQ(bloco, "linha anterior\r\n");
    }
}
