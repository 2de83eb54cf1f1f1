#pragma once

// Fixture of the generator dialogs', table editor's and channel windows' tests: the
// stand-in main window with its scripted seams, a working configuration and a folder
// for table files.

#include "common/controles.h"
#include "common/principal_prueba.h"
#include "model/config_es.h"
#include "model/generadores.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qv::test {

class CanalesPrueba : public ::testing::Test {
protected:
    TPrincipalPrueba principal;
    TTextos& textos = principal.textos;
    TInteraccionGuion& interaccion = principal.interaccion;
    TModalPrueba& modal = principal.modal;
    TDialogosGuion& dialogos = principal.dialogos;
    TConfigES config;
    QTemporaryDir dir;

    // Texts of the messages shown, in order.
    QStringList Mensajes() const { return interaccion.Textos(); }
    static QString T(int clave) { return QStringLiteral("T%1").arg(clave); }

    QString Ruta(const QString& nombre) const { return dir.filePath(nombre); }
    QString Fichero(const QString& nombre, const QByteArray& datos) const
    {
        QFile f(Ruta(nombre));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(datos);
        return Ruta(nombre);
    }
    static QByteArray Leer(const QString& ruta)
    {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // State of controls that may be disabled or read-only.
    static QString Texto(QWidget& d, const char* nombre)
    {
        auto* e = d.findChild<QLineEdit*>(QLatin1String(nombre));
        EXPECT_NE(e, nullptr) << nombre;
        return e ? e->text() : QString();
    }
    static bool Habilitado(QWidget& d, const char* nombre)
    {
        auto* w = d.findChild<QWidget*>(QLatin1String(nombre));
        EXPECT_NE(w, nullptr) << nombre;
        return w && w->isEnabled();
    }
    static QString Foco(QWidget& d) { return d.focusWidget() ? d.focusWidget()->objectName() : QString(); }

    // One of a generator's own numbers by its field name.
    static float Parametro(const TGenerador& g, const char* nombre)
    {
        for (const TParametroGenerador& p : g.Parametros())
            if (QLatin1String(p.nombre) == QLatin1String(nombre))
                return p.valor;
        ADD_FAILURE() << "no parameter " << nombre;
        return 0;
    }
};

} // namespace qv::test
