#pragma once
// Text boxes take only characters that Windows-1252 can hold, because that is how
// every text is stored. An offending keystroke is refused, and a paste or drop that
// holds any such character is refused whole, with a beep: nothing typed is changed.
#include <QPlainTextEdit>
#include <QValidator>

class QLineEdit;

class Validatore1252 : public QValidator {
    Q_OBJECT
public:
    explicit Validatore1252(QObject* parent = nullptr) : QValidator(parent) {}
    State validate(QString& testo, int& posizione) const override;
};

namespace Testo1252 {
// Installs the filter on a one-line box (typing, paste, drop, input methods).
void Filtra(QLineEdit* casella);
// A box that takes card text: the filter, and no length limit (a line edit would
// otherwise cut a longer stored text when it is loaded, and the save would store
// the cut text).
void CasellaTesto(QLineEdit* casella);
} // namespace Testo1252

// A multi-line box with the same filter built in.
class TestoMultiriga : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TestoMultiriga(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* dati) const override;
    void insertFromMimeData(const QMimeData* dati) override;
};
