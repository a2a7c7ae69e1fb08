// The word-processor side of the office-document engine: application, documents,
// the active window's selection and ranges with their fonts and paragraph
// formats, inline pictures, tables and cells, and the .docx writer over libzip.
//
// A document's main text is a sequence of elements: characters, paragraph marks
// (which carry their paragraph's alignment), inline pictures and tables (a table
// stands between two paragraphs). A range is a span of that sequence, or one cell
// of a table. New content takes the format of what stands just before it.
#include "export/MotoreInterno.h"
#include "platform/Piattaforma.h"

#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <algorithm>

namespace {

using namespace Motore;

struct WStile {
    QString carattere = QStringLiteral("Times New Roman");
    int dimensione = 12;
    bool grassetto = false;
    bool operator==(const WStile& o) const {
        return carattere == o.carattere && dimensione == o.dimensione && grassetto == o.grassetto;
    }
};

struct WImmagine {
    QByteArray dati;
    QString estensione, tipo; // "jpeg", "image/jpeg"
    int larghezza = 0, altezza = 0;
    QString nome;
};

struct WCella {
    QString testo; // paragraphs separated by "\r"
    WStile stile;
    int allineamento = 0;
};

struct WTabella {
    int righe = 0, colonne = 0;
    std::vector<WCella> celle;
    WCella& Cella(int r, int c) { return celle[size_t(r - 1) * size_t(colonne) + size_t(c - 1)]; }
};

struct WElemento {
    enum Genere : quint8 { Carattere, FineParagrafo, Immagine, Tabella };
    Genere genere = Carattere;
    QChar c;
    int allineamento = 0;
    WStile stile;
    std::shared_ptr<WImmagine> immagine;
    std::shared_ptr<WTabella> tabella;
};

// A span [s, e) of the main text, or one cell (tabella set).
struct WPunto {
    int s = 0, e = 0;
    std::shared_ptr<WTabella> tabella;
    int r = 0, c = 0;
    bool InCella() const { return bool(tabella); }
};

struct WDoc {
    std::vector<WElemento> el;
    std::shared_ptr<WPunto> selezione = std::make_shared<WPunto>();
    std::vector<std::weak_ptr<WPunto>> intervalli; // ranges handed out, kept in step with edits
    bool scritto = false;
    int immagini = 0;

    WDoc() {
        WElemento fine;
        fine.genere = WElemento::FineParagrafo;
        el.push_back(fine);
    }

    std::shared_ptr<WPunto> NuovoIntervallo(const WPunto& p) {
        auto r = std::make_shared<WPunto>(p);
        std::erase_if(intervalli, [](const std::weak_ptr<WPunto>& w) { return w.expired(); });
        intervalli.push_back(r);
        return r;
    }

    template <class F> void PerOgniPunto(F&& f) {
        f(*selezione);
        for (const auto& w : intervalli)
            if (auto p = w.lock()) f(*p);
    }

    // The format new content at pos takes: that of the nearest element before it.
    WStile StileA(int pos) const {
        for (int i = std::min<int>(pos, int(el.size())) - 1; i >= 0; --i)
            if (el[size_t(i)].genere != WElemento::Immagine) return el[size_t(i)].stile;
        return el.empty() ? WStile() : el.front().stile;
    }

    // The paragraph mark that ends the paragraph holding pos (the last one at most).
    int FineDi(int pos) const {
        for (int i = std::max(0, pos); i < int(el.size()); ++i)
            if (el[size_t(i)].genere == WElemento::FineParagrafo) return i;
        return int(el.size()) - 1;
    }

    bool InizioParagrafo(int pos) const {
        if (pos <= 0) return true;
        const auto g = el[size_t(pos - 1)].genere;
        return g == WElemento::FineParagrafo || g == WElemento::Tabella;
    }

    void Inserisci(int pos, const std::vector<WElemento>& nuovi) {
        const int n = int(nuovi.size());
        if (n == 0) return;
        el.insert(el.begin() + pos, nuovi.begin(), nuovi.end());
        PerOgniPunto([&](WPunto& p) {
            if (p.InCella()) return;
            if (p.s > pos) p.s += n;
            if (p.e > pos) p.e += n;
        });
    }

    void Rimuovi(int a, int b) {
        if (b <= a) return;
        el.erase(el.begin() + a, el.begin() + b);
        const auto sposta = [&](int& x) { x = x >= b ? x - (b - a) : std::min(x, a); };
        PerOgniPunto([&](WPunto& p) {
            if (p.InCella()) return;
            sposta(p.s);
            sposta(p.e);
        });
    }

    // Text as elements: line breaks of any kind become paragraph marks that keep
    // the alignment of the paragraph they split.
    std::vector<WElemento> Elementi(const QString& testo, int pos) const {
        std::vector<WElemento> nuovi;
        const WStile stile = StileA(pos);
        const int allineamento = el[size_t(FineDi(pos))].allineamento;
        for (qsizetype i = 0; i < testo.size(); ++i) {
            WElemento e;
            e.stile = stile;
            const QChar ch = testo.at(i);
            if (ch == u'\r' || ch == u'\n') {
                if (ch == u'\r' && i + 1 < testo.size() && testo.at(i + 1) == u'\n') ++i;
                e.genere = WElemento::FineParagrafo;
                e.allineamento = allineamento;
            } else {
                e.c = ch;
            }
            nuovi.push_back(e);
        }
        return nuovi;
    }

