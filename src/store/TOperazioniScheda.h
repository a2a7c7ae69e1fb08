#pragma once
// The record operations on the working card of a record card window. The window
// copies its controls into the working card before an operation and shows the
// working card after it; everything else happens here.
#include "photo/Foto.h"
#include "store/TArchivio.h"
#include "store/TScheda.h"

#include <functional>
#include <optional>

struct TSchedaLavoro {
    std::optional<qint64> ID;                    // none: not stored
    std::array<QString, NumeroCampiTesto> Testi; // ten visible boxes, eight hidden fields
    QString FotoInAttesa;                        // pending photo file (txtFoto)
    TFoto Foto;                                  // picture in the photo box; Vuota(): none
};

class TOperazioniScheda {
public:
    TOperazioniScheda(TArchivio& archivio, TSchedaLavoro& scheda, TFoto campione);

    void CaricaScheda(TSQLiteTable& tabella);
    void PulisciScheda();
    void NormalizzaTesti();
    void SalvaScheda();
    void InserisciScheda();
    void AggiornaScheda();
    void EliminaScheda();
    void DuplicaScheda();
    void PrimaScheda();
    void SchedaPrecedente();
    void SchedaSuccessiva();
    void UltimaScheda();
    void MettiCampioneSeVuota(); // the sample photo when the box has no picture
    // Stores the photo bytes, unchanged, as the Picture of card id.
    void ScriviFoto(qint64 id, const QByteArray& dati);

    const TFoto& Campione() const { return m_campione; }

    // Asked of the window: put the keyboard focus into txtTitolo.
    std::function<void()> FocusTitolo;
    // Asked of the window: show the working card now (before a message box appears).
    std::function<void()> MostraScheda;

private:
    TSQLiteDatabase& Connessione(); // the connection of the last ApriArchivio
    QList<QByteArray> TestiArchivio() const; // trimmed Windows-1252 values, column order
    void AnnullaTransazione(TSQLiteDatabase& db);
    // Reads the pending photo, then runs the change in one transaction; the cause of a
    // failure, rolled back at once, or an empty text.
    QString Scrivi(QByteArray& foto, const std::function<void(TSQLiteDatabase&)>& modifica);
    void Passo(const QByteArray& query);
    void Focus();
    void Avviso(const QString& caption, const QString& testo);
    void Informazione(const QString& caption, const QString& testo);
    void SalvataggioNonRiuscito(const QString& causa);
    void AggiornamentoNonRiuscito(const QString& causa);
    void CancellazioneNonRiuscita(const QString& causa);

    TArchivio& m_archivio;
    TSchedaLavoro& m_scheda;
    TFoto m_campione;
};
