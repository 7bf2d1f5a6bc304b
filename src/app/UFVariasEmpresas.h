#pragma once

#include "export/UVerificacaoExportacao.h"
#include "qtbase/UDialogo.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TEditNumero;
class TProgressoQt;
struct TEmpresaPedida;

// The month-end of several companies in one step: every company of the list with a check box, its own number in
// Torvane and the file it will get, each remembered as the main window remembers them; the folder, the period,
// the date basis and the profile are the main window's. "Gerar (F3)" asks once, for all the companies marked,
// whatever needs asking, exports them in order under one gauge that names each, and ends with one box that says
// how each one went. A company that fails leaves the others written.
class TFVariasEmpresas : public TDialogo {
    Q_OBJECT
public:
    // `base` holds the main window's values; its company, number in Torvane and file name are the main window's
    // own, which its company keeps here when this PC has none saved for it.
    TFVariasEmpresas(QWidget* dono, const TPedidoExportacao& base);
    ~TFVariasEmpresas() override;

protected:
    bool FormKeyDown(QObject* alvo, int tecla) override;
    // Nothing closes the window while the companies are exported: not Esc, not "Fechar", not its close box.
    void reject() override;

private:
    struct TLinhaEmpresa {
        int Empresa = 0;
        std::string Nome; // "N – NOME", code page 1252
        QCheckBox* chkEmpresa = nullptr;
        TEditNumero* EditCodTorvane = nullptr;
        QLineEdit* EditNomeArquivo = nullptr;
    };

    void CriarLinhas(QWidget* lista);
    QString NomePadrao(int empresa) const;
    void btnGerarClick();
    // The marked companies, checked as the main window checks one; none when one fails, said and focused.
    std::optional<std::vector<TEmpresaPedida>> Pedidas();
    bool Verificar(const TLinhaEmpresa& linha, const TPedidoExportacao& pedido);
    std::string Exportar(const TEmpresaPedida& empresa, bool& falhou);

    TPedidoExportacao FBase;
    std::vector<TLinhaEmpresa> FLinhas;
    std::unique_ptr<TProgressoQt> FProgresso;
    bool FGerando = false;

    QLabel* lblValores;
    QLabel* lblEmpresa;
    QProgressBar* oProgress;
    QPushButton* btnGerar;
    QPushButton* btnFechar;
};
