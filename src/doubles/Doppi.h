#pragma once
// The doubles of the desktop seams, for the tests and the screenshots mode:
// they record what the program asked for and answer as scripted.
#include "platform/Piattaforma.h"

#include <QList>
#include <QPair>


struct MessaggioMostrato {
    TipoMessaggio Tipo;
    QString Caption;
    QString Testo;
};

class FintoMessaggi : public IMessaggi {
public:
    Risposta Mostra(TipoMessaggio tipo, const QString& caption, const QString& testo,
                    QObject* proprietario = nullptr) override;
    void ImpostaProssimaRisposta(Risposta r) { m_risposte.append(r); } // default answer: Si for questions
    QList<MessaggioMostrato> Mostrati;
    const MessaggioMostrato& Ultimo() const { return Mostrati.last(); }
    void Azzera() { Mostrati.clear(); m_risposte.clear(); }

private:
    QList<Risposta> m_risposte;
};

class FintoApriSistema : public IApriSistema {
public:
    void Apri(const QString& destinazione, const QString& verbo = QString()) override {
        Richieste.append({destinazione, verbo});
    }
    bool ApriDocumento(const QString& file) override {
        Richieste.append({file, QString()});
        return ProgrammaPresente;
    }
    QList<QPair<QString, QString>> Richieste;
    bool ProgrammaPresente = true; // whether a program opens the documents written
};

class FintoDialoghi : public IDialoghiFile {
public:
    QString ApriFile(const QString& titolo, const QString& filtro, QObject* = nullptr) override;
    QString SalvaFile(const QString& titolo, const QString& filtro, QObject* = nullptr) override;
    QString ScegliFile(const QString& titolo, const QString& filtro, const QString& iniziale,
                       QObject* = nullptr) override;
    QString ScegliCartella(const QString& titolo, QObject* = nullptr) override;
    QString ProssimoPercorso;  // returned once, then emptied (empty = cancel)
    QString UltimoTitolo, UltimoFiltro;
    QString UltimoIniziale;    // where the last ScegliFile started
    int Aperti = 0;            // dialogs shown
};

class FintoOrologio : public IOrologio {
public:
    QDateTime Adesso() override { return Ora; }
    int Casuale(int limite) override { return limite > 0 ? ValoreCasuale % limite : 0; }
    QDateTime Ora = QDateTime(QDate(2026, 1, 1), QTime(12, 0));
    int ValoreCasuale = 0;
};

class FintoCursore : public ICursore {
public:
    void Occupato() override { ++Profondita; ++Volte; }
    void Normale() override { --Profondita; }
    int Profondita = 0;
    int Volte = 0;
};

// Files that cannot be written: every write fails and is recorded.
class FintoFileInScrivibile : public IFile {
public:
    bool Scrivi(const QString& percorso, const QByteArray&) override {
        Tentativi.append(percorso);
        return false;
    }
    QStringList Tentativi;
};

using DoppiPiattaforma =
    InsiemePiattaforma<FintoMessaggi, FintoApriSistema, FintoDialoghi, FintoOrologio, FintoCursore>;
