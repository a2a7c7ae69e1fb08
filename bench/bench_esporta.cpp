// The spreadsheet export with 10,000 cards that have photos in the archive, each
// figure against a floor measured in the same run, in a fresh process of this
// program (so that its peak memory is the export's own):
//
//  - showing the export window until its grid is filled, against a bare sqlite3
//    scan of the text columns, with the peak memory growth;
//  - exporting the grid to .xlsx until the file is written, against libxlsxwriter
//    writing the same strings directly, with the peak memory growth.
//
// Two photo sizes show that the photos stay in the archive.
#include "bench_esporta.h"
#include "bench_comune.h"

#include "doubles/Doppi.h"
#include "export/Esportazione.h"
#include "export/Griglia.h"
#include "export/MotoreDocumenti.h"
#include "export/TfrmExp.h"
#include "store/TArchivio.h"
#include "store/TScheda.h"
#include "store/Testo.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sqlite3.h>
#include <xlsxwriter.h>

namespace {

constexpr const char* OpzioneFiglio = "--esporta-figlio";
constexpr int Schede = 10000;
constexpr int Giri = 5;

qint64 KiB(const char* campo) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& riga : f.readAll().split('\n'))
        if (riga.startsWith(campo)) return riga.mid(qstrlen(campo)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Restarts the peak count (Linux: 5 into clear_refs resets VmHWM); the RSS now.
qint64 AzzeraPicco() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (!f.open(QIODevice::WriteOnly) || f.write("5") != 1) return -1;
    f.close();
    return KiB("VmRSS:");
}

double CrescitaMb(qint64 prima) {
    const qint64 picco = KiB("VmHWM:");
    return prima < 0 || picco < 0 ? -1 : double(picco - prima) / 1024;
}

// Cards written straight through SQLite, texts like an agency's and a photo each.
void RiempiArchivio(const QString& file, const QByteArray& tabella, int byteFoto) {
    QByteArray foto(byteFoto, Qt::Uninitialized);
    QRandomGenerator gen(7);
    for (char& c : foto) c = char(gen.bounded(256));
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_exec(db, StatementoCreaTabella(tabella).constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
    const QByteArray sql = "INSERT INTO " + tabella +
                           " (varTitolo,varAutore,varAlbum,varCategoria,varData,varFotocamera,varLuogo,varSoggetti,"
                           "varNote,varDidascalia,Picture,Ext) VALUES (?,?,?,?,?,?,?,?,?,?,?,'JPG')";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    for (int i = 0; i < Schede; ++i) {
        const QByteArray testi[10] = {"R" + QByteArray::number(10000 + i),
                                      "Monolocale luminoso con vista, ristrutturato di recente",
                                      "Via Roma " + QByteArray::number(i % 200),
                                      QByteArray::number(1 + i % 5),
                                      QByteArray::number(30 + i % 90),
                                      "\x80 " + QByteArray::number(80000 + i * 7),
                                      "B",
                                      "Ottime condizioni",
                                      "Note della scheda, non esportate",
                                      "Soggiorno con finestra sul cortile"};
        for (int k = 0; k < 10; ++k)
            sqlite3_bind_text(st, k + 1, testi[k].constData(), int(testi[k].size()), SQLITE_TRANSIENT);
        sqlite3_bind_blob(st, 11, foto.constData(), int(foto.size()), SQLITE_STATIC);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The floor of showing: the grid's statement stepped with the raw API, cells touched.
double ScansioneNuda(const QString& file, const QByteArray& tabella) {
    QElapsedTimer t;
    t.start();
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, QueryGriglia(tabella).constData(), -1, &st, nullptr);
    qint64 somma = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int k = 0; k < 9; ++k) somma += sqlite3_column_bytes(st, k) + (sqlite3_column_blob(st, k) ? 1 : 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (somma == 0) std::fprintf(stderr, "empty scan\n");
    return Millisecondi(t);
}

// The floor of exporting: the same strings written by libxlsxwriter directly.
double ScritturaNuda(const TGriglia& g, const QString& file) {
    QFile::remove(file);
    QElapsedTimer t;
    t.start();
    lxw_workbook* wb = workbook_new(QFile::encodeName(file).constData());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Archivio");
    for (int r = 0; r < g.Righe(); ++r)
        for (int c = 0; c < g.Colonne(); ++c)
            worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), Testo::Rifila(g.Cella(c, r)).toUtf8().constData(),
                                   nullptr);
    workbook_close(wb);
    return Millisecondi(t);
}

