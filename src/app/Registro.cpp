#include "app/Registro.h"

#include "widgets/Flusso.h"
#include "app/TfrmAvvio.h"
#include "app/ArgomentiGuida.h"
#include "app/TfrmCambiaPassword.h"
#include "app/TfrmHelpForm.h"
#include "app/TfrmInfo.h"
#include "app/TfrmPassword.h"
#include "app/TfrmSplash.h"
#include "card/FinestreScheda.h"
#include "card/TfrmAllegaCartella.h"
#include "card/TfrmAllegaFile.h"
#include "card/TfrmScheda.h"
#include "card/TfrmZoom.h"
#include "export/Esportazione.h"
#include "export/TfrmExp.h"
#include "find/TfrmRicerca.h"
#include "find/TfrmTrova.h"
#include "show/TfrmBrowse.h"
#include "show/TfrmSlide.h"
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

// The card window's close handler hands back to the launcher; its help button
// shows the record card topic over it; its word-processor export sends the card
// to the automation in force.
void CollegaScheda(TfrmScheda* scheda, QWidget* avvio) {
    QObject::connect(scheda, &TfrmScheda::Chiusa, avvio, [avvio] { Flusso::Mostra(avvio); });
    QObject::connect(scheda, &TfrmScheda::GuidaRichiesta, scheda,
                     [scheda] { Registro::MostraGuida(ArgomentiGuida::Scheda(), scheda); });
    QObject::connect(scheda, &TfrmScheda::EsportaInWord, scheda, [](const QStringList& testi, const QByteArray& immagine) {
        std::array<QString, 10> t;
        for (int i = 0; i < 10; ++i) t[size_t(i)] = testi.value(i);
        EsportaSchedaInWord(t, immagine);
    });
}

// The export window's help command shows its category's export topic over it.
TfrmExp* CreaEsportazione(const TCategoria& categoria) {
    auto* esporta = new TfrmExp(categoria);
    QObject::connect(esporta, &TfrmExp::GuidaRichiesta, esporta, [esporta] {
        Registro::MostraGuida(ArgomentiGuida::Esportazione(esporta->Categoria()), esporta);
    });
    Registra(esporta, categoria.NomeFinestra("Exp"));
    return esporta;
}

void CreaBrowse(const TCategoria& c) { Registra(new TfrmBrowse(c), c.NomeFinestra("Browse")); }

// The card window hands its photo over, and the show covers the screen the card is on.
void CreaSlide(const TCategoria& c, TfrmScheda* scheda) {
    auto* slide = new TfrmSlide(c);
    Registra(slide, c.NomeFinestra("Slide"));
    QObject::connect(scheda, &TfrmScheda::FotoPerSlideshow, slide, [slide, scheda](const TFoto& foto) {
        slide->ImpostaFoto(foto);
        slide->ImpostaSchermo(scheda->screen());
    });
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
    Registra(new TfrmHelpForm, QStringLiteral("frmHelpForm"));
    Registra(new TfrmInfo, QStringLiteral("frmInfo"));
    Registra(new TfrmSplash, QStringLiteral("frmSplash")); // its scene starts moving now
    Registra(new TfrmZoom, QStringLiteral("frmZoom")); // never shown: each use makes its own

    auto* scheda = new TfrmScheda(primo);
    Registra(scheda, primo.NomeFinestra());
    CollegaScheda(scheda, avvio);
    // Created once for all categories, here; never shown: each use makes its own.
    Registra(new TfrmAllegaCartella, QStringLiteral("frmAllegaCartella"));
    Registra(new TfrmAllegaFile, QStringLiteral("frmAllegaFile"));
    // Then the first category's own: frmTrova, frmExp, frmRicerca, frmBrowse, frmSlide.
    Registra(new TfrmTrova(primo, scheda), primo.NomeFinestra("Trova"));
    CreaEsportazione(primo);
    Registra(new TfrmRicerca(primo, scheda), primo.NomeFinestra("Ricerca"));
    CreaBrowse(primo);
    CreaSlide(primo, scheda);

    for (std::size_t i = 1; i < cat.size(); ++i) {
        auto* s = new TfrmScheda(cat[i]);
        Registra(s, cat[i].NomeFinestra());
        CollegaScheda(s, avvio);
        // Then this category's frmBrowse, frmExp, frmRicerca, frmSlide, frmTrova, in that order.
        CreaBrowse(cat[i]);
        CreaEsportazione(cat[i]);
        Registra(new TfrmRicerca(cat[i], s), cat[i].NomeFinestra("Ricerca"));
        CreaSlide(cat[i], s);
        Registra(new TfrmTrova(cat[i], s), cat[i].NomeFinestra("Trova"));
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

void MostraGuida(const TArgomentoGuida& argomento, QWidget* apertoDa) {
    if (auto* guida = qobject_cast<TfrmHelpForm*>(Finestra(QStringLiteral("frmHelpForm"))))
        guida->MostraArgomento(argomento, apertoDa);
}

QWidget* Principale() { return g_finestre.isEmpty() ? nullptr : g_finestre.first().data(); }

QList<QWidget*> Tutte() {
    QList<QWidget*> tutte;
    for (const auto& w : std::as_const(g_finestre))
        if (w) tutte.append(w);
    return tutte;
}

} // namespace Registro
