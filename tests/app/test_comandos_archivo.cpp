// The main window's file and configuration commands on real files: open, save, save as,
// close, add signals from a file, configuration files and the text export.
#include "ficheros_prueba.h"

#include "app/dialogos_archivo_qt.h"
#include "display/escoger_senales_fichero.h"
#include "model/exportar.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <optional>

namespace qv::test {
namespace {

using Sabor = TInteraccionGuion::Sabor;

class ComandosArchivo : public ArchivosPrueba {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CrearConDialogos();
    }

    TEstadoPrograma& E() { return ventana->Estado(); }

    void Abrir(const QString& ruta)
    {
        dialogos.abrir.push_back(ruta);
        ventana->ComandosArchivo().SpBtnAbrirClick();
    }

    // A signal added in memory, as a capture or a calculation would.
    void AnadirSenal(const QString& nombre)
    {
        E().Senales()->AnadirAna(std::make_unique<TSenalAna>(textos, nombre, true, nullptr, nullptr, 0,
                                                                   0.001, 4));
        ventana->Estado().MarcarModificado();
    }

    // The chooser accepts every signal of the file.
    void EscogerTodas()
    {
        modal.accion = [](QDialog& d) {
            Pulsar(d, "IncAllBtn");
            Pulsar(d, "OKBtn");
        };
    }
};

TEST_F(ComandosArchivo, AbrirYGuardarIdaYVuelta)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1"), QStringLiteral("C2")},
                                             {QStringLiteral("D1")});
    Abrir(a);

    ASSERT_EQ(dialogos.llamadas.size(), 1u);
    EXPECT_FALSE(dialogos.llamadas[0].guardar);
    EXPECT_EQ(dialogos.llamadas[0].filtro, QStringLiteral("T1180"));
    EXPECT_EQ(dialogos.llamadas[0].inicial, QStringLiteral("*.qvn"));
    EXPECT_TRUE(interaccion.mensajes.empty()) << Textos().join('|').toStdString();
    ASSERT_NE(E().Senales(), nullptr);
    ASSERT_NE(E().Config(), nullptr);
    EXPECT_TRUE(E().Config()->Igual(Config()));
    EXPECT_EQ(E().Senales()->NumAna(), 2);
    EXPECT_EQ(E().Senales()->NumDig(), 1);
    EXPECT_EQ(E().FicheroAbierto, a);
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("T1000 - a.qvn"));
    EXPECT_TRUE(Activo("Cerrar"));
    EXPECT_TRUE(Activo("Guardarcomo1"));

    // "Guardar" goes back to the open file without a dialog.
    AnadirSenal(QStringLiteral("Nueva"));
    Accion("GuardarArchivo")->trigger();
    EXPECT_EQ(dialogos.llamadas.size(), 1u);
    EXPECT_FALSE(E().Modificado());
    EXPECT_FALSE(Activo("GuardarArchivo"));
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("QUORVANE - a.qvn"));
    EXPECT_TRUE(NombresEnFichero(a).contains(QStringLiteral("Nueva")));

    // Closing and opening again gives the same set, samples and all.
    const float muestra = E().Senales()->BuscarAna(QStringLiteral("C2"))->LeerMuestra(3);
    Accion("Cerrar")->trigger();
    EXPECT_EQ(E().Senales(), nullptr);
    EXPECT_TRUE(ventana->AreaVentanas().subWindowList().isEmpty());
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("T1000"));
    Abrir(a);
    ASSERT_NE(E().Senales(), nullptr);
    EXPECT_EQ(E().Senales()->NumAna(), 3);
    EXPECT_EQ(E().Senales()->BuscarAna(QStringLiteral("C2"))->LeerMuestra(3), muestra);
}

