#pragma once
// What every benchmark case shares: its figures printed as one JSON object a line
// with a verdict ("ok"), the verdicts gathered for the last line, and children of
// this program for the cases that need a fresh process.
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QStringList>

#include <vector>

class QElapsedTimer;

double Mediana(std::vector<double> v);
double Arrotonda(double x, int cifre = 2);
double Millisecondi(const QElapsedTimer& t);

// Prints one case's figures; an object whose "ok" is false is a missed target.
void Stampa(const QJsonObject& o);
// A case that could not be measured: said on the output, and the run fails.
void Fallimento(const QString& caso, const QString& perche);

// A child's environment: the platform the benchmark was started with, offscreen
// when it had none (never a screen file of this process, gone when it ends).
QProcessEnvironment AmbienteFiglio();
// Whether a child that has finished (or not) ended well; says why not.
bool FiglioRiuscito(const QString& caso, QProcess& figlio, bool finito);
// Runs this program as a child for a case, with the variables given on top of its
// environment, and passes on the figures it prints.
void EseguiFiglio(const QString& caso, const QString& programma, const QStringList& argomenti, int msLimite,
                  const QList<std::pair<QString, QString>>& variabili = {});

// The last line: how many cases, which missed their target, which could not be
// measured. Returns the benchmark's exit status: 0 only when every case was met.
int Riepilogo();
