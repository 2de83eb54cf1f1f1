// The table editor: values checked by type, files written and read back, load errors,
// and the questions before unsaved changes are dropped.
#include "generadores_prueba.h"

#include "channels/editor_tablas.h"

#include <QDir>
#include <QFileInfo>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QValidator>

#include <unistd.h>

namespace qv::test {
namespace {

class EditorTablas : public CanalesPrueba {
protected:
    void SetUp() override { editor.show(); }

    QTableWidget& Rejilla() { return *Control<QTableWidget>(editor, "SGrid"); }

    // Sets the count and the value cells as typed by the operator.
    void Valores(const QStringList& v)
    {
        Control<QSpinBox>(editor, "SENumVal")->setValue(int(v.size()));
        for (int i = 0; i < v.size(); ++i)
            Rejilla().item(i, 1)->setText(v[i]);
    }
    QStringList Celdas()
    {
        QStringList r;
        for (int i = 0; i < Rejilla().rowCount(); ++i)
            r << Rejilla().item(i, 0)->text() + QLatin1Char('=') + Rejilla().item(i, 1)->text();
        return r;
    }
    void Digital() { Control<QRadioButton>(editor, "RBDigital")->click(); }

    TfrmEditTab editor{principal};
};

TEST_F(EditorTablas, TablaGuardadaYLeidaDeNuevo)
{
    EXPECT_FALSE(Habilitado(editor, "SBGuardar"));
    EXPECT_FALSE(Habilitado(editor, "SBGuardarComo"));
    Valores({"1.5", "-10", "10"});
    EXPECT_TRUE(editor.Modificado());
    const QString f = Ruta("tabla.tba");
    dialogos.guardar.push_back(f);
    Pulsar(editor, "SBGuardarComo");
    EXPECT_TRUE(Mensajes().isEmpty()) << Mensajes().join('|').toStdString();
    EXPECT_EQ(Leer(f), QByteArray("3\r\n1.5\r\n-10\r\n10\r\n"));
    EXPECT_FALSE(editor.Modificado());
    EXPECT_FALSE(Habilitado(editor, "SBGuardar"));
    EXPECT_EQ(editor.Fichero(), f);

    // "Guardar" then writes to the same file without asking.
    Rejilla().item(1, 1)->setText("-9");
    Pulsar(editor, "SBGuardar");
    EXPECT_EQ(Leer(f), QByteArray("3\r\n1.5\r\n-9\r\n10\r\n"));
    EXPECT_TRUE(dialogos.guardar.empty());

    TfrmEditTab otro(principal);
    otro.show();
    Control<QRadioButton>(otro, "RBDigital")->click();
    dialogos.abrir.push_back(f);
    Pulsar(otro, "SBEditar");
    auto& g = *Control<QTableWidget>(otro, "SGrid");
    ASSERT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.item(0, 1)->text(), QStringLiteral("1.5000"));
    EXPECT_EQ(g.item(1, 1)->text(), QStringLiteral("-9.0000"));
    EXPECT_EQ(g.item(2, 0)->text(), QStringLiteral("3"));
    EXPECT_EQ(Control<QSpinBox>(otro, "SENumVal")->value(), 3);
    EXPECT_TRUE(Control<QRadioButton>(otro, "RBAnalogica")->isChecked()); // whatever the file holds
    EXPECT_EQ(g.horizontalHeaderItem(1)->text(), T(222));
    EXPECT_FALSE(otro.Modificado());
    EXPECT_TRUE(Habilitado(otro, "SBGuardarComo"));
}

TEST_F(EditorTablas, ValoresFueraDeSuTipo)
{
    const QString f = Ruta("d.tba");
    Digital();
    EXPECT_EQ(Rejilla().horizontalHeaderItem(1)->text(), T(230));
    Valores({"0.4", "1.4", "0.6", "-0.4"});
    dialogos.guardar.push_back(f);
    Pulsar(editor, "SBGuardarComo");
    // Each value is written as the bit it was accepted as.
    EXPECT_EQ(Leer(f), QByteArray("4\r\n0\r\n1\r\n1\r\n0\r\n"));

    Rejilla().item(3, 1)->setText("2");
    Pulsar(editor, "SBGuardar");
    EXPECT_EQ(Mensajes(), QStringList{T(224)});
    EXPECT_EQ(interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Error);
    EXPECT_EQ(Rejilla().currentRow(), 3);
    EXPECT_EQ(Leer(f), QByteArray("4\r\n0\r\n1\r\n1\r\n0\r\n")); // nothing written

    Control<QRadioButton>(editor, "RBAnalogica")->click();
    Valores({"10", "-10", "10.5"});
    Pulsar(editor, "SBGuardar");
    EXPECT_EQ(Mensajes().last(), T(225));
    Rejilla().item(2, 1)->setText("");
    Pulsar(editor, "SBGuardar");
    EXPECT_EQ(Mensajes().last(), T(225)); // an empty cell is no value either
    Rejilla().item(2, 1)->setText("9.99");
    Pulsar(editor, "SBGuardar");
    EXPECT_EQ(Leer(f), QByteArray("3\r\n10\r\n-10\r\n9.99\r\n"));

    // Cells filter keystrokes as number boxes do.
    QStyleOptionViewItem opcion;
    std::unique_ptr<QWidget> celda(Rejilla().itemDelegateForColumn(1)->createEditor(
        Rejilla().viewport(), opcion, Rejilla().model()->index(0, 1)));
    auto* caja = qobject_cast<QLineEdit*>(celda.get());
    ASSERT_NE(caja, nullptr);
    QString t = QStringLiteral("1e3");
    int pos = 0;
    EXPECT_EQ(caja->validator()->validate(t, pos), QValidator::Invalid);
}

// Saving writes a new file and renames it over the old one: a second name of the old
// file (a hard link) keeps the old table, and a save that fails leaves it untouched.
TEST_F(EditorTablas, GuardarReemplazaElFicheroSinTocarElViejo)
{
    const QString f = Fichero("t.tba", "1\r\n4\r\n");
    const QString enlace = Ruta("t-enlace.tba");
    ASSERT_EQ(::link(QFile::encodeName(f).constData(), QFile::encodeName(enlace).constData()), 0);
    ASSERT_TRUE(editor.CargarFichero(f));
    Rejilla().item(0, 1)->setText("5");
    Pulsar(editor, "SBGuardar");
    EXPECT_EQ(Leer(f), QByteArray("1\r\n5\r\n"));
    EXPECT_EQ(Leer(enlace), QByteArray("1\r\n4\r\n"));

    // A name that is a folder cannot be replaced: said, and the table stays unsaved.
    const QString carpeta = Ruta("carpeta.tba");
    ASSERT_TRUE(QDir().mkdir(carpeta));
    Rejilla().item(0, 1)->setText("6");
    dialogos.guardar.push_back(carpeta);
    Pulsar(editor, "SBGuardarComo");
    ASSERT_FALSE(Mensajes().isEmpty());
    EXPECT_TRUE(Mensajes().last().startsWith(T(243))) << Mensajes().last().toStdString();
    EXPECT_TRUE(editor.Modificado());
    EXPECT_EQ(editor.Fichero(), f);
    EXPECT_TRUE(QFileInfo(carpeta).isDir());
}

TEST_F(EditorTablas, GuardarComoConLaPrimeraCeldaVacia)
{
    Control<QSpinBox>(editor, "SENumVal")->setValue(2);
    Rejilla().item(1, 1)->setText("1");
    Pulsar(editor, "SBGuardarComo");
    EXPECT_EQ(Mensajes(), QStringList{T(223)});
    EXPECT_EQ(interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Aviso);
    EXPECT_TRUE(dialogos.llamadas.empty()); // no file box was shown
}

TEST_F(EditorTablas, FicherosQueNoSeLeen)
{
    Valores({"1", "2"});
    EXPECT_FALSE(editor.CargarFichero(Ruta("falta.tba")));
    EXPECT_EQ(Mensajes(), QStringList{T(219)});
    EXPECT_FALSE(editor.CargarFichero(Fichero("a.tba", "tres\r\n1\r\n")));
    EXPECT_EQ(Mensajes().last(), T(120));
    EXPECT_EQ(Celdas(), (QStringList{"1=1", "2=2"})); // still the typed table

    EXPECT_FALSE(editor.CargarFichero(Fichero("b.tba", "5\r\n1\r\n2\r\n")));
    EXPECT_EQ(Mensajes().last(), T(220));
    EXPECT_EQ(Celdas(), QStringList{"1="}); // emptied as by "Nueva"

    // A line that is no number reads as 0.
    ASSERT_TRUE(editor.CargarFichero(Fichero("c.tba", "2\r\nx\r\n-3.25\r\n")));
    EXPECT_EQ(Celdas(), (QStringList{"1=0.0000", "2=-3.2500"}));
}

TEST_F(EditorTablas, CambiosSinGuardarPreguntanAntesDePerderse)
{
    const QString otra = Fichero("otra.tba", "1\r\n5\r\n");
    Valores({"1"});
    // Opening another table: "Cancelar" keeps this one.
    interaccion.respuestas = {Respuesta::Cancelar};
    dialogos.abrir.push_back(otra);
    Pulsar(editor, "SBEditar");
    EXPECT_EQ(Mensajes(), QStringList{T(179)});
    EXPECT_EQ(Celdas(), QStringList{"1=1"});

    // "Si" with a table that cannot be saved (a digital 7): nothing is thrown away.
    Digital();
    Rejilla().item(0, 1)->setText("7");
    interaccion.respuestas = {Respuesta::Si};
    dialogos.abrir.push_back(otra);
    Pulsar(editor, "SBEditar");
    EXPECT_EQ(Mensajes().last(), T(224));
    EXPECT_EQ(Celdas(), QStringList{"1=7"});

    // Closing: "Cancelar" stays open, "No" closes without saving.
    interaccion.respuestas = {Respuesta::Cancelar};
    editor.close();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(Mensajes().last(), T(178));
    interaccion.respuestas = {Respuesta::No};
    Pulsar(editor, "SpeedButton1");
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(EditorTablas, NuevaVaciaYConservaElNombre)
{
    const QString f = Fichero("t.tba", "2\r\n1\r\n2\r\n");
    ASSERT_TRUE(editor.CargarFichero(f));
    Pulsar(editor, "SBNueva"); // unchanged: no question
    EXPECT_TRUE(Mensajes().isEmpty());
    EXPECT_EQ(Celdas(), QStringList{"1="});
    EXPECT_FALSE(Habilitado(editor, "SBGuardarComo"));
    EXPECT_EQ(editor.Fichero(), f);
    Rejilla().item(0, 1)->setText("4");
    Pulsar(editor, "SBGuardar");
    EXPECT_EQ(Leer(f), QByteArray("1\r\n4\r\n"));
}

} // namespace
} // namespace qv::test
