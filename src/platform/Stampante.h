#pragma once
// The printer seam: a job on the system's default printer, written text by text
// in printer pixels. The real one is QtStampante; tests use a recorder.
#include <QFont>
#include <QString>

#include <stdexcept>

class QPainter;

// A printing failure, with the Italian text the user reads.
class EStampa : public std::runtime_error {
public:
    explicit EStampa(const QString& messaggio)
        : std::runtime_error(messaggio.toStdString()), m_messaggio(messaggio) {}
    QString Messaggio() const { return m_messaggio; }

private:
    QString m_messaggio;
};

class IStampante {
public:
    virtual ~IStampante() = default;
    // Starts a job on the default printer, landscape and in colour, without a dialog.
    // Raises EStampa when there is no printer or the printer refuses the job.
    virtual void Inizia() = 0;
    // Of the open job: the vertical resolution and the printable height, in pixels.
    virtual int DpiVerticale() const = 0;
    virtual int AltezzaPagina() const = 0;
    // Black text in the given font, its top edge at y, measured from the printable
    // area's top left corner.
    virtual void Scrivi(int x, int y, const QFont& carattere, const QString& testo) = 0;
    virtual void NuovaPagina() = 0; // raises EStampa
    virtual void Termina() = 0;     // sends the job; raises EStampa
    virtual void Annulla() = 0;     // abandons the open job, if any; never raises
};

// Draws the text with its top edge at y (not its baseline), as printers are addressed.
void ScriviInAlto(QPainter& pittore, int x, int y, const QFont& carattere, const QString& testo);

namespace Piattaforma {
// The printer in force: the one installed, or one that reports that no printer exists.
IStampante& Stampante();
void Imposta(IStampante* stampante);
} // namespace Piattaforma
