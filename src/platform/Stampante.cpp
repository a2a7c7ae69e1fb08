#include "platform/Stampante.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Before a real printer is installed, printing says so instead of doing nothing.
class NessunaStampante : public IStampante {
public:
    void Inizia() override {
        throw EStampa(QStringLiteral("Nessuna stampante disponibile: impossibile stampare l'elenco."));
    }
    int DpiVerticale() const override { return 72; }
    int AltezzaPagina() const override { return 0; }
    void Scrivi(int, int, const QFont&, const QString&) override {}
    void NuovaPagina() override {}
    void Termina() override {}
    void Annulla() override {}
};

IStampante* g_stampante = nullptr;

} // namespace

void ScriviInAlto(QPainter& pittore, int x, int y, const QFont& carattere, const QString& testo) {
    pittore.setFont(carattere);
    pittore.setPen(Qt::black);
    const QFontMetrics m(carattere, pittore.device());
    pittore.drawText(QPoint(x, y + m.ascent()), testo);
}

namespace Piattaforma {

IStampante& Stampante() {
    static NessunaStampante nessuna;
    return g_stampante ? *g_stampante : nessuna;
}

void Imposta(IStampante* stampante) { g_stampante = stampante; }

} // namespace Piattaforma
