#pragma once

#include <QString>

#include <filesystem>
#include <optional>

class QWidget;

// Every folder and file picker of the program goes through here, so that tests can put a fake in its place. None
// comes back when the user cancels.
class TEscolhaArquivo {
public:
    virtual ~TEscolhaArquivo() = default;

    virtual std::optional<std::filesystem::path> EscolherPasta(QWidget* dono, const QString& titulo,
                                                               const std::filesystem::path& inicial);
    // A file to be written, `sugerido` proposed; the picker asks before a file that exists is replaced.
    // `tipos` is the picker's filter ("Planilhas (*.csv)").
    virtual std::optional<std::filesystem::path> EscolherArquivoParaSalvar(QWidget* dono, const QString& titulo,
                                                                           const std::filesystem::path& sugerido,
                                                                           const QString& tipos);

    static TEscolhaArquivo& Atual();
    // Puts another picker in place; nullptr gives back the real one.
    static void Definir(TEscolhaArquivo* escolha);
};
