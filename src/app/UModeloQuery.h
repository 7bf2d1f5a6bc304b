#pragma once

#include <QAbstractListModel>

#include <string>

class TQuery;

// Shows one column of an open query in a list control (a lookup combo box), with the key column of each
// row under Qt::UserRole. The query stays with its owner, who detaches it with DefinirQuery(nullptr)
// before freeing it.
class TModeloQuery : public QAbstractListModel {
    Q_OBJECT
public:
    TModeloQuery(std::string campoChave, std::string campoExibido, QObject* dono);

    void DefinirQuery(TQuery* query);

    // Moves the query to the row whose key is the value; -1, with the cursor left alone, when there is none.
    int LocalizarChave(int chave);
    // Moves the query to the row and gives its key.
    int ChaveDaLinha(int linha);

    int rowCount(const QModelIndex& pai = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;

private:
    std::string FCampoChave;
    std::string FCampoExibido;
    TQuery* FQuery = nullptr;
};
