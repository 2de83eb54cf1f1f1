#include "common/controles.h"
#include "common/interaccion_guion.h"
#include "common/modal_prueba.h"
#include "lang/ui/cambiar_nombre.h"
#include "lang/ui/conexion.h"
#include "lang/ui/mensaje.h"
#include "lang/ui/textos_formularios.h"
#include "lang/ui/interaccion_qt.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Escribir;
using test::Pulsar;
using test::TModalPrueba;
using test::TTextosFijos;

class Dialogos : public ::testing::Test {
protected:
    TTextosFijos textos;
    TModalPrueba modal;
    TInteraccionQt interaccion{textos, modal};
};

TEST_F(Dialogos, NameClashAnswersTypedNameClashingNameOrOmitir)
{
    QString titulo, rotulo, inicial;
    modal.accion = [&](QDialog& d) {
        titulo = d.windowTitle();
        rotulo = d.findChild<QLabel*>(QStringLiteral("LNombre"))->text();
        inicial = d.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text();
        Escribir(d, "Edit1", QStringLiteral("Seno2"));
        Pulsar(d, "OKBtn");
    };
    EXPECT_EQ(interaccion.PedirNombreNuevo(QStringLiteral("Seno")), "Seno2");
    EXPECT_EQ(rotulo, "Seno");
    EXPECT_EQ(inicial, "Seno");
    EXPECT_FALSE(titulo.isEmpty());

    modal.accion = [](QDialog& d) {
        Escribir(d, "Edit1", QString());
        Pulsar(d, "OKBtn");
    };
    EXPECT_EQ(interaccion.PedirNombreNuevo(QStringLiteral("Seno")), "Seno");

    modal.accion = [](QDialog& d) {
        Escribir(d, "Edit1", QStringLiteral("Otro"));
        Pulsar(d, "CancelBtn");
    };
    EXPECT_EQ(interaccion.PedirNombreNuevo(QStringLiteral("Seno")), "Omitir");

    modal.accion = [](QDialog& d) { d.close(); };
    EXPECT_EQ(interaccion.PedirNombreNuevo(QStringLiteral("Seno")), "Omitir");

    // The help button does not end the dialog.
    modal.accion = [](QDialog& d) {
        Pulsar(d, "HelpBtn");
        EXPECT_TRUE(d.isVisible());
        Pulsar(d, "OKBtn");
    };
    EXPECT_EQ(interaccion.PedirNombreNuevo(QStringLiteral("Rampa")), "Rampa");
}

TEST_F(Dialogos, PresenceDialogAnswersRetryAbortIgnore)
{
    const std::vector<std::pair<const char*, int>> casos = {
        {"BtnReintentar", Respuesta::Reintentar},
        {"BtnAbortar", Respuesta::Abortar},
        {"BtnIgnorar", Respuesta::Ignorar},
    };
    for (const auto& [boton, respuesta] : casos) {
        modal.accion = [b = boton](QDialog& d) { Pulsar(d, b); };
        EXPECT_EQ(interaccion.PreguntarPresencia(), respuesta) << boton;
    }
    // Closing it otherwise stops the sequence rather than retrying without end.
    modal.accion = [](QDialog& d) { d.close(); };
    EXPECT_EQ(interaccion.PreguntarPresencia(), Respuesta::Abortar);
}

TEST_F(Dialogos, PresenceMessageStaysCentredWhenResized)
{
    TfrmConexion d(interaccion.Contexto());
    auto* l = d.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(l, nullptr);
    for (int ancho : {300, 520, 777}) {
        d.resize(ancho, 120);
        d.show();
        const int izquierda = l->x();
        const int derecha = ancho - (l->x() + l->width());
        EXPECT_LE(std::abs(izquierda - derecha), 1) << ancho;
    }
    d.hide();

    // A message longer than the window widens it: the text shows whole, between margins.
    struct TTextoLargo : TTextosFijos {
        QString BuscarTexto(int clave) const override
        {
            return clave == 6001 ? QString(120, QLatin1Char('x')) : TTextosFijos::BuscarTexto(clave);
        }
        QString LeerTexto(int clave) const override { return BuscarTexto(clave); }
    } textoLargo;
    TInteraccionQt otra(textoLargo, modal);
    TfrmConexion larga(otra.Contexto());
    larga.show();
    auto* m = larga.findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_EQ(m->text().size(), 120);
    EXPECT_GE(m->x(), 20);
    EXPECT_LE(m->x() + m->width(), larga.width() - 20);
    larga.hide();
}

TEST_F(Dialogos, PlainMessageShowsTextAndCloses)
{
    QString visto;
    modal.accion = [&](QDialog& d) {
        visto = d.findChild<QLabel*>(QStringLiteral("texto"))->text();
        Pulsar(d, "OKBtn");
    };
    interaccion.MensajePlano(QStringLiteral("No se puede abrir el puerto"));
    EXPECT_EQ(visto, "No se puede abrir el puerto");
    EXPECT_EQ(modal.Ejecuciones(), 1);
}

TEST_F(Dialogos, BusyCursorNests)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    interaccion.CursorOcupado(true);
    interaccion.CursorOcupado(true);
    interaccion.CursorOcupado(false);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    interaccion.CursorOcupado(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // An unmatched "not busy" must not pop a cursor someone else set.
    QApplication::setOverrideCursor(Qt::CrossCursor);
    interaccion.CursorOcupado(false);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();

    {
        TInteraccionQt otra(textos, modal);
        otra.CursorOcupado(true);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The form tables and these dialogs must agree on object names, or a translation
// silently leaves the built-in caption in place.
TEST_F(Dialogos, EveryTableEntryOfTheseDialogsFindsItsControl)
{
    TfrmConexion conexion(interaccion.Contexto());
    TfrmMensaje mensaje(interaccion.Contexto());
    TfrmCambiarNombre cambiar(interaccion.Contexto(), QStringLiteral("Seno"));
    const std::vector<std::pair<int, QDialog*>> formularios = {
        {6, &conexion}, {28, &mensaje}, {42, &cambiar}};
    for (const auto& [numero, dialogo] : formularios) {
        const auto& tabla = TablaFormulario(numero);
        EXPECT_FALSE(tabla.empty()) << numero;
        for (const TTextoControl& t : tabla) {
            if (*t.objeto == '\0')
                continue;
            EXPECT_NE(dialogo->findChild<QObject*>(QString::fromLatin1(t.objeto)), nullptr)
                << "form " << numero << " " << t.objeto;
        }
    }
}

} // namespace
} // namespace qv
