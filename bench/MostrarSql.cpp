// Prints the receivables query exactly as the export sends it, so that the benchmark can run the same
// text through the database's own command-line client.
#include "export/UDados.h"
#include "platform/UDataHora.h"
#include "platform/UErro.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 5 || argc > 6) {
        std::cerr << "uso: " << argv[0] << " lancamento|vencimento AAAA-MM-DD AAAA-MM-DD EMPRESA [GRUPOS]\n";
        return 2;
    }
    try {
        const std::string sql = TDadosExportacao::SqlExportacao(
            std::string(argv[1]) == "lancamento", TDataHora::DoTextoMysql(argv[2]), TDataHora::DoTextoMysql(argv[3]),
            std::stoi(argv[4]), argc == 6 ? argv[5] : "");
        std::fwrite(sql.data(), 1, sql.size(), stdout);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
