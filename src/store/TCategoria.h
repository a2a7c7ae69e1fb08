#pragma once
// The ten fixed property categories and every text derived from them.
#include <QString>

#include <array>

struct TCategoria {
    enum class Riga { Alta, Bassa };

    const char* Radice;             // window-name stem, e.g. "Amici"
    const char* Etichetta;          // "Monolocali"
    const char* EtichettaMinuscola; // "monolocali"
    const char* FileArchivio;       // "Monolocali.db"
    const char* Tabella;            // "amici": table name and category key
    Riga RiquadroRiga;
    int RiquadroPosizione;          // 1..5 from the left
    const char* Banner;             // "MONOLOCALI"

    // Resource paths of the category's pictures.
    QString FotoCampione() const;       // 605 x 449 sample photo
    QString FotoCampioneGrande() const; // 713 x 537 sample photo
    QString BannerTitolo() const;       // title banner picture
    QString ImmagineRiquadro() const;   // launcher tile picture, 187 x 165
    QString ImmaginePulsante() const;   // launcher button picture, 180 x 37

    // Derived texts.
    QString CaptionScheda() const;        // " Tegolario © - Monolocali"
    QString CaptionBrowser() const;       // " Tegolario © - Visualizzatore foto" (Uffici differs)
    QString CaptionEsportazione() const;  // " Esportazione archivio foto monolocali" (Monolocali differs)
    QString NomeFoglio() const;           // "Archivio monolocali"
    QString TitoloAiutoEsportazione() const; // "Esportazione archivio monolocali"
    QString TitoloElenco() const;         // "Elenco foto monolocali"
    QString TitoloRicerca() const;        // "Ricerca foto monolocali"

    // Object names of the category's windows: "frmAmici", "frmTrovaAmici", ...
    QString NomeFinestra(const char* prefisso = "") const; // "frm" + prefisso + Radice
};

namespace Categorie {
const std::array<TCategoria, 10>& Tutte();
const TCategoria& PerPosizione(int indice);           // 0..9, in launcher order
const TCategoria* PerRadice(const QString& radice);   // nullptr when unknown
const TCategoria* PerTabella(const QString& tabella); // nullptr when unknown
} // namespace Categorie