TEST_F(ComandosArchivo, GuardarSinFicheroEsGuardarComo)
{
    AbrirConfiguracion();
    AbrirConjunto(2);
    ventana->Estado().MarcarModificado();

    // Cancelled: nothing written, still modified, so closing with "Si" stops.
    ventana->GuardarArchivoClick();
    ASSERT_EQ(dialogos.llamadas.size(), 1u);
    EXPECT_TRUE(dialogos.llamadas[0].guardar);
    EXPECT_EQ(dialogos.llamadas[0].extension, QStringLiteral("qvn"));
    EXPECT_EQ(dialogos.llamadas[0].filtro, QStringLiteral("T1182"));
    EXPECT_TRUE(E().Modificado());
    interaccion.respuestas = {Respuesta::Si};
    EXPECT_FALSE(ventana->close());
    EXPECT_EQ(dialogos.llamadas.size(), 2u);
    EXPECT_NE(E().Config(), nullptr);
    EXPECT_EQ(E().Senales()->NumAna(), 2);

    // Answered: the file is written and becomes the save-as name.
    const QString b = Ruta(QStringLiteral("b.qvn"));
    dialogos.guardar.push_back(b);
    ventana->GuardarArchivoClick();
    EXPECT_FALSE(E().Modificado());
    EXPECT_EQ(E().FicheroGuardarComo, b);
    EXPECT_EQ(E().FicheroAbierto, TEstadoPrograma::SinFicheroSenales);
    EXPECT_EQ(NombresEnFichero(b).size(), 2);
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("QUORVANE - b.qvn"));
}

TEST_F(ComandosArchivo, GuardarFallidoConservaLosCambios)
{
    AbrirConfiguracion();
    AbrirConjunto(1);
    ventana->Estado().MarcarModificado();
    const QString titulo = ventana->windowTitle();
    const QString imposible = Ruta(QStringLiteral("no/existe/x.qvn"));
    dialogos.guardar.push_back(imposible);
    ventana->ComandosArchivo().Guardarcomo1Click();
    EXPECT_TRUE(E().Modificado());
    EXPECT_TRUE(Activo("GuardarArchivo"));
    EXPECT_EQ(ventana->windowTitle(), titulo);
    ASSERT_EQ(interaccion.mensajes.size(), 1u);
    EXPECT_EQ(interaccion.mensajes[0].sabor, Sabor::Error);
    EXPECT_EQ(interaccion.mensajes[0].texto, QStringLiteral("T243 ") + imposible);
    EXPECT_FALSE(QFile::exists(imposible));

    // Closing with "Si" tries the same name again, fails again and keeps everything.
    interaccion.respuestas = {Respuesta::Si, Respuesta::Aceptar};
    EXPECT_FALSE(ventana->close());
    EXPECT_NE(E().Senales(), nullptr);
}

TEST_F(ComandosArchivo, AnadirNoCambiaElFicheroAbierto)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1")});
    const QString b = EscribirFicheroSenales(QStringLiteral("b.qvn"), {QStringLiteral("X1"), QStringLiteral("X2")});
    const QByteArray bOriginal = Bytes(b);
    Abrir(a);
    EscogerTodas();
    dialogos.abrir.push_back(b);
    Accion("Anadir")->trigger();

    EXPECT_EQ(modal.vistos, QStringList{QStringLiteral("frmEscSenFich")});
    EXPECT_EQ(E().Senales()->NumAna(), 3);
    EXPECT_TRUE(E().Modificado());
    EXPECT_EQ(E().FicheroAbierto, a);

    ventana->GuardarArchivoClick();
    EXPECT_FALSE(E().Modificado());
    EXPECT_EQ(Bytes(b), bOriginal);
    QStringList enA = NombresEnFichero(a);
    enA.sort();
    EXPECT_EQ(enA, (QStringList{QStringLiteral("C1"), QStringLiteral("X1"), QStringLiteral("X2")}));
}

TEST_F(ComandosArchivo, AnadirDeOtraConfiguracionSeNiega)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1")});
    const QString b = EscribirFicheroSenales(QStringLiteral("b.qvn"), {QStringLiteral("X1")}, {}, Config(2));
    Abrir(a);
    dialogos.abrir.push_back(b);
    ventana->ComandosArchivo().AnadirClick();
    EXPECT_TRUE(modal.vistos.isEmpty());
    EXPECT_EQ(Textos(), QStringList{QStringLiteral("T209")});
    EXPECT_EQ(interaccion.mensajes[0].sabor, Sabor::Aviso);
    EXPECT_EQ(E().Senales()->NumAna(), 1);
    EXPECT_FALSE(E().Modificado());

    // A file that is not there at all: the open warning, nothing added.
    interaccion.mensajes.clear();
    dialogos.abrir.push_back(Ruta(QStringLiteral("falta.qvn")));
    ventana->ComandosArchivo().AnadirClick();
    EXPECT_EQ(Textos(), QStringList{QStringLiteral("T101")});
    EXPECT_EQ(E().Senales()->NumAna(), 1);
}

