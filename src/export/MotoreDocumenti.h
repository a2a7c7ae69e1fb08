#pragma once
// The office-document engine behind "Excel.Application" and "Word.Application"
// where no office automation exists. It applies the calls it receives to a small
// document model, refuses any member or argument it does not know as a real
// automation server would, and, when the application is made visible, writes
// each new document as a real file (.xlsx or .docx) into the documents folder,
// never over an existing file, then opens it with the system.
#include "platform/Automazione.h"

#include <QStringList>

#include <functional>

class TMotoreDocumenti : public IAutomazione {
public:
    TMotoreDocumenti();
    std::shared_ptr<IOggettoAutomazione> Crea(const QString& idProgramma) override;
    QStringList PrendiAvvisi() override;

    // Where the documents go; by default the user's documents folder, created when missing.
    void ImpostaCartella(const QString& cartella);
    QString Cartella() const;
    // Opens a written file; false when no program on the computer can open it.
    // By default the system's opener.
    void ImpostaApertura(std::function<bool(const QString& file)> apri);
    // Every file written so far, in order.
    const QStringList& FileScritti() const;

    // Internal to the engine's objects.
    struct Servizi {
        QString cartella;
        std::function<bool(const QString&)> apri;
        QStringList scritti;
        QStringList avvisi;
    };

private:
    std::shared_ptr<Servizi> m_servizi;
};

// "Archivio monolocali.xlsx" when free, otherwise "Archivio monolocali (2).xlsx",
// "(3)" ... in the folder; the name is made safe for any file system first.
QString NomeLibero(const QString& cartella, const QString& base, const QString& estensione);
