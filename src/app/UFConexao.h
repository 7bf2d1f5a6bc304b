#pragma once

#include "dao/UDao.h"
#include "qtbase/UDialogo.h"

#include <filesystem>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TEditNumero;

// The connection settings, sistema_qor.ini: shows the values in use, tries typed ones against the server and
// saves them where this copy of the program reads them, in the form the business system writes. A file
// beside the program or the machine's file is never written: an installed copy saves the user's own file,
// which then takes the place of the machine's for that user, and a copy in a folder of its own may save
// beside the program instead, becoming portable.
class TFConexao : public TDialogo {
    Q_OBJECT
public:
    explicit TFConexao(QWidget* dono);

private:
    void CriarControles();
    void DefinirOrdemTabulacao();
    void LerConfiguracoes();
    void MostrarDestino();
    // Where the record of the exports is, and where it will be once the values are saved.
    QString TextoHistorico() const;
    // Before the settings go beside the program: the profiles, the window's values and the record, copied there
    // when the user wants them.
    void LevarArquivosParaOPrograma();

    void btnTestarClick();
    void btnSalvarClick();

    bool ValidarCampos();
    // The typed values; an empty password field stands for the stored password.
    TParametrosConexao Parametros() const;
    // The file that "Salvar" writes.
    std::filesystem::path Destino() const;
    void Gravar(const std::filesystem::path& arquivo) const;

    // The file the values were read from; where none exists, the first place searched.
    std::filesystem::path FOrigem;
    bool FOrigemExiste = false;
    // A file beside the program: this copy reads only that one, and it is never written.
    bool FPortatil = false;
    // The password of the file, kept while the password field stays empty.
    bool FSenhaGravada = false;
    std::string FSenhaArquivo;

    QLabel* lblServidor = nullptr;
    QLineEdit* EditServidor = nullptr;
    QLabel* lblPorta = nullptr;
    TEditNumero* EditPorta = nullptr;
    QLabel* lblBanco = nullptr;
    QLineEdit* EditBanco = nullptr;
    QLabel* lblUsuario = nullptr;
    QLineEdit* EditUsuario = nullptr;
    QLabel* lblSenha = nullptr;
    QLineEdit* EditSenha = nullptr;
    QLabel* lblSenhaGravada = nullptr;
    QLabel* lblFilial = nullptr;
    QLineEdit* EditFilial = nullptr;
    QCheckBox* cbPortatil = nullptr;
    QLabel* lblDestino = nullptr;
    QLabel* lblHistorico = nullptr;
    QPushButton* btnTestar = nullptr;
    QPushButton* btnSalvar = nullptr;
    QPushButton* btnCancelar = nullptr;
};
