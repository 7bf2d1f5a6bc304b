#include "profiles/UFConfiguracoesEdicao.h"

#include "export/UDados.h"
#include "qtbase/UTextoQt.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFConfigurarPerfilEdicao::TFConfigurarPerfilEdicao(QWidget* dono) : TDialogo(dono) {
    setWindowTitle(QStringLiteral("Configurar Perfil"));

    Label1 = new QLabel(QStringLiteral("Descrição do Perfil"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    EditDescricao = new QLineEdit(this);
    EditDescricao->setObjectName(QStringLiteral("EditDescricao"));
    EditDescricao->setMaxLength(TDadosExportacao::TamanhoDescricaoPerfil());
    Label1->setBuddy(EditDescricao);
    // Enter in the edit box does nothing.
    btnOk = CriarBotao(this, "btnOk", QStringLiteral("OK (F3)"));
    btnCancelar = CriarBotao(this, "btnCancelar", QStringLiteral("Cancelar (Esc)"));

    auto* grade = new QGridLayout(this);
    grade->addWidget(Label1, 0, 0, 1, 3);
    grade->addWidget(EditDescricao, 1, 0, 1, 3);
    grade->setColumnStretch(0, 1);
    grade->addWidget(btnOk, 2, 1);
    grade->addWidget(btnCancelar, 2, 2);

    setTabOrder(EditDescricao, btnOk);
    setTabOrder(btnOk, btnCancelar);
    EditDescricao->setFocus();

    connect(btnOk, &QPushButton::clicked, this, &TFConfigurarPerfilEdicao::btnOkClick);
    connect(btnCancelar, &QPushButton::clicked, this, [this] { btnCancelarClick(); });
    PreverTeclado();

    setFixedSize(420, sizeHint().height());
}

std::string TFConfigurarPerfilEdicao::Descricao() const {
    // A pasted text may carry line ends; in the profile file they would split the line and shift every later
    // profile, so they become blanks like any other control character.
    QString texto = EditDescricao->text();
    for (QChar& caractere : texto)
        if (caractere.unicode() < 32)
            caractere = QLatin1Char(' ');
    return DeQString(texto);
}

void TFConfigurarPerfilEdicao::Cancelar() {
    btnCancelarClick();
}

bool TFConfigurarPerfilEdicao::FormKeyDown(QObject* alvo, int tecla) {
    if (tecla != Qt::Key_F3)
        return TDialogo::FormKeyDown(alvo, tecla);
    btnOkClick();
    return true;
}

void TFConfigurarPerfilEdicao::btnOkClick() {
    accept();
}

void TFConfigurarPerfilEdicao::btnCancelarClick() {
    reject();
}