    QString Testo(int s, int e) const {
        QString t;
        for (int i = s; i < e && i < int(el.size()); ++i) {
            const WElemento& x = el[size_t(i)];
            if (x.genere == WElemento::Carattere) t += x.c;
            if (x.genere == WElemento::FineParagrafo) t += QLatin1Char('\r');
        }
        return t;
    }
};

struct WApp {
    std::shared_ptr<TMotoreDocumenti::Servizi> servizi;
    bool visibile = false;
    std::vector<std::shared_ptr<WDoc>> documenti;
    int attivo = -1;

    std::shared_ptr<WDoc> Attivo() const {
        if (attivo < 0) Errore(QStringLiteral("Comando non disponibile: nessun documento aperto"));
        return documenti[size_t(attivo)];
    }
};

QString NormaleCella(const QString& t) {
    QString r = t;
    r.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    r.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return r;
}

// Inserts text after a span or at the end of a cell; the span grows to hold it.
void InserisciDopo(WDoc& d, WPunto& p, const QString& testo) {
    if (p.InCella()) {
        p.tabella->Cella(p.r, p.c).testo += NormaleCella(testo);
        return;
    }
    const int pos = p.e;
    const auto nuovi = d.Elementi(testo, pos);
    d.Inserisci(pos, nuovi);
    p.e = pos + int(nuovi.size());
}

// The picture formats a document can embed, told by their own bytes.
std::shared_ptr<WImmagine> LeggiImmagine(const QByteArray& b) {
    auto img = std::make_shared<WImmagine>();
    img->dati = b;
    const auto u = [&](qsizetype i) { return i < b.size() ? int(uchar(b.at(i))) : -1; };
    const auto be16 = [&](qsizetype i) { return u(i) < 0 || u(i + 1) < 0 ? -1 : u(i) << 8 | u(i + 1); };
    const auto le16 = [&](qsizetype i) { return u(i) < 0 || u(i + 1) < 0 ? -1 : u(i + 1) << 8 | u(i); };
    const auto be32 = [&](qsizetype i) { return qint64(be16(i)) << 16 | be16(i + 2); };
    const auto le32 = [&](qsizetype i) { return qint64(le16(i + 2)) << 16 | le16(i); };
    if (u(0) == 0xFF && u(1) == 0xD8 && u(2) == 0xFF) {
        img->estensione = QStringLiteral("jpeg");
        img->tipo = QStringLiteral("image/jpeg");
        qsizetype i = 2;
        while (i + 3 < b.size()) {
            if (u(i) != 0xFF) break;
            const int m = u(i + 1);
            if (m == 0xFF) {
                ++i;
                continue;
            }
            if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {
                i += 2;
                continue;
            }
            const int lunghezza = be16(i + 2);
            if (lunghezza < 2) break;
            if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
                img->altezza = be16(i + 5);
                img->larghezza = be16(i + 7);
                break;
            }
            i += 2 + lunghezza;
        }
    } else if (b.startsWith("\x89PNG\r\n\x1a\n")) {
        img->estensione = QStringLiteral("png");
        img->tipo = QStringLiteral("image/png");
        img->larghezza = int(be32(16));
        img->altezza = int(be32(20));
    } else if (b.startsWith("GIF87a") || b.startsWith("GIF89a")) {
        img->estensione = QStringLiteral("gif");
        img->tipo = QStringLiteral("image/gif");
        img->larghezza = le16(6);
        img->altezza = le16(8);
    } else if (b.startsWith("BM")) {
        img->estensione = QStringLiteral("bmp");
        img->tipo = QStringLiteral("image/bmp");
        const qint64 intestazione = le32(14);
        if (intestazione == 12) {
            img->larghezza = le16(18);
            img->altezza = le16(20);
        } else if (intestazione >= 40) {
            img->larghezza = int(le32(18));
            img->altezza = int(std::abs(qint32(quint32(le32(22)))));
        }
    }
    if (img->tipo.isEmpty() || img->larghezza <= 0 || img->altezza <= 0)
        Errore(QStringLiteral("Il file non contiene un'immagine in un formato riconosciuto"));
    return img;
}

// ---- the .docx file ----

QString Xml(const QString& s) {
    QString r;
    r.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'&')
            r += QLatin1String("&amp;");
        else if (u == u'<')
            r += QLatin1String("&lt;");
        else if (u == u'>')
            r += QLatin1String("&gt;");
        else if (u == u'"')
            r += QLatin1String("&quot;");
        else if (u < 0x20 || u == 0xFFFE || u == 0xFFFF)
            continue; // not allowed in XML; tabs and breaks are elements of their own
        else
            r += c;
    }
    return r;
}

QString ProprietaRun(const WStile& s) {
    const QString f = Xml(s.carattere);
    QString r = QStringLiteral("<w:rPr><w:rFonts w:ascii=\"%1\" w:hAnsi=\"%1\" w:cs=\"%1\"/>").arg(f);
    if (s.grassetto) r += QLatin1String("<w:b/><w:bCs/>");
    r += QStringLiteral("<w:sz w:val=\"%1\"/><w:szCs w:val=\"%1\"/></w:rPr>").arg(s.dimensione * 2);
    return r;
}

