#include "dao/UQuery.h"

#include "dao/UConexao.h"
#include "platform/UErro.h"
#include "platform/UTexto.h"

#include <mysql.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

// The server writes numbers in the C locale's form, whatever locale the program runs under.
// Integers are plain decimal: a column that holds anything else is no integer.
std::int64_t InteiroDoServidor(std::string_view texto, std::int64_t minimo = INT64_MIN,
                               std::int64_t maximo = INT64_MAX) {
    const TNumeroLido numero = LerDecimal(texto, minimo, maximo);
    if (numero.Leitura != TLeituraNumero::Valido)
        throw EFalha(TextoNaoInteiro(texto));
    return numero.Valor;
}

double RealDoServidor(std::string_view texto) {
    double valor = 0;
    const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (erro != std::errc() || fim != texto.data() + texto.size())
        throw EFalha("'" + std::string(texto) + "' is not a valid floating point value");
    return valor;
}

// A stored value begins with one byte: its length when below Nulo; Nulo for NULL; Longo before a length of 4 bytes.
constexpr unsigned char Nulo = 251;
constexpr unsigned char Longo = 252;
constexpr std::size_t TamanhoBloco = 1 << 20;

} // namespace

void TQuery::TLiberarResultado::operator()(st_mysql_res* resultado) const {
    mysql_free_result(resultado);
}

TQuery::TQuery(TConexao& conexao, std::string sql) : FConexao(conexao), FSQL(std::move(sql)) {}

TQuery::~TQuery() = default;

void TQuery::Abrir() {
    Fechar();
    try {
        FResultado.reset(
            FConexao.Executar(FSQL, [this](unsigned campos, char** valores, const unsigned long* tamanhos) {
                Guardar(campos, valores, tamanhos);
            }));
    } catch (...) {
        Fechar();
        throw;
    }
    if (!FResultado)
        throw EFalha("Query returned no result set");
    FLinha = 0;
    AvisarDados();
}

void TQuery::Guardar(unsigned campos, char** valores, const unsigned long* tamanhos) {
    std::size_t tamanho = 0;
    for (unsigned i = 0; i < campos; ++i)
        tamanho += 1 + (tamanhos[i] < Nulo ? 0 : 4) + tamanhos[i];
    if (static_cast<std::size_t>(FFimBloco - FLivre) < tamanho) {
        const std::size_t bloco = std::max(tamanho, TamanhoBloco);
        FBlocos.push_back(std::make_unique_for_overwrite<char[]>(bloco));
        FLivre = FBlocos.back().get();
        FFimBloco = FLivre + bloco;
    }
    FLinhas.push_back(FLivre);
    for (unsigned i = 0; i < campos; ++i) {
        if (!valores[i]) {
            *FLivre++ = static_cast<char>(Nulo);
            continue;
        }
        if (tamanhos[i] < Nulo) {
            *FLivre++ = static_cast<char>(tamanhos[i]);
        } else {
            // The client takes no packet of 4 GiB or more.
            const auto longo = static_cast<std::uint32_t>(tamanhos[i]);
            *FLivre++ = static_cast<char>(Longo);
            std::memcpy(FLivre, &longo, sizeof longo);
            FLivre += sizeof longo;
        }
        std::memcpy(FLivre, valores[i], tamanhos[i]);
        FLivre += tamanhos[i];
    }
}

void TQuery::Fechar() {
    FResultado.reset();
    FBlocos.clear();
    FLivre = nullptr;
    FFimBloco = nullptr;
    FLinhas.clear();
    FLinhas.shrink_to_fit();
    FEdicoes.clear();
    FLinha = 0;
}

void TQuery::Primeiro() {
    FLinha = 0;
    AvisarCursor();
}

void TQuery::Proximo() {
    if (FLinha < FLinhas.size())
        ++FLinha;
    AvisarCursor();
}

bool TQuery::FimDosDados() const {
    return FLinha >= FLinhas.size();
}

void TQuery::IrPara(std::size_t linha) {
    FLinha = linha < FLinhas.size() ? linha : FLinhas.size();
    AvisarCursor();
}

int TQuery::QuantidadeCampos() const {
    return FResultado ? static_cast<int>(mysql_num_fields(FResultado.get())) : 0;
}

std::string TQuery::NomeCampo(int indice) const {
    if (!FResultado || indice < 0 || indice >= QuantidadeCampos())
        throw EFalha("Field index out of range");
    return mysql_fetch_field_direct(FResultado.get(), static_cast<unsigned>(indice))->name;
}

