#pragma once
// The record card window of one category: one working card with its photo, the
// record operations on its buttons, and the photo commands.
#include "photo/AnticipoFoto.h"
#include "photo/Foto.h"
#include "store/TArchivio.h"
#include "store/TCategoria.h"
#include "store/TOperazioniScheda.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class TfrmScheda;
}
class StrisciaSuggerimenti;
class ColoriFuoco;
class QLineEdit;
class QTimer;

class TfrmScheda : public QWidget {
    Q_OBJECT
public:
    explicit TfrmScheda(const TCategoria& categoria, QWidget* parent = nullptr);
    ~TfrmScheda() override;

    const TCategoria& Categoria() const { return m_categoria; }
    TArchivio& Archivio() { return m_archivio; }
    const TSchedaLavoro& Scheda() const { return m_scheda; }
    // The photo in the photo box (the card's, a newly chosen one, or the sample).
    const TFoto& FotoCorrente() const { return m_scheda.Foto; }
    const TFoto& FotoCampione() const { return m_operazioni.Campione(); }

    // Loads the current row of a result table as the working card (find windows).
    void CaricaScheda(TSQLiteTable& tabella);
    // Before a child window: empties the card and re-opens the archive. False when
    // the archive cannot be opened; the child is then not shown.
    bool PreparaFinestraFiglia();
    // The hidden fields of the working card (cFile01 .. cCartellaDesc): the
    // attachments and folder windows read them and write them back.
    QString CampoNascosto(Campo campo) const;
    void ImpostaCampoNascosto(Campo campo, const QString& valore);
    // The category's own window of that kind ("frmTrova" + stem for "Trova"), shown
    // modally after PreparaFinestraFiglia; nothing happens when that fails.
    // Returns whether the window was shown.
    bool ApriFinestraFiglia(const char* prefisso);
    // Loads the stored card of that number as the working card (a card listed by
    // the find windows), with the sample photo when it has none. False, and the
    // card as it was, when the archive has no such card or cannot be read.
    bool CaricaSchedaPerNumero(qint64 id);

    // The photos of the next and the previous card, decoded ahead for the arrows.
    const TAnticipoFoto& Anticipo() const { return m_anticipo; }

signals:
    // The window has closed (hidden); the launcher comes back.
    void Chiusa();
    // Before the slideshow starts: the picture now in the photo box.
    void FotoPerSlideshow(const TFoto& foto);
    // The help button: the registry shows the help window with this window's topic.
    void GuidaRichiesta();
    // Export of the card on display: the ten texts as shown (not yet trimmed; the note
    // with Windows line ends) and the picture shown, as its own encoded bytes.
    void EsportaInWord(const QStringList& testi, const QByteArray& immagine);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private slots:
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdEliminaClick();
    void imgPrimoClick();
    void imgIndietroClick();
    void imgAvantiClick();
    void imgUltimoClick();
    void cmdOttimizzaClick();
    void cmdEsciClick();
    void cmdFotoClick();
    void cmdSalvaFotoClick();
    void imgZoomClick();
    void cmdTrovaClick();
    void cmdRicercaClick();
    void cmdWordClick();
    void cmdExcelClick();
    void cmdAllegaClick();
    void cmdAssociaClick();
    void cmdSfogliaFotoClick();
    void cmdSlideshowClick();
    void cmdGuidaClick();

private:
    void Aspetto();
    void Collega();
    void ControlliInScheda();
    void SchedaInControlli();
    // Runs a record operation between the controls and the working card, guarded.
    void Esegui(const std::function<void()>& operazione);
    void FormShow();
    void CaricaImmagini();
    QWidget* Controllo(int campo) const;
    // Reads the neighbouring cards' photos and has them decoded ahead.
    void Anticipa();

    const TCategoria& m_categoria;
    std::unique_ptr<Ui::TfrmScheda> ui;
    TArchivio m_archivio;
    TSchedaLavoro m_scheda;
    TOperazioniScheda m_operazioni;
    StrisciaSuggerimenti* m_suggerimenti = nullptr;
    ColoriFuoco* m_colori = nullptr;
    QHash<QObject*, QWidget*> m_invioSuccessivo;
    bool m_immaginiCaricate = false;
    TAnticipoFoto m_anticipo;
    QTimer* m_anticipa = nullptr; // reading ahead waits until the card on display is painted
};