QString Allineamento(int a) {
    switch (a) {
    case 1: return QStringLiteral("center");
    case 2: return QStringLiteral("right");
    case 3: return QStringLiteral("both");
    default: return QStringLiteral("left");
    }
}

QString Run(const QString& testo, const WStile& s) {
    QString r = QStringLiteral("<w:r>") + ProprietaRun(s);
    QString pezzo;
    const auto chiudi = [&] {
        if (!pezzo.isEmpty()) r += QStringLiteral("<w:t xml:space=\"preserve\">") + Xml(pezzo) + QStringLiteral("</w:t>");
        pezzo.clear();
    };
    for (QChar c : testo) {
        if (c == u'\t') {
            chiudi();
            r += QLatin1String("<w:tab/>");
        } else if (c == u'\v') {
            chiudi();
            r += QLatin1String("<w:br/>");
        } else {
            pezzo += c;
        }
    }
    chiudi();
    return r + QStringLiteral("</w:r>");
}

QString Paragrafo(const QString& runs, int allineamento, const WStile& marca) {
    return QStringLiteral("<w:p><w:pPr><w:jc w:val=\"%1\"/>%2</w:pPr>%3</w:p>")
        .arg(Allineamento(allineamento), ProprietaRun(marca), runs);
}

constexpr int LarghezzaTestoTwip = 9638;     // A4 less 2 cm margins
constexpr qint64 LarghezzaTestoEmu = 6120130; // the same in EMU
constexpr qint64 AltezzaMassimaEmu = 8640000; // 24 cm

QString Disegno(const WImmagine& img, const QString& rid, int id) {
    // Natural size at 96 dpi, scaled down to the text width and a page's height.
    qint64 cx = qint64(img.larghezza) * 9525, cy = qint64(img.altezza) * 9525;
    const double scala = std::min({1.0, double(LarghezzaTestoEmu) / double(cx), double(AltezzaMassimaEmu) / double(cy)});
    cx = qint64(double(cx) * scala);
    cy = qint64(double(cy) * scala);
    return QStringLiteral(
               "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
               "<wp:extent cx=\"%1\" cy=\"%2\"/><wp:docPr id=\"%3\" name=\"Immagine %3\"/>"
               "<wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect=\"1\"/></wp:cNvGraphicFramePr>"
               "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
               "<pic:pic><pic:nvPicPr><pic:cNvPr id=\"%3\" name=\"%4\"/><pic:cNvPicPr/></pic:nvPicPr>"
               "<pic:blipFill><a:blip r:embed=\"%5\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
               "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"%1\" cy=\"%2\"/></a:xfrm>"
               "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
               "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>")
        .arg(cx)
        .arg(cy)
        .arg(id)
        .arg(Xml(img.nome), rid);
}

QString TabellaXml(const WTabella& t) {
    const int larghezza = LarghezzaTestoTwip / std::max(1, t.colonne);
    QString x = QStringLiteral("<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblBorders>");
    for (const char* lato : {"top", "left", "bottom", "right", "insideH", "insideV"})
        x += QStringLiteral("<w:%1 w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>").arg(QLatin1String(lato));
    x += QStringLiteral("</w:tblBorders><w:tblLayout w:type=\"fixed\"/></w:tblPr><w:tblGrid>");
    for (int c = 0; c < t.colonne; ++c) x += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(larghezza);
    x += QStringLiteral("</w:tblGrid>");
    for (int r = 1; r <= t.righe; ++r) {
        x += QStringLiteral("<w:tr>");
        for (int c = 1; c <= t.colonne; ++c) {
            const WCella& cella = const_cast<WTabella&>(t).Cella(r, c);
            x += QStringLiteral("<w:tc><w:tcPr><w:tcW w:w=\"%1\" w:type=\"dxa\"/></w:tcPr>").arg(larghezza);
            for (const QString& riga : cella.testo.split(QLatin1Char('\r')))
                x += Paragrafo(riga.isEmpty() ? QString() : Run(riga, cella.stile), cella.allineamento, cella.stile);
            x += QStringLiteral("</w:tc>");
        }
        x += QStringLiteral("</w:tr>");
    }
    return x + QStringLiteral("</w:tbl>");
}

struct WFileDocx {
    QByteArray documento, relazioni;
    std::vector<std::pair<QString, std::shared_ptr<WImmagine>>> media; // name in the package
};

