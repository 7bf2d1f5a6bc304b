#pragma once

// The main window on a test database, driven by keys as the clerk drives it: what the tests of the main window and
// of the windows it opens share.

#include "support/TestDb.h"
#include "support/TextosVerificacao.h"
#include "support/qt/CaixaFalsa.h"
#include "support/qt/JanelasTeste.h"

#include "app/UEditData.h"
#include "app/UFMain.h"
#include "export/UDados.h"
#include "export/UHistoricoExportacao.h"
#include "export/UValoresExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UDataHora.h"
#include "platform/UPastaPrograma.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using TTextos = std::vector<std::string>;

// Company 1 has three receivables: 101 posted and due in February 2024 (group 1), 102 posted in January and
// due in February (group 2), 103 posted and due in February (group 2). Company 2 has none; company 3 is deleted.
inline const char* const DadosBasicos = R"(
INSERT INTO empresa VALUES (1, 'EMPRESA UM', 'N'), (2, 'COMÉRCIO DOIS', 'N'), (3, 'APAGADA', 'S');
INSERT INTO filial VALUES (1, 'LOJA CENTRO', '12345678000190', 'N');
INSERT INTO clientes VALUES (1, 'JOÃO DA SILVA', '4521', 1, 'N'), (2, 'MARIA', '77', 2, 'N');
INSERT INTO grupo VALUES (1, 'BEBIDAS', 'N'), (2, 'DOCES', 'N');
INSERT INTO produto VALUES (1, 'REFRIGERANTE', 1), (2, 'BOLO', 2);
INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, clientes_id, filial_id, produto_id)
VALUES ('101', '2024-02-10 09:00:00', '2024-02-28 00:00:00', 150.25, 0, 'N', 1, 1, 1),
       ('102', '2024-01-20 08:00:00', '2024-02-20 00:00:00', 10.00, 0, 'N', 1, 1, 2),
       ('103', '2024-02-15 10:30:00', '2024-03-15 00:00:00', 20.50, 0, 'N', 1, 1, 2);
)";

inline const std::string Aviso = "Atenção (aviso, OK): ";
// The success box names the file, then the lines written and their total in Brazilian form.
inline const std::string Totais = "\n2 lançamentos, total R$ 170,75";
inline const std::string Sucesso = "Informação (informação, OK): Arquivo \"dados.txt\"  gerado com sucesso." + Totais;
inline const std::string NadaEncontrado = "Informação (informação, OK): Nenhum registro encontrado para a seleção.";
inline const std::string SemDiretorio = Aviso + TextosVerificacao.at(TCampoExportacao::Diretorio);

inline std::string PerguntaCriar(const std::string& pasta) {
    return "Confirmação (pergunta, *Sim/Não): O Diretório \"" + IncluirSeparador(pasta) +
           "\" não existe, deseja criá-lo?";
}

// A folder as the edit shows it once typed: upper-cased where the file system ignores case.
inline std::string Digitado(const std::string& pasta) {
    return SistemaIgnoraCaixa() ? QString::fromStdString(pasta).toUpper().toStdString() : pasta;
}

class TTesteJanela : public TTesteBanco {
protected:
    void Preparar() override {
        DefinirRelogio([] { return TDataHora{2024, 3, 31, 10, 0, 0}; });
        GravarSistemaQorIni("[FilialMatriz]\r\nCodFisica=1\r\n");
        Executar(Conexao(), TextoAnsi(DadosBasicos));
        FSaida = FPasta.Caminho() + "saida";
        std::filesystem::create_directory(CaminhoDeUtf8(FSaida));
    }

    void TearDown() override {
        FJanela.reset();
        DefinirRelogio(nullptr);
        TTesteBanco::TearDown();
    }

