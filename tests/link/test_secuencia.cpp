// The capture sequence as a step object, on virtual time against a scripted unit:
// state check, programming, "Programa.cfg", the wait, the incremental read-back,
// cancelling and the bounded failures.
#include "common/interaccion_guion.h"
#include "link/com_capvis.h"
#include "link/secuencia_captura.h"
#include "model/config_es.h"
#include "model/fichero_config.h"
#include "model/generadores.h"
#include "model/operacion.h"
#include "model/senales.h"
#include "puerto_guion.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <set>

using namespace qv;
using namespace qv::test;
using Sec = TSecuenciaCaptura;

namespace {

// A unit answering from a script: the states of successive "2#", the progress of
// "10#", the read-back of "9#" cut into pieces with empty receives between them.
struct Secuencia : ::testing::Test {
    TRelojFalso reloj;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TComCapvis enlace{textos, inter, reloj, {}};
    TPuertoGuion* puerto = nullptr;
    QTemporaryDir carpeta;
    TConfigES config;
    TOperaciones operaciones;

    std::deque<int> estados{0}; // the last one stays
    bool aceptaCaptura = true;
    std::deque<QByteArray> lecturas;
    int trozo = 0;  // bytes per piece of a read-back (0: whole)
    int huecos = 0; // empty receives after each piece

    void SetUp() override
    {
        auto p = std::make_unique<TPuertoGuion>(reloj);
        puerto = p.get();
        enlace.PonerPuerto(std::move(p), false);
        puerto->responder = [this](const QByteArray& t) { Responder(t); };

        // Analog input 1, digital input 1, analog output 1 at 2 V, 4 samples of 1 ms,
        // and an operation on the captured input and the output.
        config.NumMuestras = 4;
        config.UnidadPeriodo = Unidad::Mili;
        config.Periodo = 1;
        config.EntAna(1).Activo = true;
        config.EntDig(1).Activo = true;
        config.SalAna(1).Activo = true;
        config.SalAna(1).Generador =
            std::make_unique<TGenEscalon>(textos, "microsegundos", "microsegundos", 0.0f, 2.0f, 2.0f);
        operaciones.AnadirOpAna(TOperacion("1", 0, false, false, 0, 0, "Ana", "V", "Resta", "-", "9"));
    }

    void Responder(const QByteArray& t)
    {
        if (t == "2#") {
            puerto->Encolar("&" + QByteArray::number(estados.front()) + "#");
            if (estados.size() > 1)
                estados.pop_front();
        } else if (t == "10#") {
            puerto->Encolar("&2,1,100#");
        } else if (t == "9#") {
            if (lecturas.empty())
                return;
            const QByteArray r = lecturas.front();
            if (lecturas.size() > 1)
                lecturas.pop_front();
            const int paso = trozo > 0 ? trozo : int(r.size());
            for (qsizetype i = 0; i < r.size(); i += paso) {
                puerto->Encolar(r.mid(i, paso));
                for (int h = 0; h < huecos; ++h)
                    puerto->Encolar(QByteArray());
            }
        } else if (!t.startsWith('7') || aceptaCaptura) {
            puerto->Encolar("&");
        }
    }

    // Sample k: digital word k+1 (bit 0 = input 1, wrapping at 256), analog count 100 x k.
    static QByteArray Respuesta(int n = 4)
    {
        QByteArray r = "&" + QByteArray::number(n);
        for (int k = 0; k < n; ++k)
            r += "," + QByteArray::number((k + 1) % 256) + "," + QByteArray::number(100 * k);
        return r + "#";
    }

    std::unique_ptr<Sec> Nueva(Sec::TModo modo = Sec::TModo::Completa, Sec::TTipo tipo = Sec::TTipo::Inmediata)
    {
        return std::make_unique<Sec>(config, operaciones, textos, carpeta.path(), modo, tipo);
    }

    // Drives the sequence as a caller does, waiting what it suggests; `cada` sees it
    // after every step. Steps themselves must never sleep.
    Sec::TPaso Correr(Sec& s, const std::function<void()>& cada = {}, int maxPasos = 100000)
    {
        Sec::TPaso p = Sec::TPaso::Sigue;
        for (int i = 0; i < maxPasos && p == Sec::TPaso::Sigue; ++i) {
            p = s.Paso(enlace);
            if (cada)
                cada();
            reloj.ahora += s.EsperaSugerida();
        }
        return p;
    }

