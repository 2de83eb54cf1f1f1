#include "model/fichero_barrido.h"

#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/formatos.h"
#include "model/lector_campos.h"

#include <QList>

#include <cmath>

namespace qv {

namespace {

const QByteArray kCabecera = QByteArrayLiteral("RespuestaFrecuencia");
const QByteArray kFin = QByteArrayLiteral("FinRespuestaFrecuencia");
constexpr int kVersion = 1;
constexpr int kTextoIlegible = 370;

[[noreturn]] void Mal(const char* que)
{
    throw EErrorFormato(QStringLiteral("respuesta en frecuencia: %1").arg(QLatin1String(que)), TextoBarrido::FicheroMal);
}

QByteArray Real(double v)
{
    return FormatoCientifico(v).toLatin1();
}

class TLector {
public:
    explicit TLector(const QByteArray& datos) : l_(datos) {}

    QList<QByteArray> Campos(const char* que)
    {
        if (l_.Fin())
            Mal(que);
        QList<QByteArray> c;
        for (const QByteArray& t : l_.LeerLinea().split(' '))
            if (!t.isEmpty())
                c << t;
        if (c.isEmpty())
            Mal(que);
        return c;
    }
    QByteArray Palabra(const char* que)
    {
        const QList<QByteArray> c = Campos(que);
        if (c.size() != 1)
            Mal(que);
        return c.front();
    }
    double Numero(const QByteArray& t, const char* que)
    {
        const auto v = LeerReal(QByteArrayView(t));
        if (!v || !std::isfinite(*v))
            Mal(que);
        return *v;
    }
    double Numero(const char* que) { return Numero(Palabra(que), que); }
    int Entero(const QByteArray& t, const char* que, int minimo, int maximo)
    {
        const auto v = LeerEntero(QByteArrayView(t));
        if (!v || *v < minimo || *v > maximo)
            Mal(que);
        return int(*v);
    }
    int Entero(const char* que, int minimo, int maximo) { return Entero(Palabra(que), que, minimo, maximo); }
    bool Fin() { return l_.Fin(); }

private:
    TLectorCampos l_;
};

int Rango(const QByteArray& token)
{
    for (int r = 0; r < 6; ++r)
        if (TokenRango(r).toLatin1() == token)
            return r;
    Mal("rango");
}

} // namespace

QByteArray TextoFicheroBarrido(const TResultadoBarrido& r)
{
    const TAjustesBarrido& a = r.Ajustes;
    QByteArray s;
    auto linea = [&s](const QByteArray& t) {
        s += t;
        s += "\r\n";
    };
    linea(kCabecera);
    linea(QByteArray::number(kVersion));
    linea(a.Reparto == TReparto::Logaritmico ? "Log" : "Lineal");
    linea(Real(a.Desde));
    linea(Real(a.Hasta));
    linea(QByteArray::number(a.Puntos));
    linea(QByteArray::number(a.Salida));
    linea(Real(a.Amplitud));
    linea(Real(a.Offset));
    linea(QByteArray::number(a.Referencia) + ' ' + TokenRango(a.RangoReferencia).toLatin1());
    linea(QByteArray::number(a.Respuesta) + ' ' + TokenRango(a.RangoRespuesta).toLatin1());
    linea(Real(a.Estabilizacion));
    linea(Real(a.DesfaseGruposUs));
    linea(QByteArray::number(qsizetype(r.Puntos.size())));
    for (const TPuntoBarrido& p : r.Puntos) {
        linea(Real(p.Frecuencia) + ' ' + Real(p.GananciaDB) + ' ' + Real(p.FaseGrados) + ' '
              + QByteArray::number(int(p.Marca)) + ' ' + Real(p.AmplitudReferencia) + ' '
              + Real(p.AmplitudRespuesta));
    }
    linea(kFin);
    return s;
}

TResultadoBarrido LeerFicheroBarrido(const QByteArray& datos)
{
    TLector l(datos);
    TResultadoBarrido r;
    TAjustesBarrido& a = r.Ajustes;
    if (l.Palabra("cabecera") != kCabecera)
        Mal("cabecera");
    if (l.Entero("version", kVersion, kVersion) != kVersion)
        Mal("version");
    const QByteArray reparto = l.Palabra("reparto");
    if (reparto == "Log")
        a.Reparto = TReparto::Logaritmico;
    else if (reparto == "Lineal")
        a.Reparto = TReparto::Lineal;
    else
        Mal("reparto");
    a.Desde = l.Numero("desde");
    a.Hasta = l.Numero("hasta");
    a.Puntos = l.Entero("puntos", 1, Barrido::MaxPuntos);
    a.Salida = l.Entero("salida", 1, TConfigES::NumSalAna);
    a.Amplitud = l.Numero("amplitud");
    a.Offset = l.Numero("offset");
    for (auto [entrada, rango] : {std::pair{&a.Referencia, &a.RangoReferencia}, std::pair{&a.Respuesta, &a.RangoRespuesta}}) {
        const QList<QByteArray> c = l.Campos("entrada");
        if (c.size() != 2)
            Mal("entrada");
        *entrada = l.Entero(c[0], "entrada", 1, TConfigES::NumEntAna);
        *rango = Rango(c[1]);
    }
    a.Estabilizacion = l.Numero("estabilizacion");
    a.DesfaseGruposUs = l.Numero("desfase");
    if (ComprobarAjustes(a) != 0)
        Mal("ajustes");
    const int n = l.Entero("numero de puntos", 0, Barrido::MaxPuntos);
    r.Puntos.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const QList<QByteArray> c = l.Campos("punto");
        if (c.size() != 6)
            Mal("punto");
        TPuntoBarrido p;
        p.Frecuencia = l.Numero(c[0], "frecuencia");
        p.GananciaDB = l.Numero(c[1], "ganancia");
        p.FaseGrados = l.Numero(c[2], "fase");
        p.Marca = TMarca(l.Entero(c[3], "marca", 0, NumMarcas - 1));
        p.AmplitudReferencia = l.Numero(c[4], "amplitud");
        p.AmplitudRespuesta = l.Numero(c[5], "amplitud");
        if (!(p.Frecuencia > 0) || p.AmplitudReferencia < 0 || p.AmplitudRespuesta < 0)
            Mal("punto");
        r.Puntos.push_back(p);
    }
    if (l.Palabra("fin") != kFin)
        Mal("fin");
    // Nothing may follow but blank lines.
    while (!l.Fin()) {
        try {
            l.Campos("resto");
        } catch (const EErrorFormato&) {
            continue; // a blank line
        }
        Mal("resto");
    }
    return r;
}

bool GuardarFicheroBarrido(const QString& ruta, const TResultadoBarrido& r, QString* error)
{
    return EscribirSeguro(ruta, TextoFicheroBarrido(r), error);
}

TResultadoBarrido AbrirFicheroBarrido(const QString& ruta)
{
    QByteArray datos;
    if (!LeerFicheroEntero(ruta, datos))
        throw EErrorModelo(QStringLiteral("cannot read %1").arg(ruta), kTextoIlegible);
    return LeerFicheroBarrido(datos);
}

QByteArray CsvBarrido(const TResultadoBarrido& r)
{
    QByteArray s = "frequency_hz,gain_db,phase_deg\r\n";
    for (const TPuntoBarrido& p : r.Puntos) {
        s += FormatoGeneral(p.Frecuencia, 12).toLatin1();
        s += ',';
        if (p.Valida()) {
            s += FormatoGeneral(p.GananciaDB, 12).toLatin1();
            s += ',';
            s += FormatoGeneral(p.FaseGrados, 12).toLatin1();
        } else {
            s += ',';
        }
        s += "\r\n";
    }
    return s;
}

} // namespace qv
