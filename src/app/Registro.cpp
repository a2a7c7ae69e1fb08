#include "app/Registro.h"

#include "widgets/Flusso.h"
#include "app/TfrmAvvio.h"
#include "app/TfrmCambiaPassword.h"
#include "app/TfrmInfo.h"
#include "app/TfrmPassword.h"
#include "card/FinestreScheda.h"
#include "card/TfrmScheda.h"
#include "card/TfrmZoom.h"
#include "export/Esportazione.h"
#include "export/TfrmExp.h"
#include "store/TCategoria.h"

#include <QList>
#include <QPointer>

namespace {

QList<QPointer<QWidget>> g_finestre;

QWidget* Registra(QWidget* w, const QString& nome) {
    w->setObjectName(nome);
    g_finestre.append(w);
    return w;
}

// The card's word-processor export sends the card to the automation in force.
void CollegaWord(TfrmScheda* scheda) {
    QObject::connect(scheda, &TfrmScheda::EsportaInWord, scheda, [](const QStringList& testi, const QByteArray& immagine) {
        std::array<QString, 10> t;
        for (int i = 0; i < 10; ++i) t[size_t(i)] = testi.value(i);
        EsportaSchedaInWord(t, immagine);
    });
}

// The card window's close handler hands back to the launcher.
void CollegaScheda(TfrmScheda* scheda, QWidget* avvio) {
    QObject::connect(scheda, &TfrmScheda::Chiusa, avvio, [avvio] { Flusso::Mostra(avvio); });
    CollegaWord(scheda);
}

} // namespace

namespace Registro {

void CreaFinestre() {
    DistruggiFinestre();
    Flusso::CaricaRisorse();
    FinestreScheda::Imposta(&Finestra);
    const auto& cat = Categorie::Tutte();
    const TCategoria& primo = cat[0];

    Registra(new TfrmPassword, QStringLiteral("frmPassword"));
    QWidget* avvio = Registra(new TfrmAvvio, QStringLiteral("frmAvvio"));
    Registra(new TfrmCambiaPassword, QStringLiteral("frmCambiaPassword"));
    // frmHelpForm comes here.
    Registra(new TfrmInfo, QStringLiteral("frmInfo"));
    // frmSplash comes here.
    Registra(new TfrmZoom, QStringLiteral("frmZoom")); // never shown: each use makes its own

    auto* scheda = new TfrmScheda(primo);
    Registra(scheda, primo.NomeFinestra());
    CollegaScheda(scheda, avvio);
    // Created once for all categories, here: frmAllegaCartella, frmAllegaFile.
    // Then the first category's own: frmTrova, then frmExp,
    Registra(new TfrmExp(primo), primo.NomeFinestra("Exp"));
    // then frmRicerca, frmBrowse, frmSlide.

    for (std::size_t i = 1; i < cat.size(); ++i) {
        auto* s = new TfrmScheda(cat[i]);
        Registra(s, cat[i].NomeFinestra());
        CollegaScheda(s, avvio);
        // Then this category's frmBrowse, then frmExp,
        Registra(new TfrmExp(cat[i]), cat[i].NomeFinestra("Exp"));
        // then frmRicerca, frmSlide, frmTrova, in that order.
    }
}

void DistruggiFinestre() {
    FinestreScheda::Imposta({});
    for (auto it = g_finestre.rbegin(); it != g_finestre.rend(); ++it) delete it->data();
    g_finestre.clear();
}

QWidget* Finestra(const QString& nomeOggetto) {
    for (const auto& w : std::as_const(g_finestre))
        if (w && w->objectName() == nomeOggetto) return w;
    return nullptr;
}

QWidget* Principale() { return g_finestre.isEmpty() ? nullptr : g_finestre.first().data(); }

QList<QWidget*> Tutte() {
    QList<QWidget*> tutte;
    for (const auto& w : std::as_const(g_finestre))
        if (w) tutte.append(w);
    return tutte;
}

} // namespace Registro
