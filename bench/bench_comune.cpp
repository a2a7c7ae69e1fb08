#include "bench_comune.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Read before main, before any case sets a platform of its own.
const QByteArray PiattaformaIniziale = qgetenv("QT_QPA_PLATFORM");

int g_casi = 0;
QJsonArray g_mancati, g_falliti;

QString Nome(const QJsonObject& o)
{
    QString nome = o.value(QStringLiteral("bench")).toString();
    for (const char* chiave : {"window", "box", "megapixels", "photo_bytes", "prefetch"})
        if (o.contains(QLatin1String(chiave)))
            nome += QLatin1Char(' ') + o.value(QLatin1String(chiave)).toVariant().toString();
    return nome;
}

void Scrivi(const QJsonObject& o)
{
    std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

} // namespace

double Mediana(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Arrotonda(double x, int cifre)
{
    const double f = std::pow(10.0, cifre);
    return std::round(x * f) / f;
}

double Millisecondi(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

void Stampa(const QJsonObject& o)
{
    if (o.contains(QLatin1String("ok"))) {
        ++g_casi;
        if (!o.value(QLatin1String("ok")).toBool())
            g_mancati.append(Nome(o));
    }
    Scrivi(o);
}

void Fallimento(const QString& caso, const QString& perche)
{
    ++g_casi;
    g_falliti.append(caso);
    Scrivi({{"bench", caso}, {"error", perche}});
    std::fprintf(stderr, "bench %s: %s\n", qPrintable(caso), qPrintable(perche));
}

QProcessEnvironment AmbienteFiglio()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), PiattaformaIniziale.isEmpty()
                                                      ? QStringLiteral("offscreen")
                                                      : QString::fromLocal8Bit(PiattaformaIniziale));
    return env;
}

bool FiglioRiuscito(const QString& caso, QProcess& figlio, bool finito)
{
    if (!finito) {
        figlio.kill();
        figlio.waitForFinished();
        Fallimento(caso, QStringLiteral("the child did not finish in time"));
        return false;
    }
    if (figlio.exitStatus() != QProcess::NormalExit || figlio.exitCode() != 0) {
        Fallimento(caso, figlio.exitStatus() == QProcess::NormalExit
                             ? QStringLiteral("the child ended with status %1").arg(figlio.exitCode())
                             : QStringLiteral("the child crashed"));
        return false;
    }
    return true;
}

void EseguiFiglio(const QString& caso, const QString& programma, const QStringList& argomenti, int msLimite,
                  const QList<std::pair<QString, QString>>& variabili)
{
    QProcess figlio;
    QProcessEnvironment env = AmbienteFiglio();
    for (const auto& [nome, valore] : variabili)
        env.insert(nome, valore);
    figlio.setProcessEnvironment(env);
    figlio.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    figlio.start(programma, argomenti);
    const bool finito = figlio.waitForFinished(msLimite);
    // Figures printed before a failure are still figures.
    for (const QByteArray& riga : figlio.readAllStandardOutput().split('\n')) {
        if (riga.trimmed().isEmpty())
            continue;
        const QJsonDocument d = QJsonDocument::fromJson(riga);
        if (d.isObject())
            Stampa(d.object());
        else
            std::printf("%s\n", riga.constData());
    }
    FiglioRiuscito(caso, figlio, finito);
}

int Riepilogo()
{
    Scrivi({{"bench", "summary"}, {"cases", g_casi}, {"missed", g_mancati}, {"failed", g_falliti}});
    return g_mancati.isEmpty() && g_falliti.isEmpty() ? 0 : 1;
}
