#include "support/qt/JanelasTeste.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTest>

void PrintTo(const QString& texto, std::ostream* saida) {
    *saida << '"' << texto.toStdString() << '"';
}

void Clicar(const QWidget& janela, const char* botao) {
    Controle<QAbstractButton>(janela, botao).click();
}

void Tecla(const QWidget& janela, const char* controle, Qt::Key tecla) {
    QTest::keyClick(&Controle<QWidget>(janela, controle), tecla);
}

bool Esperar(const std::function<bool()>& condicao) {
    QDeadlineTimer prazo(5000);
    while (!condicao()) {
        if (prazo.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
