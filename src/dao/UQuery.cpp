#include "dao/UQuery.h"

#include "dao/UConexao.h"
#include "platform/UErro.h"
#include "platform/UTexto.h"

#include <mysql.h>

#include <charconv>
#include <climits>

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

} // namespace

void TQuery::TLiberarResultado::operator()(st_mysql_res* resultado) const {
    mysql_free_result(resultado);
}

TQuery::TQuery(TConexao& conexao, std::string sql) : FConexao(conexao), FSQL(std::move(sql)) {}

TQuery::~TQuery() = default;

void TQuery::Abrir() {
    Fechar();
    FResultado.reset(FConexao.Executar(FSQL));
    if (!FResultado)
        throw EFalha("Query returned no result set");
    const auto quantidade = mysql_num_rows(FResultado.get());
    FLinhas.reserve(quantidade);
    for (;;) {
        MYSQL_ROW_OFFSET inicio = mysql_row_tell(FResultado.get());
        if (!mysql_fetch_row(FResultado.get()))
            break;
        FLinhas.push_back(inicio);
    }
    FLinha = 0;
    AvisarDados();
}

void TQuery::Fechar() {
    FResultado.reset();
    FLinhas.clear();
    FLinhas.shrink_to_fit();
    FEdicoes.clear();
    FLinha = 0;
    FLinhaCarregada = static_cast<std::size_t>(-1);
    FValores = nullptr;
    FTamanhos = nullptr;
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
    if (FLinhaCarregada != FLinha) {
        mysql_row_seek(FResultado.get(), static_cast<MYSQL_ROW_OFFSET>(FLinhas[FLinha]));
        FValores = mysql_fetch_row(FResultado.get());
        FTamanhos = mysql_fetch_lengths(FResultado.get());
        FLinhaCarregada = FLinha;
    }
    if (!FValores[indice])
        return std::nullopt;
    return std::string_view(FValores[indice], FTamanhos[indice]);
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
