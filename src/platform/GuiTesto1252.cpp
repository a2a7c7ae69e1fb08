#include "platform/GuiTesto1252.h"

#include "store/Win1252.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

QValidator::State GuiValidatore1252::validate(QString& testo, int&) const {
    if (Win1252::Rappresentabile(testo)) return Acceptable;
    // The line edit undoes the change that made the text invalid.
    QApplication::beep();
    return Invalid;
}

void GuiTesto1252::Filtra(QLineEdit* casella) {
    casella->setValidator(new GuiValidatore1252(casella));
}

GuiTestoMultiriga::GuiTestoMultiriga(QWidget* parent) : QPlainTextEdit(parent) {}

void GuiTestoMultiriga::keyPressEvent(QKeyEvent* e) {
    if (!e->text().isEmpty() && !Win1252::Rappresentabile(e->text())) {
        QApplication::beep();
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void GuiTestoMultiriga::inputMethodEvent(QInputMethodEvent* e) {
    if (!Win1252::Rappresentabile(e->commitString())) {
        QApplication::beep();
        QInputMethodEvent vuoto(e->preeditString(), e->attributes());
        QPlainTextEdit::inputMethodEvent(&vuoto);
        return;
    }
    QPlainTextEdit::inputMethodEvent(e);
}

bool GuiTestoMultiriga::canInsertFromMimeData(const QMimeData* dati) const {
    return QPlainTextEdit::canInsertFromMimeData(dati) &&
           (!dati->hasText() || Win1252::Rappresentabile(dati->text()));
}

void GuiTestoMultiriga::insertFromMimeData(const QMimeData* dati) {
    if (dati->hasText() && !Win1252::Rappresentabile(dati->text())) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(dati);
}
