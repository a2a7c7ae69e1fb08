#pragma once
// The system's default printer through Qt PrintSupport (CUPS on Linux), no dialog.
#include "platform/Stampante.h"

#include <memory>

class QPainter;
class QPrinter;

class QtStampante : public IStampante {
public:
    QtStampante();
    ~QtStampante() override;
    void Inizia() override;
    int DpiVerticale() const override;
    int AltezzaPagina() const override;
    void Scrivi(int x, int y, const QFont& carattere, const QString& testo) override;
    void NuovaPagina() override;
    void Termina() override;
    void Annulla() override;

private:
    std::unique_ptr<QPrinter> m_stampante;
    std::unique_ptr<QPainter> m_pittore;
    QString m_nome;
};
