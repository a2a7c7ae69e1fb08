#pragma once
// The access password: scrambling routines and the checks over the password
// file unins000.dll (INI section "Accesso", key "Valore") in the program folder.
#include <QByteArray>
#include <QString>

#include <optional>

// Scrambled bytes as upper-case hexadecimal text, two digits per byte.
QString CodificaPassword(const QByteArray& chiaro);
// A final odd digit is ignored; nullopt when a digit pair is not hexadecimal.
std::optional<QByteArray> DecodificaPassword(const QString& esadecimale);

// Canonical form of a typed password as stored: Windows-1252 bytes, ASCII letters
// upper-cased, characters of code below 33 removed from both ends.
QByteArray FormaCanonica(const QString& digitata);

enum class EsitoAccesso { Giusta, Errata, ErroreLettura };
EsitoAccesso VerificaPassword(const QString& cartella, const QString& digitata);

enum class EsitoCambio { VecchiaErrata, ConfermaDiversa, Cambiata, Errore };
EsitoCambio CambiaPassword(const QString& cartella, const QString& vecchia, const QString& nuova,
                           const QString& conferma);

// Writes the password file for the given clear password (used by the build for
// the first-access keyword). Returns false when the file cannot be written.
bool ScriviPassword(const QString& cartella, const QString& chiaro);

inline constexpr const char* FilePassword = "unins000.dll";
