#include "platform/Automazione.h"

EAutomazione::EAutomazione(const QString& messaggio)
    : std::runtime_error(messaggio.toStdString()), m_messaggio(messaggio) {}

TVariante TVariante::Intero16(qint16 v) {
    TVariante r;
    r.m_valore = v;
    return r;
}

TVariante TVariante::Intero32(qint32 v) {
    TVariante r;
    r.m_valore = v;
    return r;
}

TVariante TVariante::Booleano(bool v) {
    TVariante r;
    r.m_valore = v;
    return r;
}

TVariante TVariante::Stringa(const QString& v) {
    TVariante r;
    r.m_valore = v;
    return r;
}

TVariante TVariante::Matrice(std::shared_ptr<const TMatrice> m) {
    if (!m) throw EAutomazione(QStringLiteral("Matrice mancante"));
    TVariante r;
    r.m_valore = std::move(m);
    return r;
}

TVariante TVariante::Oggetto(std::shared_ptr<IOggettoAutomazione> o) {
    if (!o) throw EAutomazione(QStringLiteral("Oggetto mancante"));
    TVariante r;
    r.m_valore = std::move(o);
    return r;
}

namespace {

const char* NomeTipo(TVariante::Tipo t) {
    switch (t) {
    case TVariante::Tipo::Vuoto: return "vuoto";
    case TVariante::Tipo::Intero16: return "intero a 16 bit";
    case TVariante::Tipo::Intero32: return "intero a 32 bit";
    case TVariante::Tipo::Booleano: return "booleano";
    case TVariante::Tipo::Stringa: return "stringa";
    case TVariante::Tipo::Matrice: return "matrice";
    case TVariante::Tipo::Oggetto: return "oggetto";
    }
    return "?";
}

[[noreturn]] void TipoErrato(TVariante::Tipo trovato, const char* atteso) {
    throw EAutomazione(QStringLiteral("Tipo non corrispondente: atteso %1, ricevuto %2")
                           .arg(QLatin1String(atteso), QLatin1String(NomeTipo(trovato))));
}

} // namespace

qint32 TVariante::ComeIntero() const {
    if (auto* v = std::get_if<qint16>(&m_valore)) return *v;
    if (auto* v = std::get_if<qint32>(&m_valore)) return *v;
    TipoErrato(TipoValore(), "intero");
}

bool TVariante::ComeBooleano() const {
    if (auto* v = std::get_if<bool>(&m_valore)) return *v;
    if (auto* v = std::get_if<qint16>(&m_valore)) return *v != 0;
    if (auto* v = std::get_if<qint32>(&m_valore)) return *v != 0;
    TipoErrato(TipoValore(), "booleano");
}

QString TVariante::ComeStringa() const {
    if (auto* v = std::get_if<QString>(&m_valore)) return *v;
    TipoErrato(TipoValore(), "stringa");
}

const TMatrice& TVariante::ComeMatrice() const {
    if (auto* v = std::get_if<std::shared_ptr<const TMatrice>>(&m_valore)) return **v;
    TipoErrato(TipoValore(), "matrice");
}

std::shared_ptr<IOggettoAutomazione> TVariante::ComeOggetto() const {
    if (auto* v = std::get_if<std::shared_ptr<IOggettoAutomazione>>(&m_valore)) return *v;
    TipoErrato(TipoValore(), "oggetto");
}

QString TVariante::Descrizione() const {
    switch (TipoValore()) {
    case Tipo::Vuoto: return QStringLiteral("Empty");
    case Tipo::Intero16: return QStringLiteral("I16 %1").arg(std::get<qint16>(m_valore));
    case Tipo::Intero32: return QStringLiteral("I32 %1").arg(std::get<qint32>(m_valore));
    case Tipo::Booleano: return std::get<bool>(m_valore) ? QStringLiteral("Bool true") : QStringLiteral("Bool false");
    case Tipo::Stringa: return QStringLiteral("Str \"%1\"").arg(std::get<QString>(m_valore));
    case Tipo::Matrice: {
        const TMatrice& m = *std::get<std::shared_ptr<const TMatrice>>(m_valore);
        return QStringLiteral("Array %1x%2").arg(m.Righe()).arg(m.Colonne());
    }
    case Tipo::Oggetto: return QStringLiteral("Obj ") + std::get<std::shared_ptr<IOggettoAutomazione>>(m_valore)->Percorso();
    }
    return QString();
}

TMatrice::TMatrice(int righe, int colonne) : m_righe(righe), m_colonne(colonne) {
    if (righe < 1 || colonne < 1) throw EAutomazione(QStringLiteral("Dimensioni della matrice non valide"));
    m_valori.resize(size_t(righe) * size_t(colonne));
}

const TVariante& TMatrice::At(int riga, int colonna) const {
    if (riga < 1 || riga > m_righe || colonna < 1 || colonna > m_colonne)
        throw EAutomazione(QStringLiteral("Indice della matrice fuori dai limiti"));
    return m_valori[size_t(riga - 1) * size_t(m_colonne) + size_t(colonna - 1)];
}

void TMatrice::Imposta(int riga, int colonna, TVariante v) {
    if (riga < 1 || riga > m_righe || colonna < 1 || colonna > m_colonne)
        throw EAutomazione(QStringLiteral("Indice della matrice fuori dai limiti"));
    m_valori[size_t(riga - 1) * size_t(m_colonne) + size_t(colonna - 1)] = std::move(v);
}

TRif::TRif(std::shared_ptr<IOggettoAutomazione> o) : m_oggetto(std::move(o)) {
    if (!m_oggetto) throw EAutomazione(QStringLiteral("Oggetto mancante"));
}

TRif TRif::Leggi(const QString& proprieta, const QList<TVariante>& indici) const {
    const TVariante v = m_oggetto->Leggi(proprieta, indici);
    if (v.TipoValore() != TVariante::Tipo::Oggetto)
        throw EAutomazione(QStringLiteral("%1.%2 non è un oggetto").arg(m_oggetto->Percorso(), proprieta));
    return TRif(v.ComeOggetto());
}

void TRif::Imposta(const QString& proprieta, const TVariante& valore, const QList<TVariante>& indici) const {
    m_oggetto->Imposta(proprieta, valore, indici);
}

TVariante TRif::Chiama(const QString& metodo, const QList<TArgomento>& argomenti) const {
    return m_oggetto->Chiama(metodo, argomenti);
}

namespace {

// Nothing can be created until a server is installed.
class NessunServer : public IAutomazione {
public:
    std::shared_ptr<IOggettoAutomazione> Crea(const QString& idProgramma) override {
        throw EAutomazione(QStringLiteral("Impossibile creare l'oggetto %1").arg(idProgramma));
    }
};

IAutomazione*& Installato() {
    static IAutomazione* s = nullptr;
    return s;
}

} // namespace

namespace Automazione {

IAutomazione& Server() {
    static NessunServer nessuno;
    return Installato() ? *Installato() : nessuno;
}

void Imposta(IAutomazione* server) { Installato() = server; }

} // namespace Automazione
