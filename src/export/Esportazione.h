#pragma once
// The two exports as call sequences over the automation seam: a grid to a new
// spreadsheet workbook, and one card with its picture to a new word-processor
// document. Each sends its calls and nothing else; nothing is read back but the
// object references the chain itself uses.
#include "platform/Automazione.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

class TGriglia;

// The value array: element (j + 1, i + 1) is the trimmed text of cell (i, j).
std::shared_ptr<TMatrice> MatriceValori(const TGriglia& griglia);

// The spreadsheet calls, from creating the application to making it visible.
// Any failure raises; nothing is undone.
void InviaGrigliaAExcel(IAutomazione& automazione, const TGriglia& griglia, const QString& nomeFoglio);

// Busy cursor, the calls on the automation in force, normal cursor. A failure
// ends in the plain message below; the caller goes on as before.
void ExportGridToExcel(const TGriglia& griglia, const QString& nomeFoglio);

// The card's ten labels, in table order ("Riferimento:" ... "Didascalia:").
extern const std::array<const char*, 10> EtichetteScheda;
// The picture hand-over file in the program folder.
inline constexpr const char* FileImmagineScheda = "Scheda.bmp";

// The word-processor calls for the ten texts (trimmed here; the note keeps its inner
// line breaks) and the picture's own encoded bytes, which are written unchanged to
// the hand-over file before the picture is added. Any failure raises.
void InviaSchedaAWord(IAutomazione& automazione, const std::array<QString, 10>& testi, const QByteArray& immagine,
                      const QString& fileImmagine);

// Busy cursor, the calls with the hand-over file of the program folder, normal
// cursor. Any failure, writing the file included, ends in the plain message below.
void EsportaSchedaInWord(const std::array<QString, 10>& testi, const QByteArray& immagine);

namespace MessaggiEsportazione {
QString ErroreExcel();
QString ErroreWord();
} // namespace MessaggiEsportazione
