#pragma once
// The desktop behind the seams of Piattaforma.h: Qt message boxes, file dialogs,
// QDesktopServices, the system clock and the override cursor.
#include "platform/Piattaforma.h"

class QtMessaggi : public IMessaggi {
public:
    Risposta Mostra(TipoMessaggio tipo, const QString& caption, const QString& testo,
                    QObject* proprietario = nullptr) override;
};

class QtApriSistema : public IApriSistema {
public:
    void Apri(const QString& destinazione, const QString& verbo = QString()) override;
    bool ApriDocumento(const QString& file) override;
};

class QtDialoghi : public IDialoghiFile {
public:
    QString ApriFile(const QString& titolo, const QString& filtro, QObject* proprietario = nullptr) override;
    QString SalvaFile(const QString& titolo, const QString& filtro, QObject* proprietario = nullptr) override;
    QString ScegliFile(const QString& titolo, const QString& filtro, const QString& iniziale,
                       QObject* proprietario = nullptr) override;
    QString ScegliCartella(const QString& titolo, QObject* proprietario = nullptr) override;

    // "Desc|*.a;*.b;|Altro|*.c" -> "Desc (*.a *.b);;Altro (*.c)".
    static QStringList FiltriQt(const QString& filtro);
};

class QtOrologio : public IOrologio {
public:
    QDateTime Adesso() override;
    int Casuale(int limite) override;
};

class QtCursore : public ICursore {
public:
    void Occupato() override;
    void Normale() override;
};

using PiattaformaReale = InsiemePiattaforma<QtMessaggi, QtApriSistema, QtDialoghi, QtOrologio, QtCursore>;
