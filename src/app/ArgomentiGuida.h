#pragma once
// The three topics of the on-line help. The help window and the user guide
// Guida.pdf are both made from these texts, so they never disagree.
#include <QString>
#include <QStringList>

struct TCategoria;

struct TArgomentoGuida {
    QString Titolo;
    QStringList Paragrafi;
    // The body as the help window shows it: paragraphs joined by one empty line
    // (two CR LF pairs), none after the last.
    QString Testo() const;
};

namespace ArgomentiGuida {
// The launcher's topic, about the whole program.
TArgomentoGuida Avvio();
// The record card window's topic, the same in every category.
TArgomentoGuida Scheda();
// The spreadsheet export window's topic: the category's label in its title only.
TArgomentoGuida Esportazione(const TCategoria& categoria);
// The program file a user starts by a double click in the program folder.
QString FileProgramma();
} // namespace ArgomentiGuida
