#include "channels/campos.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/formatos.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// "The value typed is not a number. Correct the box", followed by the box's caption.
constexpr int kTextoNoNumero = 19060;

bool NoEsNumero(QLineEdit& caja, TInteraccion& interaccion, TTextos& textos)
{
    const QString texto = textos.BuscarTexto(kTextoNoNumero) + QStringLiteral(" \"")
                          + NombreDeCaja(caja) + QStringLiteral("\"");
    interaccion.MostrarAviso(texto, Botones::Aceptar);
    caja.setFocus();
    caja.selectAll();
    return false;
}

} // namespace

void PonerFiltro(QLineEdit& caja, TFiltro filtro)
{
    QString patron;
    switch (filtro) {
    case TFiltro::Entero: patron = QStringLiteral("[0-9]*"); break;
    case TFiltro::Decimal: patron = QStringLiteral("[-0-9.]*"); break;
    // Names and unit words are single fields of the file records, which end at a
    // blank or "$"; the files are Latin-1.
    case TFiltro::Nombre: patron = QStringLiteral("[\\x21-\\x23\\x25-\\x7E\\xA1-\\xFF]*"); break;
    }
    caja.setValidator(new QRegularExpressionValidator(QRegularExpression(patron), &caja));
}

QLineEdit* NuevaCaja(const char* nombre, TFiltro filtro, QWidget* padre)
{
    auto* c = new QLineEdit(padre);
    c->setObjectName(QLatin1String(nombre));
    PonerFiltro(*c, filtro);
    return c;
}

QLabel* NuevaEtiqueta(const char* nombre, const QString& texto, QWidget* padre, QWidget* caja)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    l->setTextFormat(Qt::PlainText);
    if (caja)
        l->setBuddy(caja);
    return l;
}

QComboBox* NuevaCajaUnidades(const char* nombre, TTextos& textos, QWidget* padre)
{
    auto* c = new QComboBox(padre);
    c->setObjectName(QLatin1String(nombre));
    for (int clave = 193; clave <= 195; ++clave)
        c->addItem(textos.BuscarTexto(clave));
    return c;
}

QString NombreDeCaja(const QLineEdit& caja)
{
    const QWidget* ventana = caja.window();
    for (const QLabel* l : ventana->findChildren<QLabel*>()) {
        if (l->buddy() != &caja)
            continue;
        QString t = l->text();
        t.remove(QLatin1Char('&'));
        t = t.trimmed();
        if (t.endsWith(QLatin1Char(':')))
            t.chop(1);
        return t.trimmed();
    }
    return caja.objectName();
}

bool Avisar(TInteraccion& interaccion, TTextos& textos, int texto, QWidget* foco)
{
    interaccion.MostrarAviso(textos.BuscarTexto(texto), Botones::Aceptar);
    if (foco)
        foco->setFocus();
    return false;
}

std::optional<long long> EnteroDeCaja(QLineEdit& caja, TInteraccion& interaccion, TTextos& textos)
{
    const std::optional<qint64> v = LeerEntero(caja.text());
    if (!v) {
        NoEsNumero(caja, interaccion, textos);
        return std::nullopt;
    }
    return *v;
}

std::optional<double> RealDeCaja(QLineEdit& caja, TInteraccion& interaccion, TTextos& textos)
{
    const std::optional<double> v = LeerReal(caja.text());
    if (!v || !std::isfinite(*v)) {
        NoEsNumero(caja, interaccion, textos);
        return std::nullopt;
    }
    return *v;
}

std::optional<float> FloatDeCaja(QLineEdit& caja, TInteraccion& interaccion, TTextos& textos)
{
    const std::optional<double> v = LeerReal(caja.text());
    if (!v || !std::isfinite(float(*v))) {
        NoEsNumero(caja, interaccion, textos);
        return std::nullopt;
    }
    return float(*v);
}

QString SinCarpeta(const QString& ruta)
{
    const qsizetype corte = std::max(ruta.lastIndexOf(QLatin1Char('/')), ruta.lastIndexOf(QLatin1Char('\\')));
    return ruta.mid(corte + 1);
}

} // namespace qv
