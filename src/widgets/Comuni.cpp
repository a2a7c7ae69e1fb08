#include "widgets/Comuni.h"

#include "platform/Piattaforma.h"
#include "store/CausaArchivio.h"

#include <QEvent>
#include <QFile>
#include <QImageReader>
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
    MostraImmagine(this, risorsa, true);
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

void PiastrellaSfondo(QWidget* w, const QString& risorsa) {
    PiastrellaSfondo(w, ImmagineProgramma(risorsa, w->devicePixelRatioF()));
    ImmagineNitida::Segui(w, risorsa, false, true);
}

QPixmap ImmagineProgramma(const QString& risorsa, double scala, QSize misura) {
    QString file = risorsa;
    if (scala > 1) {
        // The drawing made at twice the size serves every screen above 100 %.
        const int punto = risorsa.lastIndexOf(QLatin1Char('.'));
        const QString doppia = risorsa.left(punto) + QStringLiteral("@2x") + risorsa.mid(punto);
        if (punto > 0 && QFile::exists(doppia)) file = doppia;
    }
    QImage img(file);
    if (img.isNull()) return QPixmap();
    if (misura.isEmpty()) misura = file == risorsa ? img.size() : img.size() / 2;
    // Brought smoothly to the exact size in device pixels: at 125 % or 150 % too, one
    // pixel of the picture is one pixel of the screen.
    const QSize dispositivo = misura * scala;
    if (img.size() != dispositivo && !dispositivo.isEmpty())
        img = img.scaled(dispositivo, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    img.setDevicePixelRatio(double(img.width()) / misura.width());
    return QPixmap::fromImage(std::move(img));
}

void MostraImmagine(QLabel* l, const QString& risorsa, bool adatta) {
    QSize misura = QImageReader(risorsa).size();
    if (adatta && misura.isValid() && !l->size().isEmpty() &&
        (misura.width() > l->width() || misura.height() > l->height()))
        misura.scale(l->size(), Qt::KeepAspectRatio);
    l->setPixmap(ImmagineProgramma(risorsa, l->devicePixelRatioF(), misura));
    ImmagineNitida::Segui(l, risorsa, adatta, false);
}

ImmagineNitida* ImmagineNitida::Segui(QWidget* w, const QString& risorsa, bool adatta,
                                      bool sfondo) {
    auto* n = w->findChild<ImmagineNitida*>(QString(), Qt::FindDirectChildrenOnly);
    if (!n) {
        n = new ImmagineNitida(w);
        w->installEventFilter(n);
    }
    n->m_risorsa = risorsa;
    n->m_adatta = adatta;
    n->m_sfondo = sfondo;
    n->m_scala = w->devicePixelRatioF();
    return n;
}

bool ImmagineNitida::eventFilter(QObject* o, QEvent* e) {
    // A move to another screen says so; a change of scale on the same screen is
    // caught at the next painting.
    if (e->type() == QEvent::ScreenChangeInternal || e->type() == QEvent::Paint) {
        auto* w = static_cast<QWidget*>(o);
        if (w->devicePixelRatioF() != m_scala) {
            const QString risorsa = m_risorsa; // the calls below set them again
            if (m_sfondo)
                PiastrellaSfondo(w, risorsa);
            else if (auto* l = qobject_cast<QLabel*>(w))
                MostraImmagine(l, risorsa, m_adatta);
        }
    }
    return false;
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
