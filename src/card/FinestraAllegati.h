#pragma once
// What the attachments and folder windows share: slots of a read-only path box
// with its browse and open buttons and a description box, the category key in
// lblMemory, and the write back into that category's record card window.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class ColoriFuoco;
class TfrmScheda;

class FinestraAllegati : public QDialog {
    Q_OBJECT
public:
    int NumeroSlot() const { return m_slot; }
    // Slot n, from 1.
    QLineEdit* Percorso(int n) const;
    QLineEdit* Descrizione(int n) const;
    QPushButton* Sfoglia(int n) const;
    QPushButton* Apri(int n) const;
    QString Categoria() const; // the hidden lblMemory

protected:
    FinestraAllegati(QWidget* parent, int slot);
    // After setupUi: the window's look and the slots' behaviour.
    void Prepara(QSize client, const char* immagineGuida);
    void ImpostaCategoria(const QString& tabella);
    // Empties the path silently when the choice fails.
    void Scegli(int n, const std::function<QString()>& scelta, bool occupato);

    virtual void cmdSfogliaClick(int n) = 0;
    virtual void cmdApriClick(int n) = 0;
    // Writes the trimmed values into the card window.
    virtual void ScriviIn(TfrmScheda& scheda) = 0;

    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void cmdApplicaClick();
    template <class T> T* Controllo(const char* prefisso, int n) const;

    int m_slot;
    ColoriFuoco* m_colori = nullptr;
    QString m_immagineGuida;
    bool m_immaginiCaricate = false;
};
