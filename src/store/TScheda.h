#pragma once
// The record card: its columns in order, and one card in memory.
#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

struct TCampo {
    const char* Colonna;   // "varTitolo"
    const char* Etichetta; // "Riferimento:" (empty for the hidden fields)
    const char* Controllo; // "txtTitolo", "lblFile01", ...
};

// The eighteen text columns, varTitolo .. varCartellaDesc, in column order.
inline constexpr int NumeroCampiTesto = 18;
extern const std::array<TCampo, NumeroCampiTesto> CampiTesto;

// Indexes into CampiTesto / TScheda::Testi.
enum Campo {
    cTitolo, cAutore, cAlbum, cCategoria, cData, cFotocamera, cLuogo, cSoggetti, cNote,
    cDidascalia, cFile01, cFile02, cFile03, cDesc01, cDesc02, cDesc03, cCartella, cCartellaDesc
};

// One card as stored: ID, the eighteen texts, the photo bytes (empty when NULL), Ext.
struct TScheda {
    std::optional<qint64> ID;
    std::array<QString, NumeroCampiTesto> Testi;
    QByteArray Picture;
    QString Ext;
};

// "CREATE TABLE amici (...)" for the given table name.
QByteArray StatementoCreaTabella(const QByteArray& tabella);