TEST_F(ComandosArchivo, SegundoAbrirCanceladoConservaElPrimero)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1")});
    const QString b = EscribirFicheroSenales(QStringLiteral("b.qvn"), {QStringLiteral("X1")});
    const QByteArray bOriginal = Bytes(b);
    Abrir(a);
    AnadirSenal(QStringLiteral("Nueva"));
    interaccion.respuestas = {Respuesta::Cancelar};
    Abrir(b);

    EXPECT_EQ(Textos(), QStringList{QStringLiteral("T210")});
    EXPECT_EQ(E().FicheroAbierto, a);
    EXPECT_NE(E().Senales()->BuscarAna(QStringLiteral("C1")), nullptr);
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("T1000 - a.qvn"));
    ventana->GuardarArchivoClick();
    EXPECT_TRUE(NombresEnFichero(a).contains(QStringLiteral("Nueva")));
    EXPECT_EQ(Bytes(b), bOriginal);
}

TEST_F(ComandosArchivo, ConfiguracionIlegibleLeeLasSenales)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1"), QStringLiteral("C2")});
    // Spoil the time base line (the second one); the signal part stays sound.
    QByteArray d = Bytes(a);
    const qsizetype i = d.indexOf("\r\n") + 2;
    d.replace(i, d.indexOf("\r\n", i) - i, "abc def ghi jkl mno$");
    ASSERT_TRUE(EscribirSeguro(a, d));

    Abrir(a);
    EXPECT_EQ(Textos(), QStringList{QStringLiteral("T149")});
    EXPECT_EQ(E().Config(), nullptr);
    ASSERT_NE(E().Senales(), nullptr);
    EXPECT_EQ(E().Senales()->NumAna(), 2);
    EXPECT_FALSE(Activo("Cerrar"));
    EXPECT_FALSE(Activo("GrabarConES1"));
    EXPECT_TRUE(Activo("ExportarTXT1"));
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("T1000 - a.qvn"));

    // Such a set is as open as any other: unsaved changes are not dropped on exit ...
    AnadirSenal(QStringLiteral("Nueva"));
    interaccion.respuestas = {Respuesta::Cancelar};
    EXPECT_FALSE(ventana->close());
    EXPECT_EQ(E().Senales()->NumAna(), 3);

    // ... and it saves (with a default configuration) and reads back.
    ventana->GuardarArchivoClick();
    EXPECT_FALSE(E().Modificado());
    EXPECT_EQ(NombresEnFichero(a).size(), 3);
    interaccion.mensajes.clear();
    EXPECT_TRUE(ventana->close());
}

TEST_F(ComandosArchivo, FicheroDefectuosoNoDejaNadaAbierto)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1"), QStringLiteral("C2")});
    // The second block's sample count is not a number.
    QByteArray d = Bytes(a);
    const QByteArray comienza("ComienzaSe\xF1" "al\r\n");
    qsizetype i = d.indexOf(comienza, d.indexOf(comienza) + 1);
    ASSERT_GT(i, 0);
    for (int n = 0; n < 4; ++n)
        i = d.indexOf("\r\n", i) + 2;
    d.replace(i, d.indexOf("\r\n", i) - i, "cuatro");
    const QString malo = Ruta(QStringLiteral("malo.qvn"));
    ASSERT_TRUE(EscribirSeguro(malo, d));

    NuevaHija(TTipoVentana::Analogica);
    const QString titulo = ventana->windowTitle();
    for (const QString& ruta : {malo, Ruta(QStringLiteral("falta.qvn"))}) {
        interaccion.mensajes.clear();
        ventana->Estado().FicheroAbierto = ruta;
        EXPECT_FALSE(ventana->ComandosArchivo().AbrirFicheroSenales(ruta));
        ASSERT_EQ(interaccion.mensajes.size(), 1u);
        EXPECT_EQ(interaccion.mensajes[0].texto, QStringLiteral("T101"));
        EXPECT_EQ(interaccion.mensajes[0].botones, Botones::Aceptar);
        EXPECT_EQ(E().Senales(), nullptr);
        EXPECT_EQ(E().Config(), nullptr);
        EXPECT_EQ(E().OperacionesSiHay(), nullptr);
        EXPECT_EQ(E().FicheroAbierto, TEstadoPrograma::SinFicheroSenales);
        EXPECT_TRUE(ventana->AreaVentanas().subWindowList().isEmpty());
        EXPECT_EQ(ventana->windowTitle(), titulo);
        EXPECT_FALSE(Activo("Cerrar"));
    }
}