    QString Programa() const { return carpeta.filePath("Programa.cfg"); }
    int Enviados(const QByteArray& t) const { return int(puerto->enviados.count(t)); }
};

TEST_F(Secuencia, CapturaCompletaDeEstadoASenales)
{
    estados = {0, 1, 2, 3};
    lecturas = {Respuesta()};
    auto s = Nueva();
    std::vector<Sec::TFase> fases;
    const Sec::TPaso p = Correr(*s, [&] {
        if (fases.empty() || fases.back() != s->Fase())
            fases.push_back(s->Fase());
    });
    ASSERT_EQ(p, Sec::TPaso::Terminada) << s->ClaveFallo();
    EXPECT_TRUE(reloj.suenos.empty()) << "a step slept";
    EXPECT_EQ(fases, (std::vector<Sec::TFase>{Sec::TFase::Programar, Sec::TFase::Esperar, Sec::TFase::Leer,
                                              Sec::TFase::Derivar, Sec::TFase::Terminada}));
    // Polls: 1 (programmed), 2 (capturing: progress asked), 3 (finished).
    EXPECT_EQ(Enviados("2#"), 4);
    EXPECT_EQ(Enviados("10#"), 1);
    EXPECT_EQ(Enviados("9#"), 1);
    EXPECT_EQ(s->ProgresoUnidad(), 2);
    ASSERT_TRUE(puerto->enviados.size() > 2);
    EXPECT_EQ(puerto->enviados[1], "3,c,0#");
    EXPECT_EQ(puerto->enviados[2], "7,4,2,a,c,1,w,51,51,51,0,0,1,1#");

    std::unique_ptr<TCjtSenales> senales = s->TomarSenales();
    ASSERT_TRUE(senales);
    EXPECT_EQ(senales->NombresDig(), QStringList{"InDigA1"});
    const TSenalAna* in = senales->BuscarAna("InAnaC1");
    const TSenalAna* out = senales->BuscarAna("OutAnY1");
    const TSenalAna* resta = senales->BuscarAna("Resta");
    ASSERT_TRUE(in && out && resta) << senales->NombresAna().join(' ').toStdString();
    EXPECT_EQ(s->Muestras(), 4);
    EXPECT_EQ(senales->BuscarDig("InDigA1")->LeerMuestra(1), 0); // word 2
    EXPECT_EQ(senales->BuscarDig("InDigA1")->LeerMuestra(2), 1); // word 3
    EXPECT_NEAR(in->LeerMuestra(3), 300 * 10.0 / 2048, 1e-6);
    EXPECT_NEAR(resta->LeerMuestra(3), in->LeerMuestra(3) - out->LeerMuestra(3), 1e-6);

    // What was programmed is on disk for a later read-back.
    EXPECT_EQ(s->RutaPrograma(), Programa());
    TFicheroConfig fichero(textos, inter, carpeta.path());
    auto leido = fichero.LeerSoloConfiguracion(Programa());
    ASSERT_TRUE(leido);
    EXPECT_EQ(leido->NumMuestras, 4);
    EXPECT_TRUE(leido->SalAna(1).Activo);
    EXPECT_EQ(Sec::BuscarPrograma(carpeta.path()), Programa());
}

TEST_F(Secuencia, ProgramacionRechazadaNoEscribePrograma)
{
    aceptaCaptura = false;
    auto s = Nueva(Sec::TModo::Completa, Sec::TTipo::Retardada);
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), 135);
    EXPECT_FALSE(QFileInfo::exists(Programa()));
    EXPECT_TRUE(s->RutaPrograma().isEmpty());
    EXPECT_EQ(Enviados("9#"), 0);
    EXPECT_FALSE(s->TomarSenales());
}

