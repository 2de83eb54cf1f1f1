#include "lang/ui/textos_formularios.h"

#include "lang/textos.h"

#include <QAction>
#include <QByteArray>
#include <QMetaObject>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

namespace qv {

namespace {

QObject* BuscarObjeto(QWidget& formulario, const char* nombre)
{
    if (nombre == nullptr || *nombre == '\0')
        return &formulario;
    const QString n = QString::fromLatin1(nombre);
    if (QObject* o = formulario.findChild<QObject*>(n))
        return o;
    return formulario.objectName() == n ? &formulario : nullptr;
}

// Tables name the usual property; a menu or a group box shows its text as "title" and
// an action or a button has no "title", so the two are taken as one when the control
// lacks the named one. Any other unknown name becomes a dynamic property (dialog filters).
QByteArray PropiedadEfectiva(const QObject& o, const QByteArray& propiedad)
{
    const QMetaObject* mo = o.metaObject();
    if (mo->indexOfProperty(propiedad.constData()) >= 0)
        return propiedad;
    if (propiedad == "text" && mo->indexOfProperty("title") >= 0)
        return QByteArrayLiteral("title");
    if (propiedad == "title" && mo->indexOfProperty("text") >= 0)
        return QByteArrayLiteral("text");
    return propiedad;
}

} // namespace

TDestinoTexto DestinoTexto(QWidget& formulario, const TTextoControl& t)
{
    QObject* o = BuscarObjeto(formulario, t.objeto);
    if (o == nullptr)
        return {};
    QByteArray propiedad(t.propiedad);
    // A tool button that shows an action (one command shared with a menu item)
    // takes its caption and hint through the action, or the next change of the
    // action would overwrite them: the caption is the action's icon text.
    if (auto* b = qobject_cast<QToolButton*>(o); b && b->defaultAction()) {
        o = b->defaultAction();
        if (propiedad == "text")
            propiedad = "iconText";
    }
    return {o, PropiedadEfectiva(*o, propiedad)};
}

void AplicarTextosFormulario(QWidget& formulario, const std::vector<TTextoControl>& tabla,
                             TTextos& textos)
{
    for (const TTextoControl& t : tabla) {
        if (t.propiedad == nullptr || *t.propiedad == '\0')
            continue;
        const TDestinoTexto d = DestinoTexto(formulario, t);
        if (d.objeto == nullptr)
            continue; // a control this build of the form lacks
        d.objeto->setProperty(d.propiedad.constData(), textos.LeerTexto(t.clave));
    }
}

void AplicarTextosFormulario(QWidget& formulario, int numero, TTextos& textos)
{
    AplicarTextosFormulario(formulario, TablaFormulario(numero), textos);
}

} // namespace qv
