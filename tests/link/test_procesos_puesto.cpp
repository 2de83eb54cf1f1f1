// The station's processes: stopping only this folder's relays, the remote-desktop
// launcher's command lines (stand-in programs record what they are given), its
// failures, and the shipped launch scripts against stand-in VNC programs.
#include "common/esperar.h"
#include "common/interaccion_guion.h"
#include "link/procesos.h"
#include "link/relay_local.h"
#include "link/servicios_puesto_real.h"
#include "link/vnc.h"
#include "link/vnc_escucha.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

bool Ejecutable(const QString& ruta, const QByteArray& texto)
{
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(texto) != texto.size())
        return false;
    f.close();
    return f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Processes a test starts; every one still running is ended with the test.
class TArrancados {
public:
    ~TArrancados()
    {
        for (auto& p : procesos_)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }
    QProcess& Arrancar(const QString& programa, const QStringList& args,
                       const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment())
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(entorno);
        p->start(programa, args);
        EXPECT_TRUE(p->waitForStarted(5000)) << programa.toStdString();
        procesos_.push_back(std::move(p));
        return *procesos_.back();
    }

private:
    std::vector<std::unique_ptr<QProcess>> procesos_;
};

// ---- relay ----

TEST(RelayLocal, DetenerSoloLosDeEstaCarpeta)
{
    QTemporaryDir propia, otra;
    const QString relay = QDir(propia.path()).filePath("RelayServer");
    const QString ajeno = QDir(otra.path()).filePath("RelayServer");
    // Copies, not links: the running program's file is what tells folders apart.
    ASSERT_TRUE(QFile::copy("/bin/sleep", relay));
    ASSERT_TRUE(QFile::copy("/bin/sleep", ajeno));
    TArrancados procesos;
    QProcess& uno = procesos.Arrancar(relay, {"300"});
    QProcess& dos = procesos.Arrancar(relay, {"300"});
    QProcess& tercero = procesos.Arrancar(ajeno, {"300"});

    TRelayLocal r(propia.path());
    EXPECT_TRUE(r.EnMarcha());
    EXPECT_EQ(r.Detener(), 2);
    EXPECT_TRUE(uno.waitForFinished(5000));
    EXPECT_TRUE(dos.waitForFinished(5000));
    EXPECT_FALSE(r.EnMarcha());
    EXPECT_EQ(r.Detener(), 0);
    EXPECT_EQ(tercero.state(), QProcess::Running);
    EXPECT_TRUE(TRelayLocal(otra.path()).EnMarcha());
}

TEST(RelayLocal, ElQueIgnoraLaPeticionSeMata)
{
    QTemporaryDir propia;
    const QString relay = QDir(propia.path()).filePath("RelayServer");
    ASSERT_TRUE(QFile::copy("/bin/sh", relay));
    TArrancados procesos;
    QProcess& terco = procesos.Arrancar(relay, {"-c", "trap '' TERM; while :; do sleep 0.1; done"});
    TRelayLocal r(propia.path());
    ASSERT_TRUE(Esperar([&] { return r.EnMarcha(); }));
    EXPECT_EQ(r.Detener(200), 1);
    EXPECT_TRUE(terco.waitForFinished(5000));
    EXPECT_EQ(terco.exitStatus(), QProcess::CrashExit);
}

TEST(RelayLocal, IniciarSinArgumentosYSinDuplicar)
{
    QTemporaryDir propia;
    const QString relay = QDir(propia.path()).filePath("RelayServer");
    // Records its arguments and folder, then stays until it is stopped.
    ASSERT_TRUE(Ejecutable(relay, "#!/bin/sh\necho \"$# $PWD\" >> arranques\n"
                                  "trap 'exit 0' TERM\nwhile :; do sleep 0.1; done\n"));
    TRelayLocal r(propia.path());
    EXPECT_TRUE(r.Iniciar());
    const QString registro = QDir(propia.path()).filePath("arranques");
    ASSERT_TRUE(Esperar([&] { return QFile::exists(registro) && r.EnMarcha(); }));
    EXPECT_TRUE(r.Iniciar()); // already running: not a second one
    QFile f(registro);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(f.readAll()).trimmed(),
              "0 " + QFileInfo(propia.path()).canonicalFilePath());
    EXPECT_EQ(r.Detener(), 1);
    EXPECT_TRUE(Esperar([&] { return !r.EnMarcha(); }));
}

