#pragma once

// Acting on a form's controls by object name as a person would: typing goes through
// key events (so validators and key filters run), clicks through the controls' own
// click paths. Each helper fails the test, and answers false, when the control is
// missing, of another kind, hidden or disabled.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

namespace qv::test {

// The control of that name and kind, usable: found, shown with its window, enabled.
template <class T>
T* Control(QWidget& raiz, const char* nombre)
{
    auto* w = raiz.findChild<QWidget*>(QString::fromLatin1(nombre));
    if (w == nullptr) {
        ADD_FAILURE() << "no control " << nombre;
        return nullptr;
    }
    auto* c = qobject_cast<T*>(w);
    if (c == nullptr) {
        ADD_FAILURE() << nombre << " is a " << w->metaObject()->className();
        return nullptr;
    }
    if (!c->isVisibleTo(c->window())) {
        ADD_FAILURE() << nombre << " is hidden";
        return nullptr;
    }
    if (!c->isEnabled()) {
        ADD_FAILURE() << nombre << " is disabled";
        return nullptr;
    }
    return c;
}

// Replaces the text of a line edit or a spin box by typing `texto` key by key; the
// old text is selected and erased with Backspace first, as a person would.
inline bool Escribir(QWidget& raiz, const char* nombre, const QString& texto)
{
    QWidget* w = Control<QWidget>(raiz, nombre);
    if (w == nullptr)
        return false;
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->selectAll();
        if (e->hasSelectedText())
            QTest::keyClick(e, Qt::Key_Backspace);
    } else if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) {
        s->selectAll();
        QTest::keyClick(s, Qt::Key_Backspace);
    } else {
        ADD_FAILURE() << nombre << " takes no typing";
        return false;
    }
    QTest::keyClicks(w, texto);
    return true;
}

// Ticks or clears a check box (or a radio button) by clicking it when needed.
inline bool Marcar(QWidget& raiz, const char* nombre, bool marcado = true)
{
    auto* b = Control<QAbstractButton>(raiz, nombre);
    if (b == nullptr)
        return false;
    if (!b->isCheckable()) {
        ADD_FAILURE() << nombre << " cannot be ticked";
        return false;
    }
    if (b->isChecked() != marcado)
        b->click();
    return b->isChecked() == marcado;
}

// Chooses the entry of that text in a combo box (as a pick from its list: current
// index, then "activated") or the item of that text in a list (a click on it).
inline bool Elegir(QWidget& raiz, const char* nombre, const QString& texto)
{
    QWidget* w = Control<QWidget>(raiz, nombre);
    if (w == nullptr)
        return false;
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        const int i = c->findText(texto);
        if (i < 0) {
            ADD_FAILURE() << nombre << " has no entry " << texto.toStdString();
            return false;
        }
        c->setCurrentIndex(i);
        Q_EMIT c->activated(i);
        Q_EMIT c->textActivated(texto);
        return true;
    }
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        const auto items = l->findItems(texto, Qt::MatchExactly);
        if (items.isEmpty()) {
            ADD_FAILURE() << nombre << " has no item " << texto.toStdString();
            return false;
        }
        QListWidgetItem* item = items.first();
        if (l->isVisible()) {
            l->scrollToItem(item);
            QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, l->visualItemRect(item).center());
        } else {
            l->setCurrentItem(item); // not laid out yet: nowhere to click
        }
        return item->isSelected();
    }
    ADD_FAILURE() << nombre << " has nothing to choose";
    return false;
}

// Presses a button (push, tool, check or radio button).
inline bool Pulsar(QWidget& raiz, const char* nombre)
{
    auto* b = Control<QAbstractButton>(raiz, nombre);
    if (b == nullptr)
        return false;
    b->click();
    return true;
}

} // namespace qv::test
