#include "widgets/Comuni.h"

#include "platform/Piattaforma.h"
#include "store/CausaArchivio.h"

#include <QEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>


void Protetto(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        Piattaforma::Messaggi().Mostra(TipoMessaggio::Errore, QStringLiteral("Tegolario"),
                                       TestoErroreApplicazione(std::current_exception()));
    }
}

PulsanteImmagine::PulsanteImmagine(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignCenter);
}

void PulsanteImmagine::ImpostaImmagine(const QString& risorsa) {
    QPixmap p(risorsa);
    if (!p.isNull() && !size().isEmpty() && p.size() != size() &&
        (p.width() > width() || p.height() > height()))
        p = p.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    setPixmap(p);
}

void ClicSinistro::Premuto(const QMouseEvent* e) { m_premuto = e->button() == Qt::LeftButton; }

bool ClicSinistro::Rilasciato(const QMouseEvent* e, const QRect& area) {
    const bool clic = m_premuto && e->button() == Qt::LeftButton && area.contains(e->position().toPoint());
    m_premuto = false;
    return clic;
}

void PulsanteImmagine::mousePressEvent(QMouseEvent* e) {
    m_clic.Premuto(e);
    QLabel::mousePressEvent(e);
}

void PulsanteImmagine::mouseDoubleClickEvent(QMouseEvent* e) {
    m_clic.DoppioClic();
    e->accept();
}

void PulsanteImmagine::mouseReleaseEvent(QMouseEvent* e) {
    const bool clic = m_clic.Rilasciato(e, rect());
    emit rilasciato();
    if (clic) emit clicked();
}

Collegamento::Collegamento(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
}

void Collegamento::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    emit rilasciato();
}

StrisciaSuggerimenti::StrisciaSuggerimenti(QLabel* striscia)
    : QObject(striscia), m_striscia(striscia) {}

void StrisciaSuggerimenti::Comando(QWidget* w, const QString& suggerimento) {
    m_suggerimenti.insert(w, suggerimento);
    w->setAttribute(Qt::WA_Hover);
    w->installEventFilter(this);
}

void StrisciaSuggerimenti::Svuota(QWidget* w) {
    m_svuota.insert(w);
    w->setMouseTracking(true);
    w->installEventFilter(this);
}

bool StrisciaSuggerimenti::eventFilter(QObject* o, QEvent* e) {
    const auto t = e->type();
    if (t == QEvent::Enter || t == QEvent::HoverMove) {
        auto it = m_suggerimenti.constFind(o);
        if (it != m_suggerimenti.constEnd()) m_striscia->setText(*it);
    } else if (t == QEvent::MouseMove && m_svuota.contains(o)) {
        // Moves over a child without tracking (a text box, a label, a command) reach
        // the area too; only the area's own background empties the strip.
        auto* area = static_cast<QWidget*>(o);
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        if (!area->childAt(p)) m_striscia->clear();
    }
    return false;
}

ColoriFuoco::ColoriFuoco(QObject* parent, QColor normale) : QObject(parent), m_normale(normale) {}

void ColoriFuoco::Aggiungi(QWidget* casella) {
    casella->installEventFilter(this);
    Colora(casella, casella->hasFocus() ? Giallo() : m_normale);
}

void ColoriFuoco::Colora(QWidget* w, QColor c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

bool ColoriFuoco::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::FocusIn)
        Colora(static_cast<QWidget*>(o), Giallo());
    else if (e->type() == QEvent::FocusOut)
        Colora(static_cast<QWidget*>(o), m_normale);
    return false;
}

QFont Carattere(const QString& famiglia, int pixel, bool grassetto) {
    QFont f(famiglia);
    f.setPixelSize(pixel);
    f.setBold(grassetto);
    return f;
}

void ImpostaCarattere(QWidget* w, const QString& famiglia, int pixel, bool grassetto) {
    w->setFont(Carattere(famiglia, pixel, grassetto));
}

void Colora(QWidget* w, QPalette::ColorRole ruolo, QColor colore) {
    QPalette p = w->palette();
    p.setColor(ruolo, colore);
    w->setPalette(p);
}

void Massimizza(QWidget* finestra) {
    if (QScreen* schermo = finestra->screen()) finestra->setGeometry(schermo->availableGeometry());
    finestra->setWindowState(finestra->windowState() | Qt::WindowMaximized);
}

void PiastrellaSfondo(QWidget* w, const QPixmap& motivo) {
    QPalette p = w->palette();
    if (motivo.isNull())
        p.setColor(QPalette::Window, Qt::white);
    else
        p.setBrush(QPalette::Window, QBrush(motivo));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

Centratore::Centratore(QWidget* finestra, QWidget* contenitore, int dx, int dy)
    : QObject(finestra), m_finestra(finestra), m_contenitore(contenitore), m_dx(dx), m_dy(dy) {
    finestra->installEventFilter(this);
}

void Centratore::Centra(QSize client) {
    const QSize esterna = DimensioneEsterna(client);
    const int left = esterna.width() / 2 - m_contenitore->width() / 2 - m_dx;
    const int top = esterna.height() / 2 - m_contenitore->height() / 2 - m_dy;
    m_contenitore->move(left, top);
}

bool Centratore::eventFilter(QObject* o, QEvent* e) {
    if (o == m_finestra && e->type() == QEvent::Resize) {
        auto* r = static_cast<QResizeEvent*>(e);
        // From the size before the change, then again from the size now in force.
        if (r->oldSize().isValid()) Centra(r->oldSize());
        Centra(r->size());
    }
    return false;
}