TEST_F(ComandosArchivo, ConfiguracionesAbrirYGuardar)
{
    TConfigES c = Config(5);
    c.EntAna(2).Activo = true;
    c.EntAna(2).Nombre = QStringLiteral("Presion");
    TOperaciones ops;
    TFicheroConfig fc(textos, interaccion, QStringLiteral("."));
    const QString cfg = Ruta(QStringLiteral("uno.cfg"));
    fc.EscribirConfiguracion(cfg, c, ops);

    // The configuration window then runs on a working copy prepared from it.
    QString enLaVentana;
    modal.accion = [&](QDialog&) {
        enLaVentana = E().Trabajo() ? E().Trabajo()->EntAna(2).Nombre : QString();
    };
    dialogos.abrir.push_back(cfg);
    Accion("CargarConfES1")->trigger();
    EXPECT_EQ(dialogos.llamadas.back().filtro, QStringLiteral("T1184"));
    ASSERT_NE(E().Config(), nullptr);
    EXPECT_EQ(E().Config()->EntAna(2).Nombre, QStringLiteral("Presion"));
    EXPECT_NE(E().OperacionesSiHay(), nullptr);
    EXPECT_EQ(modal.vistos, QStringList{QStringLiteral("frmMenuES2")});
    EXPECT_EQ(enLaVentana, QStringLiteral("Presion"));
    EXPECT_EQ(E().Trabajo(), nullptr);
    modal.accion = nullptr;
    EXPECT_TRUE(Activo("Cerrar"));

    // Saved under the name it was opened with, without a dialog.
    E().Config()->EntAna(2).Nombre = QStringLiteral("Caudal");
    const std::size_t llamadas = dialogos.llamadas.size();
    Accion("GrabarConES1")->trigger();
    EXPECT_EQ(dialogos.llamadas.size(), llamadas);
    auto leida = fc.LeerSoloConfiguracion(cfg);
    ASSERT_NE(leida, nullptr);
    EXPECT_EQ(leida->EntAna(2).Nombre, QStringLiteral("Caudal"));

    // "Guardar como ..." writes elsewhere and later saves follow it.
    const QString dos = Ruta(QStringLiteral("dos.cfg"));
    dialogos.guardar.push_back(dos);
    Accion("Gurardarcomo1")->trigger();
    EXPECT_EQ(dialogos.llamadas.back().extension, QStringLiteral("cfg"));
    EXPECT_TRUE(QFile::exists(dos));
    E().Config()->EntAna(2).Nombre = QStringLiteral("Nivel");
    ventana->ComandosArchivo().GrabarConES1Click();
    EXPECT_EQ(fc.LeerSoloConfiguracion(dos)->EntAna(2).Nombre, QStringLiteral("Nivel"));
    EXPECT_EQ(fc.LeerSoloConfiguracion(cfg)->EntAna(2).Nombre, QStringLiteral("Caudal"));
}

TEST_F(ComandosArchivo, FicheroDeFueraSegunSuTipo)
{
    // A configuration file opens as "Abrir archivo configuración": its window runs on it.
    TConfigES c = Config(5);
    c.EntAna(2).Nombre = QStringLiteral("Presion");
    TFicheroConfig fc(textos, interaccion, QStringLiteral("."));
    const QString cfg = Ruta(QStringLiteral("uno.CFG"));
    fc.EscribirConfiguracion(cfg, c, TOperaciones());
    ventana->ComandosArchivo().AbrirFichero(cfg);
    EXPECT_EQ(modal.vistos, QStringList{QStringLiteral("frmMenuES2")});
    ASSERT_NE(E().Config(), nullptr);
    EXPECT_EQ(E().Config()->EntAna(2).Nombre, QStringLiteral("Presion"));
    EXPECT_EQ(E().Senales(), nullptr);

    // Any other file as "Abrir": the configuration gives way to the signal file.
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1")});
    ventana->ComandosArchivo().AbrirFichero(a);
    EXPECT_EQ(E().FicheroAbierto, a);
    ASSERT_EQ(ventana->AreaVentanas().subWindowList().size(), 1);
    EXPECT_TRUE(interaccion.mensajes.empty());

    // A file that is not there, or is no file, is refused with its name and the open
    // file stays as it was.
    const QString titulo = ventana->windowTitle();
    const std::pair<QString, QString> casos[] = {{Ruta(QStringLiteral("falta.qvn")), QStringLiteral("T287 ")},
                                                 {Ruta(QStringLiteral("falta.cfg")), QStringLiteral("T287 ")},
                                                 {dir.path(), QStringLiteral("T370 ")}};
    for (const auto& [ruta, texto] : casos) {
        interaccion.mensajes.clear();
        ventana->ComandosArchivo().AbrirFichero(ruta);
        ASSERT_EQ(interaccion.mensajes.size(), 1u) << ruta.toStdString();
        EXPECT_EQ(interaccion.mensajes[0].sabor, Sabor::Aviso);
        EXPECT_EQ(interaccion.mensajes[0].texto, texto + QDir::toNativeSeparators(ruta));
        EXPECT_EQ(E().FicheroAbierto, a);
        EXPECT_TRUE(E().HayConjunto());
        EXPECT_EQ(ventana->AreaVentanas().subWindowList().size(), 1);
        EXPECT_EQ(ventana->windowTitle(), titulo);
    }
    EXPECT_EQ(modal.vistos.size(), 1);
}

