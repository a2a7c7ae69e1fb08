#include "store/TOperazioniScheda.h"

#include "platform/Piattaforma.h"
#include "store/CausaArchivio.h"
#include "store/Testo.h"
#include "store/Win1252.h"

#include <QFile>


namespace {

const QString CaptionNonApplicabile = QStringLiteral("Salvataggio scheda non applicabile");

// Failures of a save, update or delete that are not the archive's own.
struct ENonRiuscito {
    QString Causa;
};


QByteArray Numero(qint64 id) { return QByteArray::number(id); }

bool SoloSpazi(const QString& s) { return Testo::Rifila(s).isEmpty(); }

// The pending photo file, read whole before anything is written, so that a card and
// its photo are stored together or not at all.
QByteArray LeggiFoto(const QString& percorso)
{
    QFile f(percorso);
    QByteArray dati;
    const bool aperto = f.open(QIODevice::ReadOnly);
    if (aperto)
        dati = f.readAll();
    if (!aperto || f.error() != QFileDevice::NoError)
        throw ENonRiuscito{QStringLiteral("il file della foto \"%1\" non esiste più o non può essere letto.")
                               .arg(percorso)};
    if (dati.isEmpty())
        throw ENonRiuscito{QStringLiteral("il file della foto \"%1\" è vuoto.").arg(percorso)};
    return dati;
}

} // namespace

void TOperazioniScheda::Avviso(const QString& caption, const QString& testo)
{
    MettiCampioneSeVuota(); // the photo frame is never blank behind a box
    if (MostraScheda)
        MostraScheda(); // the box appears over the card as it now stands
    Piattaforma::Messaggi().Mostra(TipoMessaggio::Avviso, caption, testo);
}

void TOperazioniScheda::Informazione(const QString& caption, const QString& testo)
{
    MettiCampioneSeVuota();
    if (MostraScheda)
        MostraScheda();
    Piattaforma::Messaggi().Mostra(TipoMessaggio::Informazione, caption, testo);
}

void TOperazioniScheda::SalvataggioNonRiuscito(const QString& causa)
{
    Avviso(QStringLiteral("Salvataggio non riuscito"),
           QStringLiteral("La scheda corrente non è stata inserita in archivio: ") + causa);
}

void TOperazioniScheda::AggiornamentoNonRiuscito(const QString& causa)
{
    Avviso(QStringLiteral("Aggiornamento non riuscito"),
           QStringLiteral("Le modifiche apportate alla scheda corrente non sono state inserite in "
                          "archivio: ") + causa);
}

void TOperazioniScheda::CancellazioneNonRiuscita(const QString& causa)
{
    Avviso(QStringLiteral("Cancellazione non riuscita"),
           QStringLiteral("La scheda corrente non è stata eliminata dall'archivio: ") + causa);
}

TOperazioniScheda::TOperazioniScheda(TArchivio& archivio, TSchedaLavoro& scheda, TFoto campione)
    : m_archivio(archivio), m_scheda(scheda), m_campione(std::move(campione))
{
}

TSQLiteDatabase& TOperazioniScheda::Connessione()
{
    if (!m_archivio.Connessione())
        m_archivio.ApriArchivio();
    return *m_archivio.Connessione();
}

void TOperazioniScheda::Focus()
{
    if (FocusTitolo)
        FocusTitolo();
}

void TOperazioniScheda::CaricaScheda(TSQLiteTable& tabella)
{
    // Read everything first: a failing read leaves the working card as it was.
    const qint64 id = tabella.ColumnInteger(tabella.ColumnIndex("ID"));
    std::array<QString, NumeroCampiTesto> testi;
    for (int i = 0; i < NumeroCampiTesto; ++i)
        testi[i] = Win1252::ATesto(tabella.ColumnBlobText(tabella.ColumnIndex(CampiTesto[i].Colonna)));
    TFoto foto;
    const int picture = tabella.ColumnIndex("Picture");
    if (!tabella.ColumnIsNull(picture))
        if (const QByteArray* dati = tabella.ColumnBlob(picture))
            foto = TFoto::DaByte(*dati);

    m_scheda.FotoInAttesa.clear();
    m_scheda.ID = id;
    m_scheda.Testi = testi;
    m_scheda.Foto = foto;
}

void TOperazioniScheda::PulisciScheda()
{
    m_scheda.Foto = m_campione;
    m_scheda.ID.reset();
    m_scheda.FotoInAttesa.clear();
    for (QString& t : m_scheda.Testi)
        t.clear();
    Focus();
}

void TOperazioniScheda::NormalizzaTesti()
{
    for (QString& t : m_scheda.Testi) {
        t.replace(QLatin1Char(';'), QLatin1Char(' '));
        t.replace(QLatin1Char('"'), QLatin1Char(' '));
    }
}

