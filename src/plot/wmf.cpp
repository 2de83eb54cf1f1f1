#include "plot/wmf.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QTextItem>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <set>
#include <vector>

namespace qv {

namespace {

// Record functions of the 16-bit metafile format.
enum : quint16 {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETPOLYFILLMODE = 0x0106,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DELETEOBJECT = 0x01F0,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_POLYPOLYGON = 0x0538,
    META_EXTTEXTOUT = 0x0A32,
    META_STRETCHDIB = 0x0F43,
};

enum : quint16 {
    TRANSPARENT = 1,
    ALTERNATE = 1,
    WINDING = 2,
    TA_BASELINE = 24,
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_ENDCAP_SQUARE = 0x0100,
    PS_ENDCAP_FLAT = 0x0200,
    PS_JOIN_BEVEL = 0x1000,
    PS_JOIN_MITER = 0x2000,
    BS_SOLID = 0,
    BS_NULL = 1,
    BS_HATCHED = 2,
};

constexpr quint32 ClavePlaceable = 0x9AC6CDD7u;
constexpr quint32 SRCCOPY = 0x00CC0020u;
// Points per polyline record: well inside the signed 16-bit count.
constexpr int MaxPuntosPolilinea = 8000;
// A polygon cannot be cut in pieces; beyond this it is thinned.
constexpr int MaxPuntosPoligono = 32000;

qint16 Acotar16(double v)
{
    // NaN lands on the lower bound instead of an undefined conversion.
    if (!(v > -32768.0))
        return -32768;
    if (!(v < 32767.0))
        return 32767;
    return static_cast<qint16>(std::lround(v));
}

// A colour as a COLORREF; translucent colours blended over white, since the
// format has no alpha and graphs are drawn on white.
quint32 ColorRef(const QColor& c)
{
    const QColor rgb = c.toRgb();
    const double a = rgb.alphaF();
    auto mezcla = [a](int v) { return static_cast<quint32>(std::lround(v * a + 255.0 * (1.0 - a))); };
    return mezcla(rgb.red()) | (mezcla(rgb.green()) << 8) | (mezcla(rgb.blue()) << 16);
}

// The one colour that stands for a brush the format cannot hold.
QColor ColorDePincel(const QBrush& b)
{
    if (const QGradient* g = b.gradient()) {
        const auto paradas = g->stops();
        if (paradas.isEmpty())
            return b.color();
        double r = 0, v = 0, a = 0, al = 0;
        for (const auto& p : paradas) {
            r += p.second.redF();
            v += p.second.greenF();
            a += p.second.blueF();
            al += p.second.alphaF();
        }
        const double n = paradas.size();
        return QColor::fromRgbF(float(r / n), float(v / n), float(a / n), float(al / n));
    }
    if (b.style() == Qt::TexturePattern) {
        const QImage img = b.textureImage();
        if (!img.isNull())
            return img.convertToFormat(QImage::Format_ARGB32)
                .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .pixelColor(0, 0);
    }
    return b.color();
}

class TBytes {
public:
    QByteArray b;