WFileDocx Componi(const WDoc& d) {
    WFileDocx f;
    QString corpo, runs, testo;
    WStile stileTesto;
    QString relazioni;
    int prossimoId = 1;
    const auto chiudiTesto = [&] {
        if (!testo.isEmpty()) runs += Run(testo, stileTesto);
        testo.clear();
    };
    bool dopoTabella = false;
    for (const WElemento& e : d.el) {
        switch (e.genere) {
        case WElemento::Carattere:
            if (!testo.isEmpty() && !(e.stile == stileTesto)) chiudiTesto();
            stileTesto = e.stile;
            testo += e.c;
            break;
        case WElemento::Immagine: {
            chiudiTesto();
            const int n = int(f.media.size()) + 1;
            const QString nome = QStringLiteral("image%1.%2").arg(n).arg(e.immagine->estensione);
            const QString rid = QStringLiteral("rIdImg%1").arg(n);
            f.media.push_back({nome, e.immagine});
            relazioni += QStringLiteral("<Relationship Id=\"%1\" Type=\"http://schemas.openxmlformats.org/"
                                        "officeDocument/2006/relationships/image\" Target=\"media/%2\"/>")
                             .arg(rid, nome);
            runs += Disegno(*e.immagine, rid, prossimoId++);
            break;
        }
        case WElemento::FineParagrafo:
            chiudiTesto();
            corpo += Paragrafo(runs, e.allineamento, e.stile);
            runs.clear();
            dopoTabella = false;
            break;
        case WElemento::Tabella:
            chiudiTesto();
            if (!runs.isEmpty()) { // never happens: a table starts a paragraph
                corpo += Paragrafo(runs, 0, e.stile);
                runs.clear();
            }
            if (dopoTabella) corpo += QStringLiteral("<w:p/>"); // two tables stay two tables
            corpo += TabellaXml(*e.tabella);
            dopoTabella = true;
            break;
        }
    }
    const QString documento =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                       "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
                       "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                       "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>") +
        corpo +
        QStringLiteral("<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1134\" w:right=\"1134\" "
                       "w:bottom=\"1134\" w:left=\"1134\" w:header=\"709\" w:footer=\"709\" w:gutter=\"0\"/>"
                       "</w:sectPr></w:body></w:document>");
    f.documento = documento.toUtf8();
    f.relazioni = (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                  "relationships\"><Relationship Id=\"rIdStili\" Type=\"http://schemas."
                                  "openxmlformats.org/officeDocument/2006/relationships/styles\" "
                                  "Target=\"styles.xml\"/>") +
                   relazioni + QStringLiteral("</Relationships>"))
                      .toUtf8();
    return f;
}

const char* const Stili =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Times New Roman\" w:hAnsi=\"Times New Roman\" "
    "w:eastAsia=\"Times New Roman\" w:cs=\"Times New Roman\"/><w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/>"
    "<w:lang w:val=\"it-IT\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"0\" "
    "w:line=\"240\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normale\"><w:name w:val=\"Normal\"/><w:qFormat/>"
    "</w:style><w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TabellaNormale\"><w:name w:val=\"Normal "
    "Table\"/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/>"
    "<w:left w:w=\"108\" w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" "
    "w:type=\"dxa\"/></w:tblCellMar></w:tblPr></w:style></w:styles>";

const char* const RelazioniPacchetto =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"word/document.xml\"/></Relationships>";

void ScriviDocx(const WDoc& d, const QString& file) {
    const WFileDocx f = Componi(d);
    QString tipi = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>");
    QStringList estensioni;
    for (const auto& [nome, img] : f.media)
        if (!estensioni.contains(img->estensione)) {
            estensioni << img->estensione;
            tipi += QStringLiteral("<Default Extension=\"%1\" ContentType=\"%2\"/>").arg(img->estensione, img->tipo);
        }
    tipi += QStringLiteral(
        "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
        "wordprocessingml.document.main+xml\"/><Override PartName=\"/word/styles.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/></Types>");

    // The buffers stay alive until the archive is closed.
    std::vector<std::pair<QByteArray, QByteArray>> voci = {
        {"[Content_Types].xml", tipi.toUtf8()},
        {"_rels/.rels", RelazioniPacchetto},
        {"word/document.xml", f.documento},
        {"word/styles.xml", Stili},
        {"word/_rels/document.xml.rels", f.relazioni},
    };
    for (const auto& [nome, img] : f.media) voci.push_back({"word/media/" + nome.toUtf8(), img->dati});

    int errore = 0;
    zip_t* z = zip_open(Piattaforma::NomeFileUtf8(file).constData(), ZIP_CREATE | ZIP_EXCL, &errore);
    if (!z) Errore(QStringLiteral("Impossibile creare il file %1").arg(file));
    for (const auto& [nome, dati] : voci) {
        zip_source_t* sorgente = zip_source_buffer(z, dati.constData(), zip_uint64_t(dati.size()), 0);
        const zip_int64_t indice =
            sorgente ? zip_file_add(z, nome.constData(), sorgente, ZIP_FL_ENC_UTF_8) : zip_int64_t(-1);
        if (indice < 0) {
            if (sorgente) zip_source_free(sorgente);
            zip_discard(z);
            Errore(QStringLiteral("Scrittura del documento non riuscita: %1").arg(file));
        }
        // Pictures are compressed already.
        if (nome.startsWith("word/media/")) zip_set_file_compression(z, zip_uint64_t(indice), ZIP_CM_STORE, 0);
    }
    if (zip_close(z) != 0) {
        const QString causa = QString::fromLocal8Bit(zip_strerror(z));
        zip_discard(z);
        Errore(QStringLiteral("Scrittura del documento non riuscita: %1 (%2)").arg(file, causa));
    }
}

// The document's name: its first line of text, in sentence case when written in capitals.
QString NomeDocumento(const WDoc& d) {
    QString riga;
    for (const WElemento& e : d.el) {
        if (e.genere == WElemento::Carattere) riga += e.c;
        if (e.genere == WElemento::FineParagrafo && !riga.trimmed().isEmpty()) break;
        if (e.genere == WElemento::FineParagrafo) riga.clear();
    }
    riga = riga.simplified().left(60);
    if (riga.isEmpty()) return QStringLiteral("Documento");
    if (riga == riga.toUpper()) riga = riga.left(1) + riga.mid(1).toLower();
    return riga;
}