// States 1, 2 and 3 stop for the caller, who may abort first, go on or stop.
TEST_F(Secuencia, LaUnidadConCapturaEsperaLaDecision)
{
    estados = {1, 3};
    lecturas = {Respuesta()};
    auto s = Nueva();
    ASSERT_EQ(Correr(*s), Sec::TPaso::Decidir);
    EXPECT_EQ(s->EstadoUnidad(), 1);
    EXPECT_EQ(s->Paso(enlace), Sec::TPaso::Decidir); // nothing happens meanwhile
    EXPECT_EQ(puerto->enviados.size(), 1);
    s->Seguir(true);
    ASSERT_EQ(Correr(*s), Sec::TPaso::Terminada);
    ASSERT_GE(puerto->enviados.size(), 4);
    EXPECT_EQ(puerto->enviados[1], "8#");
    EXPECT_EQ(puerto->enviados[2], TComCapvis::SalidasACero);

    // Going on without an abort; and an abort the unit refuses.
    for (bool abortar : {false, true}) {
        puerto->enviados.clear();
        estados = {3};
        puerto->responder = [this](const QByteArray& t) {
            if (t != "8#")
                Responder(t);
        };
        s = Nueva();
        ASSERT_EQ(Correr(*s), Sec::TPaso::Decidir);
        s->Seguir(abortar);
        if (abortar) {
            EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
            EXPECT_EQ(s->ClaveFallo(), 131);
            EXPECT_EQ(Enviados("9#"), 0);
        } else {
            EXPECT_EQ(Correr(*s), Sec::TPaso::Terminada);
            EXPECT_EQ(Enviados("8#"), 0);
        }
    }

    // Stopping at the decision leaves the unit alone.
    puerto->enviados.clear();
    s = Nueva();
    ASSERT_EQ(Correr(*s), Sec::TPaso::Decidir);
    s->Cancelar();
    EXPECT_EQ(s->Paso(enlace), Sec::TPaso::Cancelada);
    EXPECT_EQ(puerto->enviados, QList<QByteArray>{"2#"});
}

// Cancelling the wait for the end leaves the unit free: its capture is aborted and its
// outputs set to zero before the conversation ends; a link lost while programming says so.
TEST_F(Secuencia, CancelarLaEsperaAbortaYUnEnlacePerdidoSeDice)
{
    estados = {0, 2};
    auto s = Nueva(Sec::TModo::Completa, Sec::TTipo::Retardada);
    const Sec::TPaso p = Correr(*s, [&] {
        if (s->Fase() == Sec::TFase::Esperar && s->EstadoUnidad() == 2)
            s->Cancelar();
    });
    EXPECT_EQ(p, Sec::TPaso::Cancelada);
    ASSERT_GE(puerto->enviados.size(), 2);
    EXPECT_EQ(puerto->enviados[puerto->enviados.size() - 2], "8#");
    EXPECT_EQ(puerto->enviados.back(), TComCapvis::SalidasACero);
    EXPECT_EQ(Enviados("9#"), 0);

    // The relay's connection closes under the capture command.
    enlace.PonerPuerto(nullptr, true);
    auto p2 = std::make_unique<TPuertoGuion>(reloj);
    puerto = p2.get();
    enlace.PonerPuerto(std::move(p2), true);
    puerto->responder = [this](const QByteArray& t) {
        if (t.startsWith('7'))
            puerto->abierto = false;
        else
            Responder(t);
    };
    estados = {0};
    inter.mensajes.clear();
    s = Nueva();
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), TComCapvis::kTextoConexionPerdida);
    EXPECT_TRUE(inter.mensajes.empty()) << "no missing-acknowledge box for a link that is gone";
}

// Cancelled while its capture command is on its way (minutes on a slow line): the unit
// drops the half command, nothing is programmed, and no box says it refused.
TEST_F(Secuencia, CancelarDuranteElEnvioNoProgramaNada)
{
    estados = {0};
    puerto->cortarCaptura = true;
    const std::atomic<bool> cancelado{true};
    enlace.PonerInterrupcion(&cancelado);
    auto s = Nueva(Sec::TModo::Completa, Sec::TTipo::Retardada);
    EXPECT_EQ(Correr(*s), Sec::TPaso::Cancelada);
    EXPECT_TRUE(inter.mensajes.empty());
    EXPECT_FALSE(QFileInfo::exists(Programa()));
    ASSERT_FALSE(puerto->enviados.isEmpty());
    EXPECT_TRUE(puerto->enviados.back().startsWith('7'));
    EXPECT_TRUE(puerto->enviados.back().endsWith('#'));
    enlace.PonerInterrupcion(nullptr);
}

