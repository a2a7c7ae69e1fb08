#pragma once
// The result line: the fixed-layout text that stands for one card in the result
// lists and in their printouts, and the in-list find over those lines.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class TSQLiteTable;

namespace RigaRisultato {

// From the cells as stored (Windows-1252 bytes): "Rif. " + reference (20) +
// "  Vani: " + rooms (15) + "  MQ: " + square metres (10) + "  € " + price (12) +
// "  " + the whole description. Each field is trimmed, then padded with blanks or
// cut to its width, counted in characters.
QString Componi(const QByteArray& titolo, const QByteArray& vani, const QByteArray& metri,
                const QByteArray& prezzo, const QByteArray& descrizione);

// The positions of the five columns in a result table, found once per table.
struct Colonne {
    int Titolo, Vani, Metri, Prezzo, Descrizione;
    // Raises the access layer's error when a column is missing (or the table is empty).
    static Colonne Di(const TSQLiteTable& tabella);
};

// The line of the table's current row.
QString DellaRiga(const TSQLiteTable& tabella, const Colonne& colonne);

// Lower case for the letters A to Z only; every other character stays.
QString MinuscoleAZ(const QString& s);

} // namespace RigaRisultato

// The in-list find: jumps to the next line that contains a key. The last key is
// kept by the caller between clicks.
namespace TrovaInLista {

// righe(i) gives line i of conteggio (> 0) lines as shown; selezionata is the selected
// line or -1. Returns the line to select: the first match for a new key, the next
// match below the selected line (wrapping) for the same key, else the line selected
// before (line 0 when none was). ultimaChiave becomes the key, lower-cased A to Z.
int Trova(const std::function<QString(int)>& righe, int conteggio, int selezionata, const QString& chiave,
          QString& ultimaChiave);
int Trova(const QStringList& righe, int selezionata, const QString& chiave, QString& ultimaChiave);

} // namespace TrovaInLista
