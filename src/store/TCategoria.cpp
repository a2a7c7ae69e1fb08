#include "store/TCategoria.h"

namespace {

using R = TCategoria::Riga;

// Launcher order, which is also the order in which the windows are created.
const std::array<TCategoria, 10> Tabella = {{
    {"Infanzia", "Appartamenti", "appartamenti", "Appartamenti.db", "infanzia", R::Alta, 1, "APPARTAMENTI"},
    {"Famiglia", "Attici", "attici", "Attici.db", "famiglia", R::Alta, 2, "ATTICI"},
    {"Amici", "Monolocali", "monolocali", "Monolocali.db", "amici", R::Alta, 3, "MONOLOCALI"},
    {"Ricorrenze", "Bilocali", "bilocali", "Bilocali.db", "ricorrenze", R::Alta, 4, "BILOCALI"},
    {"Scuola", "Ville e villini", "ville e villini", "Ville.db", "scuola", R::Alta, 5, "VILLE E VILLINI"},
    {"Sposi", "Box e garage", "box e garage", "Box.db", "sposi", R::Bassa, 1, "BOX E GARAGE"},
    {"Lavoro", "Negozi", "negozi", "Negozi.db", "lavoro", R::Bassa, 2, "NEGOZI"},
    {"Vacanze", "Uffici", "uffici", "Uffici.db", "vacanze", R::Bassa, 3, "UFFICI"},
    {"Celebrazioni", "Depositi", "depositi", "Depositi.db", "celebrazioni", R::Bassa, 4, "DEPOSITI"},
    {"Hobby", "Rustici e terreni", "rustici e terreni", "Rustici.db", "hobby", R::Bassa, 5, "RUSTICI E TERRENI"},
}};

QString Risorsa(const char* cartella, const char* prefisso, const char* tabella, const char* estensione) {
    return QStringLiteral(":/%1/%2_%3.%4")
        .arg(QLatin1String(cartella), QLatin1String(prefisso), QString::fromLatin1(tabella).toLower(),
             QLatin1String(estensione));
}

const QString& Marchio() {
    static const QString m = QString::fromUtf8(" Tegolario \u00A9 - ");
    return m;
}

} // namespace

QString TCategoria::FotoCampione() const { return Risorsa("samples", "campione", Tabella, "jpg"); }
QString TCategoria::FotoCampioneGrande() const { return Risorsa("samples", "grande", Tabella, "jpg"); }
QString TCategoria::BannerTitolo() const { return Risorsa("banners", "titolo", Tabella, "png"); }
QString TCategoria::ImmagineRiquadro() const { return Risorsa("tiles", "riquadro", Tabella, "png"); }
QString TCategoria::ImmaginePulsante() const { return Risorsa("tiles", "pulsante", Tabella, "png"); }

QString TCategoria::CaptionScheda() const { return Marchio() + QString::fromUtf8(Etichetta); }

QString TCategoria::CaptionBrowser() const {
    // The offices' browser has always carried this caption.
    if (qstrcmp(Radice, "Vacanze") == 0) return Marchio() + QStringLiteral("Visualizzatore vacanze");
    return Marchio() + QStringLiteral("Visualizzatore foto");
}

QString TCategoria::CaptionEsportazione() const {
    if (qstrcmp(Radice, "Amici") == 0) return QStringLiteral(" Esportazione archivio foto monolocali");
    return QStringLiteral(" Esportazione archivio ") + QString::fromUtf8(EtichettaMinuscola);
}

QString TCategoria::NomeFoglio() const { return QStringLiteral("Archivio ") + QString::fromUtf8(EtichettaMinuscola); }

QString TCategoria::TitoloAiutoEsportazione() const {
    return QStringLiteral("Esportazione archivio ") + QString::fromUtf8(EtichettaMinuscola);
}

QString TCategoria::TitoloElenco() const { return QStringLiteral("Elenco foto ") + QString::fromUtf8(EtichettaMinuscola); }

QString TCategoria::TitoloRicerca() const { return QStringLiteral("Ricerca foto ") + QString::fromUtf8(EtichettaMinuscola); }

QString TCategoria::NomeFinestra(const char* prefisso) const {
    return QStringLiteral("frm") + QString::fromLatin1(prefisso) + QString::fromLatin1(Radice);
}

namespace Categorie {

const std::array<TCategoria, 10>& Tutte() { return Tabella; }

const TCategoria& PerPosizione(int indice) {
    Q_ASSERT(indice >= 0 && indice < int(Tabella.size()));
    return Tabella.at(static_cast<size_t>(indice));
}

const TCategoria* PerRadice(const QString& radice) {
    for (const TCategoria& c : Tabella)
        if (radice == QLatin1String(c.Radice)) return &c;
    return nullptr;
}

const TCategoria* PerTabella(const QString& tabella) {
    for (const TCategoria& c : Tabella)
        if (tabella == QLatin1String(c.Tabella)) return &c;
    return nullptr;
}

} // namespace Categorie