TEST_F(Secuencia, ElProgresoDeLaLecturaCreceHastaLoEsperado)
{
    estados = {3};
    const int n = 300;
    config.NumMuestras = n;
    lecturas = {Respuesta(n)};
    trozo = 97;
    huecos = 1;
    auto s = Nueva(Sec::TModo::SoloLectura);
    s->PonerPrograma(config);
    std::vector<qint64> recibidos;
    qint64 esperados = 0;
    ASSERT_EQ(Correr(*s,
                     [&] {
                         if (s->Fase() == Sec::TFase::Leer || s->Fase() == Sec::TFase::Derivar) {
                             recibidos.push_back(s->Recibidos());
                             esperados = std::max(esperados, s->Esperados());
                         }
                     }),
              Sec::TPaso::Terminada);
    EXPECT_EQ(esperados, 2 * n);
    ASSERT_FALSE(recibidos.empty());
    EXPECT_TRUE(std::is_sorted(recibidos.begin(), recibidos.end()));
    EXPECT_EQ(recibidos.back(), 2 * n);
    // Fields came in over many steps, not at once.
    EXPECT_GT(std::set<qint64>(recibidos.begin(), recibidos.end()).size(), 20u);
    EXPECT_TRUE(reloj.suenos.empty());
}

TEST_F(Secuencia, CancelarEnMitadDeLaLecturaDejaElConjuntoYDrenaLaRespuesta)
{
    estados = {3};
    const int n = 200;
    config.NumMuestras = n;
    lecturas = {Respuesta(n)};
    trozo = 50;
    huecos = 3; // the unit is still sending when the user cancels
    auto s = Nueva(Sec::TModo::SoloLectura);
    s->PonerPrograma(config);
    int pasosTrasCancelar = -1;
    const Sec::TPaso p = Correr(*s, [&] {
        if (pasosTrasCancelar >= 0)
            ++pasosTrasCancelar;
        else if (s->Recibidos() > n / 2) {
            s->Cancelar();
            pasosTrasCancelar = 0;
        }
    });
    // Done with at the next step, while the unit is still sending: the rest is the
    // protocol object's to drain.
    EXPECT_EQ(p, Sec::TPaso::Cancelada);
    EXPECT_EQ(pasosTrasCancelar, 1);
    EXPECT_TRUE(enlace.PorDrenar());
    EXPECT_FALSE(s->TomarSenales());
    EXPECT_EQ(Enviados("9#"), 1);
    // The next command waits the reply out and reads its own answer.
    estados = {0};
    int e = -1;
    ASSERT_TRUE(enlace.LeerEstado(e));
    EXPECT_EQ(e, 0);
    EXPECT_FALSE(enlace.PorDrenar());
    EXPECT_TRUE(std::all_of(puerto->entrada.begin(), puerto->entrada.end(),
                            [](const QByteArray& t) { return t.isEmpty(); }));
}

TEST_F(Secuencia, LaUnidadQueCallaAMitadDeLaLecturaFallaEnTiempoAcotado)
{
    estados = {3};
    config.NumMuestras = 100;
    lecturas = {Respuesta(100).left(200)};
    enlace.ActualizarGrupos(config);
    auto s = Nueva(Sec::TModo::SoloLectura);
    const qint64 t0 = reloj.ahora;
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), 140);
    EXPECT_EQ(Enviados("9#"), 3);
    EXPECT_LT(reloj.ahora - t0, 2000);

    // A line that goes down: the retry cannot go out.
    lecturas = {Respuesta(100).left(200)};
    puerto->enviados.clear();
    puerto->responder = [this](const QByteArray& t) {
        Responder(t);
        if (t == "9#")
            puerto->fallarEnviar = true;
    };
    s = Nueva(Sec::TModo::SoloLectura);
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), 157);
    EXPECT_EQ(Enviados("9#"), 1);
}