TEST_F(ComandosArchivo, ConfiguracionDefectuosaNoTocaLaActual)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1")});
    Abrir(a);
    E().OperacionesSiHay()->AnadirOpAna(TOperacion("1", 0, false, false, 0, 0, "Ana", "V", "D", "Derivada", "0"));
    ventana->Estado().MarcarModificado();

    // Same time base, but its analog inputs are spoilt: warning, nothing replaced.
    TFicheroConfig fc(textos, interaccion, QStringLiteral("."));
    QByteArray d = fc.Texto(Config(), TOperaciones());
    ASSERT_TRUE(d.contains("InAnaC1 true 1 Normal 10V 1 Voltios$"));
    d.replace("InAnaC1 true 1 Normal 10V 1 Voltios$", "InAnaC1 true 1 Normal 10V uno Voltios$");
    const QString malo = Ruta(QStringLiteral("malo.cfg"));
    ASSERT_TRUE(EscribirSeguro(malo, d));
    dialogos.abrir.push_back(malo);
    ventana->ComandosArchivo().CargarConfES1Click();
    EXPECT_FALSE(Textos().isEmpty());
    EXPECT_NE(E().Config(), nullptr);
    EXPECT_EQ(E().OperacionesSiHay()->ListaOpAna.size(), 1u);
    EXPECT_NE(E().Senales(), nullptr);

    // Another time base asks to close the signals first; "Cancelar" keeps all.
    const QString otra = Ruta(QStringLiteral("otra.cfg"));
    fc.EscribirConfiguracion(otra, Config(3), TOperaciones());
    interaccion.mensajes.clear();
    interaccion.respuestas = {Respuesta::Cancelar};
    dialogos.abrir.push_back(otra);
    ventana->ComandosArchivo().CargarConfES1Click();
    EXPECT_EQ(Textos(), QStringList{QStringLiteral("T210")});
    EXPECT_TRUE(E().Config()->Igual(Config()));
    EXPECT_NE(E().Senales(), nullptr);

    // "No": the signals go and the new configuration is current.
    interaccion.respuestas = {Respuesta::No};
    dialogos.abrir.push_back(otra);
    ventana->ComandosArchivo().CargarConfES1Click();
    EXPECT_EQ(E().Senales(), nullptr);
    ASSERT_NE(E().Config(), nullptr);
    EXPECT_TRUE(E().Config()->Igual(Config(3)));
    EXPECT_TRUE(E().OperacionesSiHay()->ListaOpAna.empty());
}

TEST_F(ComandosArchivo, GuardarConfiguracionTrasAbrirSenales)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("ensayo.qvn"), {QStringLiteral("C1")});
    Abrir(a);
    // The configuration name comes from the signal file, in the same folder.
    ventana->ComandosArchivo().Gurardarcomo1Click();
    EXPECT_EQ(dialogos.llamadas.back().inicial, Ruta(QStringLiteral("ensayo.cfg")));
    EXPECT_FALSE(QFile::exists(Ruta(QStringLiteral("ensayo.cfg"))));
    ventana->ComandosArchivo().GrabarConES1Click();
    TFicheroConfig fc(textos, interaccion, QStringLiteral("."));
    auto leida = fc.LeerSoloConfiguracion(Ruta(QStringLiteral("ensayo.cfg")));
    ASSERT_NE(leida, nullptr);
    EXPECT_TRUE(leida->Igual(Config()));

    // With nothing named yet the save dialog is asked, and its cancel writes nothing.
    Accion("Cerrar")->trigger();
    AbrirConfiguracion();
    E().FicheroConfig = TEstadoPrograma::SinFicheroConfig;
    ventana->ComandosArchivo().GrabarConES1Click();
    ASSERT_FALSE(dialogos.llamadas.empty());
    EXPECT_TRUE(dialogos.llamadas.back().guardar);
}

