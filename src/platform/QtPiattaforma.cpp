#include "platform/QtPiattaforma.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_WIN
#include "platform/windows/SfogliaCartella.h"
#endif

namespace {

QWidget* Genitore(QObject* proprietario) {
    if (auto* w = qobject_cast<QWidget*>(proprietario)) return w;
    return QApplication::activeWindow();
}

// Paths are kept as the system writes them (backslashes on Windows), as the dialogs
// there show them and other Windows programs read them.
QString Nativo(const QString& percorso) { return QDir::toNativeSeparators(percorso); }

} // namespace

Risposta QtMessaggi::Mostra(TipoMessaggio tipo, const QString& caption, const QString& testo,
                            QObject* proprietario) {
    QMessageBox box(Genitore(proprietario));
    box.setWindowTitle(caption);
    box.setText(testo);
    switch (tipo) {
    case TipoMessaggio::Informazione: box.setIcon(QMessageBox::Information); break;
    case TipoMessaggio::Avviso: box.setIcon(QMessageBox::Warning); break;
    case TipoMessaggio::Errore: box.setIcon(QMessageBox::Critical); break;
    case TipoMessaggio::DomandaConIcona: box.setIcon(QMessageBox::Question); break;
    case TipoMessaggio::Domanda:
    case TipoMessaggio::Semplice: box.setIcon(QMessageBox::NoIcon); break;
    }
    if (tipo == TipoMessaggio::Domanda || tipo == TipoMessaggio::DomandaConIcona) {
        QPushButton* si = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        box.setDefaultButton(si);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == si ? Risposta::Si : Risposta::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Risposta::OK;
}

void QtApriSistema::Apri(const QString& destinazione, const QString& verbo) {
    Q_UNUSED(verbo); // the desktop has one default action per kind of target
    if (destinazione.isEmpty()) return;
    const QUrl url(destinazione);
    // A one-letter scheme is a drive letter, not a protocol.
    if (url.isValid() && url.scheme().size() > 1)
        QDesktopServices::openUrl(url);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(destinazione));
}

bool QtApriSistema::ApriDocumento(const QString& file) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The desktop opener starts even when nothing handles the file type: ask first.
    QProcess domanda;
    domanda.start(QStringLiteral("xdg-mime"),
                  {QStringLiteral("query"), QStringLiteral("default"), QMimeDatabase().mimeTypeForFile(file).name()});
    if (!domanda.waitForFinished(5000) || domanda.exitStatus() != QProcess::NormalExit || domanda.exitCode() != 0 ||
        domanda.readAllStandardOutput().trimmed().isEmpty())
        return false;
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

QStringList QtDialoghi::FiltriQt(const QString& filtro) {
    const QStringList parti = filtro.split(QLatin1Char('|'));
    QStringList filtri;
    for (int i = 0; i + 1 < parti.size(); i += 2) {
        QStringList modelli = parti[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& m : modelli) m = m.trimmed();
        modelli.removeAll(QString());
        filtri << QStringLiteral("%1 (%2)").arg(parti[i], modelli.join(QLatin1Char(' ')));
    }
    return filtri;
}

QString QtDialoghi::ApriFile(const QString& titolo, const QString& filtro, QObject* proprietario) {
    const QStringList filtri = FiltriQt(filtro);
    QString scelto = filtri.value(0);
    // The descriptions already name their patterns; Qt's copy of them is not shown twice.
    return Nativo(QFileDialog::getOpenFileName(Genitore(proprietario), titolo, QString(),
                                               filtri.join(QStringLiteral(";;")), &scelto,
                                               QFileDialog::HideNameFilterDetails));
}

QString QtDialoghi::SalvaFile(const QString& titolo, const QString& filtro, QObject* proprietario) {
    const QStringList filtri = FiltriQt(filtro);
    QString scelto = filtri.value(0);
    return Nativo(QFileDialog::getSaveFileName(Genitore(proprietario), titolo, QString(),
                                               filtri.join(QStringLiteral(";;")), &scelto,
                                               QFileDialog::DontConfirmOverwrite |
                                                   QFileDialog::HideNameFilterDetails));
}

QString QtDialoghi::ScegliFile(const QString& titolo, const QString& filtro, const QString& iniziale,
                              QObject* proprietario) {
    QFileDialog dialogo(Genitore(proprietario), titolo);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setFileMode(QFileDialog::AnyFile); // a file still to be written can be referred to
    dialogo.setOption(QFileDialog::HideNameFilterDetails);
    dialogo.setNameFilters(FiltriQt(filtro));
    if (!iniziale.isEmpty()) dialogo.selectFile(iniziale);
    if (dialogo.exec() != QDialog::Accepted) return {};
    return Nativo(dialogo.selectedFiles().value(0));
}

QString QtDialoghi::ScegliCartella(const QString& titolo, QObject* proprietario) {
#ifdef Q_OS_WIN
    return SfogliaCartellaWindows(titolo, Genitore(proprietario));
#else
    // Qt's own dialog, which can leave out the new-folder button (read-only) and
    // the path box; the title carries the instruction.
    QFileDialog dialogo(Genitore(proprietario), titolo);
    dialogo.setFileMode(QFileDialog::Directory);
    dialogo.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly);
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QFileInfo(desktop).isDir()) desktop = QDir::homePath();
    dialogo.setDirectory(desktop);
    for (const char* nome : {"fileNameEdit", "fileNameLabel", "fileTypeCombo", "fileTypeLabel"})
        if (auto* w = dialogo.findChild<QWidget*>(QLatin1String(nome))) w->hide();
    if (auto* nuova = dialogo.findChild<QWidget*>(QStringLiteral("newFolderButton"))) nuova->hide();
    if (dialogo.exec() != QDialog::Accepted) return {};
    return dialogo.selectedFiles().value(0);
#endif
}

QDateTime QtOrologio::Adesso() { return QDateTime::currentDateTime(); }

int QtOrologio::Casuale(int limite) {
    return limite > 0 ? static_cast<int>(QRandomGenerator::global()->bounded(limite)) : 0;
}

void QtCursore::Occupato() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void QtCursore::Normale() { QApplication::restoreOverrideCursor(); }
