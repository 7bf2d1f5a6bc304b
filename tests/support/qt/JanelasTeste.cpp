#include "support/qt/JanelasTeste.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QTest>

#include <map>

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

QString NomeAcessivel(QObject& objeto) {
    const QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(&objeto);
    return interface ? interface->text(QAccessible::Name) : QString();
}

std::vector<std::string> ProblemasAcessiveis(QWidget& janela, const QString& titulo) {
    std::vector<std::string> problemas;
    if (NomeAcessivel(janela) != titulo)
        problemas.push_back("the window is named \"" + NomeAcessivel(janela).toStdString() + "\"");
    std::map<QString, QString> controlesPorNome;
    for (QWidget* controle : janela.findChildren<QWidget*>()) {
        if (controle->window() != &janela || controle->focusPolicy() == Qt::NoFocus || !controle->isVisibleTo(&janela))
            continue;
        const QString qual = controle->objectName().isEmpty()
                                 ? QString::fromLatin1(controle->metaObject()->className()) + " in " +
                                       controle->parentWidget()->objectName()
                                 : controle->objectName();
        const QString nome = NomeAcessivel(*controle);
        if (nome.isEmpty())
            problemas.push_back(qual.toStdString() + " has no name");
        else if (const auto [outro, novo] = controlesPorNome.emplace(nome, qual); !novo)
            problemas.push_back(qual.toStdString() + " and " + outro->second.toStdString() + " are both \"" +
                                nome.toStdString() + "\"");
    }
    return problemas;
}
