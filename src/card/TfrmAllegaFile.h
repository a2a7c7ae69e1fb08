#pragma once
// The attached files of a card: up to three paths with their descriptions,
// chosen, cleared and opened here, written back into the card window on apply.
#include "card/FinestraAllegati.h"

#include <array>
#include <memory>

namespace Ui { class TfrmAllegaFile; }

class TfrmAllegaFile : public FinestraAllegati {
    Q_OBJECT
public:
    explicit TfrmAllegaFile(QWidget* parent = nullptr);
    ~TfrmAllegaFile() override;

    // The card window's category key and its values (already trimmed).
    void Compila(const QString& tabella, const std::array<QString, 3>& file, const std::array<QString, 3>& descrizioni);

    static constexpr const char* TitoloDialogo = "Selezionare un file e premere Apri:";
    // Every file, also one without a dot in its name.
    static constexpr const char* FiltroDialogo = "Tutti i file (*.*)|*";

private:
    void cmdSfogliaClick(int n) override;
    void cmdApriClick(int n) override;
    void ScriviIn(TfrmScheda& scheda) override;

    std::unique_ptr<Ui::TfrmAllegaFile> ui;
    QString m_ultimoFile; // the dialog starts on it at the next browse in this window
};
