#pragma once

#include <QByteArray>
#include <vector>

class QObject;
class QWidget;

namespace qv {

class TTextos;

// One language text of a form: the key, the object name of the control (empty for the
// form itself) and the property that receives the text.
struct TTextoControl {
    int clave;
    const char* objeto;
    const char* propiedad; // "windowTitle", "text", "toolTip", "title", "nameFilters", ...
};

// The table of form F (keys F x 1000 + n), in the order the form requests them.
// Forms without a table give an empty one.
const std::vector<TTextoControl>& TablaFormulario(int formulario);

// Every form number that has a table, ascending.
std::vector<int> FormulariosConTabla();

// Where one entry of a table lands in a widget tree: the object and the property that
// receive the text. Null object when the form lacks that control. Tests read the
// texts back through it.
struct TDestinoTexto {
    QObject* objeto = nullptr;
    QByteArray propiedad;
};
TDestinoTexto DestinoTexto(QWidget& formulario, const TTextoControl& t);

// Applies the table of form F to a widget tree: each text is looked up with LeerTexto
// (mostly ascending keys, so most lookups read forward) and assigned to the control,
// QAction or QMenu of that object name. Run from every form's showing.
void AplicarTextosFormulario(QWidget& formulario, int numero, TTextos& textos);

// The same with a table given directly (forms whose table is built at run time, tests).
void AplicarTextosFormulario(QWidget& formulario, const std::vector<TTextoControl>& tabla,
                             TTextos& textos);

} // namespace qv
