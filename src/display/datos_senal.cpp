#include "display/datos_senal.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/pedir_nombre.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/formatos.h"
#include "model/generadores.h"
#include "model/operacion.h"
#include "model/senales.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace qv {

namespace {

constexpr int kTextoVoltios = 199;
constexpr int kTextoYaExiste = 248;
constexpr int kTextoNoExiste = 3058;

// Parameters of generators and operations are single-precision: their own digits.
QString Valor(double v) { return FormatoGeneral(v, 7); }

QString ArchivoSinCarpeta(const QString& ruta)
{
    const qsizetype barra = std::max(ruta.lastIndexOf(QLatin1Char('\\')), ruta.lastIndexOf(QLatin1Char('/')));
    return ruta.mid(barra + 1);
}

struct TTiempo {
    QString numero;
    QString sufijo;
};

TTiempo TiempoMuestreo(TTextos& textos, double t)
{
    if (t >= 0.99)
        return {FormatoGeneral4(t), textos.BuscarTexto(clave::Segundos)};
    if (t >= 9.9e-5)
        return {FormatoGeneral4(t * 1000), QLatin1Char(' ') + textos.BuscarTexto(clave::Mili)};
    if (t >= 9.9e-7)
        return {FormatoGeneral4(t * 1e6), QLatin1Char(' ') + textos.BuscarTexto(clave::Micro)};
    return {FormatoGeneral4(t), QString()};
}

class TLineas {
public:
    explicit TLineas(TTextos& textos) : textos_(textos) {}
    QString Texto(int clave) const { return textos_.BuscarTexto(clave); }
    // A language text, a blank and the value.
    QString Linea(int clave, const QString& valor) const { return Texto(clave) + QLatin1Char(' ') + valor; }
    // A value in a time unit (codes of generadores.h).
    QString Tiempo(double valor, int unidad) const { return Valor(valor) + QLatin1Char(' ') + PalabraUnidad(textos_, unidad); }

private:
    TTextos& textos_;
};

void OrigenGenerador(const TLineas& l, const TGenerador& g, TOrigenSenal& r)
{
    int forma = 0;
    switch (g.Clase()) {
    case TClaseGenerador::Seno: forma = 3059; r.dibujo = QStringLiteral("seno"); break;
    case TClaseGenerador::Rampa: forma = 3032; r.dibujo = QStringLiteral("rampa"); break;
    case TClaseGenerador::Escalon: forma = 3035; r.dibujo = QStringLiteral("escalon"); break;
    case TClaseGenerador::TablaAnalogica: forma = 3037; r.dibujo = QStringLiteral("tabla"); break;
    case TClaseGenerador::Pulso: forma = 3045; r.dibujo = QStringLiteral("pulso"); break;
    case TClaseGenerador::Tren: forma = 3046; r.dibujo = QStringLiteral("tren"); break;
    case TClaseGenerador::TablaDigital: forma = 3049; r.dibujo = QStringLiteral("tabla"); break;
    }
    r.lineas << l.Linea(3026, l.Texto(forma));
    // The delay is kept in seconds; it is shown in the unit it was entered in.
    r.lineas << l.Linea(3027, l.Tiempo(g.Retardo / ASegundos(1, g.UnidadRetardo), g.UnidadRetardo));
    if (const auto* s = dynamic_cast<const TGenSeno*>(&g)) {
        r.lineas << l.Linea(3028, Valor(s->Offset)) << l.Linea(3029, Valor(s->Amplitud))
                 << l.Linea(3030, Valor(s->Frecuencia)) << l.Linea(3031, Valor(s->Fase));
    } else if (const auto* a = dynamic_cast<const TGenRampa*>(&g)) {
        r.lineas << l.Linea(3033, l.Tiempo(a->TiempoRampa, a->UnidadParametro)) << l.Linea(3028, Valor(a->Offset))
                 << l.Linea(3034, Valor(a->Amplitud));
    } else if (const auto* e = dynamic_cast<const TGenEscalon*>(&g)) {
        r.lineas << l.Linea(3028, Valor(e->Offset)) << l.Linea(3036, Valor(e->Amplitud));
    } else if (const auto* t = dynamic_cast<const TGenTablaAna*>(&g)) {
        r.lineas << l.Linea(3038, ArchivoSinCarpeta(t->Fichero));
    } else if (const auto* d = dynamic_cast<const TGenTablaDig*>(&g)) {
        r.lineas << l.Linea(3038, ArchivoSinCarpeta(d->Fichero));
    } else if (const auto* tr = dynamic_cast<const TGenTren*>(&g)) {
        r.lineas << l.Linea(3047, l.Tiempo(tr->TiempoOn, tr->UnidadParametro))
                 << l.Linea(3048, l.Tiempo(tr->TiempoOff, tr->UnidadParametro));
    }
}

void OrigenOperacion(const TLineas& l, const TOperacion& op, const TConfigES& config, TOrigenSenal& r)
{
    const bool ana = op.EsAnalogica();
    auto operando = [&](bool constante, float c, int canal) {
        if (constante)
            return Valor(c);
        return ana ? config.NombreCanalAna(canal) : config.NombreCanalDig(canal);
    };
    const QString sep = QStringLiteral(": ");
    const QString& o = op.Operador;
    const bool unario = o == QLatin1String("Filtro") || o == QLatin1String("Derivada")
                        || o == QLatin1String("Integral") || o == QLatin1String("Not");
    r.tipo = l.Texto(ana ? 3050 : 3056);
    r.dibujo = ana ? QStringLiteral("opana") : QStringLiteral("opdig");
    r.lineas << l.Texto(3051) + sep + operando(op.EsConstante1, op.Constante1, op.Operando1);
    if (!unario)
        r.lineas << l.Texto(3052) + sep + operando(op.EsConstante2, op.Constante2, op.Operando2);
    r.lineas << l.Texto(3053) + sep + op.Formula(config);
    if (ana && o == QLatin1String("Filtro"))
        r.lineas << l.Linea(3054, Valor(op.FrecBaja)) << l.Linea(3055, Valor(op.FrecAlta));
    r.lineas << l.Linea(3042, op.UnidadResultado);
}

// Small pictures of the origins, drawn rather than shipped so that they follow the
// palette's text colour.
QPixmap DibujoOrigen(const QString& tipo, const QColor& color)
{
    QPixmap p(72, 48);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(color, 2));
    QPainterPath c;
    if (tipo == QLatin1String("seno")) {
        c.moveTo(4, 24);
        for (int x = 4; x <= 68; ++x)
            c.lineTo(x, 24 - 16 * std::sin((x - 4) * 2 * std::numbers::pi / 64));
    } else if (tipo == QLatin1String("rampa")) {
        c.moveTo(4, 40);
        c.lineTo(20, 40);
        c.lineTo(52, 8);
        c.lineTo(68, 8);
    } else if (tipo == QLatin1String("escalon")) {
        c.moveTo(4, 40);
        c.lineTo(28, 40);
        c.lineTo(28, 8);
        c.lineTo(68, 8);
    } else if (tipo == QLatin1String("tabla")) {
        const int niveles[] = {30, 14, 22, 38, 10, 26, 18, 34};
        c.moveTo(4, niveles[0]);
        for (int i = 0; i < 8; ++i) {
            c.lineTo(4 + 8 * i, niveles[i]);
            c.lineTo(12 + 8 * i, niveles[i]);
        }
    } else if (tipo == QLatin1String("pulso")) {
        c.moveTo(4, 40);
        c.lineTo(28, 40);
        c.lineTo(28, 8);
        c.lineTo(44, 8);
        c.lineTo(44, 40);
        c.lineTo(68, 40);
    } else if (tipo == QLatin1String("tren")) {
        c.moveTo(4, 40);
        for (int x = 4; x < 68; x += 16) {
            c.lineTo(x, 8);
            c.lineTo(x + 8, 8);
            c.lineTo(x + 8, 40);
            c.lineTo(x + 16, 40);
        }
    } else if (tipo == QLatin1String("cruz")) {
        c.moveTo(22, 8);
        c.lineTo(50, 40);
        c.moveTo(50, 8);
        c.lineTo(22, 40);
    } else {
        // Operations and calculations: their sign in a box.
        g.drawRoundedRect(QRectF(14, 6, 44, 36), 4, 4);
        QFont f = g.font();
        f.setBold(true);
        f.setPixelSize(16);
        g.setFont(f);
        const QString signo = tipo == QLatin1String("opana")   ? QStringLiteral("f(x)")
                              : tipo == QLatin1String("opdig") ? QStringLiteral("&&")
                                                               : QStringLiteral("=");
        g.drawText(QRectF(14, 6, 44, 36), Qt::AlignCenter, signo);
    }
    g.drawPath(c);
    return p;
}

} // namespace

