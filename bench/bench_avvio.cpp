// Start-up: from the application's construction (and from process start) to the
// login window exposed with every window of the registry created, against a bare
// Qt window in the same run. Each run is a fresh process of this program.
#include "bench_avvio.h"

#include "app/Registro.h"
#include "platform/Piattaforma.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
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

double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

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
};

Misura Avvia(const QString& programma, bool vuota) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(programma, {QString::fromLatin1(OpzioneFiglio), vuota ? QStringLiteral("vuota") : QStringLiteral("registro")});
    Misura m;
    if (!p.waitForReadyRead(30000)) return m;
    m.processo = t.nsecsElapsed() / 1e6;
    const QList<QByteArray> campi = p.readLine().trimmed().split(' ');
    if (campi.size() == 2) {
        m.interno = campi[0].toDouble();
        m.finestre = campi[1].toInt();
    }
    p.waitForFinished(30000);
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
        interni.push_back(m.interno);
        processi.push_back(m.processo);
        interniVuota.push_back(v.interno);
        processiVuota.push_back(v.processo);
        finestre = m.finestre;
    }
    QJsonObject o;
    o[QStringLiteral("case")] = QStringLiteral("startup_login_exposed");
    o[QStringLiteral("windows_created")] = finestre;
    o[QStringLiteral("runs")] = ripetizioni;
    o[QStringLiteral("app_to_exposed_ms")] = Mediana(interni);
    o[QStringLiteral("process_to_exposed_ms")] = Mediana(processi);
    o[QStringLiteral("bare_window_app_to_exposed_ms")] = Mediana(interniVuota);
    o[QStringLiteral("bare_window_process_to_exposed_ms")] = Mediana(processiVuota);
    o[QStringLiteral("ratio_app")] = Mediana(interni) / std::max(0.001, Mediana(interniVuota));
    o[QStringLiteral("ratio_process")] = Mediana(processi) / std::max(0.001, Mediana(processiVuota));
    o[QStringLiteral("target_ms")] = 150;
    o[QStringLiteral("met")] = Mediana(processi) <= 150;
    std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}
