#pragma once
// The printer double: records every text of a job with its page and position, on
// a printer of 600 dpi unless told otherwise, and fails where a test asks.
#include "platform/Stampante.h"

#include <QList>

class FintoStampante : public IStampante {
public:
    struct Scritta {
        int Pagina, X, Y, Pixel;
        QString Famiglia;
        bool Grassetto, Sottolineato;
        QString Testo;
    };

    int Dpi = 600;
    int Altezza = 4760;         // landscape A4 printable height at 600 dpi
    bool Assente = false;        // no printer installed
    bool RifiutaFine = false;    // the job is refused when it is sent
    int RifiutaPagina = -1;      // the page start that fails (1 = the second page)

    QList<Scritta> Scritte;      // of the last job
    int Pagina = 0;
    int Iniziati = 0, Terminati = 0, Annullati = 0;
    bool Aperto = false;

    void Inizia() override {
        if (Assente) throw EStampa(QStringLiteral("Nessuna stampante installata."));
        ++Iniziati;
        Aperto = true;
        Pagina = 0;
        Scritte.clear();
    }
    int DpiVerticale() const override { return Dpi; }
    int AltezzaPagina() const override { return Altezza; }
    void Scrivi(int x, int y, const QFont& f, const QString& testo) override {
        Scritte.append({Pagina, x, y, f.pixelSize(), f.family(), f.bold(), f.underline(), testo});
    }
    void NuovaPagina() override {
        if (Pagina + 1 == RifiutaPagina) throw EStampa(QStringLiteral("Pagina rifiutata."));
        ++Pagina;
    }
    void Termina() override {
        if (RifiutaFine) throw EStampa(QStringLiteral("Lavoro rifiutato."));
        Aperto = false;
        ++Terminati;
    }
    void Annulla() override {
        if (Aperto) ++Annullati;
        Aperto = false;
    }
    QStringList Testi() const {
        QStringList t;
        for (const Scritta& s : Scritte) t.append(s.Testo);
        return t;
    }
};