QString TextoEstadistica(double valor)
{
    if (!std::isfinite(valor))
        return FormatoFijo(valor, 2);
    return FormatoFijo(LeerReal(QByteArrayView(FormatoGeneral(valor, 3).toLatin1())).value_or(valor), 2);
}

QString TextoTiempoMuestreo(TTextos& textos, double periodo)
{
    const TTiempo t = TiempoMuestreo(textos, periodo);
    return t.numero + t.sufijo;
}

QString TextoTiempoAnalisis(TTextos& textos, double d, double periodo)
{
    if (d > 1)
        return FormatoGeneral4(d) + QLatin1Char(' ') + textos.BuscarTexto(clave::Segundos);
    if (d > 0.001)
        return FormatoGeneral4(d * 1000) + QLatin1Char(' ') + textos.BuscarTexto(clave::Mili);
    if (d > 1e-6)
        return FormatoGeneral4(d * 1e6) + QLatin1Char(' ') + textos.BuscarTexto(clave::Micro);
    return FormatoGeneral4(d) + TiempoMuestreo(textos, periodo).sufijo;
}

TOrigenSenal DescribirOrigen(TTextos& textos, const TSenal& senal, const TConfigES* config)
{
    const TLineas l(textos);
    TOrigenSenal r;
    const auto* ana = dynamic_cast<const TSenalAna*>(&senal);
    const auto* dig = dynamic_cast<const TSenalDig*>(&senal);
    const QString canal = QString::number(senal.Canal);
    switch (senal.Origen()) {
    case OrigenSenal::Generador:
        if (ana && ana->Generador()) {
            r.tipo = l.Linea(3025, canal);
            OrigenGenerador(l, *ana->Generador(), r);
        } else if (dig && dig->Generador()) {
            r.tipo = l.Linea(3043, canal);
            OrigenGenerador(l, *dig->Generador(), r);
        }
        break;
    case OrigenSenal::Operacion: {
        const TConfigES porDefecto;
        OrigenOperacion(l, *senal.Operacion(), config ? *config : porDefecto, r);
        break;
    }
    case OrigenSenal::Calculada:
        r.tipo = l.Texto(3057);
        r.dibujo = QStringLiteral("calculo");
        break;
    default:
        r.dibujo = QStringLiteral("cruz");
        if (ana) {
            r.tipo = l.Linea(3039, canal);
            r.lineas << l.Linea(3040, Valor(ana->FondoEscala) + QLatin1Char(' ') + l.Texto(kTextoVoltios))
                     << l.Linea(3041, FormatoFijo(ana->Factor, 4)) << l.Linea(3042, ana->Unidad);
        } else {
            r.tipo = l.Linea(3044, canal);
        }
        break;
    }
    return r;
}

