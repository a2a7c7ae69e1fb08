#pragma once
// Widgets and behaviours shared by the windows: picture buttons, the hint strip,
// focus colours, the tiled background with a centred container, the error guard.
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <functional>

// Runs f; an error that escapes it ends in the application's error box
// (its text with the full-stop rule, caption "Tegolario", error icon).
void Protetto(const std::function<void()>& f);

class QMouseEvent;

// A click as users mean it: the left button pressed and released over the same
// widget; the second press of a double click is no new click.
class ClicSinistro {
public:
    void Premuto(const QMouseEvent* e);
    void DoppioClic() { m_premuto = false; }
    // True when this release ends a click inside the area.
    bool Rilasciato(const QMouseEvent* e, const QRect& area);
private:
    bool m_premuto = false;
};

// A picture that acts as a command: hand cursor, no keyboard focus, acts on a click.
class PulsanteImmagine : public QLabel {
    Q_OBJECT
public:
    explicit PulsanteImmagine(QWidget* parent = nullptr);
    void ImpostaImmagine(const QString& risorsa); // scaled to the widget's size if needed
signals:
    void clicked();
    void rilasciato(); // mouse button released, any button
protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // The second press of a double click is no new click: one action per double click.
    void mouseDoubleClickEvent(QMouseEvent* e) override;
private:
    ClicSinistro m_clic;
};

// A label that acts as a link: hand cursor, signals on mouse release.
class Collegamento : public QLabel {
    Q_OBJECT
public:
    explicit Collegamento(QWidget* parent = nullptr);
signals:
    void rilasciato();
protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// The hint strip: the hint of the command under the mouse, emptied over the
// areas registered as background. Text boxes and labels neither set nor empty it.
class StrisciaSuggerimenti : public QObject {
    Q_OBJECT
public:
    explicit StrisciaSuggerimenti(QLabel* striscia);
    void Comando(QWidget* w, const QString& suggerimento);
    void Svuota(QWidget* w);
protected:
    bool eventFilter(QObject* o, QEvent* e) override;
private:
    QLabel* m_striscia;
    QHash<QObject*, QString> m_suggerimenti;
    QSet<QObject*> m_svuota;
};

// Yellow while a box has the keyboard focus, its own colour otherwise.
class ColoriFuoco : public QObject {
    Q_OBJECT
public:
    ColoriFuoco(QObject* parent, QColor normale);
    void Aggiungi(QWidget* casella);
    static QColor Giallo() { return QColor(255, 255, 0); }
    static QColor VerdeChiaro() { return QColor(192, 220, 192); }
protected:
    bool eventFilter(QObject* o, QEvent* e) override;
private:
    void Colora(QWidget* w, QColor c);
    QColor m_normale;
};

// Positions in the window layouts were written for a frame that adds 16 x 38
// pixels to the client area; the outer size is computed that way on every desktop.
inline QSize DimensioneEsterna(QSize client) { return client + QSize(16, 38); }

// Opens the window maximised (at creation, and again at a showing after the user
// restored it). Its geometry is first set to the screen's free area,
// so that a desktop without a window manager shows it full size too.
void Massimizza(QWidget* finestra);

// A font of the given family and pixel height (Windows families are mapped at start).
QFont Carattere(const QString& famiglia, int pixel, bool grassetto = false);
void ImpostaCarattere(QWidget* w, const QString& famiglia, int pixel, bool grassetto = false);
// One colour of the widget's palette.
void Colora(QWidget* w, QPalette::ColorRole ruolo, QColor colore);

// Tiles the pattern over a widget's background from its top-left corner.
void PiastrellaSfondo(QWidget* w, const QPixmap& motivo);
// The same with one of the program's pictures, at the scale of the widget's screen.
void PiastrellaSfondo(QWidget* w, const QString& risorsa);

// One of the program's pictures for a screen of the given scale (device pixel ratio):
// above 100 % the drawing made at twice the size (name@2x.png, which Qt reads as a
// picture for a scale of 2) brought to the exact size in device pixels, so that it
// stays sharp. 'misura' is its size in the layout; empty, the picture's own size.
QPixmap ImmagineProgramma(const QString& risorsa, double scala, QSize misura = QSize());
// Shows the picture in the label at the scale of the label's screen, and again
// whenever the label comes to a screen of another scale. 'adatta': shrunk to the
// label, proportions kept, when it is larger.
void MostraImmagine(QLabel* l, const QString& risorsa, bool adatta = false);

// Keeps a widget's picture at the scale of its screen (MostraImmagine, PiastrellaSfondo).
class ImmagineNitida : public QObject {
    Q_OBJECT
public:
    static ImmagineNitida* Segui(QWidget* w, const QString& risorsa, bool adatta, bool sfondo);
protected:
    bool eventFilter(QObject* o, QEvent* e) override;
private:
    using QObject::QObject;
    QString m_risorsa;
    bool m_adatta = false;
    bool m_sfondo = false;
    double m_scala = 1;
};

// Keeps a container centred in a window: left = W div 2 - w div 2 - dx,
// top = H div 2 - h div 2 - dy, with W x H the outer size, placed from the size
// before a change and once more after the new size has taken effect.
class Centratore : public QObject {
    Q_OBJECT
public:
    Centratore(QWidget* finestra, QWidget* contenitore, int dx, int dy);
    void Centra(QSize client);
protected:
    bool eventFilter(QObject* o, QEvent* e) override;
private:
    QWidget* m_finestra;
    QWidget* m_contenitore;
    int m_dx, m_dy;
};
