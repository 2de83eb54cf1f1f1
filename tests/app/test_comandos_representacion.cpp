// "C&omentario" and "Tabla" from the main window.
#include "principal_prueba.h"

#include "display/datos.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>

namespace qv::test {
namespace {

class Representacion : public PrincipalPrueba {
protected:
    void SetUp() override
    {
        Crear();
        AbrirConfiguracion();
        AbrirConjunto(3); // S0, S1, S2
    }
    static void Seleccionar(QDialog& d, const QStringList& nombres)
    {
        auto* l = d.findChild<QListWidget*>(QStringLiteral("SrcList"));
        ASSERT_NE(l, nullptr);
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setSelected(nombres.contains(l->item(i)->text()));
    }
    QList<TfrmDatos*> Tablas() const
    {
        QList<TfrmDatos*> r;
        for (QMdiSubWindow* s : ventana->AreaVentanas().subWindowList())
            if (auto* t = qobject_cast<TfrmDatos*>(s->widget()))
                r << t;
        return r;
    }
};

TEST_F(Representacion, ComentarioEditaElDelConjunto)
{
    ventana->Estado().Senales()->Comentario = {QStringLiteral("antes")};
    modal.accion = [](QDialog& d) {
        auto* memo = d.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        EXPECT_NE(memo, nullptr);
        EXPECT_EQ(memo->toPlainText(), QStringLiteral("antes"));
        memo->setPlainText(QStringLiteral("despues"));
        d.findChild<QAction*>(QStringLiteral("Guardar1"))->trigger();
        d.close();
    };
    Accion("Comentario2")->trigger();
    EXPECT_EQ(modal.vistos, QStringList{"frmEdit"});
    EXPECT_EQ(ventana->Estado().Senales()->Comentario, QStringList{"despues"});
    EXPECT_TRUE(ventana->Estado().Modificado());
    EXPECT_TRUE(Activo("GuardarArchivo1"));
}

TEST_F(Representacion, TablaDeLasSenalesElegidas)
{
    NuevaHija(TTipoVentana::Analogica);
    ASSERT_TRUE(Activo("VentanadeDatos1"));

    // Nothing chosen: text 218, no window.
    modal.accion = [](QDialog& d) {
        Pulsar(d, "OKBtn");
    };
    Accion("VentanadeDatos1")->trigger();
    EXPECT_EQ(interaccion.Textos(), QStringList{"T218"});
    EXPECT_EQ(interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Error);
    EXPECT_TRUE(Tablas().isEmpty());

    modal.accion = [](QDialog& d) {
        Seleccionar(d, {QStringLiteral("S2"), QStringLiteral("S0")});
        Pulsar(d, "IncludeBtn");
        Pulsar(d, "OKBtn");
    };
    Accion("VentanadeDatos1")->trigger();
    ASSERT_EQ(Tablas().size(), 1);
    TfrmDatos& tabla = *Tablas().front();
    EXPECT_EQ(tabla.Elegidas(), (QStringList{"S2", "S0"}));
    EXPECT_EQ(tabla.Otras(), QStringList{"S1"});
    EXPECT_EQ(ventana->HijaActiva(), &tabla);
    // The data table takes the representation group away while it is active.
    EXPECT_FALSE(Activo("Representacion1"));
    EXPECT_FALSE(Activo("Abrir1"));

    // A rename reaches the table as it reaches the signal windows.
    ventana->Estado().Senales()->RenombrarAna(QStringLiteral("S2"), QStringLiteral("Nuevo"));
    ventana->Estado().AvisarRenombrada(QStringLiteral("S2"), QStringLiteral("Nuevo"));
    EXPECT_EQ(tabla.Elegidas(), (QStringList{"Nuevo", "S0"}));
    EXPECT_EQ(tabla.Celda(1, 1), QStringLiteral("0.0000"));
    // A signal deleted elsewhere leaves the table too.
    ventana->Estado().Senales()->BorrarAna(QStringLiteral("S0"));
    ventana->Estado().AvisarQuitadas({QStringLiteral("S0")});
    EXPECT_EQ(tabla.Elegidas(), QStringList{"Nuevo"});
    EXPECT_EQ(tabla.ColCount(), 2);
}

TEST_F(Representacion, BorrarDesdeLaTablaLlegaALasVentanas)
{
    THijaPrueba* hija = NuevaHija(TTipoVentana::Analogica);
    interaccion.respuestas = {Respuesta::Si};
    modal.accion = [](QDialog& d) {
        Seleccionar(d, {QStringLiteral("S1")});
        Pulsar(d, "DestroyBtn");
        Pulsar(d, "CancelBtn");
    };
    // Heard as the state's own signal, which the windows follow.
    QSignalSpy quitadas(&ventana->Estado(), &TEstadoPrograma::SenalesQuitadas);
    QSignalSpy sustituido(&ventana->Estado(), &TEstadoPrograma::ConjuntoSustituido);
    Accion("VentanadeDatos1")->trigger();
    EXPECT_FALSE(ventana->Estado().Senales()->Existe(QStringLiteral("S1")));
    ASSERT_EQ(quitadas.size(), 1);
    EXPECT_EQ(quitadas.front().front().toStringList(), QStringList{"S1"});
    EXPECT_EQ(sustituido.size(), 0); // the set itself stays
    EXPECT_EQ(hija->quitadas, QStringList{"S1"});
    EXPECT_TRUE(ventana->Estado().Modificado());
    EXPECT_TRUE(Tablas().isEmpty());
}

} // namespace
} // namespace qv::test