// ---- the objects ----

class WOggetto : public IOggettoAutomazione {
public:
    WOggetto(std::shared_ptr<WApp> app, QString percorso) : m_app(std::move(app)), m_percorso(std::move(percorso)) {}
    QString Percorso() const override { return m_percorso; }
    TVariante Leggi(const QString& p, const QList<TVariante>&) override { Sconosciuto(m_percorso, p); }
    void Imposta(const QString& p, const TVariante&, const QList<TVariante>&) override { Sconosciuto(m_percorso, p); }
    TVariante Chiama(const QString& m, const QList<TArgomento>&) override { Sconosciuto(m_percorso, m); }

protected:
    std::shared_ptr<WApp> m_app;
    QString m_percorso;
};

class WRange;
TVariante Intervallo(const std::shared_ptr<WApp>& app, const std::shared_ptr<WDoc>& d, const std::shared_ptr<WPunto>& p,
                     bool selezione);

// Applies a change to every element of a span (or to a cell); an empty span of
// the main text is where the next content goes, which takes the format before it.
template <class F> void SuElementi(WDoc& d, const WPunto& p, F&& f) {
    for (int i = p.s; i < p.e && i < int(d.el.size()); ++i) f(d.el[size_t(i)].stile);
}

// Ranges and selections hand their span to the pictures and tables made with them.
class WPuntoDi {
public:
    virtual ~WPuntoDi() = default;
    virtual std::shared_ptr<WDoc> Documento() const = 0;
    virtual std::shared_ptr<WPunto> Punto() const = 0;
};

class WFont : public WOggetto {
public:
    WFont(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p)
        : WOggetto(std::move(app), QStringLiteral("Font")), m_d(std::move(d)), m_p(std::move(p)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        const WStile s = m_p->InCella() ? m_p->tabella->Cella(m_p->r, m_p->c).stile
                                        : (m_p->s < m_p->e ? m_d->el[size_t(m_p->s)].stile : m_d->StileA(m_p->s));
        if (Uguale(p, "Name")) return TVariante::Stringa(s.carattere);
        if (Uguale(p, "Size")) return TVariante::Intero32(s.dimensione);
        if (Uguale(p, "Bold")) return TVariante::Booleano(s.grassetto);
        Sconosciuto(m_percorso, p);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        std::function<void(WStile&)> cambia;
        if (Uguale(p, "Name")) {
            const QString n = v.ComeStringa();
            if (n.trimmed().isEmpty()) Errore(QStringLiteral("Nome del carattere vuoto"));
            cambia = [n](WStile& s) { s.carattere = n; };
        } else if (Uguale(p, "Size")) {
            const int d = v.ComeIntero();
            if (d < 1 || d > 1638) Errore(QStringLiteral("Dimensione del carattere non valida"));
            cambia = [d](WStile& s) { s.dimensione = d; };
        } else if (Uguale(p, "Bold")) {
            const bool b = v.ComeBooleano();
            cambia = [b](WStile& s) { s.grassetto = b; };
        } else {
            Sconosciuto(m_percorso, p);
        }
        if (m_p->InCella())
            cambia(m_p->tabella->Cella(m_p->r, m_p->c).stile);
        else
            SuElementi(*m_d, *m_p, cambia);
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
};

class WParagraphFormat : public WOggetto {
public:
    WParagraphFormat(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p)
        : WOggetto(std::move(app), QStringLiteral("ParagraphFormat")), m_d(std::move(d)), m_p(std::move(p)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Alignment")) Sconosciuto(m_percorso, p);
        if (m_p->InCella()) return TVariante::Intero32(m_p->tabella->Cella(m_p->r, m_p->c).allineamento);
        return TVariante::Intero32(m_d->el[size_t(m_d->FineDi(m_p->s))].allineamento);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Alignment")) Sconosciuto(m_percorso, p);
        const int a = v.ComeIntero();
        if (a < 0 || a > 3) Errore(QStringLiteral("Allineamento non disponibile: %1").arg(a));
        if (m_p->InCella()) {
            m_p->tabella->Cella(m_p->r, m_p->c).allineamento = a;
            return;
        }
        // Every paragraph the span touches.
        const int primo = m_d->FineDi(m_p->s);
        const int ultimo = m_d->FineDi(std::max(m_p->s, m_p->e - 1));
        for (int i = primo; i <= ultimo; ++i)
            if (m_d->el[size_t(i)].genere == WElemento::FineParagrafo) m_d->el[size_t(i)].allineamento = a;
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
};

class WInlineShapes : public WOggetto {
public:
    WInlineShapes(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p, bool selezione)
        : WOggetto(std::move(app), QStringLiteral("InlineShapes")), m_d(std::move(d)), m_p(std::move(p)),
          m_selezione(selezione) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Count")) Sconosciuto(m_percorso, p);
        int n = 0;
        for (int i = m_p->s; i < m_p->e; ++i) n += m_d->el[size_t(i)].genere == WElemento::Immagine;
        return TVariante::Intero32(n);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (!Uguale(m, "AddPicture")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti, {"FileName", "LinkToFile", "SaveWithDocument", "Range"});
        const QString nomeFile = a[0].ComeStringa();
        if (!a[1].Vuoto() && a[1].ComeBooleano())
            Errore(QStringLiteral("Le immagini collegate al file non sono disponibili"));
        std::shared_ptr<WPunto> dove = m_p;
        if (!a[3].Vuoto()) {
            auto* r = dynamic_cast<WPuntoDi*>(a[3].ComeOggetto().get());
            if (!r || r->Documento() != m_d) Errore(QStringLiteral("Intervallo di un altro documento"));
            dove = r->Punto();
        }
        if (dove->InCella()) Errore(QStringLiteral("Immagini nelle celle non disponibili"));
        QFile file(nomeFile);
        if (!file.open(QIODevice::ReadOnly)) Errore(QStringLiteral("File non trovato: %1").arg(nomeFile));
        const auto img = LeggiImmagine(file.readAll());
        img->nome = QFileInfo(nomeFile).fileName();
        WElemento e;
        e.genere = WElemento::Immagine;
        e.immagine = img;
        const int pos = dove->s;
        m_d->Rimuovi(dove->s, dove->e); // a picture replaces what the span held
        m_d->Inserisci(pos, {e});
        if (m_selezione || dove == m_d->selezione) m_d->selezione->s = m_d->selezione->e = pos + 1;
        return TVariante::Booleano(true);
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
    bool m_selezione;
};

class WCell : public WOggetto {
public:
    WCell(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WTabella> t, int r, int c)
        : WOggetto(std::move(app), QStringLiteral("Cell")), m_d(std::move(d)), m_t(std::move(t)), m_r(r), m_c(c) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Range")) {
            WPunto punto;
            punto.tabella = m_t;
            punto.r = m_r;
            punto.c = m_c;
            return Intervallo(m_app, m_d, m_d->NuovoIntervallo(punto), false);
        }
        if (Uguale(p, "RowIndex")) return TVariante::Intero32(m_r);
        if (Uguale(p, "ColumnIndex")) return TVariante::Intero32(m_c);
        Sconosciuto(m_percorso, p);
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WTabella> m_t;
    int m_r, m_c;
};

class WTable : public WOggetto {
public:
    WTable(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WTabella> t)
        : WOggetto(std::move(app), QStringLiteral("Table")), m_d(std::move(d)), m_t(std::move(t)) {}

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (!Uguale(m, "Cell")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti, {"Row", "Column"});
        const int r = a[0].ComeIntero(), c = a[1].ComeIntero();
        if (r < 1 || r > m_t->righe || c < 1 || c > m_t->colonne)
            Errore(QStringLiteral("Il membro richiesto dell'insieme non esiste"));
        return TVariante::Oggetto(std::make_shared<WCell>(m_app, m_d, m_t, r, c));
    }

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "NumRows")) return TVariante::Intero32(m_t->righe);
        if (Uguale(p, "NumColumns")) return TVariante::Intero32(m_t->colonne);
        Sconosciuto(m_percorso, p);
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WTabella> m_t;
};

