#pragma once
// What the system's code of a failed write means. SQLite hands on the code of the
// system it runs on: errno on Linux, GetLastError's code on Windows, whose numbers mean
// other things.
enum class GuastoScrittura { DiscoPieno, FileTroppoGrande, Altro };

GuastoScrittura GuastoDiScrittura(int codiceSistema);