    void Palabra(quint16 v)
    {
        const char c[2] = {char(v & 0xFF), char(v >> 8)};
        b.append(c, 2);
    }
    void Entero(qint16 v) { Palabra(static_cast<quint16>(v)); }
    void Doble(quint32 v)
    {
        Palabra(quint16(v & 0xFFFF));
        Palabra(quint16(v >> 16));
    }
    // Bytes padded with a zero to a whole number of words.
    void Cadena(const QByteArray& s)
    {
        b.append(s);
        if (s.size() % 2)
            b.append('\0');
    }
};

struct TEstadoDC {
    int lapiz = -1;
    int pincel = -1;
    int fuente = -1;
    qint64 colorTexto = -1; // -1: not set in this file yet
    int relleno = 0;        // 0: not set yet
    bool Tiene(int obj) const { return obj >= 0 && (obj == lapiz || obj == pincel || obj == fuente); }
};

enum class TClase { Lapiz, Pincel, Fuente };

} // namespace

QByteArray TextoWindows1252(const QString& texto)
{
    static const struct {
        char32_t u;
        unsigned char c;
    } tabla[] = {{0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
                 {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
                 {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
                 {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
                 {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
                 {0x017E, 0x9E}, {0x0178, 0x9F}, {0x2212, '-'}};
    QByteArray r;
    r.reserve(texto.size());
    for (const char32_t u : texto.toUcs4()) {
        if ((u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u <= 0xFF)) {
            r.append(char(u));
            continue;
        }
        char c = '?';
        for (const auto& e : tabla)
            if (e.u == u)
                c = char(e.c);
        r.append(c);
    }
    return r;
}

struct TMotorWMF::TPrivado {
    QSize tamano;
    int ppp;
    double escala; // logical units per pixel
    int pulgada;   // logical units per inch

    QPaintDevice* dispositivo = nullptr;
    QByteArray fichero;
    TBytes reg;
    quint32 mayorRegistro = 0;
    int inicioRegistro = 0;

    // Object table as the player keeps it: a new object takes the lowest free slot.
    std::vector<QByteArray> objetos; // creation record of each live slot, empty when free
    std::set<int> pendientes;        // replaced objects a saved DC state still selects
    TEstadoDC actual;
    std::vector<TEstadoDC> pila;

    // Painter state.
    QTransform transformacion;
    QTransform aLogico; // painter coordinates to logical units
    QPen lapiz;
    QBrush pincel;
    double opacidad = 1.0;
    bool recorteActivo = false;
    std::optional<QRectF> recorteQt; // in pixels of the picture
    std::optional<std::array<qint16, 4>> recorteEmitido;

    // Records.
    void Empezar(quint16 funcion)
    {
        inicioRegistro = reg.b.size();
        reg.Doble(0);
        reg.Palabra(funcion);
    }
    void Terminar()
    {
        const quint32 palabras = quint32(reg.b.size() - inicioRegistro) / 2;
        char* p = reg.b.data() + inicioRegistro;
        for (int i = 0; i < 4; ++i)
            p[i] = char((palabras >> (8 * i)) & 0xFF);
        mayorRegistro = std::max(mayorRegistro, palabras);
    }
    void Registro(quint16 funcion, std::initializer_list<qint16> parametros)
    {
        Empezar(funcion);
        for (qint16 v : parametros)
            reg.Entero(v);
        Terminar();
    }
    void RegistroColor(quint16 funcion, quint32 color)
    {
        Empezar(funcion);
        reg.Doble(color);
        Terminar();
    }

    QPoint Logico(const QPointF& p) const
    {
        const QPointF q = aLogico.map(p);
        return QPoint(Acotar16(q.x()), Acotar16(q.y()));
    }
    double EscalaLineal() const { return std::sqrt(std::abs(transformacion.determinant())); }
    bool SinGiro() const { return transformacion.type() <= QTransform::TxScale; }

    // Objects.
    bool Retenido(int obj) const
    {
        if (actual.Tiene(obj))
            return true;
        return std::any_of(pila.begin(), pila.end(), [obj](const TEstadoDC& e) { return e.Tiene(obj); });
    }
    void Borrar(int obj)
    {
        Registro(META_DELETEOBJECT, {qint16(obj)});
        objetos[obj].clear();
        pendientes.erase(obj);
    }
    void Liberar(int obj)
    {
        if (obj < 0)
            return;
        if (Retenido(obj))
            pendientes.insert(obj);
        else
            Borrar(obj);
    }
    int& Seleccion(TClase clase)
    {
        return clase == TClase::Lapiz ? actual.lapiz : clase == TClase::Pincel ? actual.pincel : actual.fuente;
    }
    // Selects the object of that creation record, making it only when no live object
    // has the same record (a replaced one that a saved state keeps is taken back).
    void Asegurar(TClase clase, const QByteArray& creacion)
    {
        int& sel = Seleccion(clase);
        if (sel >= 0 && objetos[sel] == creacion)
            return;
        int obj = -1;
        for (int i = 0; i < int(objetos.size()); ++i)
            if (objetos[i] == creacion) {
                obj = i;
                break;
            }
        if (obj < 0) {
            const auto libre = std::find_if(objetos.begin(), objetos.end(), [](const QByteArray& o) { return o.isEmpty(); });
            obj = int(libre - objetos.begin());
            if (libre == objetos.end())
                objetos.emplace_back();
            objetos[obj] = creacion;
            const int inicio = reg.b.size();
            reg.b.append(creacion);
            mayorRegistro = std::max(mayorRegistro, quint32(reg.b.size() - inicio) / 2);
        }
        pendientes.erase(obj);
        Registro(META_SELECTOBJECT, {qint16(obj)});
        const int anterior = sel;
        sel = obj;
        Liberar(anterior);
    }
    void GuardarDC()
    {
        Registro(META_SAVEDC, {});
        pila.push_back(actual);
    }
    void RestaurarDC()
    {
        Registro(META_RESTOREDC, {-1});
        const TEstadoDC anterior = actual;
        actual = pila.back();
        pila.pop_back();
        for (int obj : {anterior.lapiz, anterior.pincel, anterior.fuente})
            if (!actual.Tiene(obj))
                Liberar(obj);
        const std::set<int> copia = pendientes;
        for (int obj : copia)
            if (!Retenido(obj))
                Borrar(obj);
    }

    // Creation records.
    static QByteArray Creacion(quint16 funcion, const TBytes& cuerpo)
    {
        TBytes r;
        r.Doble(3 + quint32(cuerpo.b.size()) / 2);
        r.Palabra(funcion);
        r.b.append(cuerpo.b);
        return r.b;
    }
    // A brush's colour under the painter's opacity.
    QColor Color(const QBrush& b) const
    {
        QColor c = ColorDePincel(b);
        c.setAlphaF(float(c.alphaF() * opacidad));
        return c;
    }
    bool LapizNulo() const
    {
        return lapiz.style() == Qt::NoPen || Color(lapiz.brush()).alpha() == 0;
    }
    bool PincelNulo() const
    {
        return pincel.style() == Qt::NoBrush || Color(pincel).alpha() == 0;
    }
    QByteArray CreacionLapiz(bool nulo) const
    {
        quint16 estilo = PS_NULL;
        double ancho = 0;
        quint32 color = 0;
        if (!nulo && !LapizNulo()) {
            switch (lapiz.style()) {
            case Qt::DashLine:
            case Qt::CustomDashLine: estilo = PS_DASH; break;
            case Qt::DotLine: estilo = PS_DOT; break;
            case Qt::DashDotLine: estilo = PS_DASHDOT; break;
            case Qt::DashDotDotLine: estilo = PS_DASHDOTDOT; break;
            default: estilo = PS_SOLID; break;
            }
            switch (lapiz.capStyle()) {
            case Qt::FlatCap: estilo |= PS_ENDCAP_FLAT; break;
            case Qt::SquareCap: estilo |= PS_ENDCAP_SQUARE; break;
            default: break;
            }
            switch (lapiz.joinStyle()) {
            case Qt::MiterJoin:
            case Qt::SvgMiterJoin: estilo |= PS_JOIN_MITER; break;
            case Qt::BevelJoin: estilo |= PS_JOIN_BEVEL; break;
            default: break;
            }
            // A cosmetic pen is as wide in pixels of the picture as it says, a hairline
            // one pixel: readers that scale the file draw a width of 0 thinner than that.
            ancho = lapiz.isCosmetic() ? std::max(lapiz.widthF(), 1.0) * escala
                                       : lapiz.widthF() * escala * EscalaLineal();
            color = ColorRef(Color(lapiz.brush()));
        }
        TBytes c;
        c.Palabra(estilo);
        c.Entero(Acotar16(ancho));
        c.Entero(0);
        c.Doble(color);
        return Creacion(META_CREATEPENINDIRECT, c);
    }
    QByteArray CreacionPincel() const
    {
        quint16 estilo = BS_NULL;
        quint16 trama = 0;
        quint32 color = 0;
        if (!PincelNulo()) {
            estilo = BS_SOLID;
            color = ColorRef(Color(pincel));
            const int tramas[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
            for (int i = 0; i < 6; ++i)
                if (pincel.style() == tramas[i]) {
                    estilo = BS_HATCHED;
                    trama = quint16(i);
                }
        }
        TBytes c;
        c.Palabra(estilo);
        c.Doble(color);
        c.Palabra(trama);
        return Creacion(META_CREATEBRUSHINDIRECT, c);
    }
    QByteArray CreacionFuente(const QFont& f, double altura, int escapamiento) const
    {
        QString familia = f.family();
        // Generic names mean nothing to the player; give it the usual faces.
        if (familia.isEmpty() || familia.compare(QLatin1String("Sans Serif"), Qt::CaseInsensitive) == 0)
            familia = QStringLiteral("Arial");
        else if (familia.compare(QLatin1String("Serif"), Qt::CaseInsensitive) == 0)
            familia = QStringLiteral("Times New Roman");
        else if (familia.compare(QLatin1String("Monospace"), Qt::CaseInsensitive) == 0)
            familia = QStringLiteral("Courier New");
        quint8 paso = 0;
        switch (f.styleHint()) {
        case QFont::SansSerif: paso = 0x20; break;
        case QFont::Serif: paso = 0x10; break;
        case QFont::TypeWriter: paso = 0x31; break;
        default: break;
        }
        TBytes c;
        c.Entero(Acotar16(-altura)); // negative: character height, not cell height
        c.Entero(0);
        c.Entero(qint16(escapamiento));
        c.Entero(qint16(escapamiento));
        c.Entero(qint16(std::clamp(int(f.weight()), 1, 1000)));
        const char bytes[8] = {char(f.italic() ? 1 : 0), 0, 0, 0 /* ANSI_CHARSET */, 0, 0, 0, char(paso)};
        c.b.append(bytes, 8);
        QByteArray nombre = TextoWindows1252(familia).left(31);
        nombre.append(QByteArray(32 - nombre.size(), '\0'));
        c.b.append(nombre);
        return Creacion(META_CREATEFONTINDIRECT, c);
    }

    // Clipping: one saved DC level holds the current clip rectangle (left, top, right,
    // bottom in logical units). False when the clip leaves nothing to draw.
    bool RecorteLogico(std::optional<std::array<qint16, 4>>& caja) const
    {
        caja.reset();
        if (!recorteActivo || !recorteQt)
            return true;
        const QRectF r = *recorteQt;
        if (r.isEmpty())
            return false;
        caja = std::array<qint16, 4>{Acotar16(std::floor(r.left() * escala)), Acotar16(std::floor(r.top() * escala)),
                                     Acotar16(std::ceil(r.right() * escala)), Acotar16(std::ceil(r.bottom() * escala))};
        return true;
    }
    // Puts the clip the painter asks for in place; false when it leaves nothing to draw.
    bool AsegurarRecorte()
    {
        std::optional<std::array<qint16, 4>> deseado;
        if (!RecorteLogico(deseado))
            return false;
        if (deseado == recorteEmitido)
            return true;
        if (recorteEmitido)
            RestaurarDC();
        recorteEmitido = deseado;
        if (deseado) {
            const auto& c = *deseado;
            GuardarDC();
            Registro(META_INTERSECTCLIPRECT, {c[3], c[2], c[1], c[0]});
        }
        return true;
    }
    void CambiarRecorte(Qt::ClipOperation op, const QRectF& r)
    {
        if (op == Qt::NoClip)
            recorteQt.reset();
        else if (op == Qt::IntersectClip && recorteQt)
            recorteQt = recorteQt->intersected(r);
        else
            recorteQt = r;
    }

    void AsegurarRelleno(int modo)
    {
        if (actual.relleno == modo)
            return;
        Registro(META_SETPOLYFILLMODE, {qint16(modo)});
        actual.relleno = modo;
    }
    // Pen and brush for a shape; false when the shape would draw nothing.
    bool PrepararFigura()
    {
        if ((LapizNulo() && PincelNulo()) || !AsegurarRecorte())
            return false;
        Asegurar(TClase::Lapiz, CreacionLapiz(false));
        Asegurar(TClase::Pincel, CreacionPincel());
        return true;
    }

    // Logical points without repeats; on a polyline also without the middle of
    // three points on one horizontal or vertical run going one way (step lines).
    std::vector<QPoint> Puntos(const QPointF* p, int n, bool polilinea) const
    {
        std::vector<QPoint> r;
        r.reserve(size_t(n));
        for (int i = 0; i < n; ++i) {
            const QPoint q = Logico(p[i]);
            if (!r.empty() && r.back() == q)
                continue;
            if (polilinea && r.size() >= 2) {
                const QPoint a = r[r.size() - 2];
                const QPoint b = r.back();
                const bool enX = a.x() == b.x() && b.x() == q.x() && (b.y() - a.y()) * (q.y() - b.y()) > 0;
                const bool enY = a.y() == b.y() && b.y() == q.y() && (b.x() - a.x()) * (q.x() - b.x()) > 0;
                if (enX || enY) {
                    r.back() = q;
                    continue;
                }
            }
            r.push_back(q);
        }
        return r;
    }
    static std::vector<QPoint> Aclarar(std::vector<QPoint> p, size_t maximo)
    {
        if (p.size() <= maximo)
            return p;
        std::vector<QPoint> r;
        r.reserve(maximo);
        for (size_t i = 0; i < maximo; ++i)
            r.push_back(p[i * (p.size() - 1) / (maximo - 1)]);
        return r;
    }
    void EscribirPuntos(const QPoint* p, size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            reg.Entero(qint16(p[i].x()));
            reg.Entero(qint16(p[i].y()));
        }
    }
    void Polilinea(const std::vector<QPoint>& p)
    {
        // Pieces share their end points so the line stays unbroken.
        for (size_t i = 0; i + 1 < p.size(); i += MaxPuntosPolilinea - 1) {
            const size_t n = std::min<size_t>(MaxPuntosPolilinea, p.size() - i);
            Empezar(META_POLYLINE);
            reg.Entero(qint16(n));
            EscribirPuntos(p.data() + i, n);
            Terminar();
        }
    }
    void Poligonos(const std::vector<std::vector<QPoint>>& poligonos, int relleno)
    {
        std::vector<std::vector<QPoint>> validos;
        for (const auto& p : poligonos)
            if (p.size() >= 2)
                validos.push_back(Aclarar(p, MaxPuntosPoligono));
        if (validos.empty())
            return;
        AsegurarRelleno(relleno);
        if (validos.size() == 1) {
            Empezar(META_POLYGON);
            reg.Entero(qint16(validos[0].size()));
            EscribirPuntos(validos[0].data(), validos[0].size());
            Terminar();
            return;
        }
        // The polygon count is 16 bits: more than that go out in several records.
        for (size_t i = 0; i < validos.size(); i += 0xFFFF) {
            const size_t fin = std::min(validos.size(), i + 0xFFFF);
            Empezar(META_POLYPOLYGON);
            reg.Palabra(quint16(fin - i));
            for (size_t j = i; j < fin; ++j)
                reg.Palabra(quint16(validos[j].size()));
            for (size_t j = i; j < fin; ++j)
                EscribirPuntos(validos[j].data(), validos[j].size());
            Terminar();
        }
    }
    // Left, top, right, bottom in logical units of a rectangle without rotation.
    std::array<qint16, 4> Caja(const QRectF& r) const
    {
        const QPoint a = Logico(r.topLeft());
        const QPoint b = Logico(r.bottomRight());
        return {qint16(std::min(a.x(), b.x())), qint16(std::min(a.y(), b.y())), qint16(std::max(a.x(), b.x())),
                qint16(std::max(a.y(), b.y()))};
    }
    void Rectangulo(quint16 funcion, const QRectF& r)
    {
        const auto c = Caja(r);
        Registro(funcion, {c[3], c[2], c[1], c[0]});
    }
};

TMotorWMF::TMotorWMF(const QSize& tamano, int ppp)
    : QPaintEngine(AllFeatures), d_(std::make_unique<TPrivado>())
{
    d_->tamano = tamano.expandedTo(QSize(1, 1));
    d_->ppp = std::max(ppp, 1);
    // As fine as 1440 units per inch allows, and the whole picture inside 16 bits.
    const int mayor = std::max(d_->tamano.width(), d_->tamano.height());
    const int porPulgada = std::max(1, 1440 / d_->ppp);
    const int porTamano = 32767 / mayor;
    d_->escala = porTamano >= 1 ? double(std::min(porPulgada, porTamano)) : 32767.0 / mayor;
    d_->pulgada = std::max(1, int(std::lround(d_->ppp * d_->escala)));
}

TMotorWMF::~TMotorWMF() = default;

const QByteArray& TMotorWMF::Datos() const { return d_->fichero; }
double TMotorWMF::UnidadesPorPixel() const { return d_->escala; }
int TMotorWMF::UnidadesPorPulgada() const { return d_->pulgada; }

bool TMotorWMF::begin(QPaintDevice* dispositivo)
{
    TPrivado& d = *d_;
    d.dispositivo = dispositivo;
    d.fichero.clear();
    d.reg.b.clear();
    d.reg.b.reserve(1 << 16);
    d.mayorRegistro = 0;
    d.objetos.clear();
    d.pendientes.clear();
    d.actual = TEstadoDC();
    d.pila.clear();
    d.transformacion = QTransform();
    d.aLogico = QTransform::fromScale(d.escala, d.escala);
    d.lapiz = QPen();
    d.pincel = QBrush();
    d.opacidad = 1.0;
    d.recorteActivo = false;
    d.recorteQt.reset();
    d.recorteEmitido.reset();

    const qint16 ancho = Acotar16(d.tamano.width() * d.escala);
    const qint16 alto = Acotar16(d.tamano.height() * d.escala);
    d.Registro(META_SETWINDOWORG, {0, 0});
    d.Registro(META_SETWINDOWEXT, {alto, ancho});
    d.Registro(META_SETBKMODE, {TRANSPARENT});
    d.Registro(META_SETTEXTALIGN, {TA_BASELINE});
    // The outermost saved state selects none of our objects: restoring it at the end
    // lets every object be deleted while unselected.
    d.GuardarDC();
    return true;
}

bool TMotorWMF::end()
{
    TPrivado& d = *d_;
    while (!d.pila.empty())
        d.RestaurarDC();
    d.recorteEmitido.reset();
    d.Registro(META_EOF, {});

    const qint16 ancho = Acotar16(d.tamano.width() * d.escala);
    const qint16 alto = Acotar16(d.tamano.height() * d.escala);
    TBytes cab;
    cab.Doble(ClavePlaceable);
    cab.Palabra(0);
    cab.Entero(0);
    cab.Entero(0);
    cab.Entero(ancho);
    cab.Entero(alto);
    cab.Palabra(quint16(d.pulgada));
    cab.Doble(0);
    quint16 suma = 0;
    for (int i = 0; i < 20; i += 2)
        suma ^= quint16(quint8(cab.b[i]) | (quint8(cab.b[i + 1]) << 8));
    cab.Palabra(suma);

    constexpr int PalabrasCabecera = 9;
    cab.Palabra(1); // memory metafile
    cab.Palabra(PalabrasCabecera);
    cab.Palabra(0x0300);
    cab.Doble(quint32(PalabrasCabecera + d.reg.b.size() / 2));
    cab.Palabra(quint16(d.objetos.size()));
    cab.Doble(d.mayorRegistro);
    cab.Palabra(0);

    d.fichero = cab.b + d.reg.b;
    d.reg.b.clear();
    d.reg.b.squeeze();
    return true;
}

void TMotorWMF::updateState(const QPaintEngineState& estado)
{
    TPrivado& d = *d_;
    const DirtyFlags f = estado.state();
    if (f & DirtyTransform) {
        d.transformacion = estado.transform();
        d.aLogico = d.transformacion * QTransform::fromScale(d.escala, d.escala);
    }
    if (f & DirtyPen)
        d.lapiz = estado.pen();
    if (f & DirtyBrush)
        d.pincel = estado.brush();
    if (f & DirtyOpacity)
        d.opacidad = estado.opacity();
    // Clips come in painter coordinates under the transform of their moment.
    if (f & DirtyClipRegion)
        d.CambiarRecorte(estado.clipOperation(), d.transformacion.mapRect(QRectF(estado.clipRegion().boundingRect())));
    if (f & DirtyClipPath)
        d.CambiarRecorte(estado.clipOperation(), d.transformacion.map(estado.clipPath()).boundingRect());
    if (f & DirtyClipEnabled)
        d.recorteActivo = estado.isClipEnabled();
    else if (f & (DirtyClipRegion | DirtyClipPath))
        d.recorteActivo = d.recorteQt.has_value();
}

void TMotorWMF::drawRects(const QRectF* rects, int n)
{
    TPrivado& d = *d_;
    if (n <= 0 || !d.PrepararFigura())
        return;
    for (int i = 0; i < n; ++i) {
        if (d.SinGiro()) {
            d.Rectangulo(META_RECTANGLE, rects[i]);
        } else {
            const QPolygonF p(rects[i]);
            d.Poligonos({d.Puntos(p.constData(), int(p.size()), false)}, ALTERNATE);
        }
    }
}

void TMotorWMF::drawLines(const QLineF* lineas, int n)
{
    TPrivado& d = *d_;
    if (n <= 0 || d.LapizNulo() || !d.AsegurarRecorte())
        return;
    d.Asegurar(TClase::Lapiz, d.CreacionLapiz(false));
    // Lines that join end to start go out as one polyline.
    std::vector<QPointF> tramo;
    auto vaciar = [&]() {
        d.Polilinea(d.Puntos(tramo.data(), int(tramo.size()), true));
        tramo.clear();
    };
    for (int i = 0; i < n; ++i) {
        if (!tramo.empty() && tramo.back() != lineas[i].p1())
            vaciar();
        if (tramo.empty())
            tramo.push_back(lineas[i].p1());
        tramo.push_back(lineas[i].p2());
    }
    vaciar();
}

void TMotorWMF::drawEllipse(const QRectF& r)
{
    TPrivado& d = *d_;
    if (!d.SinGiro()) {
        QPainterPath camino;
        camino.addEllipse(r);
        drawPath(camino);
        return;
    }
    if (d.PrepararFigura())
        d.Rectangulo(META_ELLIPSE, r);
}

void TMotorWMF::drawPath(const QPainterPath& camino)
{
    TPrivado& d = *d_;
    if (camino.isEmpty())
        return;
    const QList<QPolygonF> partes = camino.toSubpathPolygons();
    std::vector<std::vector<QPoint>> poligonos;
    bool todasCerradas = true;
    for (const QPolygonF& p : partes) {
        poligonos.push_back(d.Puntos(p.constData(), int(p.size()), false));
        todasCerradas = todasCerradas && p.size() > 2 && p.isClosed();
    }
    const int relleno = camino.fillRule() == Qt::WindingFill ? WINDING : ALTERNATE;
    const bool conPincel = !d.PincelNulo();
    const bool conLapiz = !d.LapizNulo();
    if ((!conPincel && !conLapiz) || !d.AsegurarRecorte())
        return;
    if (conPincel) {
        // Polygons stroke their closing edge too: right for closed subpaths only.
        const bool trazar = conLapiz && todasCerradas;
        d.Asegurar(TClase::Lapiz, d.CreacionLapiz(!trazar));
        d.Asegurar(TClase::Pincel, d.CreacionPincel());
        d.Poligonos(poligonos, relleno);
        if (trazar || !conLapiz)
            return;
    }
    d.Asegurar(TClase::Lapiz, d.CreacionLapiz(false));
    for (const QPolygonF& p : partes)
        d.Polilinea(d.Puntos(p.constData(), int(p.size()), true));
}

void TMotorWMF::drawPoints(const QPointF* puntos, int n)
{
    TPrivado& d = *d_;
    if (n <= 0 || d.LapizNulo() || !d.AsegurarRecorte())
        return;
    const quint32 color = ColorRef(d.Color(d.lapiz.brush()));
    for (int i = 0; i < n; ++i) {
        const QPoint q = d.Logico(puntos[i]);
        d.Empezar(META_SETPIXEL);
        d.reg.Doble(color);
        d.reg.Entero(qint16(q.y()));
        d.reg.Entero(qint16(q.x()));
        d.Terminar();
    }
}

void TMotorWMF::drawPolygon(const QPointF* puntos, int n, PolygonDrawMode modo)
{
    TPrivado& d = *d_;
    if (n <= 0)
        return;
    if (modo == PolylineMode) {
        if (d.LapizNulo() || !d.AsegurarRecorte())
            return;
        d.Asegurar(TClase::Lapiz, d.CreacionLapiz(false));
        d.Polilinea(d.Puntos(puntos, n, true));
        return;
    }
    if (!d.PrepararFigura())
        return;
    d.Poligonos({d.Puntos(puntos, n, false)}, modo == WindingMode ? WINDING : ALTERNATE);
}

void TMotorWMF::drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr)
{
    drawImage(r, pm.toImage(), sr);
}

void TMotorWMF::drawImage(const QRectF& r, const QImage& imagen, const QRectF& sr, Qt::ImageConversionFlags)
{
    TPrivado& d = *d_;
    if (imagen.isNull() || r.isEmpty() || !d.AsegurarRecorte())
        return;
    const QRect origen = sr.toAlignedRect().intersected(imagen.rect());
    if (origen.isEmpty())
        return;
    // A rotated image keeps its place but not its angle.
    const QRectF destino = d.transformacion.mapRect(r);
    const auto caja = d.Caja(r);
    if (caja[2] == caja[0] || caja[3] == caja[1])
        return;
    // No more pixels than the picture shows there, and sizes the record's 16 bits hold.
    QImage img = imagen.copy(origen);
    const QSize pixeles = QSize(std::max(1, int(std::min(std::ceil(destino.width()), 32767.0))),
                                std::max(1, int(std::min(std::ceil(destino.height()), 32767.0))));
    if (img.width() > pixeles.width() || img.height() > pixeles.height())
        img = img.scaled(img.size().boundedTo(pixeles), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage opaca(img.size(), QImage::Format_RGB32);
    opaca.fill(Qt::white);
    {
        QPainter p(&opaca);
        p.setOpacity(d.opacidad);
        p.drawImage(0, 0, img);
    }
    const QImage bgr = opaca.convertToFormat(QImage::Format_BGR888);
    const int w = bgr.width();
    const int h = bgr.height();
    const int fila = (w * 3 + 3) & ~3;

    d.Empezar(META_STRETCHDIB);
    d.reg.Doble(SRCCOPY);
    d.reg.Palabra(0); // DIB_RGB_COLORS
    d.reg.Entero(qint16(h));
    d.reg.Entero(qint16(w));
    d.reg.Entero(0);
    d.reg.Entero(0);
    d.reg.Entero(qint16(caja[3] - caja[1]));
    d.reg.Entero(qint16(caja[2] - caja[0]));
    d.reg.Entero(caja[1]);
    d.reg.Entero(caja[0]);
    // BITMAPINFOHEADER of a bottom-up 24-bit DIB.
    d.reg.Doble(40);
    d.reg.Doble(quint32(w));
    d.reg.Doble(quint32(h));
    d.reg.Palabra(1);
    d.reg.Palabra(24);
    d.reg.Doble(0);
    d.reg.Doble(quint32(fila * h));
    for (int i = 0; i < 4; ++i)
        d.reg.Doble(0);
    const QByteArray relleno(fila - w * 3, '\0');
    for (int y = h - 1; y >= 0; --y) {
        d.reg.b.append(reinterpret_cast<const char*>(bgr.constScanLine(y)), w * 3);
        d.reg.b.append(relleno);
    }
    d.Terminar();
}

void TMotorWMF::drawTextItem(const QPointF& p, const QTextItem& texto)
{
    TPrivado& d = *d_;
    const QString t = texto.text();
    if (t.isEmpty() || d.LapizNulo() || !d.AsegurarRecorte())
        return;
    const QFont f = texto.font();
    const double pixeles = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * d.ppp / 72.0;
    const QTransform& m = d.transformacion;
    const double escalaAlto = std::hypot(m.m21(), m.m22());
    const double escalaAncho = std::hypot(m.m11(), m.m12());
    // Qt turns clockwise on screen, the format counter-clockwise in tenths of degree.
    int escapamiento = int(std::lround(-std::atan2(m.m12(), m.m11()) * 1800.0 / std::numbers::pi));
    escapamiento = ((escapamiento % 3600) + 3600) % 3600;
    d.Asegurar(TClase::Fuente, d.CreacionFuente(f, pixeles * escalaAlto * d.escala, escapamiento));
    const quint32 color = ColorRef(d.Color(d.lapiz.brush()));
    if (d.actual.colorTexto != qint64(color)) {
        d.RegistroColor(META_SETTEXTCOLOR, color);
        d.actual.colorTexto = color;
    }

    // Each character's advance, stretched so that they add up to the width Qt laid
    // the text out with: the player's substitute font keeps the text's width and place.
    QByteArray bytes;
    std::vector<double> anchos;
    const QFontMetricsF medidas(f, d.dispositivo);
    double suma = 0;
    for (int i = 0; i < t.size() && bytes.size() < 32000;) {
        const int largo = t.at(i).isHighSurrogate() && i + 1 < t.size() ? 2 : 1;
        const QString caracter = t.mid(i, largo);
        bytes.append(TextoWindows1252(caracter));
        anchos.push_back(medidas.horizontalAdvance(caracter));
        suma += anchos.back();
        i += largo;
    }
    const double k = escalaAncho * d.escala * (suma > 0 && texto.width() > 0 ? texto.width() / suma : 1.0);
    std::vector<qint16> avances;
    double hasta = 0;
    long anterior = 0;
    for (double a : anchos) {
        hasta += a * k;
        avances.push_back(Acotar16(double(std::lround(hasta) - anterior)));
        anterior = std::lround(hasta);
    }
    const QPoint q = d.Logico(p);
    d.Empezar(META_EXTTEXTOUT);
    d.reg.Entero(qint16(q.y()));
    d.reg.Entero(qint16(q.x()));
    d.reg.Entero(qint16(bytes.size()));
    d.reg.Palabra(0);
    d.reg.Cadena(bytes);
    for (qint16 a : avances)
        d.reg.Entero(a);
    d.Terminar();
}

TDispositivoWMF::TDispositivoWMF(const QSize& tamano, int ppp)
    : tamano_(tamano.expandedTo(QSize(1, 1))), ppp_(std::max(ppp, 1)),
      motor_(std::make_unique<TMotorWMF>(tamano_, ppp_))
{
}

TDispositivoWMF::~TDispositivoWMF() = default;

QPaintEngine* TDispositivoWMF::paintEngine() const { return motor_.get(); }

int TDispositivoWMF::metric(PaintDeviceMetric metrica) const
{
    switch (metrica) {
    case PdmWidth: return tamano_.width();
    case PdmHeight: return tamano_.height();
    case PdmWidthMM: return int(std::lround(tamano_.width() * 25.4 / ppp_));
    case PdmHeightMM: return int(std::lround(tamano_.height() * 25.4 / ppp_));
    case PdmNumColors: return 0x1000000;
    case PdmDepth: return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return ppp_;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return QPaintDevice::metric(metrica);
    }
}

} // namespace qv
