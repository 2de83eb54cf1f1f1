// The data table window (values read from the set, export, renames and deletions),
// the comment editor and the insert-text dialog.
#include "display_prueba.h"

#include "display/datos.h"
#include "display/edit.h"
#include "display/ins_texto.h"
#include "model/escritura_segura.h"
#include "model/exportar.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>

namespace qv::test {
namespace {

class Datos : public DisplayPrueba {};

TEST_F(Datos, RejillaConLosValoresDeLasSenales)
{
    Ana(QStringLiteral("V"), 0.5, {0.25f, -1.5f, 12345.678f});
    TfrmDatos d(p, {QStringLiteral("V")}, {});
    d.show();
    EXPECT_EQ(d.ColCount(), 2);
    EXPECT_EQ(d.RowCount(), 4);
    EXPECT_EQ(d.Celda(0, 0), QStringLiteral("T239"));
    EXPECT_EQ(d.Celda(1, 0), QStringLiteral("V"));
    EXPECT_EQ(d.Celda(0, 3), QStringLiteral("3"));
    EXPECT_EQ(d.Celda(1, 1), QStringLiteral("0.2500"));
    EXPECT_EQ(d.Celda(1, 2), QStringLiteral("-1.5000"));
    EXPECT_EQ(d.Celda(1, 3), QStringLiteral("12345.6780"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("T14003"));
    EXPECT_EQ(d.TipoVentana(), TTipoVentana::TablaDatos);
}

TEST_F(Datos, ColumnasEnElOrdenElegidoYSenalesMasCortas)
{
    Ana(QStringLiteral("Corta"), 0.001, {1, 2});
    Dig(QStringLiteral("D"), 0.001, {0, 1, 1, 0, 1});
    TfrmDatos d(p, {QStringLiteral("D"), QStringLiteral("Corta")}, {});
    EXPECT_EQ(d.ColCount(), 3);
    EXPECT_EQ(d.RowCount(), 6);
    EXPECT_EQ(d.Celda(1, 0), QStringLiteral("D"));
    EXPECT_EQ(d.Celda(1, 2), QStringLiteral("1"));
    EXPECT_EQ(d.Celda(1, 4), QStringLiteral("0"));
    EXPECT_EQ(d.Celda(2, 2), QStringLiteral("2.0000"));
    // No sample beyond a signal's end.
    EXPECT_TRUE(d.Celda(2, 3).isEmpty());

    // Renames and deletions from the set follow the window.
    d.RenombrarSenal(QStringLiteral("D"), QStringLiteral("Bits"));
    EXPECT_EQ(d.Celda(1, 0), QStringLiteral("Bits"));
    Conjunto().RenombrarDig(QStringLiteral("D"), QStringLiteral("Bits"));
    EXPECT_EQ(d.Celda(1, 2), QStringLiteral("1"));
    Conjunto().BorrarDig(QStringLiteral("Bits"));
    d.QuitarSenal(QStringLiteral("Bits"));
    EXPECT_EQ(d.ColCount(), 2);
    EXPECT_EQ(d.RowCount(), 3);
}

TEST_F(Datos, ExportaLasSenalesElegidas)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Ana(QStringLiteral("A"), 0.5, {1, 2, 3});
    Ana(QStringLiteral("B"), 0.5, {4, 5, 6});
    TfrmDatos d(p, {QStringLiteral("B")}, {QStringLiteral("A")});
    d.show();
    const QString ruta = dir.filePath(QStringLiteral("tabla.txt"));
    p.dialogos.guardar = {ruta};
    Pulsar(d, "SBExport");
    ASSERT_EQ(p.dialogos.llamadas.size(), 1u);
    EXPECT_EQ(p.dialogos.llamadas[0].titulo, QStringLiteral("T501"));
    EXPECT_EQ(p.dialogos.llamadas[0].filtro, QStringLiteral("T500"));
    QByteArray escrito;
    ASSERT_TRUE(LeerFicheroEntero(ruta, escrito));
    EXPECT_EQ(escrito, ExportarTexto(Conjunto(), {QStringLiteral("B")}));
    EXPECT_TRUE(escrito.contains("6.0000"));
    EXPECT_FALSE(escrito.contains("3.0000\r\n"));
    EXPECT_TRUE(Mensajes().isEmpty());

    // A file that cannot be written: text 240 with its name.
    const QString mala = dir.filePath(QStringLiteral("no/existe/tabla.txt"));
    p.dialogos.guardar = {mala};
    Pulsar(d, "SBExport");
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("T240 ") + mala});
    EXPECT_EQ(p.interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Informacion);