class WTables : public WOggetto {
public:
    WTables(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p)
        : WOggetto(std::move(app), QStringLiteral("Tables")), m_d(std::move(d)), m_p(std::move(p)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Item")) {
            if (indici.size() != 1) Errore(QStringLiteral("Item vuole un indice"));
            return Elemento(indici[0]);
        }
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Count")) return TVariante::Intero32(int(Contenute().size()));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Item")) return Elemento(Parametri(m_percorso, m, argomenti, {"Index"})[0]);
        if (!Uguale(m, "Add")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti,
                                 {"Range", "NumRows", "NumColumns", "DefaultTableBehavior", "AutoFitBehavior"});
        auto* r = dynamic_cast<WPuntoDi*>(a[0].ComeOggetto().get());
        if (!r || r->Documento() != m_d) Errore(QStringLiteral("Tables.Add vuole un intervallo del documento"));
        const int righe = a[1].ComeIntero(), colonne = a[2].ComeIntero();
        if (righe < 1 || righe > 32767 || colonne < 1 || colonne > 63)
            Errore(QStringLiteral("Numero di righe o di colonne non valido"));
        const auto dove = r->Punto();
        if (dove->InCella()) Errore(QStringLiteral("Tabelle nelle celle non disponibili"));

        WDoc& d = *m_d;
        int pos = dove->s;
        d.Rimuovi(dove->s, dove->e); // the table takes the place of what the span held
        if (!d.InizioParagrafo(pos)) { // a table starts a paragraph of its own
            d.Inserisci(pos, d.Elementi(QStringLiteral("\r"), pos));
            ++pos;
        }
        auto t = std::make_shared<WTabella>();
        t->righe = righe;
        t->colonne = colonne;
        WCella modello;
        modello.stile = d.StileA(pos);
        modello.allineamento = d.el[size_t(d.FineDi(pos))].allineamento;
        t->celle.assign(size_t(righe) * size_t(colonne), modello);
        WElemento e;
        e.genere = WElemento::Tabella;
        e.tabella = t;
        e.stile = modello.stile;
        d.Inserisci(pos, {e});
        // The insertion point goes into the first cell.
        *d.selezione = WPunto{};
        d.selezione->tabella = t;
        d.selezione->r = d.selezione->c = 1;
        return TVariante::Oggetto(std::make_shared<WTable>(m_app, m_d, t));
    }