TEST_F(Secuencia, EsperaQueNoTerminaYCapturaPerdida)
{
    // 4 samples of 1 ms: the limit is 10 s and a bit; polls every 50 ms.
    estados = {1};
    auto s = Nueva(Sec::TModo::EsperaYLectura);
    const qint64 t0 = reloj.ahora;
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), 129);
    EXPECT_GE(reloj.ahora - t0, 10000);
    EXPECT_LT(reloj.ahora - t0, 11000);
    EXPECT_GT(Enviados("2#"), 150);
    EXPECT_LT(Enviados("2#"), 250);

    // A longer delayed capture gets a longer limit and lazier polls.
    config.Retardo = 100;
    puerto->enviados.clear();
    s = Nueva(Sec::TModo::EsperaYLectura, Sec::TTipo::Retardada);
    const qint64 t1 = reloj.ahora;
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), 129);
    EXPECT_GE(reloj.ahora - t1, 120000);
    EXPECT_LT(Enviados("2#"), 260); // every 500 ms

    estados = {2, 0};
    s = Nueva(Sec::TModo::SoloEspera);
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), 127);

    // Three state queries in a row without answer.
    puerto->responder = nullptr;
    s = Nueva(Sec::TModo::SoloEspera);
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), 125);

    // Behind the relay the unit's loss is told even when the last failed query only
    // found the relay getting ready.
    puerto->lineasRelay = true;
    int consulta = 0;
    puerto->responder = [&](const QByteArray&) { puerto->entrada.push_back(++consulta == 2 ? "%" : "+"); };
    s = Nueva(Sec::TModo::SoloEspera);
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), TComCapvis::kTextoSADPerdido);

    // A relay getting ready for a few seconds (a late answer thrown away) is waited
    // for; one that stays so past the greeting's wait fails the read.
    consulta = 0;
    int preparadas = 8;
    puerto->responder = [&](const QByteArray& t) {
        if (++consulta <= preparadas)
            puerto->entrada.push_back("+");
        else
            Responder(t);
    };
    estados = {3};
    s = Nueva(Sec::TModo::SoloEspera);
    EXPECT_EQ(Correr(*s), Sec::TPaso::Terminada) << s->ClaveFallo();
    consulta = 0;
    preparadas = 1000;
    s = Nueva(Sec::TModo::SoloEspera);
    const qint64 desde = reloj.ahora;
    EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_GE(reloj.ahora - desde, TComCapvis::EsperaSaludo);
    puerto->responder = nullptr; // it refers to this test's locals
}

// "Leer" after a restart: the layout comes from the stored program; only state 3 reads.
TEST_F(Secuencia, SoloLecturaRestauraLaDisposicionDelPrograma)
{
    lecturas = {Respuesta()};
    for (auto [estado, clave] : {std::pair{0, 217}, {1, 128}, {2, 129}}) {
        estados = {estado};
        auto s = Nueva(Sec::TModo::SoloLectura);
        EXPECT_EQ(Correr(*s), Sec::TPaso::Fallida);
        EXPECT_EQ(s->ClaveFallo(), clave);
    }
    EXPECT_EQ(Enviados("9#"), 0);

    estados = {3};
    // Nothing was programmed through this protocol object: its snapshot is empty.
    auto s = Nueva(Sec::TModo::SoloLectura);
    s->PonerPrograma(config);
    ASSERT_EQ(Correr(*s), Sec::TPaso::Terminada);
    auto senales = s->TomarSenales();
    ASSERT_TRUE(senales);
    EXPECT_EQ(senales->NumDig(), 1);
    EXPECT_EQ(senales->NumAna(), 3); // input, output, operation
}

// An output whose signal cannot be computed (its generator was changed after the
// programming) fails the derivation: nothing of the capture is handed over.
TEST_F(Secuencia, DerivacionFallidaNoEntregaNada)
{
    lecturas = {Respuesta()};
    estados = {3};
    config.SalAna(1).Generador =
        std::make_unique<TGenRampa>(textos, "microsegundos", "microsegundos", 0.0f, 0.0f, 0.0f, 5.0f);
    auto s = Nueva(Sec::TModo::SoloLectura);
    s->PonerPrograma(config);
    ASSERT_EQ(Correr(*s), Sec::TPaso::Fallida);
    EXPECT_EQ(s->ClaveFallo(), 101);
    EXPECT_FALSE(s->TomarSenales());
}


// ---- the parser under the blocking read-back ----

struct LecturaPorPartes : Secuencia {};

// The rest of a broken reply still on its way must be drained before "9#" goes out
// again, or it would be read as the start of the next reply.
TEST_F(LecturaPorPartes, ElRestoDeUnaRespuestaRotaNoSeConfundeConLaSiguiente)
{
    config.NumMuestras = 2;
    enlace.ActualizarGrupos(config);
    int nueves = 0;
    puerto->responder = [&](const QByteArray& t) {
        if (t != "9#")
            return;
        if (nueves++ == 0) {
            for (const char* p : {"&2,5,1x,6", "", "", "", ",11#"})
                puerto->Encolar(p);
        } else {
            puerto->Encolar("&2,5,10,6,11#");
        }
    };
    TCjtSenales senales(textos, inter);
    bool datos = false;
    int n = 0;
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    EXPECT_TRUE(datos);
    EXPECT_EQ(nueves, 2);
    EXPECT_EQ(senales.NumAna(), 1);
    EXPECT_NEAR(senales.BuscarAna("InAnaC1")->LeerMuestra(1), 11 * 10.0 / 2048, 1e-6);
}

} // namespace
