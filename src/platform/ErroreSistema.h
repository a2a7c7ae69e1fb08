#pragma once
#include <QString>

// What the system's code of a failed write means. SQLite hands on the code of the
// system it runs on: errno on Linux, GetLastError's code on Windows, whose numbers mean
// other things.
enum class GuastoScrittura { DiscoPieno, FileTroppoGrande, Altro };

GuastoScrittura GuastoDiScrittura(int codiceSistema);

// Whether the user may create files in the folder, by its access rights: on Windows
// its ACL (Program Files is not read-only by attribute, yet users cannot write there).
bool CartellaScrivibile(const QString& cartella);