TEST_F(ComandosArchivo, VerConfiguracionPreparaLaCopia)
{
    // What the window saw of the state while it ran; the copy is freed afterwards.
    std::optional<TConfigES> vista;
    bool copiaPropia = false;
    modal.accion = [&](QDialog&) {
        if (E().Trabajo())
            vista = *E().Trabajo();
        copiaPropia = E().Trabajo() && E().Trabajo() != E().Config();
    };
    NuevaHija(TTipoVentana::Analogica);
    Accion("SpBtnES")->trigger();
    ASSERT_TRUE(vista.has_value());
    EXPECT_TRUE(vista->Igual(TConfigES()));
    EXPECT_EQ(E().Trabajo(), nullptr);
    EXPECT_NE(E().OperacionesSiHay(), nullptr);

    // A copy, not the current configuration itself. Once the configuration changes
    // without signals, no signal window may stay.
    AbrirConfiguracion();
    EXPECT_TRUE(ventana->AreaVentanas().subWindowList().isEmpty());
    E().Config()->NumMuestras = 77;
    AbrirConjunto(1);
    NuevaHija(TTipoVentana::Analogica);
    vista.reset();
    ventana->ComandosArchivo().VerConfig1Click();
    ASSERT_TRUE(vista.has_value());
    EXPECT_EQ(vista->NumMuestras, 77);
    EXPECT_TRUE(copiaPropia);
    EXPECT_EQ(ventana->AreaVentanas().subWindowList().size(), 1);
}

TEST_F(ComandosArchivo, ExportarTexto)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1")}, {QStringLiteral("D1")});
    Abrir(a);
    Accion("ExportarTXT1")->trigger(); // cancelled: nothing written
    EXPECT_EQ(dialogos.llamadas.back().extension, QStringLiteral("txt"));
    EXPECT_EQ(dialogos.llamadas.back().filtro, QStringLiteral("T1192"));

    const QString txt = Ruta(QStringLiteral("tabla.txt"));
    dialogos.guardar.push_back(txt);
    Accion("ExportarTXT1")->trigger();
    EXPECT_EQ(Bytes(txt), ExportarTexto(*E().Senales()));
    EXPECT_TRUE(Bytes(txt).contains("D1"));
}

TEST(DialogosArchivoQt, FiltrosDelFicheroDeIdioma)
{
    EXPECT_EQ(TDialogosArchivoQt::FiltrosQt(QStringLiteral("Ficheros de texto|*.txt")),
              QStringList{QStringLiteral("Ficheros de texto (*.txt)")});
    EXPECT_EQ(TDialogosArchivoQt::FiltrosQt(QStringLiteral("Datos|*.qvn;*.cfg|Todos|*.*")),
              (QStringList{QStringLiteral("Datos (*.qvn *.cfg)"), QStringLiteral("Todos (*.*)")}));
}

TEST(DialogosArchivoQt, CanceladoOAceptadoPorElModal)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TModalPrueba modal;
    TDialogosArchivoQt dialogos(modal);
    modal.accion = [](QDialog& d) { d.reject(); };
    EXPECT_TRUE(dialogos.AbrirFichero(QStringLiteral("F|*.qvn"), QStringLiteral("t"), QStringLiteral("*.qvn"))
                    .isEmpty());

    // The typed name gets the default extension.
    const QString carpeta = dir.path();
    modal.accion = [carpeta](QDialog& d) {
        auto& f = static_cast<QFileDialog&>(d);
        f.setDirectory(carpeta);
        f.selectFile(QStringLiteral("nuevo"));
        static_cast<QDialog&>(f).accept();
    };
    const QString r = dialogos.GuardarFichero(QStringLiteral("F|*.qvn"), QStringLiteral("t"),
                                              QStringLiteral("*.qvn"), QStringLiteral("qvn"));
    EXPECT_EQ(QFileInfo(r).fileName(), QStringLiteral("nuevo.qvn"));
}

} // namespace
} // namespace qv::test