QList<QByteArray> TOperazioniScheda::TestiArchivio() const
{
    QList<QByteArray> testi;
    testi.reserve(NumeroCampiTesto);
    for (const QString& t : m_scheda.Testi)
        testi.append(Win1252::DaTesto(Testo::Rifila(t)));
    return testi;
}

void TOperazioniScheda::SalvaScheda()
{
    try {
        m_archivio.ApriArchivio();
    } catch (const ESQLiteException& e) {
        if (m_scheda.ID)
            AggiornamentoNonRiuscito(CausaArchivio(e));
        else
            SalvataggioNonRiuscito(CausaArchivio(e));
        return;
    }
    NormalizzaTesti();
    if (m_scheda.ID)
        AggiornaScheda();
    else
        InserisciScheda();
    MettiCampioneSeVuota();
}

void TOperazioniScheda::AnnullaTransazione(TSQLiteDatabase& db)
{
    // At once, so that no lock stays held while the user reads the message.
    try {
        db.Rollback();
    } catch (const ESQLiteException&) {
        // The connection is left without a transaction all the same; the archive
        // drops what was not committed.
    }
}

QString TOperazioniScheda::Scrivi(QByteArray& foto, const std::function<void(TSQLiteDatabase&)>& modifica)
{
    // The hourglass goes before any box is shown, so it ends with this function.
    CursoreOccupato cursore;
    TSQLiteDatabase* db = nullptr;
    try {
        db = &Connessione();
        const QString file = Testo::Rifila(m_scheda.FotoInAttesa);
        if (!file.isEmpty())
            foto = LeggiFoto(file);
        db->StartTransaction();
        modifica(*db);
        db->Commit();
        return QString();
    } catch (const ESQLiteException& e) {
        if (db)
            AnnullaTransazione(*db);
        return CausaArchivio(e);
    } catch (const ENonRiuscito& e) {
        if (db)
            AnnullaTransazione(*db);
        return e.Causa;
    }
}

void TOperazioniScheda::InserisciScheda()
{
    if (SoloSpazi(m_scheda.Testi[cTitolo])) {
        Avviso(CaptionNonApplicabile,
               QStringLiteral("Per salvare la scheda è necessario indicare il numero di riferimento "
                              "dell'immobile."));
        Focus();
        return;
    }

    const QByteArray t = m_archivio.Tabella();
    qint64 id = 0;
    QByteArray foto;
    const QString causa = Scrivi(foto, [&](TSQLiteDatabase& db) {
        QByteArray sql = "INSERT INTO " + t + "(ID";
        for (const TCampo& c : CampiTesto)
            sql += QByteArray(",") + c.Colonna;
        sql += ",Ext) VALUES (NULL";
        for (int i = 0; i < NumeroCampiTesto; ++i)
            sql += ",?";
        sql += ",'JPG');";
        db.Execute(sql, TestiArchivio());
        id = db.LastInsertRowId();
        ScriviFoto(id, foto);
    });
    if (!causa.isEmpty()) {
        SalvataggioNonRiuscito(causa);
        return;
    }

    m_scheda.ID = id;
    {
        CursoreOccupato cursore;
        try {
            TSQLiteTable* riga = m_archivio.EseguiQuery(Statementi::SchedaPerNumero(t, id));
            if (riga && riga->Last())
                CaricaScheda(*riga);
        } catch (const ESQLiteException&) {
            // The card is stored; show what was stored without reading it back.
            m_scheda.FotoInAttesa.clear();
            for (QString& s : m_scheda.Testi)
                s = Testo::Rifila(s);
            if (!foto.isEmpty())
                m_scheda.Foto = TFoto::DaByte(foto);
        }
    }
    Informazione(QStringLiteral("Salvataggio effettuato con successo"),
                 QStringLiteral("La scheda corrente è stata inserita in archivio."));
}

