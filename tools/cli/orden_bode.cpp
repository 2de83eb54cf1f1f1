#include "orden_bode.h"
#include "ordenes_cli.h"

#include "lang/interaccion.h"
#include "link/barrido_sad.h"
#include "link/com_capvis.h"
#include "model/fichero_barrido.h"
#include "model/formatos.h"

#include <QDir>
#include <QElapsedTimer>

#include <cmath>

namespace qv {

namespace {

constexpr int kTextoTerminada = 302; // state 3, read or not
constexpr int kTextoForzar = 303;    // how to replace the unit's capture
constexpr int kTextoPuntos = 545;    // "Punto %1 de %2: %3 Hz"
constexpr int kTextoQuedan = 546;    // "quedan unos %1 s"

} // namespace

bool LeerOpcionesBode(const QStringList& args, TAjustesBarrido& a, QStringList& resto, QString& error)
{
    bool desde = false, hasta = false, puntos = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& o = args[i];
        auto real = [&](double& destino) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(o);
                return false;
            }
            const auto v = LeerReal(args[++i]);
            if (!v || !std::isfinite(*v)) {
                error = QStringLiteral("%1 takes a number").arg(o);
                return false;
            }
            destino = *v;
            return true;
        };
        auto entero = [&](int& destino) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(o);
                return false;
            }
            const auto v = LeerEntero(args[++i]);
            if (!v || *v < 0 || *v > 1000000) {
                error = QStringLiteral("%1 takes a whole number").arg(o);
                return false;
            }
            destino = int(*v);
            return true;
        };
        bool ok = true;
        if (o == QLatin1String("--from"))
            ok = real(a.Desde), desde = true;
        else if (o == QLatin1String("--to"))
            ok = real(a.Hasta), hasta = true;
        else if (o == QLatin1String("--points"))
            ok = entero(a.Puntos), puntos = true;
        else if (o == QLatin1String("--output"))
            ok = entero(a.Salida);
        else if (o == QLatin1String("--reference"))
            ok = entero(a.Referencia);
        else if (o == QLatin1String("--response"))
            ok = entero(a.Respuesta);
        else if (o == QLatin1String("--amplitude"))
            ok = real(a.Amplitud);
        else if (o == QLatin1String("--offset"))
            ok = real(a.Offset);
        else if (o == QLatin1String("--settle"))
            ok = real(a.Estabilizacion);
        else if (o == QLatin1String("--linear"))
            a.Reparto = TReparto::Lineal;
        else
            resto << o;
        if (!ok)
            return false;
    }
    if (!desde || !hasta || !puntos) {
        error = QStringLiteral("bode needs --from, --to and --points");
        return false;
    }
    return true;
}

QString UsoBode()
{
    return QStringLiteral(
        "       quorvane-cli bode --from F1 --to F2 --points N [--output K] [--reference I]\n"
        "                    [--response J] [--amplitude V] [--offset V] [--settle PERIODS] [--linear]\n"
        "                    -o OUT.csv [--force] [--overwrite] [--port DEVICE | --relay HOST[:PORT]]\n");
}

QString NotasBode()
{
    return QStringLiteral(
        "bode plays a sine on analog output K (1) at N frequencies from F1 to F2 Hz (log spaced\n"
        "unless --linear), one capture each, and writes frequency_hz,gain_db,phase_deg of input J\n"
        "(2) against input I (1); the -3 dB frequencies go to standard output.\n");
}

