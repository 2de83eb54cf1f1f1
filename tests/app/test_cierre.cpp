// The close sequence: the shared-unit question, the save question and what survives.
#include "principal_prueba.h"

namespace qv::test {
namespace {

using Cierre = PrincipalPrueba;
using Sabor = TInteraccionGuion::Sabor;

TEST_F(Cierre, SinNadaAbiertoCierraSinPreguntar)
{
    Crear();
    EXPECT_TRUE(ventana->close());
    EXPECT_FALSE(ventana->isVisible());
    EXPECT_TRUE(interaccion.mensajes.empty());
    EXPECT_TRUE(ventana->Estado().Cerrando);
    EXPECT_EQ(ventana->Estado().Enlace(), nullptr);
}

TEST_F(Cierre, CancelarConCambiosLoConservaTodo)
{
    Crear();
    AbrirConfiguracion();
    AbrirConjunto(2);
    NuevaHija(TTipoVentana::Analogica);
    ventana->Estado().MarcarModificado();
    interaccion.respuestas = {Respuesta::Cancelar};

    EXPECT_FALSE(ventana->close());
    EXPECT_TRUE(ventana->isVisible());
    ASSERT_EQ(interaccion.mensajes.size(), 1u);
    EXPECT_EQ(interaccion.mensajes[0].sabor, Sabor::Pregunta);
    EXPECT_EQ(interaccion.mensajes[0].texto, QStringLiteral("T210"));
    EXPECT_EQ(interaccion.mensajes[0].botones, Botones::SiNoCancelar);
    auto& e = ventana->Estado();
    EXPECT_TRUE(e.Modificado());
    ASSERT_NE(e.Senales(), nullptr);
    EXPECT_EQ(e.Senales()->NumAna(), 2);
    EXPECT_NE(e.Config(), nullptr);
    EXPECT_EQ(ventana->AreaVentanas().subWindowList().size(), 1);
    EXPECT_FALSE(e.Cerrando);
}

TEST_F(Cierre, CierreDeTituloONingunaRespuestaEsCancelar)
{
    Crear();
    AbrirConfiguracion();
    ventana->Estado().MarcarModificado();
    // 0: no box could be shown; anything that is neither "Si" nor "No" keeps the data.
    interaccion.respuestas = {Respuesta::Ninguna};
    EXPECT_FALSE(ventana->close());
    EXPECT_NE(ventana->Estado().Config(), nullptr);
}

TEST_F(Cierre, NoDescartaYCierra)
{
    Crear();
    AbrirConfiguracion();
    AbrirConjunto(1);
    NuevaHija(TTipoVentana::Analogica);
    ventana->Estado().MarcarModificado();
    interaccion.respuestas = {Respuesta::No};

    EXPECT_TRUE(ventana->close());
    auto& e = ventana->Estado();
    EXPECT_EQ(e.Senales(), nullptr);
    EXPECT_EQ(e.Config(), nullptr);
    EXPECT_FALSE(e.Modificado());
    EXPECT_TRUE(ventana->AreaVentanas().subWindowList().isEmpty());
}

TEST_F(Cierre, SiSinGuardarNoCierra)
{
    Crear();
    AbrirConfiguracion();
    ventana->Estado().MarcarModificado();
    interaccion.respuestas = {Respuesta::Si};
    // The save did not take place (nothing could be written): the data stays.
    EXPECT_FALSE(ventana->close());
    EXPECT_TRUE(ventana->Estado().Modificado());
    EXPECT_NE(ventana->Estado().Config(), nullptr);
}

TEST_F(Cierre, CerrarSinCambiosRestauraElTitulo)
{
    Crear();
    AbrirConfiguracion();
    AbrirConjunto(1);
    ventana->Estado().FicheroAbierto = QStringLiteral("/tmp/a.qvn");
    ventana->setWindowTitle(QStringLiteral("QUORVANE - a.qvn"));
    ventana->findChild<QAction*>(QStringLiteral("Cerrar"))->trigger();
    EXPECT_TRUE(interaccion.mensajes.empty());
    EXPECT_EQ(ventana->Estado().Config(), nullptr);
    EXPECT_EQ(ventana->Estado().FicheroAbierto, TEstadoPrograma::SinFicheroSenales);
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("T1000"));
    EXPECT_FALSE(Activo("Cerrar"));
    EXPECT_TRUE(ventana->isVisible());
}

TEST_F(Cierre, UnidadCompartidaRetenida)
{
    puesto.multipuesto = true;
    Crear();
    ventana->PonerSADOcupado(true);
    AbrirConfiguracion();

    // "Cancelar" at the release question: nothing else is asked, nothing closes.
    interaccion.respuestas = {Respuesta::Cancelar};
    EXPECT_FALSE(ventana->close());
    ASSERT_EQ(interaccion.mensajes.size(), 1u);
    EXPECT_EQ(interaccion.mensajes[0].sabor, Sabor::Informacion);
    EXPECT_EQ(interaccion.mensajes[0].texto, QStringLiteral("T276"));
    EXPECT_EQ(interaccion.mensajes[0].botones, Botones::AceptarCancelar);
    EXPECT_TRUE(ventana->SADOcupado());

    // A modified set is asked about first: kept, it keeps the unit held too.
    ventana->Estado().MarcarModificado();
    interaccion.mensajes.clear();
    interaccion.respuestas = {Respuesta::Cancelar};
    EXPECT_FALSE(ventana->close());
    ASSERT_EQ(interaccion.mensajes.size(), 1u);
    EXPECT_EQ(interaccion.mensajes[0].texto, QStringLiteral("T210"));
    EXPECT_TRUE(ventana->SADOcupado());

    interaccion.respuestas = {Respuesta::No, Respuesta::Aceptar};
    EXPECT_TRUE(ventana->close());
    EXPECT_FALSE(ventana->SADOcupado());
}

TEST_F(Cierre, MonopuestoNoPreguntaPorLaUnidad)
{
    Crear();
    ventana->PonerSADOcupado(true); // cannot happen on a single station; no question anyway
    EXPECT_TRUE(ventana->close());
    EXPECT_TRUE(interaccion.mensajes.empty());
}

} // namespace
} // namespace qv::test
