#include "platform/QtStampante.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <optional>

#if defined(Q_OS_UNIX)
#include <dlfcn.h>
#endif

namespace {

// Qt hands the finished job to CUPS and does not say whether CUPS took it (a queue
// that rejects jobs, a stopped server). CUPS keeps the outcome of this thread's
// last request; when Qt's print support has loaded the library, it is read here.
std::optional<QString> RifiutoDelSistema() {
#if defined(Q_OS_UNIX)
    void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!cups) return std::nullopt;
    const auto errore = reinterpret_cast<int (*)()>(dlsym(cups, "cupsLastError"));
    const auto testo = reinterpret_cast<const char* (*)()>(dlsym(cups, "cupsLastErrorString"));
    std::optional<QString> rifiuto;
    // IPP status codes from 0x0400 up are errors.
    if (errore && errore() >= 0x0400) rifiuto = QString::fromUtf8(testo && testo() ? testo() : "");
    dlclose(cups);
    return rifiuto;
#else
    return std::nullopt;
#endif
}

QString Rifiutato(const QString& nome) {
    return QStringLiteral("La stampante \"%1\" non ha accettato il lavoro di stampa: verificare che sia "
                          "accesa, collegata e pronta, poi riprovare.")
        .arg(nome);
}

} // namespace

QtStampante::QtStampante() = default;

QtStampante::~QtStampante() { Annulla(); }

void QtStampante::Inizia() {
    Annulla();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw EStampa(QStringLiteral("Nessuna stampante installata: per stampare l'elenco occorre installare "
                                     "una stampante e impostarla come stampante predefinita del sistema."));
    m_nome = info.printerName();
    m_stampante = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    m_stampante->setColorMode(QPrinter::Color);
    m_stampante->setPageOrientation(QPageLayout::Landscape);
    m_pittore = std::make_unique<QPainter>();
    if (!m_pittore->begin(m_stampante.get())) {
        m_pittore.reset();
        m_stampante.reset();
        throw EStampa(Rifiutato(m_nome));
    }
}

int QtStampante::DpiVerticale() const { return m_stampante ? m_stampante->logicalDpiY() : 72; }

int QtStampante::AltezzaPagina() const { return m_stampante ? m_stampante->height() : 0; }

void QtStampante::Scrivi(int x, int y, const QFont& carattere, const QString& testo) {
    if (m_pittore) ScriviInAlto(*m_pittore, x, y, carattere, testo);
}

void QtStampante::NuovaPagina() {
    if (!m_stampante || !m_stampante->newPage()) throw EStampa(Rifiutato(m_nome));
}

void QtStampante::Termina() {
    if (!m_pittore) throw EStampa(Rifiutato(m_nome));
    const bool chiuso = m_pittore->end();
    const bool errore = m_stampante->printerState() == QPrinter::Error;
    const std::optional<QString> rifiuto =
        m_stampante->outputFormat() == QPrinter::NativeFormat ? RifiutoDelSistema() : std::nullopt;
    m_pittore.reset();
    m_stampante.reset();
    if (!chiuso || errore) throw EStampa(Rifiutato(m_nome));
    if (rifiuto)
        throw EStampa(Rifiutato(m_nome) +
                      (rifiuto->isEmpty() ? QString() : QStringLiteral("\n\nDettagli: ") + *rifiuto));
}

void QtStampante::Annulla() {
    if (m_pittore && m_pittore->isActive()) {
        m_stampante->abort();
        m_pittore->end();
    }
    m_pittore.reset();
    m_stampante.reset();
}
