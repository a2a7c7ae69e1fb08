#include "export/MotoreDocumenti.h"

#include "export/MotoreInterno.h"
#include "platform/Piattaforma.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

TMotoreDocumenti::TMotoreDocumenti() : m_servizi(std::make_shared<Servizi>()) {
    m_servizi->apri = [](const QString& file) { return Piattaforma::ApriSistema().ApriDocumento(file); };
}

std::shared_ptr<IOggettoAutomazione> TMotoreDocumenti::Crea(const QString& idProgramma) {
    if (Motore::Uguale(idProgramma, "Excel.Application")) return Motore::CreaExcel(m_servizi);
    if (Motore::Uguale(idProgramma, "Word.Application")) return Motore::CreaWord(m_servizi);
    throw EAutomazione(QStringLiteral("Impossibile creare l'oggetto %1").arg(idProgramma));
}

QStringList TMotoreDocumenti::PrendiAvvisi() { return std::exchange(m_servizi->avvisi, QStringList()); }

void TMotoreDocumenti::ImpostaCartella(const QString& cartella) { m_servizi->cartella = cartella; }

QString TMotoreDocumenti::Cartella() const {
    if (!m_servizi->cartella.isEmpty()) return m_servizi->cartella;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void TMotoreDocumenti::ImpostaApertura(std::function<bool(const QString&)> apri) { m_servizi->apri = std::move(apri); }

const QStringList& TMotoreDocumenti::FileScritti() const { return m_servizi->scritti; }

QString NomeLibero(const QString& cartella, const QString& base, const QString& estensione) {
    QString sicuro;
    for (QChar c : base) {
        // Characters that some file system refuses, and controls.
        if (c.unicode() < 32 || QStringLiteral("<>:\"/\\|?*").contains(c))
            sicuro += QLatin1Char('_');
        else
            sicuro += c;
    }
    sicuro = sicuro.trimmed();
    while (sicuro.endsWith(QLatin1Char('.'))) sicuro.chop(1);
    if (sicuro.isEmpty()) sicuro = QStringLiteral("Documento");
    const QDir dir(cartella);
    QString nome = sicuro + QLatin1Char('.') + estensione;
    for (int n = 2; QFileInfo::exists(dir.filePath(nome)); ++n)
        nome = QStringLiteral("%1 (%2).%3").arg(sicuro).arg(n).arg(estensione);
    return dir.filePath(nome);
}

namespace Motore {

bool Uguale(const QString& a, const char* b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

void Errore(const QString& testo) { throw EAutomazione(testo); }

void Sconosciuto(const QString& oggetto, const QString& membro) {
    Errore(QStringLiteral("L'oggetto %1 non supporta la proprietà o il metodo %2").arg(oggetto, membro));
}

void SenzaIndici(const QString& oggetto, const QString& membro, const QList<TVariante>& indici) {
    if (!indici.isEmpty()) Errore(QStringLiteral("%1.%2 non accetta indici").arg(oggetto, membro));
}

void SenzaArgomenti(const QString& oggetto, const QString& membro, const QList<TArgomento>& argomenti) {
    if (!argomenti.isEmpty()) Errore(QStringLiteral("%1.%2 non accetta argomenti").arg(oggetto, membro));
}

std::vector<TVariante> Parametri(const QString& oggetto, const QString& metodo, const QList<TArgomento>& argomenti,
                                 std::initializer_list<const char*> nomi) {
    const std::vector<const char*> elenco(nomi);
    std::vector<TVariante> valori(elenco.size());
    std::vector<bool> dati(elenco.size(), false);
    size_t posizione = 0;
    bool nominati = false;
    for (const TArgomento& a : argomenti) {
        size_t i = 0;
        if (a.Nome.isEmpty()) {
            if (nominati) Errore(QStringLiteral("%1.%2: argomento posizionale dopo uno con nome").arg(oggetto, metodo));
            i = posizione++;
            if (i >= elenco.size()) Errore(QStringLiteral("%1.%2: troppi argomenti").arg(oggetto, metodo));
        } else {
            nominati = true;
            while (i < elenco.size() && !Uguale(a.Nome, elenco[i])) ++i;
            if (i >= elenco.size())
                Errore(QStringLiteral("%1.%2: argomento sconosciuto %3").arg(oggetto, metodo, a.Nome));
        }
        if (dati[i]) Errore(QStringLiteral("%1.%2: argomento ripetuto %3").arg(oggetto, metodo, QLatin1String(elenco[i])));
        dati[i] = true;
        valori[i] = a.Valore;
    }
    return valori;
}

QString CartellaDocumenti(const TMotoreDocumenti::Servizi& servizi) {
    QString cartella = servizi.cartella;
    if (cartella.isEmpty()) cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (cartella.isEmpty()) cartella = QDir::homePath();
    if (!QDir().mkpath(cartella))
        Errore(QStringLiteral("Impossibile creare la cartella %1").arg(QDir::toNativeSeparators(cartella)));
    return cartella;
}

void Consegna(TMotoreDocumenti::Servizi& servizi, const QString& file) {
    servizi.scritti.append(file);
    if (servizi.apri && servizi.apri(file)) return;
    // The work is saved: say where, so that it is never lost in silence.
    servizi.avvisi.append(
        QString::fromUtf8("Il documento è stato salvato nel file\r\n\r\n%1\r\n\r\nma sul computer non è installato "
                          "un programma che possa aprirlo.")
            .arg(QDir::toNativeSeparators(file)));
}

} // namespace Motore