int Figlio(int argc, char** argv, const QString& cartella, int byteFoto) {
    QApplication app(argc, argv);
    DoppiPiattaforma doppi;
    doppi.Installa();
    Piattaforma::ImpostaCartellaProgramma(cartella);
    const TCategoria& categoria = *Categorie::PerTabella("amici");
    const QString archivio = QDir(cartella).filePath(QLatin1String(categoria.FileArchivio));
    TfrmExp finestra(categoria);

    std::vector<double> mostra, pavimentoMostra;
    double piccoMostra = -1;
    for (int giro = 0; giro < Giri; ++giro) {
        pavimentoMostra.push_back(ScansioneNuda(archivio, categoria.Tabella));
        const qint64 prima = AzzeraPicco();
        QElapsedTimer t;
        t.start();
        finestra.show(); // the grid is filled while the window is shown
        QCoreApplication::processEvents();
        mostra.push_back(Millisecondi(t));
        piccoMostra = std::max(piccoMostra, CrescitaMb(prima));
        if (finestra.Griglia().Righe() != Schede + 1) {
            std::fprintf(stderr, "grid not filled\n");
            return 1;
        }
        if (giro + 1 < Giri) finestra.close();
    }
    const double m = Mediana(mostra), p = Mediana(pavimentoMostra);
    Stampa({{"bench", "export_window_fill"},
            {"cards", Schede},
            {"photo_bytes", byteFoto},
            {"archive_mb", Arrotonda(double(QFileInfo(archivio).size()) / (1024 * 1024))},
            {"median_ms", Arrotonda(m)},
            {"floor_median_ms", Arrotonda(p)},
            {"ratio", Arrotonda(m / p)},
            {"target_ratio", 3},
            {"peak_memory_growth_mb", Arrotonda(piccoMostra)},
            {"target_memory_mb", 60},
            {"ok", m / p <= 3 && piccoMostra >= 0 && piccoMostra < 60}});

    TMotoreDocumenti motore;
    const QString documenti = QDir(cartella).filePath(QStringLiteral("Documenti"));
    motore.ImpostaCartella(documenti);
    Automazione::Imposta(&motore);
    std::vector<double> esporta, pavimentoEsporta;
    double piccoEsporta = -1;
    qint64 byteFile = 0;
    for (int giro = 0; giro < Giri; ++giro) {
        pavimentoEsporta.push_back(ScritturaNuda(finestra.Griglia(), QDir(cartella).filePath(QStringLiteral("nudo.xlsx"))));
        QDir(documenti).removeRecursively();
        const qint64 prima = AzzeraPicco();
        QElapsedTimer t;
        t.start();
        ExportGridToExcel(finestra.Griglia(), categoria.NomeFoglio());
        esporta.push_back(Millisecondi(t));
        piccoEsporta = std::max(piccoEsporta, CrescitaMb(prima));
        if (motore.FileScritti().size() != giro + 1 || !doppi.Messaggi.Mostrati.isEmpty()) {
            std::fprintf(stderr, "export failed\n");
            return 1;
        }
        byteFile = QFileInfo(motore.FileScritti().last()).size();
    }
    Automazione::Imposta(nullptr);
    const double e = Mediana(esporta), f = Mediana(pavimentoEsporta);
    Stampa({{"bench", "export_xlsx"},
            {"cards", Schede},
            {"photo_bytes", byteFoto},
            {"strings", finestra.Griglia().Righe() * finestra.Griglia().Colonne()},
            {"file_kb", double(byteFile / 1024)},
            {"median_ms", Arrotonda(e)},
            {"floor_median_ms", Arrotonda(f)},
            {"ratio", Arrotonda(e / f)},
            {"target_ratio", 1.5},
            {"peak_memory_growth_mb", Arrotonda(piccoEsporta)},
            {"target_memory_mb", 60},
            {"ok", e / f <= 1.5 && piccoEsporta >= 0 && piccoEsporta < 60}});
    return 0;
}

} // namespace

bool BenchEsportaFiglio(int argc, char** argv, int* esito) {
    for (int i = 1; i + 2 < argc; ++i)
        if (qstrcmp(argv[i], OpzioneFiglio) == 0) {
            *esito = Figlio(argc, argv, QString::fromLocal8Bit(argv[i + 1]), QByteArray(argv[i + 2]).toInt());
            return true;
        }
    return false;
}

void BenchEsporta(const QString& programma) {
    for (const int byteFoto : {16 * 1024, 256 * 1024}) {
        QTemporaryDir cartella;
        const TCategoria& categoria = *Categorie::PerTabella("amici");
        RiempiArchivio(QDir(cartella.path()).filePath(QLatin1String(categoria.FileArchivio)), categoria.Tabella,
                       byteFoto);
        EseguiFiglio(QStringLiteral("export %1").arg(byteFoto), programma,
                     {QString::fromLatin1(OpzioneFiglio), cartella.path(), QString::number(byteFoto)}, 600000);
    }
}