int TOrdenesCli::Bode(const QStringList& args)
{
    TAjustesBarrido ajustes;
    QStringList resto;
    QString error;
    if (!LeerOpcionesBode(args, ajustes, resto, error))
        return ErrorUso(error);
    TOpciones op;
    if (!LeerOpcionesCli(resto, op, error))
        return ErrorUso(error);
    if (!op.posicionales.isEmpty())
        return ErrorUso(QStringLiteral("bode takes no file"));
    if (op.salida.isEmpty())
        return ErrorUso(QStringLiteral("bode needs -o OUT.csv"));
    if (!CargarIdioma())
        return Salida::Fallo;
    if (const int clave = ComprobarAjustes(ajustes))
        return Error(clave);
    if (op.salida != QLatin1String("-") && !SalidaLibre(op.salida, op.sobreescribir))
        return Salida::Fallo;

    TBarridoSAD barrido(ajustes, idioma_, carpeta_);
    if (const int i = barrido.Plan().PrimerImposible; i >= 0) {
        const TPuntoPlan& p = barrido.Plan().Puntos[std::size_t(i)];
        return Error(p.Clave, QStringLiteral("(%1)").arg(TextoFrecuencia(p.Nominal, idioma_)));
    }
    QString donde;
    auto com = Conectar(op, donde);
    if (!com)
        return Salida::Fallo;

    QElapsedTimer reloj;
    reloj.start();
    while (auto punto = barrido.Siguiente()) {
        const QString cabeza = idioma_.BuscarTexto(kTextoPuntos)
                                   .arg(barrido.Hechos() + 1)
                                   .arg(barrido.Total())
                                   .arg(FormatoGeneral(punto->Plan().Frecuencia, 6));
        qint64 mostrado = -1000;
        auto progreso = [&] {
            if (reloj.elapsed() - mostrado < 200)
                return;
            mostrado = reloj.elapsed();
            const TConversacion::TAvance a = punto->Avance();
            const double parte = a.esperados > 0 ? double(a.recibidos) / double(a.esperados) : 0.0;
            Progreso(cabeza + QStringLiteral(", ")
                     + idioma_.BuscarTexto(kTextoQuedan).arg(qint64(std::ceil(barrido.SegundosRestantes(parte)))));
        };
        int estado = -1;
        auto decidir = [&] {
            estado = punto->EstadoUnidad();
            return op.forzar ? Respuesta::Si : Respuesta::Cancelar;
        };
        const qint64 inicio = reloj.elapsed();
        const TConversacion::TPaso paso = HablarAqui(*punto, *com, decidir, progreso);
        if (paso == TConversacion::TPaso::Fallida)
            return ErrorUnidad(*com, punto->ClaveFallo() != 0 ? punto->ClaveFallo() : 101);
        if (paso != TConversacion::TPaso::Terminada) {
            // The unit holds another capture (or the data of one): left alone.
            const int clave = estado == SadConDatos ? kTextoTerminada : estado >= 0 ? 127 + estado : 101;
            return Error(clave, QStringLiteral("(%1)").arg(idioma_.BuscarTexto(kTextoForzar)));
        }
        barrido.Anotar(*punto, double(reloj.elapsed() - inicio) / 1000);
    }
    if (lineaAbierta_) {
        std::fputc('\n', error_);
        lineaAbierta_ = false;
    }
    const TResultadoBarrido& r = barrido.Resultado();
    int marcados = 0;
    for (const TPuntoBarrido& p : r.Puntos)
        marcados += p.Valida() ? 0 : 1;
    if (marcados > 0) {
        const QStringList marcas = idioma_.BuscarTexto(TextoBarrido::Marcas).split(QLatin1Char('|'));
        for (const TPuntoBarrido& p : r.Puntos)
            if (!p.Valida())
                interaccion_.Escribir(QStringLiteral("%1 Hz: %2").arg(FormatoGeneral(p.Frecuencia, 6),
                                                                     marcas.value(int(p.Marca))));
    }
    if (!Escribir(op.salida == QLatin1String("-") ? QString() : op.salida, CsvBarrido(r)))
        return Salida::Fallo;
    QString informe;
    const std::vector<TLectura> cortes = PuntosMenos3dB(r);
    for (const TLectura& c : cortes)
        informe += QStringLiteral("-3 dB: %1 Hz, phase %2 deg\n").arg(FormatoGeneral(c.Frecuencia, 6),
                                                                     FormatoFijo(c.FaseGrados, 2));
    if (cortes.empty())
        informe = QStringLiteral("-3 dB: none within the sweep\n");
    // With the CSV on standard output the readings go to standard error.
    if (op.salida == QLatin1String("-"))
        interaccion_.Escribir(informe.trimmed());
    else if (!Escribir(QString(), informe.toLocal8Bit()))
        return Salida::Fallo;
    return Salida::Bien;
}

} // namespace qv
