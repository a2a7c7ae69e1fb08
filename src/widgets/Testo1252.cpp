#include "widgets/Testo1252.h"

#include "store/Win1252.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

#include <limits>

QValidator::State Validatore1252::validate(QString& testo, int&) const {
    if (Win1252::Rappresentabile(testo)) return Acceptable;
    // The line edit undoes the change that made the text invalid.
    QApplication::beep();
    return Invalid;
}

void Testo1252::Filtra(QLineEdit* casella) {
    casella->setValidator(new Validatore1252(casella));
}

void Testo1252::CasellaTesto(QLineEdit* casella) {
    Filtra(casella);
    casella->setMaxLength(std::numeric_limits<int>::max());
}

TestoMultiriga::TestoMultiriga(QWidget* parent) : QPlainTextEdit(parent) {}

void TestoMultiriga::keyPressEvent(QKeyEvent* e) {
    if (!e->text().isEmpty() && !Win1252::Rappresentabile(e->text())) {
        QApplication::beep();
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TestoMultiriga::inputMethodEvent(QInputMethodEvent* e) {
    if (!Win1252::Rappresentabile(e->commitString())) {
        QApplication::beep();
        QInputMethodEvent vuoto(e->preeditString(), e->attributes());
        QPlainTextEdit::inputMethodEvent(&vuoto);
        return;
    }
    QPlainTextEdit::inputMethodEvent(e);
}

bool TestoMultiriga::canInsertFromMimeData(const QMimeData* dati) const {
    return QPlainTextEdit::canInsertFromMimeData(dati) &&
           (!dati->hasText() || Win1252::Rappresentabile(dati->text()));
}

void TestoMultiriga::insertFromMimeData(const QMimeData* dati) {
    if (dati->hasText() && !Win1252::Rappresentabile(dati->text())) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(dati);
}
