#include "app/UModeloQuery.h"

#include "dao/UQuery.h"
#include "qtbase/UTextoQt.h"

#include <exception>
#include <utility>

TModeloQuery::TModeloQuery(std::string campoChave, std::string campoExibido, QObject* dono)
    : QAbstractListModel(dono), FCampoChave(std::move(campoChave)), FCampoExibido(std::move(campoExibido)) {}

void TModeloQuery::DefinirQuery(TQuery* query) {
    beginResetModel();
    FQuery = query;
    endResetModel();
}

int TModeloQuery::LocalizarChave(int chave) {
    if (!FQuery || !FQuery->Localizar(FCampoChave, std::to_string(chave), false))
        return -1;
    return static_cast<int>(FQuery->Linha());
}

int TModeloQuery::ChaveDaLinha(int linha) {
    FQuery->IrPara(static_cast<std::size_t>(linha));
    return FQuery->Campo(FCampoChave).Inteiro();
}

int TModeloQuery::rowCount(const QModelIndex& pai) const {
    if (pai.isValid() || !FQuery || !FQuery->Aberta())
        return 0;
    return static_cast<int>(FQuery->QuantidadeRegistros());
}

QVariant TModeloQuery::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid() || indice.row() >= rowCount() || (papel != Qt::DisplayRole && papel != Qt::UserRole))
        return {};
    // Drawing a row must not move the cursor that the lookup keeps on the chosen row.
    const std::size_t atual = FQuery->Linha();
    FQuery->IrPara(static_cast<std::size_t>(indice.row()));
    QVariant valor;
    try {
        if (papel == Qt::DisplayRole)
            valor = ParaQString(FQuery->Campo(FCampoExibido).Texto());
        else
            valor = FQuery->Campo(FCampoChave).Inteiro();
    } catch (const std::exception&) {
        // Views ask from inside painting, where no failure may escape: an unreadable value shows empty.
    }
    FQuery->IrPara(atual);
    return valor;
}