void TOperazioniScheda::AggiornaScheda()
{
    if (SoloSpazi(m_scheda.Testi[cTitolo])) {
        Avviso(CaptionNonApplicabile,
               QStringLiteral("Per aggiornare la scheda è necessario indicare il numero di riferimento "
                              "dell'immobile."));
        Focus();
        return;
    }
    if (!m_scheda.ID)
        return;

    const QByteArray t = m_archivio.Tabella();
    const qint64 id = *m_scheda.ID;
    QByteArray foto;
    const QString causa = Scrivi(foto, [&](TSQLiteDatabase& db) {
        QByteArray sql = "UPDATE " + t + " SET ";
        for (int i = 0; i < NumeroCampiTesto; ++i)
            sql += QByteArray(i ? "," : "") + CampiTesto[i].Colonna + "=?";
        sql += " WHERE ID=" + Numero(id) + ";";
        db.Execute(sql, TestiArchivio());
        // Asked after the update, inside the transaction: a card deleted by someone
        // else cannot vanish between the check and the change.
        if (db.Query("SELECT ID FROM " + t + " WHERE ID=" + Numero(id))->Count() == 0)
            throw ENonRiuscito{QStringLiteral("la scheda non esiste più in archivio, perché nel "
                                              "frattempo è stata eliminata.")};
        ScriviFoto(id, foto);
    });
    if (!causa.isEmpty()) {
        AggiornamentoNonRiuscito(causa);
        return;
    }
    m_scheda.FotoInAttesa.clear();
    if (!foto.isEmpty())
        m_scheda.Foto = TFoto::DaByte(foto);
    Informazione(QStringLiteral("Aggiornamento effettuato con successo"),
                 QStringLiteral("Le modifiche apportate alla scheda corrente sono state inserite in "
                                "archivio."));
}

void TOperazioniScheda::ScriviFoto(qint64 id, const QByteArray& dati)
{
    if (dati.isEmpty())
        return;
    Connessione().ExecuteWithBlob("UPDATE " + m_archivio.Tabella() + " SET picture = ? WHERE ID = " +
                                      Numero(id),
                                  dati);
}

void TOperazioniScheda::EliminaScheda()
{
    if (!m_scheda.ID) {
        Avviso(QStringLiteral("Cancellazione scheda non applicabile"),
               QStringLiteral("L'operazione di cancellazione non è applicabile in quanto la scheda "
                              "corrente non è ancora stata inserita in archivio."));
        return;
    }
    if (Piattaforma::Messaggi().Mostra(TipoMessaggio::Domanda,
                                       QStringLiteral("Conferma cancellazione scheda"),
                                       QStringLiteral("Si vuole proprio eliminare la scheda corrente?")) !=
        Risposta::Si)
        return;

    const QByteArray t = m_archivio.Tabella();
    QString causa;
    {
        CursoreOccupato cursore;
        try {
            Connessione().Execute("DELETE FROM " + t + " WHERE ID=" + Numero(*m_scheda.ID));
        } catch (const ESQLiteException& e) {
            causa = CausaArchivio(e);
        }
        if (causa.isEmpty()) try {
            if (TSQLiteTable* prima = m_archivio.EseguiQuery(Statementi::PrimaScheda(t)))
                prima->First();
        } catch (const ESQLiteException&) {
            // The card is gone; the window's current table is refreshed by its next step.
        }
    }
    if (!causa.isEmpty()) {
        CancellazioneNonRiuscita(causa);
        return;
    }
    PulisciScheda();
}

void TOperazioniScheda::DuplicaScheda()
{
    if (!m_scheda.ID) {
        Avviso(QStringLiteral("Attenzione: operazione non applicabile"),
               QStringLiteral("La duplicazione di una scheda può avvenire soltanto dopo che questa è "
                              "stata inserita in archivio."));
        return;
    }
    Informazione(QStringLiteral("Scheda pronta per essere duplicata"),
                 QStringLiteral("Apportare le modifiche desiderate alla scheda corrente e premere Salva "
                                "per archiviarla."));
    m_scheda.Foto = m_campione;
    m_scheda.ID.reset();
    m_scheda.FotoInAttesa.clear();
    for (int i = cFile01; i <= cCartellaDesc; ++i)
        m_scheda.Testi[i].clear();
    Focus();
}

void TOperazioniScheda::Passo(const QByteArray& query)
{
    {
        CursoreOccupato cursore;
        if (!m_archivio.ApriArchivio(query))
            return; // the table has just been created: nothing to show
        TSQLiteTable* risultato = m_archivio.Risultato();
        if (risultato && risultato->First())
            CaricaScheda(*risultato);
    }
    MettiCampioneSeVuota();
}

void TOperazioniScheda::PrimaScheda() { Passo(Statementi::PrimaScheda(m_archivio.Tabella())); }

void TOperazioniScheda::SchedaPrecedente()
{
    const QByteArray t = m_archivio.Tabella();
    Passo(m_scheda.ID ? Statementi::SchedaPrecedente(t, *m_scheda.ID) : Statementi::PrimaScheda(t));
}

void TOperazioniScheda::SchedaSuccessiva()
{
    const QByteArray t = m_archivio.Tabella();
    Passo(m_scheda.ID ? Statementi::SchedaSuccessiva(t, *m_scheda.ID) : Statementi::PrimaScheda(t));
}

void TOperazioniScheda::UltimaScheda() { Passo(Statementi::UltimaScheda(m_archivio.Tabella())); }

void TOperazioniScheda::MettiCampioneSeVuota()
{
    if (m_scheda.Foto.Vuota())
        m_scheda.Foto = m_campione;
}
