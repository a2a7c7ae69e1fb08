#include "find/StampaElenco.h"

#include "platform/Piattaforma.h"
#include "platform/Stampante.h"

namespace StampaElenco {

int Altezza(int punti, int dpi) {
    // Exact in integers: floor(p * dpi / 72 + 1/2).
    return (2 * punti * dpi + 72) / 144;
}

QString Piede(const QDateTime& adesso) {
    return QStringLiteral("Stampa eseguita in data ") + adesso.date().toString(QStringLiteral("dd/MM/yyyy")) +
           QStringLiteral(" alle ore ") + adesso.time().toString(QStringLiteral("HH:mm:ss"));
}

std::vector<TVoce> Impagina(const QStringList& righe, const QString& etichetta, const QString& regola, int dpi,
                            int altezzaPagina, const QDateTime& adesso) {
    const int h14 = Altezza(14, dpi), h12 = Altezza(12, dpi), h8 = Altezza(8, dpi);
    std::vector<TVoce> voci;
    voci.reserve(static_cast<size_t>(righe.size()) + 5);
    int pagina = 0;
    int y = 2 * h14;
    voci.push_back({pagina, y, 14, regola});
    y += h12;
    voci.push_back({pagina, y, 12, QStringLiteral("Elenco foto ") + etichetta});
    y += h12;
    voci.push_back({pagina, y, 14, regola});
    y += 3 * h8;
    for (const QString& riga : righe) {
        if (y >= altezzaPagina - 3 * h8) {
            ++pagina;
            y = 2 * h8;
        }
        voci.push_back({pagina, y, 8, riga});
        y += 2 * h8;
    }
    // On the page of the last line, without a test against the page height. The
    // offsets are those of a 600-dpi printer, scaled so that the rule stays as far
    // above the date on every printer.
    const auto a600 = [dpi](int pixel) { return (2 * pixel * dpi + 600) / 1200; };
    voci.push_back({pagina, y + a600(50), 8, QString(20, QLatin1Char('_'))});
    voci.push_back({pagina, y + a600(150), 8, Piede(adesso)});
    return voci;
}

void Stampa(IStampante& stampante, const QStringList& righe, const QString& etichetta, const QString& regola,
            const QDateTime& adesso) {
    CursoreOccupato cursore;
    stampante.Inizia();
    try {
        const int dpi = stampante.DpiVerticale();
        const std::vector<TVoce> voci =
            Impagina(righe, etichetta, regola, dpi, stampante.AltezzaPagina(), adesso);
        QFont carattere(QStringLiteral("Courier New"));
        carattere.setStyleHint(QFont::TypeWriter);
        carattere.setBold(false);
        carattere.setUnderline(false);
        int pagina = 0;
        for (const TVoce& v : voci) {
            while (pagina < v.Pagina) {
                stampante.NuovaPagina();
                ++pagina;
            }
            carattere.setPixelSize(Altezza(v.Punti, dpi));
            stampante.Scrivi(X, v.Y, carattere, v.Testo);
        }
        stampante.Termina();
    } catch (...) {
        stampante.Annulla();
        throw;
    }
}

} // namespace StampaElenco