private:
    // The tables of the span: those that start inside it, or the cell's own.
    std::vector<std::shared_ptr<WTabella>> Contenute() const {
        if (m_p->InCella()) return {m_p->tabella};
        std::vector<std::shared_ptr<WTabella>> t;
        for (int i = m_p->s; i < m_p->e && i < int(m_d->el.size()); ++i)
            if (m_d->el[size_t(i)].genere == WElemento::Tabella) t.push_back(m_d->el[size_t(i)].tabella);
        return t;
    }

    TVariante Elemento(const TVariante& indice) const {
        const auto t = Contenute();
        const int n = indice.ComeIntero();
        if (n < 1 || size_t(n) > t.size()) Errore(QStringLiteral("Il membro richiesto dell'insieme non esiste"));
        return TVariante::Oggetto(std::make_shared<WTable>(m_app, m_d, t[size_t(n - 1)]));
    }

    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
};

// A range, or the selection when it acts for the document's live selection.
class WRange : public WOggetto, public WPuntoDi {
public:
    WRange(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p, bool selezione)
        : WOggetto(std::move(app), selezione ? QStringLiteral("Selection") : QStringLiteral("Range")),
          m_d(std::move(d)), m_p(std::move(p)), m_selezione(selezione) {}

    std::shared_ptr<WDoc> Documento() const override { return m_d; }
    std::shared_ptr<WPunto> Punto() const override { return m_p; }

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Range")) return Intervallo(m_app, m_d, m_d->NuovoIntervallo(*m_p), false);
        if (Uguale(p, "Font")) return TVariante::Oggetto(std::make_shared<WFont>(m_app, m_d, m_p));
        if (Uguale(p, "ParagraphFormat"))
            return TVariante::Oggetto(std::make_shared<WParagraphFormat>(m_app, m_d, m_p));
        if (Uguale(p, "InlineShapes"))
            return TVariante::Oggetto(std::make_shared<WInlineShapes>(m_app, m_d, m_p, m_selezione));
        if (Uguale(p, "Tables")) return TVariante::Oggetto(std::make_shared<WTables>(m_app, m_d, m_p));
        if (Uguale(p, "Text")) {
            if (m_p->InCella()) return TVariante::Stringa(m_p->tabella->Cella(m_p->r, m_p->c).testo);
            return TVariante::Stringa(m_d->Testo(m_p->s, m_p->e));
        }
        if (!m_p->InCella() && Uguale(p, "Start")) return TVariante::Intero32(m_p->s);
        if (!m_p->InCella() && Uguale(p, "End")) return TVariante::Intero32(m_p->e);
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "InsertAfter")) {
            InserisciDopo(*m_d, *m_p, Parametri(m_percorso, m, argomenti, {"Text"})[0].ComeStringa());
        } else if (Uguale(m, "InsertParagraphAfter")) {
            SenzaArgomenti(m_percorso, m, argomenti);
            InserisciDopo(*m_d, *m_p, QStringLiteral("\r"));
        } else if (m_selezione && Uguale(m, "TypeParagraph")) {
            SenzaArgomenti(m_percorso, m, argomenti);
            Digita(QStringLiteral("\r"));
        } else if (m_selezione && Uguale(m, "TypeText")) {
            Digita(Parametri(m_percorso, m, argomenti, {"Text"})[0].ComeStringa());
        } else if (m_selezione && Uguale(m, "EndOf")) {
            const auto a = Parametri(m_percorso, m, argomenti, {"Unit", "Extend"});
            FineDi(a[0].Vuoto() ? 2 : a[0].ComeIntero(), a[1].Vuoto() ? 0 : a[1].ComeIntero());
        } else {
            Sconosciuto(m_percorso, m);
        }
        return TVariante();
    }

private:
    // Typing replaces the selection and leaves the insertion point after the text.
    void Digita(const QString& testo) {
        WPunto& p = *m_p;
        if (p.InCella()) {
            p.tabella->Cella(p.r, p.c).testo += NormaleCella(testo);
            return;
        }
        const int pos = p.s;
        m_d->Rimuovi(p.s, p.e);
        const auto nuovi = m_d->Elementi(testo, pos);
        m_d->Inserisci(pos, nuovi);
        p.s = p.e = pos + int(nuovi.size());
    }

    // Moves (or extends) the end to the end of the unit: character, word,
    // paragraph or the whole text; never past the last paragraph mark.
    void FineDi(int unita, int estendi) {
        WPunto& p = *m_p;
        if (estendi != 0 && estendi != 1) Errore(QStringLiteral("Valore di Extend non valido"));
        if (p.InCella()) return;
        const auto lettera = [&](int i) {
            return i >= 0 && i < int(m_d->el.size()) && m_d->el[size_t(i)].genere == WElemento::Carattere &&
                   m_d->el[size_t(i)].c.isLetterOrNumber();
        };
        int fine = p.e;
        switch (unita) {
        case 1: break;
        case 2:
            if (lettera(fine - 1))
                while (lettera(fine)) ++fine;
            break;
        case 4: {
            const int marca = m_d->FineDi(std::max(p.s, p.e - 1));
            fine = marca + 1;
            break;
        }
        case 6: fine = int(m_d->el.size()) - 1; break;
        default: Errore(QStringLiteral("Unità non disponibile: %1").arg(unita));
        }
        fine = std::min(fine, int(m_d->el.size()) - 1);
        p.e = fine;
        if (estendi == 0) p.s = fine;
    }

    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
    bool m_selezione;
};