    // Cancelled dialog: nothing.
    Pulsar(d, "SBExport");
    EXPECT_EQ(Mensajes().size(), 1);
}

TEST_F(Datos, TablaGrandeSinCopiarMuestras)
{
    std::vector<float> muestras(65535);
    for (size_t i = 0; i < muestras.size(); ++i)
        muestras[i] = float(i) / 8;
    QStringList nombres;
    for (int c = 1; c <= 8; ++c) {
        nombres << QStringLiteral("E%1").arg(c);
        Ana(nombres.back(), 1e-4, muestras);
    }
    TfrmDatos d(p, nombres, {});
    d.resize(600, 400);
    d.show();
    EXPECT_EQ(d.RowCount(), 65536);
    d.Rejilla().scrollToBottom();
    EXPECT_EQ(d.Celda(8, 65535), QStringLiteral("8191.7500"));
    EXPECT_EQ(d.Celda(0, 65535), QStringLiteral("65535"));
}

TEST_F(Datos, ComentarioGuardarYCerrar)
{
    Conjunto().Comentario = {QStringLiteral("uno"), QStringLiteral("dos")};
    auto memo = [](QDialog& d) -> QPlainTextEdit& { return De<QPlainTextEdit>(d, "Memo1"); };
    auto accion = [](QDialog& d, const char* n) { De<QAction>(d, n).trigger(); };

    // Typed, then closed: cancel keeps the editor open, no closes without saving.
    p.modal.Cuando(QStringLiteral("frmEdit"), [&](QDialog& d) {
        EXPECT_EQ(memo(d).toPlainText(), QStringLiteral("uno\ndos"));
        memo(d).setPlainText(QStringLiteral("tres"));
        p.interaccion.respuestas = {Respuesta::Cancelar};
        accion(d, "Salir1");
        EXPECT_TRUE(d.isVisible());
        p.interaccion.respuestas = {Respuesta::No};
        accion(d, "Salir1");
        EXPECT_FALSE(d.isVisible());
    });
    TfrmEdit(p).Ejecutar();
    EXPECT_EQ(Mensajes(), (QStringList{"T114", "T114"}));
    EXPECT_EQ(Conjunto().Comentario, (QStringList{"uno", "dos"}));
    EXPECT_FALSE(p.estado.Modificado());

    // Yes saves on closing.
    p.modal.Cuando(QStringLiteral("frmEdit"), [&](QDialog& d) {
        memo(d).setPlainText(QStringLiteral("tres\ncuatro"));
        p.interaccion.respuestas = {Respuesta::Si};
        d.close();
    });
    TfrmEdit(p).Ejecutar();
    EXPECT_EQ(Conjunto().Comentario, (QStringList{"tres", "cuatro"}));
    EXPECT_TRUE(p.estado.Modificado());

    // "Nuevo" then "Guardar" leaves no comment; "Abrir" reloads it; saved: no question.
    p.interaccion.mensajes.clear();
    p.modal.Cuando(QStringLiteral("frmEdit"), [&](QDialog& d) {
        accion(d, "Nuevo1");
        EXPECT_TRUE(memo(d).toPlainText().isEmpty());
        accion(d, "Abrir1");
        EXPECT_EQ(memo(d).toPlainText(), QStringLiteral("tres\ncuatro"));
        accion(d, "Nuevo1");
        accion(d, "Guardar1");
        accion(d, "Salir1");
    });
    TfrmEdit(p).Ejecutar();
    EXPECT_TRUE(Conjunto().Comentario.isEmpty());
    EXPECT_TRUE(Mensajes().isEmpty());
}

TEST_F(Datos, InsertarTexto)
{
    p.modal.Cuando(QStringLiteral("frmInsTexto"), [](QDialog& d) {
        Escribir(d, "EdTexto", QStringLiteral("Pico"));
        Pulsar(d, "OKBtn");
    });
    QString texto;
    EXPECT_TRUE(TfrmInsTexto::Pedir(p.contexto.Formulario, nullptr, texto));
    EXPECT_EQ(texto, QStringLiteral("Pico"));
    p.modal.Cuando(QStringLiteral("frmInsTexto"), [](QDialog& d) { Pulsar(d, "CancelBtn"); });
    texto.clear();
    EXPECT_FALSE(TfrmInsTexto::Pedir(p.contexto.Formulario, nullptr, texto));
    EXPECT_TRUE(texto.isEmpty());
}

} // namespace
} // namespace qv::test
