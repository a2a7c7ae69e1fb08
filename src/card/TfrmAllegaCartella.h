#pragma once
// The folder associated with a card: its path and description, chosen, cleared
// and opened here, written back into the card window on apply.
#include "card/FinestraAllegati.h"

#include <memory>

namespace Ui { class TfrmAllegaCartella; }

class TfrmAllegaCartella : public FinestraAllegati {
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(QWidget* parent = nullptr);
    ~TfrmAllegaCartella() override;

    // The card window's category key and its values (already trimmed).
    void Compila(const QString& tabella, const QString& cartella, const QString& descrizione);

    static constexpr const char* TitoloDialogo = "Selezionare una cartella:";

private:
    void cmdSfogliaClick(int n) override;
    void cmdApriClick(int n) override;
    void ScriviIn(TfrmScheda& scheda) override;

    std::unique_ptr<Ui::TfrmAllegaCartella> ui;
};
