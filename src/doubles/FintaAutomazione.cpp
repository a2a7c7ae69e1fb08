#include "doubles/FintaAutomazione.h"

struct FintaAutomazione::Stato {
    QList<TChiamataRegistrata> chiamate;
    QStringList creazioniRifiutate;
    QString membroRifiutato;

    void Registra(TChiamataRegistrata c) {
        const bool rifiuta = !membroRifiutato.isEmpty() && c.Tipo != TChiamataRegistrata::Genere::Crea &&
                             c.Membro.compare(membroRifiutato, Qt::CaseInsensitive) == 0;
        const QString membro = c.Membro;
        chiamate.append(std::move(c));
        if (rifiuta) {
            membroRifiutato.clear();
            throw EAutomazione(QStringLiteral("Membro rifiutato: %1").arg(membro));
        }
    }
};

namespace {

QString Elenco(const QList<TArgomento>& argomenti) {
    QStringList parti;
    for (const TArgomento& a : argomenti)
        parti << (a.Nome.isEmpty() ? a.Valore.Descrizione() : a.Nome + QStringLiteral(":=") + a.Valore.Descrizione());
    return parti.join(QStringLiteral(", "));
}

QList<TArgomento> Posizionali(const QList<TVariante>& valori) {
    QList<TArgomento> r;
    for (const TVariante& v : valori) r.append({QString(), v});
    return r;
}

class FintoOggetto : public IOggettoAutomazione, public std::enable_shared_from_this<FintoOggetto> {
public:
    FintoOggetto(std::shared_ptr<FintaAutomazione::Stato> stato, QString percorso)
        : m_stato(std::move(stato)), m_percorso(std::move(percorso)) {}

    TVariante Leggi(const QString& proprieta, const QList<TVariante>& indici) override {
        m_stato->Registra({TChiamataRegistrata::Genere::Leggi, m_percorso, proprieta, Posizionali(indici), {}});
        QString figlio = m_percorso + QLatin1Char('.') + proprieta;
        if (!indici.isEmpty()) figlio += QLatin1Char('[') + Elenco(Posizionali(indici)) + QLatin1Char(']');
        return TVariante::Oggetto(std::make_shared<FintoOggetto>(m_stato, figlio));
    }

    void Imposta(const QString& proprieta, const TVariante& valore, const QList<TVariante>& indici) override {
        m_stato->Registra({TChiamataRegistrata::Genere::Imposta, m_percorso, proprieta, Posizionali(indici), valore});
    }

    TVariante Chiama(const QString& metodo, const QList<TArgomento>& argomenti) override {
        m_stato->Registra({TChiamataRegistrata::Genere::Chiama, m_percorso, metodo, argomenti, {}});
        const QString figlio = m_percorso + QLatin1Char('.') + metodo + QLatin1Char('(') + Elenco(argomenti) +
                               QLatin1Char(')');
        return TVariante::Oggetto(std::make_shared<FintoOggetto>(m_stato, figlio));
    }

    QString Percorso() const override { return m_percorso; }

private:
    std::shared_ptr<FintaAutomazione::Stato> m_stato;
    QString m_percorso;
};

} // namespace

QString TChiamataRegistrata::Testo() const {
    switch (Tipo) {
    case Genere::Crea: return QStringLiteral("Crea ") + Oggetto;
    case Genere::Leggi: {
        QString t = QStringLiteral("Leggi ") + Oggetto + QLatin1Char('.') + Membro;
        if (!Argomenti.isEmpty()) t += QLatin1Char('[') + Elenco(Argomenti) + QLatin1Char(']');
        return t;
    }
    case Genere::Imposta: {
        QString t = QStringLiteral("Imposta ") + Oggetto + QLatin1Char('.') + Membro;
        if (!Argomenti.isEmpty()) t += QLatin1Char('[') + Elenco(Argomenti) + QLatin1Char(']');
        return t + QStringLiteral(" := ") + Valore.Descrizione();
    }
    case Genere::Chiama:
        return QStringLiteral("Chiama ") + Oggetto + QLatin1Char('.') + Membro + QLatin1Char('(') +
               Elenco(Argomenti) + QLatin1Char(')');
    }
    return QString();
}

FintaAutomazione::FintaAutomazione() : m_stato(std::make_shared<Stato>()) {}

std::shared_ptr<IOggettoAutomazione> FintaAutomazione::Crea(const QString& idProgramma) {
    m_stato->chiamate.append({TChiamataRegistrata::Genere::Crea, idProgramma, QString(), {}, {}});
    if (m_stato->creazioniRifiutate.contains(idProgramma, Qt::CaseInsensitive))
        throw EAutomazione(QStringLiteral("Impossibile creare l'oggetto %1").arg(idProgramma));
    return std::make_shared<FintoOggetto>(m_stato, idProgramma);
}

const QList<TChiamataRegistrata>& FintaAutomazione::Chiamate() const { return m_stato->chiamate; }

QStringList FintaAutomazione::Testi() const {
    QStringList t;
    for (const TChiamataRegistrata& c : m_stato->chiamate) t << c.Testo();
    return t;
}

void FintaAutomazione::Azzera() {
    m_stato->chiamate.clear();
    m_stato->creazioniRifiutate.clear();
    m_stato->membroRifiutato.clear();
}

void FintaAutomazione::RifiutaCreazione(const QString& idProgramma) { m_stato->creazioniRifiutate << idProgramma; }

void FintaAutomazione::RifiutaMembro(const QString& membro) { m_stato->membroRifiutato = membro; }
