// One copy of the program working on a shared program folder, without windows:
// the record operations of a card window on the real archive, as a user would
// start them one after the other. The two-copies test starts two of these at once
// and checks the archive against what each one was told.
//
//   copia_programma FOLDER ROLE OPERATIONS SEED LOG
//
// ROLE "scrive": saves new cards, updates and deletes its own.
// ROLE "cerca":  saves new cards, runs quick-find and advanced-search queries,
//                steps through the cards, and compacts the archive now and then.
// Every outcome goes to LOG, one line each, with the message the user was shown.
#include "doubles/Doppi.h"
#include "store/TArchivio.h"
#include "store/TCategoria.h"
#include "store/TOperazioniScheda.h"
#include "store/Testo.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>

#include <cstdio>

namespace {

struct Copia {
    QString Ruolo;
    QRandomGenerator Caso;
    QTextStream Log;
    FintoMessaggi Messaggi;
    FintoCursore Cursore;
    TArchivio Archivio{*Categorie::PerRadice(QStringLiteral("Amici"))};
    TSchedaLavoro Scheda;
    TOperazioniScheda Operazioni{Archivio, Scheda, TFoto()};
    QList<qint64> Mie; // stored by this copy and not deleted
    int Nuove = 0, Versione = 0;

    Copia(const QString& ruolo, quint32 seme, QFile& log) : Ruolo(ruolo), Caso(seme), Log(&log) {}

    // The message boxes of the last operation, for the log.
    QString Detto() const
    {
        QStringList righe;
        for (const MessaggioMostrato& m : Messaggi.Mostrati)
            righe << m.Caption + QStringLiteral(" | ") + QString(m.Testo).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return righe.join(QStringLiteral(" || "));
    }

    bool DettoCaption(const QString& caption) const
    {
        for (const MessaggioMostrato& m : Messaggi.Mostrati)
            if (m.Caption == caption)
                return true;
        return false;
    }

    // What a window's guard does with an error no operation caught: the error box.
    template <class F> bool Guardia(const QString& cosa, F f)
    {
        try {
            f();
            return true;
        } catch (const ESQLiteException& e) {
            Log << "ERRORE " << cosa << ' ' << QString(e.Messaggio()).replace(QLatin1Char('\n'), QLatin1Char(' '))
                << '\n';
            return false;
        }
    }

    // A photo of its own for each card: real JPEG framing around distinct bytes.
    QByteArray Foto(const QString& riferimento)
    {
        QByteArray dati("\xFF\xD8\xFF\xFE", 4);
        dati += riferimento.toLatin1();
        const int n = 2000 + int(Caso.bounded(12000));
        for (int i = 0; i < n; i += 4) {
            const quint32 v = Caso.generate();
            dati.append(reinterpret_cast<const char*>(&v), 4);
        }
        dati += QByteArray("\xFF\xD9", 2);
        return dati;
    }

