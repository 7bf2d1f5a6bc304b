// Times the desktop program as a clerk uses it, for the benchmark: the program starts as it always does
// (connection from sistema_qor.ini beside it, main window, event loop), off screen when no display is set.
// Measures the time from the launch to the main window shown, then keys in the period, company, file name
// and Torvane number, presses F3 and measures the export to its end. The message boxes are answered with
// OK and their texts kept; anything but the success box makes it fail.
// Prints "<seconds from launch to window shown> <seconds from F3 to the end of the export>".
// With "visualizar" after the arguments it presses F5 instead, and measures the time to the look before writing
// shown with its grid painted, and the longest the window went without handling its events while the rows loaded;
// it then closes the look, writing nothing. Prints "<seconds to window shown> <seconds from F5 to the grid shown>
// <longest pause in milliseconds>".
#include "app/UInicializacao.h"
#include "platform/UCp1252.h"
#include "qtbase/UCaixaMensagem.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Answers every box at once, as the clerk would with OK, and keeps what it said.
class TCaixaRegistro : public TCaixaMensagem {
public:
    TRespostaMensagem Mostrar(QWidget*, const std::string& texto, const std::string& titulo, TIconeMensagem,
                              TBotoesMensagem botoes, bool) override {
        Textos.push_back(Cp1252ParaUtf8(titulo + ": " + texto));
        return botoes == TBotoesMensagem::Ok ? TRespostaMensagem::Ok : TRespostaMensagem::Nao;
    }
    std::vector<std::string> Textos;
};

long long NanossegundosAgora() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Replaces the text of a field with keys typed into it.
void Digitar(QWidget& janela, const char* nome, const char* texto) {
    auto* campo = janela.findChild<QWidget*>(QString::fromLatin1(nome));
    if (!campo)
        throw std::runtime_error(std::string("no control ") + nome);
    campo->setFocus();
    QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(campo, QString::fromUtf8(texto));
}

struct TMedidas {
    bool Feitas = false;
    double Mostrada = 0;
    double Exportacao = 0;
    double MaiorPausaMs = 0;
    std::string Erro;
};

// Times the look before writing: from F5 to its grid painted, watching meanwhile how long the event loop waits.
void Visualizar(QWidget& janela, TMedidas& medidas) {
    QElapsedTimer relogio;
    relogio.start();
    // The server's answer to the query holds the window in the export as here: the pauses counted are those
    // from its first row on.
    qint64 ultimo = -1;
    QTimer pulso;
    QObject::connect(&pulso, &QTimer::timeout, [&] {
        const qint64 agora = relogio.elapsed();
        if (ultimo < 0)
            ultimo = agora;
        medidas.MaiorPausaMs = std::max(medidas.MaiorPausaMs, static_cast<double>(agora - ultimo));
        ultimo = agora;
    });
    pulso.start(5);
    bool visto = false;
    std::function<void()> procurar = [&] {
        auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialogo || dialogo->objectName() != QStringLiteral("FVisualizacao")) {
            QTimer::singleShot(1, procurar);
            return;
        }
        pulso.stop();
        auto* grade = dialogo->findChild<QAbstractItemView*>(QStringLiteral("GridLancamentos"));
        if (QTest::qWaitForWindowExposed(dialogo) && grade) {
            grade->viewport()->repaint();
            medidas.Exportacao = static_cast<double>(relogio.nsecsElapsed()) / 1e9;
            visto = grade->model()->rowCount() > 0;
        }
        dialogo->reject();
    };
    QTimer::singleShot(0, procurar);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    medidas.Feitas = true;
    if (!visto)
        medidas.Erro = "the look before writing showed no rows";
    (void)janela;
}

// Runs inside the program's event loop, once the window has been shown.
void Medir(char** argv, long long lancamento, const TCaixaRegistro& caixa, TMedidas& medidas) {
    QWidget* janela = nullptr;
    for (QWidget* candidata : QApplication::topLevelWidgets())
        if (candidata->objectName() == QStringLiteral("FMain") && candidata->isVisible())
            janela = candidata;
    if (!janela || !QTest::qWaitForWindowExposed(janela)) {
        medidas.Erro = "the main window was not shown";
        return;
    }
    medidas.Mostrada = static_cast<double>(NanossegundosAgora() - lancamento) / 1e9;
    if (!caixa.Textos.empty()) {
        medidas.Erro = "the window showed a box while opening";
        return;
    }

    Digitar(*janela, "EditDiretorio", argv[2]);
    QTest::mouseClick(janela->findChild<QRadioButton*>(QStringLiteral("rdDataLancamento")), Qt::LeftButton);
    Digitar(*janela, "EditDe", argv[3]);
    Digitar(*janela, "EditAte", argv[4]);
    Digitar(*janela, "EditEmpresa", argv[5]);
    Digitar(*janela, "EditCodTorvane", argv[6]);
    Digitar(*janela, "EditNomeArquivo", argv[7]);

    if (std::string(argv[8] ? argv[8] : "") == "visualizar") {
        Visualizar(*janela, medidas);
        if (medidas.Erro.empty() && !caixa.Textos.empty())
            medidas.Erro = "the look before writing showed a box";
        janela->close();
        return;
    }
    const auto inicio = std::chrono::steady_clock::now();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    medidas.Exportacao = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    medidas.Feitas = true;
    if (caixa.Textos.size() != 1 || caixa.Textos[0].find("gerado com sucesso") == std::string::npos)
        medidas.Erro = "the export did not end in its success box";
    janela->close();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 8 && argc != 9) {
        std::cerr << "uso: " << argv[0]
                  << " LANCAMENTO_NS DIRETORIO DE_DDMMAAAA ATE_DDMMAAAA EMPRESA COD_TORVANE ARQUIVO [visualizar]\n"
                     "  LANCAMENTO_NS: when the program was launched, in nanoseconds since 1970 (date +%s%N)\n";
        return 2;
    }
    const long long lancamento = std::stoll(argv[1]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    TCaixaRegistro caixa;
    TCaixaMensagem::Definir(&caixa);
    TMedidas medidas;
    // The first thing the event loop does once the start-up has shown the window.
    QTimer::singleShot(0, [&] {
        try {
            Medir(argv, lancamento, caixa, medidas);
        } catch (const std::exception& erro) {
            medidas.Erro = erro.what();
        }
        if (!medidas.Erro.empty())
            QApplication::exit(1);
    });
    Iniciar(aplicacao);
    TCaixaMensagem::Definir(nullptr);

    if (!medidas.Feitas || !medidas.Erro.empty()) {
        std::cerr << "torvane-bench-janela: " << (medidas.Erro.empty() ? "no measure taken" : medidas.Erro) << "\n";
        for (const std::string& texto : caixa.Textos)
            std::cerr << "  box: " << texto << "\n";
        return 1;
    }
    if (argc == 9)
        std::printf("%.3f %.3f %.0f\n", medidas.Mostrada, medidas.Exportacao, medidas.MaiorPausaMs);
    else
        std::printf("%.3f %.3f\n", medidas.Mostrada, medidas.Exportacao);
    return 0;
}