// ---- the dialog ----------------------------------------------------------------------

TfrmDatosSenal::TfrmDatosSenal(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 194, parent), principal_(principal)
{
    setObjectName(QStringLiteral("frmDatosSenal"));
    setWindowTitle(QStringLiteral("Datos de se\u00f1ales de la captaci\u00f3n"));

    LSenal = Etiqueta("LSenal", QStringLiteral("Se\u00f1al :"), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false); // typing into it is ignored
    ComboBox1->setMinimumWidth(120);
    LSenal->setBuddy(ComboBox1);
    spBtnPasar = new QPushButton(QStringLiteral("Renombrar"), this);
    spBtnPasar->setObjectName(QStringLiteral("spBtnPasar"));
    spBtnPasar->setAutoDefault(false);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TfrmDatosSenal::ComboBox1Change);
    connect(spBtnPasar, &QPushButton::clicked, this, &TfrmDatosSenal::spBtnPasarClick);

    auto* fila = new QHBoxLayout;
    fila->addWidget(LSenal);
    fila->addWidget(ComboBox1, 1);
    fila->addWidget(spBtnPasar);

    auto caja = [this](const char* nombre, const QString& titulo) {
        auto* g = new QGroupBox(titulo, this);
        g->setObjectName(QLatin1String(nombre));
        return g;
    };
    auto par = [](QGridLayout* r, int fila, QLabel* titulo, QLabel* valor) {
        r->addWidget(titulo, fila, 0);
        r->addWidget(valor, fila, 1, Qt::AlignRight);
        valor->setTextInteractionFlags(Qt::TextSelectableByMouse);
    };

    GBEstadistica = caja("GBEstadistica", QStringLiteral("Estad\u00edstica"));
    LTipoSenal = Etiqueta("LTipoSenal", QString(), GBEstadistica);
    LMaximo = Etiqueta("LMaximo", QStringLiteral("Maximo"), GBEstadistica);
    LMinimo = Etiqueta("LMinimo", QStringLiteral("Minimo"), GBEstadistica);
    LMedio = Etiqueta("LMedio", QStringLiteral("Medio"), GBEstadistica);
    LIntegral = Etiqueta("LIntegral", QStringLiteral("Integral"), GBEstadistica);
    LSubidas = Etiqueta("LSubidas", QStringLiteral("Subidas"), GBEstadistica);
    LBajadas = Etiqueta("LBajadas", QStringLiteral("Bajadas"), GBEstadistica);
    LRMaximo = Etiqueta("LRMaximo", QString(), GBEstadistica);
    LRMinimo = Etiqueta("LRMinimo", QString(), GBEstadistica);
    LRMedio = Etiqueta("LRMedio", QString(), GBEstadistica);
    LRIntegral = Etiqueta("LRIntegral", QString(), GBEstadistica);
    LRSubidas = Etiqueta("LRSubidas", QString(), GBEstadistica);
    LRBajadas = Etiqueta("LRBajadas", QString(), GBEstadistica);
    auto* est = new QGridLayout(GBEstadistica);
    est->addWidget(LTipoSenal, 0, 0, 1, 2);
    par(est, 1, LMaximo, LRMaximo);
    par(est, 2, LMinimo, LRMinimo);
    par(est, 3, LMedio, LRMedio);
    par(est, 4, LIntegral, LRIntegral);
    par(est, 5, LSubidas, LRSubidas);
    par(est, 6, LBajadas, LRBajadas);
    est->setRowStretch(7, 1);

    GBTiempos = caja("GBTiempos", QStringLiteral("Datos temporales"));
    LTiempoMuestreo = Etiqueta("LTiempoMuestreo", QStringLiteral("Tiempo muestreo"), GBTiempos);
    LNumeroPuntos = Etiqueta("LNumeroPuntos", QStringLiteral("Numero Puntos"), GBTiempos);
    LTiempoAnalisis = Etiqueta("LTiempoAnalisis", QStringLiteral("Tiempo an\u00e1lisis"), GBTiempos);
    LRTiempoMuestreo = Etiqueta("LRTiempoMuestreo", QString(), GBTiempos);
    LRNumeroPuntos = Etiqueta("LRNumeroPuntos", QString(), GBTiempos);
    LRTiempoAnalisis = Etiqueta("LRTiempoAnalisis", QString(), GBTiempos);
    auto* tie = new QGridLayout(GBTiempos);
    par(tie, 0, LTiempoMuestreo, LRTiempoMuestreo);
    par(tie, 1, LNumeroPuntos, LRNumeroPuntos);
    par(tie, 2, LTiempoAnalisis, LRTiempoAnalisis);
    tie->setRowStretch(3, 1);

    GBOrigen = caja("GBOrigen", QStringLiteral("Origen de la se\u00f1al"));
    LOrigen = Etiqueta("LOrigen", QString(), GBOrigen);
    QFont negrita = LOrigen->font();
    negrita.setBold(true);
    LOrigen->setFont(negrita);
    LOrigenDatos = Etiqueta("LOrigenDatos", QString(), GBOrigen);
    LOrigenDatos->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LOrigenDatos->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    IOrigen = Etiqueta("IOrigen", QString(), GBOrigen);
    IOrigen->setFixedSize(72, 48);
    auto* ori = new QGridLayout(GBOrigen);
    ori->addWidget(LOrigen, 0, 0);
    ori->addWidget(IOrigen, 0, 1, 2, 1, Qt::AlignTop | Qt::AlignRight);
    ori->addWidget(LOrigenDatos, 1, 0);
    ori->setColumnStretch(0, 1);
    ori->setRowStretch(1, 1);

    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(GBEstadistica);
    izquierda->addWidget(GBTiempos);
    auto* paneles = new QHBoxLayout;
    paneles->addLayout(izquierda);
    paneles->addWidget(GBOrigen, 1);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(fila);
    columna->addLayout(paneles, 1);
    columna->addLayout(CrearBotones(BtnAceptar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp"));
    resize(560, 330);
    Vaciar();
}

void TfrmDatosSenal::Inicializar(const QStringList& nombres)
{
    nombresViejos_.clear();
    nombresNuevos_.clear();
    cambiado_ = false;
    {
        const QSignalBlocker bloqueo(ComboBox1);
        ComboBox1->clear();
        ComboBox1->addItems(nombres);
        ComboBox1->setCurrentIndex(nombres.isEmpty() ? -1 : 0);
    }
    spBtnPasar->setEnabled(!nombres.isEmpty());
    if (nombres.isEmpty())
        Vaciar();
    else
        ComboBox1Change(0);
}

void TfrmDatosSenal::Vaciar()
{
    for (QLabel* l : {LTipoSenal, LRMaximo, LRMinimo, LRMedio, LRIntegral, LRSubidas, LRBajadas,
                      LRTiempoMuestreo, LRNumeroPuntos, LRTiempoAnalisis, LOrigen, LOrigenDatos})
        l->clear();
    IOrigen->clear();
    IOrigen->setAccessibleName(QString());
}

void TfrmDatosSenal::ComboBox1Change(int indice)
{
    if (seleccionando_ || indice < 0)
        return;
    const QString nombre = ComboBox1->itemText(indice);
    const TCjtSenales* senales = principal_.Estado().Senales();
    const TSenal* s = nullptr;
    if (senales) {
        s = senales->BuscarDig(nombre);
        if (!s)
            s = senales->BuscarAna(nombre);
    }
    if (!s) {
        Vaciar();
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoNoExiste), Botones::Aceptar);
        return;
    }
    LlenarPaneles(s);
}

