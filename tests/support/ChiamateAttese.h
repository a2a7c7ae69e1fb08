#pragma once
// The calls the two exports send to the office programs, as the recording
// automation writes them down: the Linux tests check the recording double
// against them, and the Windows check a recording COM server.
#include <QString>
#include <QStringList>

#include <array>

// ExportGridToExcel of a grid of righe rows (headings included) into a worksheet of that name.
QStringList ChiamateExcelAttese(const QString& foglio, int righe);
// The card export: the picture file's full path as sent, and the ten trimmed texts.
QStringList ChiamateWordAttese(const QString& fileImmagine, const std::array<QString, 10>& valori);
