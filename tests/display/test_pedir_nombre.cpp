// The signal-name dialog, reached as a user does, from the calculator's "Pasar": the
// checks of every name box of the program, each try in the same open dialog, and the
// exported table whose header the accepted name must not split.
#include "display/calculadora_analogica.h"
#include "display/display_prueba.h"
#include "model/exportar.h"

#include <QLineEdit>

namespace qv::test {
namespace {

TEST_F(DisplayPrueba, NombreDeSenalConLasComprobacionesDeLasOtrasCajas)
{
    Ana(QStringLiteral("A"), 0.001, {1, 2, 4});
    Ana(QStringLiteral("B"), 0.001, {10, 20, 30});
    TfrmCalcuAna c(p, &p.ventana);
    c.show();
    ASSERT_TRUE(Elegir(c, "SenalesListBox", QStringLiteral("A")));
    Pulsar(c, "spBtnIntegral");
    Pulsar(c, "SpBtnResultado");

    struct Caso {
        QString nombre;
        bool pegado; // set as a paste would, past the typing filter
        QString aviso;
    };
    const Caso casos[] = {
        {QString(), false, QStringLiteral("T119")},
        {QStringLiteral("a b"), true, QStringLiteral("T11002")},
        {QStringLiteral("Mi$"), true, QStringLiteral("T11002")},
        {QStringLiteral("B"), false, QStringLiteral("T112")},
        {QStringLiteral("In t$eg"), false, QString()}, // typed: the blank and "$" never get in
    };
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), [&](QDialog& d) {
        for (const Caso& k : casos) {
            SCOPED_TRACE(k.nombre.toStdString());
            p.interaccion.mensajes.clear();
            if (k.pegado)
                De<QLineEdit>(d, "Edit1").setText(k.nombre);
            else
                Escribir(d, "Edit1", k.nombre);
            Pulsar(d, "OKBtn");
            EXPECT_EQ(p.interaccion.Textos(), k.aviso.isEmpty() ? QStringList() : QStringList{k.aviso});
            // A refused name stays in the open dialog for another try.
            EXPECT_EQ(d.isVisible(), !k.aviso.isEmpty());
        }
    });
    Pulsar(c, "SpBtnPasar");
    EXPECT_EQ(p.modal.Pendientes(), 0);

    ASSERT_NE(Conjunto().BuscarAna(QStringLiteral("Integ")), nullptr);
    EXPECT_EQ(Conjunto().NumAna(), 3);
    // The header of the text table: number, time and one field per signal.
    const QList<QByteArray> lineas = ExportarTexto(Conjunto()).split('\n');
    ASSERT_GT(lineas.size(), 4);
    EXPECT_EQ(lineas[4].simplified().split(' '),
              (QList<QByteArray>{"T235", "T236", "Integ", "B", "A"}));
}

} // namespace
} // namespace qv::test