void TfrmDatosSenal::LlenarPaneles(const TSenal* s)
{
    TTextos& textos = Textos();
    const auto* ana = dynamic_cast<const TSenalAna*>(s);
    const auto* dig = dynamic_cast<const TSenalDig*>(s);

    // Statistics: four values for an analog signal, the edges of a digital one.
    LTipoSenal->setText(textos.BuscarTexto(ana ? 3024 : 3023));
    for (QLabel* l : {LMaximo, LMinimo, LMedio, LIntegral, LRMaximo, LRMinimo, LRMedio, LRIntegral})
        l->setVisible(ana != nullptr);
    for (QLabel* l : {LSubidas, LBajadas, LRSubidas, LRBajadas})
        l->setVisible(dig != nullptr);
    if (ana) {
        const TSenalAna::TEstadisticas e = ana->Estadisticas();
        LRMaximo->setText(TextoEstadistica(e.maximo));
        LRMinimo->setText(TextoEstadistica(e.minimo));
        LRMedio->setText(TextoEstadistica(e.media));
        LRIntegral->setText(TextoEstadistica(ana->Area()));
        LRSubidas->clear();
        LRBajadas->clear();
    } else if (dig) {
        LRSubidas->setText(QString::number(dig->NumPulsosBajo()));
        LRBajadas->setText(QString::number(dig->NumPulsosAlto()));
        for (QLabel* l : {LRMaximo, LRMinimo, LRMedio, LRIntegral})
            l->clear();
    }

    LRTiempoMuestreo->setText(TextoTiempoMuestreo(textos, s->Periodo()));
    LRNumeroPuntos->setText(QString::number(s->NumMuestras()));
    LRTiempoAnalisis->setText(TextoTiempoAnalisis(textos, s->Duracion(), s->Periodo()));

    const TOrigenSenal o = DescribirOrigen(textos, *s, principal_.Estado().Config());
    LOrigen->setText(o.tipo);
    LOrigenDatos->setText(o.lineas.join(QLatin1Char('\n')));
    IOrigen->setPixmap(DibujoOrigen(o.dibujo, palette().color(QPalette::WindowText)));
    IOrigen->setAccessibleName(o.dibujo);
}

