#pragma once

// The quick find and the advanced search listing every card of a large archive,
// until their list has painted its first screen, against a bare sqlite3 scan of
// the text columns; with the peak memory the find adds. Needs a QApplication.
void BenchTrova();