TEST(RelayLocal, NoArrancaSiElPuertoYaTieneRelay)
{
    QTemporaryDir propia;
    const QString relay = QDir(propia.path()).filePath("RelayServer");
    ASSERT_TRUE(Ejecutable(relay, "#!/bin/sh\ntrap 'exit 0' TERM\nwhile :; do sleep 0.1; done\n"));
    // Another user's relay, or the relay service, listening on the port.
    QTcpServer servicio;
    ASSERT_TRUE(servicio.listen(QHostAddress::Any, 0));
    TRelayLocal r(propia.path(), servicio.serverPort());
    EXPECT_TRUE(r.PuertoEnUso());
    EXPECT_TRUE(r.Iniciar());
    EXPECT_FALSE(r.EnMarcha()); // startDetached returns once the program runs

    servicio.close();
    EXPECT_FALSE(r.PuertoEnUso());
    EXPECT_TRUE(r.Iniciar());
    EXPECT_TRUE(Esperar([&] { return r.EnMarcha(); }));
    EXPECT_EQ(r.Detener(), 1);
}

// ---- remote-desktop launcher with stand-in programs ----

// A program folder with stand-in viewer and server: each writes one line "name|arg|arg|"
// to "registro" and ends; with the file "falla" present it ends with status 1; the
// server started with QV_QUEDARSE set stays until it is terminated (the running server).
class Lanzador : public ::testing::Test {
protected:
    QTemporaryDir dir, privada;
    TArrancados procesos;

