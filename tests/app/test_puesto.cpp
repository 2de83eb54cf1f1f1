// Station mode, shared unit and remote monitoring: what each shows and enables.
#include "principal_prueba.h"

#include "common/esperar.h"
#include "link/ajustes_estacion.h"
#include "link/servicios_puesto_real.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace qv::test {
namespace {

using Puesto = PrincipalPrueba;

const char* const kCaptura[] = {"SpBtnProgramar", "SpBtnTest", "SpBtnLeer", "SpBtnAbortar", "Captacion1"};
const char* const kMulti[] = {"Btn_Ocupar", "Btn_Liberar", "SepOcupar", "SAD1", "PanelSAD", "I_Multi"};

TEST_F(Puesto, MonopuestoPorDefecto)
{
    Crear();
    for (const char* n : kMulti)
        EXPECT_FALSE(Visible(n)) << n;
    EXPECT_TRUE(Visible("I_Mono"));
    for (const char* n : kCaptura)
        EXPECT_TRUE(Activo(n)) << n;
    EXPECT_FALSE(ventana->Multipuesto());
    EXPECT_EQ(puesto.llamadas, QStringList({"DetenerRelay"}));
    EXPECT_FALSE(ventana->TimerOcupado().isActive());
    EXPECT_TRUE(ventana->Estado().ModeloM);
}

TEST_F(Puesto, MultipuestoSinUnidadYConUnidad)
{
    puesto.multipuesto = true;
    puesto.modeloM = false;
    Crear();
    EXPECT_TRUE(ventana->Multipuesto());
    EXPECT_FALSE(ventana->Estado().ModeloM);
    EXPECT_TRUE(ventana->Estado().Enlace()->Info().EsTcp);
    for (const char* n : kMulti)
        EXPECT_TRUE(Visible(n)) << n;
    EXPECT_FALSE(Visible("I_Mono"));
    EXPECT_EQ(puesto.llamadas, QStringList({"IniciarRelay"}));
    // Without the unit: no capture, "Ocupar" offered.
    for (const char* n : kCaptura)
        EXPECT_FALSE(Activo(n)) << n;
    EXPECT_TRUE(Activo("Btn_Ocupar"));
    EXPECT_TRUE(Activo("Ocupar1"));
    EXPECT_FALSE(Activo("Btn_Liberar"));
    EXPECT_TRUE(Visible("I_SADNo"));
    EXPECT_FALSE(Visible("I_SADSi"));

    QSignalSpy puestoCambiado(&ventana->Estado(), &TEstadoPrograma::PuestoCambiado);
    ventana->PonerSADOcupado(true);
    ASSERT_EQ(puestoCambiado.size(), 1);
    EXPECT_EQ(puestoCambiado.front(), (QVariantList{true, true}));
    for (const char* n : kCaptura)
        EXPECT_TRUE(Activo(n)) << n;
    EXPECT_FALSE(Activo("Btn_Ocupar"));
    EXPECT_TRUE(Activo("Btn_Liberar"));
    EXPECT_TRUE(Activo("Liberar1"));
    EXPECT_TRUE(Visible("I_SADSi"));
    EXPECT_FALSE(Visible("I_SADNo"));
    EXPECT_TRUE(ventana->TimerOcupado().isActive());
    EXPECT_EQ(ventana->TimerOcupado().interval(), 300000);

    // Applying the mode again keeps the unit's state but stops the reminder.
    ventana->AplicarModoPuesto(true);
    EXPECT_TRUE(Activo("SpBtnProgramar"));
    EXPECT_FALSE(ventana->TimerOcupado().isActive());

    // Back to single station: the multi-station controls go, capture stays available.
    ventana->PonerSADOcupado(false);
    ventana->AplicarModoPuesto(false);
    for (const char* n : kMulti)
        EXPECT_FALSE(Visible(n)) << n;
    for (const char* n : kCaptura)
        EXPECT_TRUE(Activo(n)) << n;
    EXPECT_EQ(puesto.llamadas.last(), QStringLiteral("DetenerRelay"));
}

// Created: whether the station is networked, then remote monitoring. First shown: the
// transport, the station mode with its relay, and the model last.
TEST_F(Puesto, AjustesLeidosYAplicadosEnSuOrden)
{
    puesto.hayRed = true;
    puesto.habilitado = true;
    puesto.multipuesto = true;
    puesto.modeloM = false;
    Crear(false);
    EXPECT_EQ(puesto.orden, QStringList({"HayRed", "Habilitado", "Activo"}));
    ventana->show();
    EXPECT_EQ(puesto.orden, QStringList({"HayRed", "Habilitado", "Activo", "TipoConAula", "IniciarRelay", "Aspecto"}));
    EXPECT_TRUE(ventana->Estado().Enlace()->Info().EsTcp);
    EXPECT_FALSE(ventana->Estado().ModeloM);
}

TEST_F(Puesto, RecordatorioDeUnidadRetenida)
{
    puesto.multipuesto = true;
    Crear();
    ventana->PonerSADOcupado(true);
    {
        TOrdenSAD orden(*ventana);
        EXPECT_FALSE(ventana->TimerOcupado().isActive());
    }
    EXPECT_TRUE(ventana->TimerOcupado().isActive());

    ventana->Timer_OcupadoTimer();
    ASSERT_EQ(interaccion.mensajes.size(), 1u);
    EXPECT_EQ(interaccion.mensajes[0].sabor, TInteraccionGuion::Sabor::Aviso);
    EXPECT_EQ(interaccion.mensajes[0].texto, QStringLiteral("T275"));

    ventana->PonerSADOcupado(false);
    {
        TOrdenSAD orden(*ventana);
    }
    EXPECT_FALSE(ventana->TimerOcupado().isActive());
}

TEST_F(Puesto, RemotoOcultoSinRedAunqueEsteHabilitado)
{
    puesto.hayRed = false;
    puesto.habilitado = true;
    Crear();
    EXPECT_FALSE(ventana->RemotoVisible());
    for (const char* n : {"Btn_Remoto", "SepRemoto", "MonRemota1", "I_RemotoSi"})
        EXPECT_FALSE(Visible(n)) << n;
    EXPECT_TRUE(Visible("I_RemotoNo"));
    EXPECT_FALSE(puesto.llamadas.contains(QStringLiteral("Escuchar")));
}

TEST_F(Puesto, RemotoConRed)
{
    puesto.hayRed = true;
    puesto.habilitado = true;
    puesto.activo = true;
    Crear();
    EXPECT_TRUE(ventana->RemotoVisible());
    for (const char* n : {"Btn_Remoto", "SepRemoto", "MonRemota1", "I_RemotoSi"})
        EXPECT_TRUE(Visible(n)) << n;
    EXPECT_FALSE(Visible("I_RemotoNo"));
    EXPECT_TRUE(ventana->PerfilRemoto());
    EXPECT_TRUE(puesto.llamadas.contains(QStringLiteral("Escuchar")));
    EXPECT_TRUE(puesto.llamadas.contains(QStringLiteral("SetServidor:1")));

    // The same value again does nothing; switching off stops the remote programs.
    puesto.llamadas.clear();
    ventana->AplicarRemoto(true);
    EXPECT_TRUE(puesto.llamadas.isEmpty());
    ventana->AplicarRemoto(false);
    EXPECT_EQ(puesto.llamadas, QStringList({"Detener"}));
    EXPECT_FALSE(Visible("MonRemota1"));
    EXPECT_TRUE(Visible("I_RemotoNo"));
}

TEST_F(Puesto, ActivoFalsoNoComparteNadaYSalirParaElServidor)
{
    // A real station (HayRed, Habilitado, a screen password, "Activo" FALSE) whose
    // stand-in remote-desktop programs record how they are started.
    QTemporaryDir carpeta, config;
    const QByteArray antes = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString registro = QDir(carpeta.path()).filePath("registro");
    for (const char* programa : {"MirrorServer", "MirrorViewer"}) {
        QFile f(QDir(carpeta.path()).filePath(programa));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"$(basename \"$0\")|$*\" >> " + registro.toLocal8Bit() + "\n");
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    TAjustesEstacion ajustes(carpeta.path());
    ASSERT_TRUE(ajustes.Escribir("PC", "HayRed", "TRUE"));
    ajustes.EscribirRemotoHabilitado(true);
    const auto lineas = [&] {
        QFile f(registro);
        return f.open(QIODevice::ReadOnly) ? QString(f.readAll()).split('\n', Qt::SkipEmptyParts) : QStringList();
    };
    {
        TServiciosPuestoReal real(carpeta.path());
        real.VNC().PuertoEscucha = 0;
        ASSERT_TRUE(real.VNC().Claves().Poner("vista", ""));
        TfrmPrincipal v(textos, interaccion, modal, real, reloj, carpeta.path());
        v.show();
        EXPECT_TRUE(v.RemotoVisible());
        EXPECT_TRUE(Esperar([&] { return real.VNC().EnCurso() == 0; }));
        EXPECT_TRUE(lineas().isEmpty());
        // Allowed from the remote dialog: now it starts.
        v.PonerPerfilRemoto(true);
        EXPECT_TRUE(Esperar([&] { return lineas() == QStringList{"MirrorServer|"}; }));
    }
    // Leaving stops what the program started.
    EXPECT_TRUE(Esperar([&] { return lineas().contains("MirrorServer|-kill"); }));
    EXPECT_TRUE(interaccion.mensajes.empty());
    qputenv("XDG_CONFIG_HOME", antes);
}


} // namespace
} // namespace qv::test