    void Salva()
    {
        const QString riferimento = QStringLiteral("%1-%2").arg(Ruolo).arg(++Nuove);
        const QByteArray foto = Foto(riferimento);
        const QString file = QDir::temp().filePath(QStringLiteral("tegolario-copia-%1-%2.jpg")
                                                       .arg(QCoreApplication::applicationPid())
                                                       .arg(riferimento));
        {
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly) || f.write(foto) != foto.size())
                qFatal("cannot write %s", qPrintable(file));
        }
        Messaggi.Azzera();
        Operazioni.PulisciScheda();
        Scheda.Testi[cTitolo] = riferimento;
        Scheda.Testi[cAutore] = QStringLiteral("v0");
        Scheda.Testi[cNote] = QStringLiteral("Scheda %1 con la sua foto").arg(riferimento);
        Scheda.FotoInAttesa = file;
        Operazioni.SalvaScheda();
        QFile::remove(file);
        const QString hash = QString::fromLatin1(QCryptographicHash::hash(foto, QCryptographicHash::Sha1).toHex());
        if (DettoCaption(QStringLiteral("Salvataggio effettuato con successo")) && Scheda.ID) {
            Log << "SALVA " << riferimento << ' ' << hash << " OK " << *Scheda.ID << '\n';
            Mie.append(*Scheda.ID);
        } else if (!Messaggi.Mostrati.isEmpty()) {
            Log << "SALVA " << riferimento << ' ' << hash << " FALLITA " << Detto() << '\n';
        } else {
            Log << "SALVA " << riferimento << ' ' << hash << " SILENZIO\n";
        }
    }

    // Loads one of its own cards as a find window hands it to the card window.
    bool Carica(qint64 id)
    {
        bool trovata = false;
        const bool ok = Guardia(QStringLiteral("CARICA"), [&] {
            Archivio.ApriArchivio(Statementi::SchedaPerNumero(Archivio.Tabella(), id));
            if (TSQLiteTable* t = Archivio.Risultato(); t && t->First()) {
                Operazioni.CaricaScheda(*t);
                trovata = true;
            }
        });
        if (ok && !trovata)
            Log << "PERSA " << id << '\n'; // a card of its own that is not in the archive
        return ok && trovata;
    }

    void Aggiorna()
    {
        if (Mie.isEmpty())
            return Salva();
        const qint64 id = Mie.at(int(Caso.bounded(Mie.size())));
        if (!Carica(id))
            return;
        const QString valore = QStringLiteral("v%1").arg(++Versione);
        Messaggi.Azzera();
        Scheda.Testi[cAutore] = valore;
        Operazioni.SalvaScheda();
        if (DettoCaption(QStringLiteral("Aggiornamento effettuato con successo")))
            Log << "AGGIORNA " << id << ' ' << valore << " OK\n";
        else if (!Messaggi.Mostrati.isEmpty())
            Log << "AGGIORNA " << id << ' ' << valore << " FALLITA " << Detto() << '\n';
        else
            Log << "AGGIORNA " << id << ' ' << valore << " SILENZIO\n";
    }

    void Elimina()
    {
        if (Mie.isEmpty())
            return Salva();
        const int i = int(Caso.bounded(Mie.size()));
        const qint64 id = Mie.at(i);
        if (!Carica(id))
            return;
        Messaggi.Azzera();
        Messaggi.ImpostaProssimaRisposta(Risposta::Si);
        Operazioni.EliminaScheda();
        if (DettoCaption(QStringLiteral("Cancellazione non riuscita"))) {
            Log << "ELIMINA " << id << " FALLITA " << Detto() << '\n';
        } else if (!Scheda.ID) {
            Log << "ELIMINA " << id << " OK\n";
            Mie.removeAt(i);
        } else {
            Log << "ELIMINA " << id << " SILENZIO\n";
        }
    }

    // The quick find's query on one field, and the advanced search's on several.
    void Cerca()
    {
        const QByteArray colonne = Statementi::ColonneElenco();
        const QByteArray t = Archivio.Tabella();
        const bool avanzata = Caso.bounded(2) == 1;
        const QByteArray sql = avanzata ? "SELECT " + colonne + " FROM " + t +
                                              " WHERE varTitolo LIKE ? AND varNote LIKE ? AND varAutore LIKE ? ORDER BY ID"
                                        : "SELECT " + colonne + " FROM " + t + " WHERE varTitolo LIKE ? ORDER BY ID";
        const QByteArray chiave = Caso.bounded(2) ? "%A-%" : "%-1%";
        Guardia(QStringLiteral("CERCA"), [&] {
            Archivio.ApriArchivio();
            const auto r = avanzata ? Archivio.Connessione()->Query(sql, {chiave, "%foto%", "%"})
                                    : Archivio.Connessione()->Query(sql, {chiave});
            for (r->First(); !r->Eof(); r->Next())
                if (r->ColumnInteger(r->ColumnIndex("ID")) <= 0)
                    Log << "CERCA riga senza numero\n";
            Log << "CERCA " << r->Count() << '\n';
        });
    }

    void Passo()
    {
        const int quale = int(Caso.bounded(4));
        Guardia(QStringLiteral("PASSO"), [&] {
            switch (quale) {
            case 0: Operazioni.PrimaScheda(); break;
            case 1: Operazioni.SchedaSuccessiva(); break;
            case 2: Operazioni.SchedaPrecedente(); break;
            default: Operazioni.UltimaScheda(); break;
            }
            Log << "PASSO " << (Scheda.ID ? *Scheda.ID : 0) << '\n';
        });
    }

    void Ottimizza()
    {
        Messaggi.Azzera();
        Messaggi.ImpostaProssimaRisposta(Risposta::Si);
        if (Guardia(QStringLiteral("OTTIMIZZA"), [&] { Archivio.OttimizzaArchivio(); }))
            Log << "OTTIMIZZA OK\n";
    }

    void Operazione(int n)
    {
        const quint32 dado = Caso.bounded(100);
        if (Ruolo == QLatin1String("scrive")) {
            if (dado < 50) Salva();
            else if (dado < 80) Aggiorna();
            else Elimina();
        } else {
            if (n % 25 == 24) Ottimizza();
            else if (dado < 35) Salva();
            else if (dado < 65) Cerca();
            else Passo();
        }
        Log.flush();
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 6) {
        std::fprintf(stderr, "usage: copia_programma FOLDER ROLE OPERATIONS SEED LOG\n");
        return 2;
    }
    QFile log(a.at(5));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 2;
    auto copia = std::make_unique<Copia>(a.at(2), a.at(4).toUInt(), log);
    Piattaforma::Imposta(&copia->Messaggi);
    Piattaforma::Imposta(&copia->Cursore);
    Piattaforma::ImpostaCartellaProgramma(a.at(1));
    const int operazioni = a.at(3).toInt();
    for (int n = 0; n < operazioni; ++n)
        copia->Operazione(n);
    copia->Log << "FINE\n";
    copia->Log.flush();
    Piattaforma::Imposta(static_cast<IMessaggi*>(nullptr));
    Piattaforma::Imposta(static_cast<ICursore*>(nullptr));
    return 0;
}
