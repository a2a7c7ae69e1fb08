// Start-up: from the application's construction (and from process start) to the
// login window exposed with every window of the registry created, against a bare
// Qt window in the same run. Each run is a fresh process of this program.
#include "bench_avvio.h"
#include "bench_comune.h"

#include "app/Registro.h"
#include "platform/Piattaforma.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr const char* OpzioneFiglio = "--avvio-figlio";

void AttendiEsposta(QWidget* w) {
    w->show();
    while (!w->windowHandle() || !w->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents(); // the first paint
}

// One measured start in this process; prints the in-process milliseconds.
int Figlio(int argc, char** argv, bool vuota) {
    QElapsedTimer t;
    t.start();
    QApplication app(argc, argv);
    if (vuota) {
        QWidget w;
        w.resize(415, 403);
        AttendiEsposta(&w);
    } else {
        QTemporaryDir cartella; // no archive or password file is touched
        Piattaforma::ImpostaCartellaProgramma(cartella.path());
        Registro::CreaFinestre();
        AttendiEsposta(Registro::Principale());
        const double ms = t.nsecsElapsed() / 1e6;
        std::printf("%.3f %d\n", ms, int(Registro::Tutte().size()));
        std::fflush(stdout);
        Registro::DistruggiFinestre();
        return 0;
    }
    std::printf("%.3f 1\n", t.nsecsElapsed() / 1e6);
    std::fflush(stdout);
    return 0;
}

struct Misura {
    double interno = 0;  // application construction -> exposed
    double processo = 0; // process spawn -> exposed (reported line received)
    int finestre = 0;
    bool riuscita = false;
};

Misura Avvia(const QString& programma, bool vuota) {
    QProcess p;
    p.setProcessEnvironment(AmbienteFiglio());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(programma, {QString::fromLatin1(OpzioneFiglio), vuota ? QStringLiteral("vuota") : QStringLiteral("registro")});
    Misura m;
    const bool pronta = p.waitForReadyRead(30000);
    m.processo = t.nsecsElapsed() / 1e6;
    const QList<QByteArray> campi = p.readLine().trimmed().split(' ');
    if (pronta && campi.size() == 2) {
        m.interno = campi[0].toDouble();
        m.finestre = campi[1].toInt();
    }
    m.riuscita = FiglioRiuscito(QStringLiteral("startup_login_exposed"), p, p.waitForFinished(30000)) &&
                 m.finestre > 0;
    return m;
}

} // namespace

bool BenchAvvioFiglio(int argc, char** argv, int* esito) {
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], OpzioneFiglio) == 0) {
            *esito = Figlio(argc, argv, qstrcmp(argv[i + 1], "vuota") == 0);
            return true;
        }
    return false;
}

void BenchAvvio(const QString& programma, int ripetizioni) {
    std::vector<double> interni, processi, interniVuota, processiVuota;
    int finestre = 0;
    Avvia(programma, false); // warms the file cache and the font cache
    for (int i = 0; i < ripetizioni; ++i) {
        const Misura m = Avvia(programma, false);
        const Misura v = Avvia(programma, true);
        if (!m.riuscita || !v.riuscita) {
            Fallimento(QStringLiteral("startup_login_exposed"), QStringLiteral("a start-up child gave no figures"));
            return;
        }
        interni.push_back(m.interno);
        processi.push_back(m.processo);
        interniVuota.push_back(v.interno);
        processiVuota.push_back(v.processo);
        finestre = m.finestre;
    }
    // Judged from the process start, as the user waits, against the bare window.
    const double rapporto = Mediana(processi) / std::max(0.001, Mediana(processiVuota));
    QJsonObject o;
    o[QStringLiteral("bench")] = QStringLiteral("startup_login_exposed");
    o[QStringLiteral("windows_created")] = finestre;
    o[QStringLiteral("runs")] = ripetizioni;
    o[QStringLiteral("app_to_exposed_ms")] = Mediana(interni);
    o[QStringLiteral("process_to_exposed_ms")] = Mediana(processi);
    o[QStringLiteral("bare_window_app_to_exposed_ms")] = Mediana(interniVuota);
    o[QStringLiteral("bare_window_process_to_exposed_ms")] = Mediana(processiVuota);
    o[QStringLiteral("ratio_app")] = Mediana(interni) / std::max(0.001, Mediana(interniVuota));
    o[QStringLiteral("ratio")] = rapporto;
    o[QStringLiteral("target_ratio")] = 4;
    o[QStringLiteral("ok")] = rapporto <= 4;
    Stampa(o);
}