TVariante Intervallo(const std::shared_ptr<WApp>& app, const std::shared_ptr<WDoc>& d, const std::shared_ptr<WPunto>& p,
                     bool selezione) {
    return TVariante::Oggetto(std::make_shared<WRange>(app, d, p, selezione));
}

class WWindow : public WOggetto {
public:
    WWindow(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d)
        : WOggetto(std::move(app), QStringLiteral("Window")), m_d(std::move(d)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Selection")) return Intervallo(m_app, m_d, m_d->selezione, true);
        Sconosciuto(m_percorso, p);
    }

private:
    std::shared_ptr<WDoc> m_d;
};

class WDocument : public WOggetto {
public:
    WDocument(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d)
        : WOggetto(std::move(app), QStringLiteral("Document")), m_d(std::move(d)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Content")) {
            WPunto tutto;
            tutto.e = int(m_d->el.size());
            return Intervallo(m_app, m_d, m_d->NuovoIntervallo(tutto), false);
        }
        if (Uguale(p, "ActiveWindow")) return TVariante::Oggetto(std::make_shared<WWindow>(m_app, m_d));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (!Uguale(m, "Activate")) Sconosciuto(m_percorso, m);
        SenzaArgomenti(m_percorso, m, argomenti);
        for (size_t i = 0; i < m_app->documenti.size(); ++i)
            if (m_app->documenti[i] == m_d) m_app->attivo = int(i);
        return TVariante();
    }

private:
    std::shared_ptr<WDoc> m_d;
};

class WDocuments : public WOggetto {
public:
    explicit WDocuments(std::shared_ptr<WApp> app) : WOggetto(std::move(app), QStringLiteral("Documents")) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Item")) {
            if (indici.size() != 1) Errore(QStringLiteral("Item vuole un indice"));
            return Elemento(indici[0]);
        }
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Count")) return TVariante::Intero32(int(m_app->documenti.size()));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Item")) return Elemento(Parametri(m_percorso, m, argomenti, {"Index"})[0]);
        if (!Uguale(m, "Add")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti, {"Template", "NewTemplate", "DocumentType", "Visible"});
        if (!a[0].Vuoto() && !a[0].ComeStringa().isEmpty())
            Errore(QStringLiteral("Modelli di documento non disponibili"));
        if (!a[2].Vuoto() && a[2].ComeIntero() != 0) Errore(QStringLiteral("Tipo di documento non disponibile"));
        auto d = std::make_shared<WDoc>();
        m_app->documenti.push_back(d);
        m_app->attivo = int(m_app->documenti.size() - 1);
        return TVariante::Oggetto(std::make_shared<WDocument>(m_app, d));
    }

private:
    TVariante Elemento(const TVariante& indice) const {
        const int n = indice.ComeIntero();
        if (n < 1 || size_t(n) > m_app->documenti.size())
            Errore(QStringLiteral("Il membro richiesto dell'insieme non esiste"));
        return TVariante::Oggetto(std::make_shared<WDocument>(m_app, m_app->documenti[size_t(n - 1)]));
    }
};

class WApplication : public WOggetto {
public:
    explicit WApplication(std::shared_ptr<WApp> app) : WOggetto(std::move(app), QStringLiteral("Word.Application")) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Documents")) return TVariante::Oggetto(std::make_shared<WDocuments>(m_app));
        if (Uguale(p, "Visible")) return TVariante::Booleano(m_app->visibile);
        if (Uguale(p, "Name")) return TVariante::Stringa(QStringLiteral("Microsoft Word"));
        if (Uguale(p, "ActiveDocument")) return TVariante::Oggetto(std::make_shared<WDocument>(m_app, m_app->Attivo()));
        if (Uguale(p, "ActiveWindow")) return TVariante::Oggetto(std::make_shared<WWindow>(m_app, m_app->Attivo()));
        if (Uguale(p, "Selection")) {
            const auto d = m_app->Attivo();
            return Intervallo(m_app, d, d->selezione, true);
        }
        Sconosciuto(m_percorso, p);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Visible")) Sconosciuto(m_percorso, p);
        const bool visibile = v.ComeBooleano();
        if (visibile) Mostra();
        m_app->visibile = visibile;
    }

private:
    // What a user would now see: every new document, written out and opened.
    void Mostra() {
        for (const auto& d : m_app->documenti) {
            if (d->scritto) continue;
            const QString file = NomeLibero(CartellaDocumenti(*m_app->servizi), NomeDocumento(*d), QStringLiteral("docx"));
            try {
                ScriviDocx(*d, file);
            } catch (...) {
                QFile::remove(file);
                throw;
            }
            d->scritto = true;
            Consegna(*m_app->servizi, file);
        }
    }
};

} // namespace

namespace Motore {

std::shared_ptr<IOggettoAutomazione> CreaWord(std::shared_ptr<TMotoreDocumenti::Servizi> servizi) {
    auto app = std::make_shared<WApp>();
    app->servizi = std::move(servizi);
    return std::make_shared<WApplication>(app);
}

} // namespace Motore
