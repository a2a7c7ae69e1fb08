#include "show/Scorrimento.h"

#include "store/TScheda.h"
#include "store/Testo.h"
#include "store/Win1252.h"

TScorrimento::TScorrimento(const TCategoria& categoria) : m_archivio(categoria) {}

QByteArray TScorrimento::Query(Verso verso) const
{
    const QByteArray t = m_archivio.Tabella();
    switch (verso) {
    case Verso::Primo:
        return Statementi::PrimaScheda(t);
    case Verso::Indietro:
        return m_posizione ? Statementi::SchedaPrecedente(t, *m_posizione) : Statementi::PrimaScheda(t);
    case Verso::Avanti:
        return m_posizione ? Statementi::SchedaSuccessiva(t, *m_posizione) : Statementi::PrimaScheda(t);
    case Verso::Ultimo:
        return Statementi::UltimaScheda(t);
    }
    return Statementi::PrimaScheda(t);
}

TSchedaMostrata TScorrimento::Leggi(TSQLiteTable& t)
{
    TSchedaMostrata s;
    s.ID = t.ColumnInteger(t.ColumnIndex("ID"));
    s.Titolo = Testo::Rifila(Win1252::ATesto(t.ColumnBlobText(t.ColumnIndex(CampiTesto[cTitolo].Colonna))));
    s.Didascalia =
        Testo::Rifila(Win1252::ATesto(t.ColumnBlobText(t.ColumnIndex(CampiTesto[cDidascalia].Colonna))));
    const int foto = t.ColumnIndex("Picture");
    if (!t.ColumnIsNull(foto))
        if (const QByteArray* b = t.ColumnBlob(foto))
            s.Foto = *b;
    m_posizione = s.ID;
    return s;
}

std::optional<TSchedaMostrata> TScorrimento::Passo(Verso verso)
{
    if (!m_archivio.ApriArchivio(Query(verso)))
        return std::nullopt; // the table has just been created
    TSQLiteTable* r = m_archivio.Risultato();
    if (!r || !r->First())
        return std::nullopt;
    return Leggi(*r);
}

TScorrimento::Esito TScorrimento::Avanza(TSchedaMostrata* scheda)
{
    if (!m_archivio.ApriArchivio(Query(Verso::Avanti)))
        return Esito::Invariato;
    TSQLiteTable* r = m_archivio.Risultato();
    if (r && r->First()) {
        *scheda = Leggi(*r);
        return Esito::Scheda;
    }
    if (!m_posizione)
        return Esito::Invariato; // an empty archive
    m_posizione.reset();
    return Esito::FineGiro;
}

void TScorrimento::Riapri() { m_archivio.ApriArchivio(Statementi::PrimaScheda(m_archivio.Tabella())); }