int TQuery::TipoCampo(int indice) const {
    if (!FResultado || indice < 0 || indice >= QuantidadeCampos())
        throw EFalha("Field index out of range");
    return mysql_fetch_field_direct(FResultado.get(), static_cast<unsigned>(indice))->type;
}

int TQuery::IndiceCampo(std::string_view nome) const {
    for (int i = 0; i < QuantidadeCampos(); ++i)
        if (IguaisSemCaixa(mysql_fetch_field_direct(FResultado.get(), static_cast<unsigned>(i))->name, nome))
            return i;
    throw EFalha("Field '" + std::string(nome) + "' not found");
}

void TQuery::ExigirLinhaAtual() const {
    if (!FResultado || FLinha >= FLinhas.size())
        throw EFalha("No current record");
}

std::optional<std::string_view> TQuery::ValorBruto(int indice) const {
    ExigirLinhaAtual();
    if (indice < 0 || indice >= QuantidadeCampos())
        throw EFalha("Field index out of range");
    if (!FEdicoes.empty()) {
        const auto editado = FEdicoes.find({FLinha, indice});
        if (editado != FEdicoes.end()) {
            if (!editado->second)
                return std::nullopt;
            return std::string_view(*editado->second);
        }
    }
    const char* valor = FLinhas[FLinha];
    for (int campo = 0;; ++campo) {
        const auto marca = static_cast<unsigned char>(*valor++);
        std::size_t tamanho = marca == Nulo ? 0 : marca;
        if (marca == Longo) {
            std::uint32_t longo = 0;
            std::memcpy(&longo, valor, sizeof longo);
            valor += sizeof longo;
            tamanho = longo;
        }
        if (campo == indice)
            return marca == Nulo ? std::nullopt : std::optional<std::string_view>(std::string_view(valor, tamanho));
        valor += tamanho;
    }
}

bool TQuery::Localizar(std::string_view campo, std::string_view valor, bool prefixoSemCaixa) {
    const int indice = IndiceCampo(campo);
    const std::size_t atual = FLinha;
    for (std::size_t linha = 0; linha < FLinhas.size(); ++linha) {
        FLinha = linha;
        const auto texto = ValorBruto(indice);
        if (!texto)
            continue;
        if (prefixoSemCaixa ? ComecaSemCaixa(*texto, valor) : *texto == valor) {
            AvisarCursor();
            return true;
        }
    }
    FLinha = atual;
    return false;
}

void TQuery::Editar(std::string_view campo, std::optional<std::string> valor) {
    const int indice = IndiceCampo(campo);
    ExigirLinhaAtual();
    FEdicoes[{FLinha, indice}] = std::move(valor);
    AvisarDados();
}

void TQuery::DesabilitarControles() {
    ++FSuspensoes;
}

void TQuery::HabilitarControles() {
    if (FSuspensoes > 0 && --FSuspensoes == 0)
        AvisarDados();
}

void TQuery::AvisarCursor() {
    if (FObservador && FSuspensoes == 0)
        FObservador->CursorMudou();
}

void TQuery::AvisarDados() {
    if (FObservador && FSuspensoes == 0)
        FObservador->DadosMudaram();
}

bool TCampo::Nulo() const {
    return !FQuery.ValorBruto(FIndice).has_value();
}

std::string TCampo::Texto() const {
    return std::string(FQuery.ValorBruto(FIndice).value_or(std::string_view()));
}

int TCampo::Inteiro() const {
    const auto valor = FQuery.ValorBruto(FIndice);
    return valor ? static_cast<int>(InteiroDoServidor(*valor, INT_MIN, INT_MAX)) : 0;
}

TDataHora TCampo::DataHora() const {
    const auto valor = FQuery.ValorBruto(FIndice);
    return valor ? TDataHora::DoTextoMysql(*valor) : TDataHora::Zero();
}

TValorFixo TCampo::Valor() const {
    const auto valor = FQuery.ValorBruto(FIndice);
    return valor ? TValorFixo::DoTexto(*valor) : TValorFixo();
}

TVariante TCampo::Variante() const {
    const auto valor = FQuery.ValorBruto(FIndice);
    if (!valor)
        return std::monostate{};
    switch (FQuery.TipoCampo(FIndice)) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
        return InteiroDoServidor(*valor);
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        return RealDoServidor(*valor);
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return TValorFixo::DoTexto(*valor);
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return TDataHora::DoTextoMysql(*valor);
    default:
        return std::string(*valor);
    }
}
