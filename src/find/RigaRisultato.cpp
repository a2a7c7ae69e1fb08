#include "find/RigaRisultato.h"

#include "store/TSQLiteDatabase.h"
#include "store/Testo.h"
#include "store/Win1252.h"

#include <array>

namespace {

// Each Windows-1252 byte is one character; a table spares a conversion per field.
const std::array<QChar, 256>& Caratteri() {
    static const auto tabella = [] {
        std::array<QChar, 256> t;
        for (int b = 0; b < 256; ++b) t[static_cast<size_t>(b)] = Win1252::ATesto(QByteArray(1, char(b))).at(0);
        return t;
    }();
    return tabella;
}

// The cell trimmed (codes up to 32 at both ends), cut to at most larghezza
// characters and padded with blanks to it; larghezza < 0: whole, not padded.
void Accoda(QString& riga, const QByteArray& cella, int larghezza) {
    const auto* b = reinterpret_cast<const uchar*>(cella.constData());
    qsizetype inizio = 0, fine = cella.size();
    while (inizio < fine && b[inizio] <= 32) ++inizio;
    while (fine > inizio && b[fine - 1] <= 32) --fine;
    qsizetype n = fine - inizio;
    if (larghezza >= 0 && n > larghezza) n = larghezza;
    const auto& caratteri = Caratteri();
    for (qsizetype i = 0; i < n; ++i) riga += caratteri[b[inizio + i]];
    for (qsizetype i = n; i < larghezza; ++i) riga += QLatin1Char(' ');
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
    Accoda(riga, descrizione, -1);
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
