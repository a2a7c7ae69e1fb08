#pragma once
// The printout of a result list: a heading with the category's name on the first
// page, the lines in the order the list shows them, and a footer with the date
// and time, on the default printer. Positions are printer pixels from the top
// left corner of the printable area.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class IStampante;

namespace StampaElenco {

inline constexpr int X = 150;

// The height in printer pixels of a font of the given points: points x dpi / 72,
// to the nearest pixel, a half going up.
int Altezza(int punti, int dpi);

// One text of the printout.
struct TVoce {
    int Pagina; // from 0
    int Y;      // top edge of the text
    int Punti;  // font size
    QString Testo;
};

// The whole printout laid out for a printer of that resolution and printable height.
// regola is the heading rule of the window; etichetta the category's lower-case name.
std::vector<TVoce> Impagina(const QStringList& righe, const QString& etichetta, const QString& regola, int dpi,
                            int altezzaPagina, const QDateTime& adesso);

// "Stampa eseguita in data 05/03/2024 alle ore 09:07:02".
QString Piede(const QDateTime& adesso);

// Prints on the printer (black Courier New), with the busy cursor. A failure raises
// EStampa after the job has been abandoned, so that a later job is not refused.
void Stampa(IStampante& stampante, const QStringList& righe, const QString& etichetta, const QString& regola,
            const QDateTime& adesso);

} // namespace StampaElenco
