#include "find/RigaRisultato.h"

#include "store/TSQLiteDatabase.h"
#include "store/Testo.h"
#include "store/Win1252.h"

namespace {

QString Campo(const QByteArray& cella) { return Win1252::ATesto(Testo::Rifila(cella)); }

void Accoda(QString& riga, const QByteArray& cella, int larghezza) {
    const QString t = Campo(cella);
    riga += t.left(larghezza);
    if (t.size() < larghezza) riga += QString(larghezza - t.size(), QLatin1Char(' '));
}

} // namespace

namespace RigaRisultato {

QString Componi(const QByteArray& titolo, const QByteArray& vani, const QByteArray& metri,
                const QByteArray& prezzo, const QByteArray& descrizione) {
    QString riga;
    riga.reserve(82 + descrizione.size());
    riga += QLatin1String("Rif. ");
    Accoda(riga, titolo, 20);
    riga += QLatin1String("  Vani: ");
    Accoda(riga, vani, 15);
    riga += QLatin1String("  MQ: ");
    Accoda(riga, metri, 10);
    riga += QStringLiteral("  \u20AC ");
    Accoda(riga, prezzo, 12);
    riga += QLatin1String("  ");
    riga += Campo(descrizione);
    return riga;
}

Colonne Colonne::Di(const TSQLiteTable& t) {
    return {t.ColumnIndex("varTitolo"), t.ColumnIndex("varCategoria"), t.ColumnIndex("varData"),
            t.ColumnIndex("varFotocamera"), t.ColumnIndex("varAutore")};
}

QString DellaRiga(const TSQLiteTable& t, const Colonne& c) {
    return Componi(t.ColumnBlobText(c.Titolo), t.ColumnBlobText(c.Vani), t.ColumnBlobText(c.Metri),
                   t.ColumnBlobText(c.Prezzo), t.ColumnBlobText(c.Descrizione));
}

QString MinuscoleAZ(const QString& s) {
    QString r = s;
    for (QChar& c : r)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
    return r;
}

} // namespace RigaRisultato

namespace TrovaInLista {

int Trova(const std::function<QString(int)>& righe, int conteggio, int selezionata, const QString& chiave,
          QString& ultimaChiave) {
    if (conteggio <= 0) return -1;
    if (selezionata < 0 || selezionata >= conteggio) selezionata = 0;
    const QString k = RigaRisultato::MinuscoleAZ(chiave);
    const auto corrisponde = [&](int i) {
        return !k.isEmpty() && RigaRisultato::MinuscoleAZ(righe(i)).contains(k);
    };
    int inizio;
    bool trovata;
    if (k != ultimaChiave) {
        inizio = 0;
        trovata = corrisponde(0);
    } else {
        inizio = selezionata;
        trovata = false;
    }
    int i = inizio;
    while (!trovata) {
        i = (i + 1) % conteggio;
        trovata = corrisponde(i);
        if (i == inizio) break;
    }
    ultimaChiave = k;
    return trovata ? i : selezionata;
}

int Trova(const QStringList& righe, int selezionata, const QString& chiave, QString& ultimaChiave) {
    return Trova([&](int i) { return righe.at(i); }, static_cast<int>(righe.size()), selezionata, chiave,
                 ultimaChiave);
}

} // namespace TrovaInLista