    void Abrir() {
        // The window that goes lets go of the export's interfaces: it goes before the next one registers.
        FJanela.reset();
        FJanela = std::make_unique<TFMain>();
        FJanela->show();
        FJanela->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(FJanela.get()));
    }

    template <class T = QLineEdit> T& Controle(const char* nome) { return ::Controle<T>(*FJanela, nome); }
    // A date field is typed into from its start, as the clerk does: it holds whatever the keys make of the text.
    void Escrever(const char* edit, const std::string& texto) {
        if (auto* data = qobject_cast<TEditData*>(&Controle(edit))) {
            data->setFocus();
            QTest::keyClick(data, Qt::Key_Home);
            QTest::keyClicks(data, QString::fromStdString(texto));
        } else {
            Controle(edit).setText(QString::fromStdString(texto));
        }
    }
    // Types into the edit as the user does: everything in it selected, then the keys.
    void Digitar(const char* edit, const QString& texto) {
        auto& controle = Controle(edit);
        controle.setFocus();
        QTest::keyClick(&controle, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&controle, Qt::Key_Delete);
        // A keyboard layout's own letters (ł, ż) come as text without a key code of their own.
        for (const QChar letra : texto)
            QTest::sendKeyEvent(QTest::Click, &controle,
                                letra.unicode() < 0x80 ? Qt::Key(letra.toUpper().unicode()) : Qt::Key_unknown,
                                QString(letra), Qt::NoModifier);
    }
    QString Foco() const { return FJanela->focusWidget() ? FJanela->focusWidget()->objectName() : QString(); }

    // Fills every field so that the checks pass and the export finds receivables 101 and 103.
    // A valid export of February 2024, as if it had never been sent: no record of earlier exports.
    void PreencherValidos() {
        std::filesystem::remove(THistoricoExportacao::Arquivo());
        Controle<TEditData>("EditDe").setDate(QDate(2024, 2, 1));
        Controle<TEditData>("EditAte").setDate(QDate(2024, 2, 29));
        Escrever("EditDiretorio", FSaida);
        Escrever("EditEmpresa", "1");
        Escrever("EditNomeArquivo", "dados");
        Escrever("EditCodTorvane", "7");
    }

    // Presses the button (or the key in the control) and gives the boxes it showed.
    TTextos Gerar(const char* controle = nullptr, Qt::Key tecla = Qt::Key_F3) {
        FCaixa.Chamadas.clear();
        if (controle)
            Tecla(*FJanela, controle, tecla);
        else
            Controle<QPushButton>("btnGerar").click();
        return FCaixa.Resumos();
    }

    // Posted now, handled between two rows of the export, when the window lets pending events run.
    void TeclaDuranteAExportacao(const char* nome, Qt::Key tecla) {
        for (const auto tipo : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(&Controle<QWidget>(nome), new QKeyEvent(tipo, tecla, Qt::NoModifier));
    }

    std::string Saida(const std::string& nome) const { return IncluirSeparador(FSaida) + nome; }
    // The posting numbers of the file written, sorted (positions 61 to 66 of each 80-character line).
    TTextos Lancamentos() const {
        const std::string conteudo = LerBinario(CaminhoDeUtf8(Saida("dados.txt")));
        TTextos numeros;
        for (std::size_t inicio = 0; inicio + 82 <= conteudo.size(); inicio += 82)
            numeros.push_back(conteudo.substr(inicio + 60, 6));
        std::sort(numeros.begin(), numeros.end());
        return numeros;
    }

    std::filesystem::path Ini() const { return TValoresExportacao::ArquivoConfiguracoes(); }
    bool ConfiguracoesGravadas() const { return ArquivoExiste(Ini()); }
    void GravarConfiguracoes(const std::string& texto) { GravarBinario(Ini(), texto); }
    void GravarPerfis(const std::string& texto) { GravarBinario(TDadosExportacao::ArquivoPerfis(), texto); }
    // A failure in the default failure box, whose text names `trecho`.
    void EsperarFalha(const std::string& trecho) {
        ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
        const std::string resumo = FCaixa.Resumos()[0];
        EXPECT_EQ(resumo.rfind(TCaixaFalsa::InicioFalhaPadrao(), 0), 0u) << resumo;
        EXPECT_NE(resumo.find(trecho), std::string::npos) << resumo;
        EXPECT_EQ(resumo.back(), '.');
    }

    TCaixaFalsa FCaixa;
    std::unique_ptr<TFMain> FJanela;
    std::string FSaida;
};