    void SetUp() override
    {
        const QByteArray guion = "#!/bin/sh\n"
                                 "if [ -n \"$QV_QUEDARSE\" ]; then trap 'exit 0' TERM; "
                                 "while :; do sleep 0.05; done; fi\n"
                                 "cd \"$(dirname \"$0\")\"\n"
                                 // One write per line: launches running side by side must not mix their lines.
                                 "l=$(printf '%s|' \"$(basename \"$0\")\" \"$@\"); printf '%s\\n' \"$l\" >> registro\n"
                                 // The password files it was handed, by name.
                                 "printf '%s|%s|%s\\n' \"${QUORVANE_RFBAUTH##*/}\" \"${QUORVANE_RFBAUTH_CONTROL##*/}\" "
                                 "\"${QUORVANE_PASSWD##*/}\" > ambiente\n"
                                 "[ ! -e falla ]\n";
        ASSERT_TRUE(Ejecutable(Ruta("MirrorViewer"), guion));
        ASSERT_TRUE(Ejecutable(Ruta("MirrorServer"), guion));
    }
    QString Ruta(const QString& n) const { return QDir(dir.path()).filePath(n); }
    QString Ambiente() const
    {
        QFile f(Ruta("ambiente"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()).trimmed() : QString();
    }
    QStringList Registro() const
    {
        QFile f(Ruta("registro"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    // Every launch has ended and written its line.
    QStringList Terminado(TVNC& vnc) const
    {
        EXPECT_TRUE(Esperar([&] { return vnc.EnCurso() == 0; }, 30000));
        return Registro();
    }
    QProcess& ServidorQueSigue(const QString& programa)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("QV_QUEDARSE", "1");
        return procesos.Arrancar(programa, {}, e);
    }
};

TEST_F(Lanzador, LineasDeOrdenes)
{
    TVNC vnc(dir.path(), privada.path());
    EXPECT_TRUE(vnc.Ver("AULA 1")); // a name with a blank stays one argument
    EXPECT_TRUE(vnc.Controlar("PROFE"));
    EXPECT_TRUE(vnc.CortarTodo());
    EXPECT_TRUE(vnc.OpcionesServidor());
    EXPECT_TRUE(vnc.OpcionesVisor());
    EXPECT_TRUE(vnc.ConectarUsuario("ALUMNO3"));
    EXPECT_EQ(Terminado(vnc).size(), 6);
    QStringList l = Registro();
    l.sort();
    EXPECT_EQ(l, QStringList({"MirrorServer|-connect|ALUMNO3|", "MirrorServer|-killall|", "MirrorServer|-settings|",
                              "MirrorViewer|-settings|", "MirrorViewer|AULA 1|-shared|-viewonly|-restricted|",
                              "MirrorViewer|PROFE|-shared|"}));
}

TEST_F(Lanzador, EscucharSoloAceptaLosPCsDeLaLista)
{
    TVNC vnc(dir.path(), privada.path());
    vnc.PuertoEscucha = 0; // any free port
    ASSERT_TRUE(vnc.Escuchar());
    EXPECT_FALSE(vnc.ServidorActivo()); // listening shares nothing
    const quint16 puerto = vnc.Escucha()->Puerto();
    QStringList destinos;
    vnc.Escucha()->AlAceptar = [&](const QString& d) { destinos << d; };
    TAjustesEstacion ajustes(dir.path());
    // Listed by address entry or by name: pushed on to a viewer's private loopback port,
    // both ways. Not listed: closed unread.
    const std::pair<QStringList, bool> casos[] = {{{"10.9.8.7 (otro)", "pc-que-no-existe.invalid"}, false},
                                                  {{"10.9.8.7", "127.0.0.1 (yo)"}, true},
                                                  {{"localhost"}, true}};
    for (const auto& [lista, aceptado] : casos) {
        ajustes.EscribirPCsServer(lista);
        destinos.clear();
        QTcpSocket empuje;
        empuje.connectToHost(QHostAddress::LocalHost, puerto);
        ASSERT_TRUE(empuje.waitForConnected(5000));
        empuje.write("RFB 003.008\n");
        ASSERT_TRUE(Esperar([&] { return !destinos.isEmpty() || empuje.state() == QAbstractSocket::UnconnectedState; },
                            30000));
        ASSERT_EQ(destinos.size(), aceptado ? 1 : 0) << lista.join(',').toStdString();
        if (!aceptado)
            continue;
        QTcpSocket visor;
        visor.connectToHost(QHostAddress::LocalHost, destinos[0].section("::", 1).toUShort());
        ASSERT_TRUE(visor.waitForConnected(5000));
        ASSERT_TRUE(Esperar([&] { return visor.bytesAvailable() >= 12; }));
        EXPECT_EQ(visor.readAll(), "RFB 003.008\n");
        visor.write("\2");
        ASSERT_TRUE(Esperar([&] { return empuje.bytesAvailable() >= 1; }));
        EXPECT_EQ(empuje.readAll(), "\2");
    }
    EXPECT_EQ(vnc.Escucha()->Rechazadas(), 1);
    // Stopping closes the listening port.
    EXPECT_TRUE(vnc.Detener());
    QTcpSocket cerrado;
    cerrado.connectToHost(QHostAddress::LocalHost, puerto);
    EXPECT_FALSE(cerrado.waitForConnected(2000));
}

TEST_F(Lanzador, ServidorEnMarchaSoloElDeEstaCarpeta)
{
    // A server of the same name in another folder, and this folder's server program
    // running a one-shot request, are not this folder's running server.
    QTemporaryDir otra;
    const QString ajeno = QDir(otra.path()).filePath("MirrorServer");
    ASSERT_TRUE(QFile::copy(Ruta("MirrorServer"), ajeno));
    ServidorQueSigue(ajeno);
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("QV_QUEDARSE", "1");
    procesos.Arrancar(Ruta("MirrorServer"), {"-kill"}, e);
    TVNC vnc(dir.path(), privada.path());
    TVNC vncAjeno(otra.path());
    ASSERT_TRUE(Esperar([&] { return vncAjeno.ServidorEnMarcha(); }));
    EXPECT_FALSE(vnc.ServidorEnMarcha());
}

TEST_F(Lanzador, SetServidorSoloConPasswordYCuandoCambia)
{
    TVNC vnc(dir.path(), privada.path());
    int faltas = 0;
    vnc.AlFaltarPassword = [&] { ++faltas; };
    EXPECT_TRUE(vnc.SetServidor(false)); // unchanged: nothing started
    // No password: nothing starts, and that is said once per request.
    EXPECT_TRUE(vnc.SetServidor(true));
    EXPECT_TRUE(vnc.SetServidor(true));
    EXPECT_EQ(faltas, 1);
    EXPECT_FALSE(vnc.ServidorActivo());
    EXPECT_TRUE(Terminado(vnc).isEmpty());

    ASSERT_TRUE(vnc.Claves().Poner("vista", ""));
    EXPECT_TRUE(vnc.SetServidor(true));
    EXPECT_EQ(Terminado(vnc), QStringList({"MirrorServer|"}));
    EXPECT_EQ(Ambiente(), "rfbauth||");
    EXPECT_TRUE(vnc.SetServidor(true));
    EXPECT_EQ(Terminado(vnc).size(), 1);
    EXPECT_TRUE(vnc.SetServidor(false));
    EXPECT_TRUE(Esperar([&] { return Registro().size() == 2; }));
    EXPECT_EQ(Registro().back(), "MirrorServer|-kill|");

    // On with the server already running: nothing to start.
    ServidorQueSigue(Ruta("MirrorServer"));
    ASSERT_TRUE(Esperar([&] { return vnc.ServidorEnMarcha(); }));
    EXPECT_TRUE(vnc.SetServidor(true));
    EXPECT_TRUE(vnc.ServidorActivo());
    EXPECT_EQ(Terminado(vnc).size(), 2);

    // A watcher answers with the watch password; without a control password the
    // controlling viewer is given none (it asks).
    EXPECT_TRUE(vnc.Ver("PC"));
    EXPECT_EQ(Terminado(vnc).size(), 3);
    EXPECT_EQ(Ambiente(), "||rfbauth");
    EXPECT_TRUE(vnc.Controlar("PC"));
    EXPECT_EQ(Terminado(vnc).size(), 4);
    EXPECT_EQ(Ambiente(), "||");
}

TEST_F(Lanzador, PasswordsDeLaPantalla)
{
    TAjustesEstacion ajustes(dir.path());
    TClavesPantalla claves(ajustes, QDir(privada.path()).filePath("nueva"));
    EXPECT_EQ(TClavesPantalla::Validar("", "", "", ""), 351);
    EXPECT_EQ(TClavesPantalla::Validar("abc", "abc", "x", "X"), 267);
    for (const char* mala : {"con blanco", "a\u00f1o", "123456789"})
        EXPECT_EQ(TClavesPantalla::Validar(mala, mala, "", ""), 352) << mala;
    EXPECT_EQ(TClavesPantalla::Validar("igual", "igual", "igual", "igual"), 353);

    // Private files in a private folder; the settings hold hashes only.
    ASSERT_TRUE(claves.Poner("v1s7a!", "Mando#8"));
    const QString ver = claves.FicheroVer(), control = claves.FicheroControl();
    ASSERT_FALSE(ver.isEmpty() || control.isEmpty());
    const auto propios = ~QFileDevice::Permissions(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QFileInfo(ver).permissions() & propios, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(QFileInfo(QFileInfo(ver).path()).permissions() & propios,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(ajustes.Leer("ServerVNC", "PasswordVer").contains("v1s7a!"));

    // Readable by others, or no longer the password of its hash: not used.
    QFile::setPermissions(ver, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    EXPECT_TRUE(claves.FicheroVer().isEmpty());
    QFile f(ver);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(TClavesPantalla::Ofuscar("otra")) == 8);
    f.close();
    QFile::setPermissions(ver, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(claves.FicheroVer().isEmpty());
    // Set again without control: the control file is gone.
    ASSERT_TRUE(claves.Poner("otra", ""));
    EXPECT_FALSE(claves.FicheroVer().isEmpty());
    EXPECT_FALSE(QFile::exists(control));
}

TEST_F(Lanzador, FallosAvisanConElTexto274)
{
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    QTemporaryDir config;
    const QByteArray antes = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit()); // no screen password there
    {
        // No programs at all in the folder: each call fails at once. A server
        // refused for want of its password before the seam is there is said once it is.
        QTemporaryDir vacia;
        TServiciosPuestoReal puesto(vacia.path());
        puesto.SetServidorRemoto(true);
        puesto.PonerAvisos(&textos, &interaccion);
        ASSERT_EQ(interaccion.mensajes.size(), 1u);
        EXPECT_EQ(interaccion.mensajes[0].texto, "T350");
        EXPECT_FALSE(puesto.VNC().Ver("PC"));
        puesto.VerRemoto("PC");
        ASSERT_EQ(interaccion.mensajes.size(), 2u);
        EXPECT_EQ(interaccion.mensajes[1].sabor, TInteraccionGuion::Sabor::Aviso);
        EXPECT_EQ(interaccion.mensajes[1].texto, "T274");
    }
    interaccion.mensajes.clear();

    // The launchers refuse (as the shipped ones do without the VNC software): each
    // refusal is reported when it ends.
    ASSERT_TRUE(Ejecutable(Ruta("falla"), ""));
    TServiciosPuestoReal puesto(dir.path());
    puesto.PonerAvisos(&textos, &interaccion);
    puesto.ControlarRemoto("PC");
    EXPECT_TRUE(Esperar([&] { return interaccion.mensajes.size() == 1u; }));
    EXPECT_EQ(interaccion.mensajes[0].texto, "T274");

    // Working programs: nothing is said.
    QFile::remove(Ruta("falla"));
    interaccion.mensajes.clear();
    puesto.VerRemoto("PC");
    puesto.CortarTodoRemoto();
    EXPECT_TRUE(Esperar([&] { return puesto.VNC().EnCurso() == 0; }));
    EXPECT_TRUE(interaccion.mensajes.empty());
    EXPECT_EQ(Registro().mid(1).size(), 2);
    qputenv("XDG_CONFIG_HOME", antes);
}

// ---- the shipped scripts ----

// Environment variables set for one test and put back afterwards.
class TEntorno {
public:
    ~TEntorno()
    {
        for (auto it = antes_.begin(); it != antes_.end(); ++it)
            if (it->second.isNull())
                qunsetenv(it->first.constData());
            else
                qputenv(it->first.constData(), it->second);
    }
    void Poner(const QByteArray& nombre, const QByteArray& valor)
    {
        if (antes_.find(nombre) == antes_.end())
            antes_.emplace(nombre, qEnvironmentVariableIsSet(nombre.constData()) ? qgetenv(nombre.constData())
                                                                                   : QByteArray());
        qputenv(nombre.constData(), valor);
    }

private:
    std::map<QByteArray, QByteArray> antes_;
};

TEST(GuionesVNC, SinProgramasVNCTerminanConError)
{
    QTemporaryDir vacia;
    for (const char* guion : {"MirrorServer", "MirrorViewer"}) {
        const QString ruta = QStringLiteral(QV_BIN_DIR "/") + guion;
        ASSERT_TRUE(QFileInfo(ruta).isExecutable()) << guion;
        QProcess p;
        QProcessEnvironment e;
        e.insert("PATH", vacia.path()); // nothing to find there
        e.insert("DISPLAY", ":99");
        p.setProcessEnvironment(e);
        p.start(ruta, guion == QLatin1String("MirrorServer") ? QStringList{} : QStringList{"PC", "-shared"});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 1) << guion;
        EXPECT_TRUE(p.readAllStandardError().contains("install")) << guion;
    }
}

TEST(GuionesVNC, ServidorYVisorConProgramasSimulados)
{
    // The shipped scripts in a program folder of their own, with stand-ins for
    // x11vnc and the viewer that stay until they are terminated.
    QTemporaryDir carpeta, bin, estado;
    for (const char* guion : {"MirrorServer", "MirrorViewer"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(QV_SOURCE_DIR "/data/") + guion,
                                QDir(carpeta.path()).filePath(guion)));
    const QByteArray simulado = "#!/bin/sh\nwhile :; do sleep 0.05; done\n";
    const QString x11vnc = QDir(bin.path()).filePath("x11vnc");
    const QString visor = QDir(bin.path()).filePath("xtigervncviewer");
    ASSERT_TRUE(Ejecutable(x11vnc, simulado));
    ASSERT_TRUE(Ejecutable(visor, simulado));
    TEntorno entorno;
    entorno.Poner("PATH", bin.path().toLocal8Bit() + ":/usr/bin:/bin");
    entorno.Poner("DISPLAY", ":99");
    entorno.Poner("XDG_RUNTIME_DIR", estado.path().toLocal8Bit());

    struct Limpieza {
        QStringList programas;
        ~Limpieza()
        {
            for (const QString& p : programas)
                Procesos::Terminar(Procesos::DelPrograma(p), 500);
        }
    } limpieza{{x11vnc, visor, QDir(carpeta.path()).filePath("MirrorServer"),
                QDir(carpeta.path()).filePath("MirrorViewer")}};

    // Without a password file the server script refuses; a listening viewer is refused.
    for (const QStringList& orden : {QStringList{"MirrorServer"}, QStringList{"MirrorViewer", "-hidden", "-listen"}}) {
        QProcess p;
        p.start(QDir(carpeta.path()).filePath(orden[0]), orden.mid(1));
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 1) << orden.join(' ').toStdString();
    }
    EXPECT_TRUE(Procesos::DelPrograma(x11vnc).isEmpty());

    QTemporaryDir privada;
    TVNC vnc(carpeta.path(), privada.path());
    ASSERT_TRUE(vnc.Claves().Poner("vista", ""));
    int fallos = 0;
    vnc.AlFallar = [&](const QString&) { ++fallos; };
    EXPECT_TRUE(vnc.SetServidor(true));
    ASSERT_TRUE(Esperar([&] { return vnc.EnCurso() == 0; }, 10000));
    EXPECT_EQ(fallos, 0);
    EXPECT_TRUE(Esperar([&] { return vnc.ServidorEnMarcha(); }, 10000));
    EXPECT_TRUE(Esperar([&] { return Procesos::DelPrograma(x11vnc).size() == 1; }, 10000));

    // Two watching viewers, then everything stopped through "-kill".
    EXPECT_TRUE(vnc.Ver("AULA1"));
    EXPECT_TRUE(vnc.Ver("AULA2"));
    EXPECT_TRUE(Esperar([&] { return Procesos::DelPrograma(visor).size() == 2; }, 10000));
    EXPECT_TRUE(vnc.Detener());
    EXPECT_TRUE(Esperar([&] { return !vnc.ServidorEnMarcha(); }, 10000));
    EXPECT_TRUE(Esperar([&] { return Procesos::DelPrograma(x11vnc).isEmpty(); }, 10000));
    EXPECT_TRUE(Esperar([&] { return Procesos::DelPrograma(visor).isEmpty(); }, 10000));
    EXPECT_EQ(fallos, 0);

    // A name that is no PC name is refused by the viewer script.
    EXPECT_TRUE(vnc.Ver("-settings;x"));
    EXPECT_TRUE(Esperar([&] { return fallos == 1; }, 10000));

    // A server whose program is gone (killed, crashed) stops by itself.
    TArrancados procesos;
    QProcess& programa = procesos.Arrancar("/bin/sleep", {"300"});
    QProcess servidor;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("QUORVANE_PID", QString::number(programa.processId()));
    e.insert("QUORVANE_RFBAUTH", vnc.Claves().FicheroVer());
    servidor.setProcessEnvironment(e);
    servidor.start(QDir(carpeta.path()).filePath("MirrorServer"), {});
    ASSERT_TRUE(servidor.waitForFinished(10000));
    EXPECT_EQ(servidor.exitCode(), 0);
    EXPECT_TRUE(Esperar([&] { return Procesos::DelPrograma(x11vnc).size() == 1; }, 10000));
    programa.kill();
    EXPECT_TRUE(Esperar([&] { return Procesos::DelPrograma(x11vnc).isEmpty(); }, 15000));
    EXPECT_TRUE(Esperar([&] { return !vnc.ServidorEnMarcha(); }, 10000));
}

} // namespace
