// quorvane-cli fit: a curve fit of one analog signal of a signal file, between two
// times or over the whole signal.
#include "orden_ajuste.h"
#include "ordenes_cli.h"

#include "exportar_csv.h"

#include "model/config_es.h"
#include "model/formatos.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QDir>

#include <cmath>
#include <limits>

namespace qv {

namespace {

constexpr int kTextoSinMuestras = 425;
constexpr int kTextoNoConverge = 576;
constexpr int kTextoIndeterminado = 577;
constexpr int kTextoExpresion = 578;
constexpr int kTextoPocasMuestras = 586;

QByteArray Fila(const QString& nombre, double valor, const QString& error)
{
    return CampoCsv(nombre) + ',' + FormatoGeneral(valor).toLatin1() + ',' + error.toLatin1() + "\r\n";
}

} // namespace

std::optional<TPeticionAjuste> PeticionDeNombre(const QString& nombre)
{
    TPeticionAjuste p;
    if (nombre.startsWith(QLatin1String("expr:"))) {
        p.Modelo = TModeloAjuste::Expresion;
        p.Expresion = nombre.mid(5);
        return p;
    }
    const std::optional<TModeloAjuste> m = ModeloDeClave(nombre);
    if (!m || *m == TModeloAjuste::Expresion)
        return std::nullopt;
    p.Modelo = *m;
    return p;
}

QByteArray TextoAjuste(const TResultadoAjuste& r, const QString& senal, bool csv)
{
    QByteArray t;
    if (csv) {
        t = "parameter,value,standard_error\r\n";
        for (const TParametroAjuste& p : r.Parametros)
            t += Fila(p.Nombre, p.Valor, FormatoGeneral(p.Error));
        t += Fila(QStringLiteral("r2"), r.R2, {});
        t += Fila(QStringLiteral("rms"), r.Rms, {});
        return t;
    }
    t += QStringLiteral("signal %1, samples %2 to %3 (%4), t = 0 at %5 s\r\n")
             .arg(senal)
             .arg(r.Tramo.desde)
             .arg(r.Tramo.hasta)
             .arg(r.Muestras())
             .arg(FormatoGeneral(r.Origen(), 6))
             .toLocal8Bit();
    t += QStringLiteral("model %1: %2\r\n")
             .arg(ClaveModelo(r.Modelo), EcuacionModelo(r.Modelo, r.Expresion))
             .toLocal8Bit();
    qsizetype ancho = 4;
    for (const TParametroAjuste& p : r.Parametros)
        ancho = std::max(ancho, p.Nombre.size() + 1);
    for (const TParametroAjuste& p : r.Parametros)
        t += QStringLiteral("%1 %2 +- %3\r\n")
                 .arg(p.Nombre, -int(ancho))
                 .arg(FormatoGeneral(p.Valor, 8), FormatoGeneral(p.Error, 3))
                 .toLocal8Bit();
    t += QStringLiteral("%1 %2\r\n").arg(QStringLiteral("r2"), -int(ancho)).arg(FormatoGeneral(r.R2, 8)).toLocal8Bit();
    t += QStringLiteral("%1 %2\r\n").arg(QStringLiteral("rms"), -int(ancho)).arg(FormatoGeneral(r.Rms, 6)).toLocal8Bit();
    return t;
}

int TOrdenesCli::Ajustar(const TOpciones& op)
{
    if (op.posicionales.size() != 1)
        return ErrorUso(QStringLiteral("fit takes one file"));
    if (op.senales.size() != 1)
        return ErrorUso(QStringLiteral("fit takes one signal: --signals NAME"));
    const std::optional<TPeticionAjuste> peticion = PeticionDeNombre(op.modelo);
    if (!peticion)
        return ErrorUso(QStringLiteral("--model takes linear, poly2 to poly5, exp, rc, sine, damped-sine or "
                                       "expr:FORMULA"));
    double desde = 0, hasta = 0;
    if (const std::optional<int> fallo = LeerIntervalo(op, desde, hasta))
        return *fallo;

    const QString ruta = op.posicionales.front();
    TConfigES config;
    TOperaciones operaciones;
    TCjtSenales senales(idioma_, interaccion_);
    if (const std::optional<int> fallo = AbrirConSenales(ruta, {}, config, operaciones, senales))
        return *fallo;
    const QString& nombre = op.senales.front();
    const TSenalAna* s = senales.BuscarAna(nombre);
    if (!s) {
        interaccion_.Escribir(
            QStringLiteral("%1 holds no analog signal named %2").arg(QDir::toNativeSeparators(ruta), nombre));
        return Salida::Fallo;
    }
    const TTramo tramo = TramoDeTiempos(s->Periodo(), s->NumMuestras(), desde, hasta);
    if (tramo.hasta < tramo.desde)
        return Error(kTextoSinMuestras);
    const TResultadoAjuste r = AjustarSenal(*peticion, *s, tramo);
    switch (r.Fallo) {
    case TFalloAjuste::Ninguno:
        break;
    case TFalloAjuste::Expresion:
        return Error(kTextoExpresion, QStringLiteral("%1 (%2)").arg(r.FragmentoError).arg(r.PosicionError + 1).trimmed());
    case TFalloAjuste::PocasMuestras:
        return Error(kTextoPocasMuestras);
    case TFalloAjuste::Indeterminado:
        return Error(kTextoIndeterminado);
    case TFalloAjuste::NoConverge:
        return Error(kTextoNoConverge);
    }
    return Escribir(QString(), TextoAjuste(r, nombre, op.csv)) ? Salida::Bien : Salida::Fallo;
}

} // namespace qv