void TfrmDatosSenal::spBtnPasarClick()
{
    const int indice = ComboBox1->currentIndex();
    if (indice < 0)
        return;
    const QString viejo = ComboBox1->itemText(indice);
    QString nuevo;
    {
        TfrmPedirNombre pedir(Contexto, this);
        pedir.PonerNombre(viejo);
        pedir.PonerOcupado([this](const QString& n) {
            const TCjtSenales* s = principal_.Estado().Senales();
            return s && (s->BuscarAna(n) || s->BuscarDig(n))
                       ? Textos().BuscarTexto(kTextoYaExiste) + QLatin1Char(' ') + n + QLatin1Char('!')
                       : QString();
        });
        if (pedir.Ejecutar() != QDialog::Accepted)
            return;
        nuevo = pedir.Nombre();
    }
    TCjtSenales* senales = principal_.Estado().Senales();
    if (!senales)
        return;
    if (!senales->RenombrarDig(viejo, nuevo) && !senales->RenombrarAna(viejo, nuevo)) {
        // Deleted meanwhile: there is nothing to rename, and nothing for the windows.
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoNoExiste), Botones::Aceptar);
        return;
    }
    nombresViejos_ << viejo;
    nombresNuevos_ << nuevo;
    seleccionando_ = true;
    ComboBox1->setItemText(indice, nuevo);
    seleccionando_ = false;
    cambiado_ = true;
}

void TfrmDatosSenal::Mostrar(IPrincipal& principal, const QStringList& nombres)
{
    TfrmDatosSenal dlg(principal, &principal.Ventana());
    dlg.Inicializar(nombres);
    dlg.Ejecutar();
    // The set holds the new names whichever way the dialog was closed: every window
    // must follow them.
    if (!dlg.Cambiado())
        return;
    for (int i = 0; i < dlg.NombresViejos().size(); ++i)
        principal.Estado().AvisarRenombrada(dlg.NombresViejos()[i], dlg.NombresNuevos()[i]);
    principal.Estado().MarcarModificado();
}

} // namespace qv
