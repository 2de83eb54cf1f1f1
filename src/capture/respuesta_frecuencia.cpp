#include "capture/respuesta_frecuencia.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "capture/informe_barrido.h"
#include "display/impresion.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/com_capvis.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/fichero_barrido.h"
#include "model/formatos.h"
#include "plot/grafica_bode.h"
#include "plot/imagenes.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

namespace qv {

namespace {

constexpr int kTextoCancelar = 1;
constexpr int kTextoDesde = 532;
constexpr int kTextoHasta = 533;
constexpr int kTextoPuntos = 534;
constexpr int kTextoReparto = 535;
constexpr int kTextoRepartos = 536;
constexpr int kTextoSalida = 537;
constexpr int kTextoAmplitud = 538;
constexpr int kTextoOffset = 539;
constexpr int kTextoReferencia = 540;
constexpr int kTextoRespuesta = 541;
constexpr int kTextoRango = 542;
constexpr int kTextoEstabilizacion = 543;
constexpr int kTextoIniciar = 544;
constexpr int kTextoPunto = 545;
constexpr int kTextoQuedan = 546;
constexpr int kTextoSinCorte = 549;
constexpr int kTextoCursor = 550;
constexpr int kTextoBotones = 552;
constexpr int kTextoFiltroBarrido = 553;
constexpr int kTextoFiltroCsv = 554;
constexpr int kTextoSinMedida = 559;
constexpr int kTextoFiltroImagen = 1188;
constexpr int kTextoFiltroWmf = 1190;
constexpr int kTextoImagenNoGuardada = 1196;
constexpr int kTextoNoGuardado = 243;
constexpr int kTextoNoExportado = 240;
constexpr int kTextoNoImpreso = 238;
constexpr int kTextoContinuar = 215;
constexpr int kTextoEstado1 = 128;
constexpr int kTextoEstado2 = 129;
constexpr int kTextoDatosSinLeer = 216;
constexpr int kTextoLeidaSeBorrara = 301;

QComboBox* Lista(const char* nombre, QWidget* padre, int desde, int hasta)
{
    auto* c = new QComboBox(padre);
    c->setObjectName(QLatin1String(nombre));
    for (int i = desde; i <= hasta; ++i)
        c->addItem(QString::number(i), i);
    return c;
}

QComboBox* Rangos(const char* nombre, QWidget* padre)
{
    auto* c = new QComboBox(padre);
    c->setObjectName(QLatin1String(nombre));
    for (int r = 0; r < 6; ++r)
        c->addItem(NombreRango(r), r);
    return c;
}

QString TextoNumero(double v)
{
    return FormatoGeneral(v, 10);
}

} // namespace

TfrmRespuestaFrecuencia::TfrmRespuestaFrecuencia(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 0, parent), principal_(principal)
{
    setObjectName(QStringLiteral("frmRespuestaFrecuencia"));
    setWindowTitle(QStringLiteral("Respuesta en frecuencia"));
    setSizeGripEnabled(true);
    resize(1000, 660);

    DesdeEdit = CajaNumero("DesdeEdit", this, 12, true);
    HastaEdit = CajaNumero("HastaEdit", this, 12, true);
    PuntosEdit = CajaNumero("PuntosEdit", this, 4);
    RepartoComboBox = new QComboBox(this);
    RepartoComboBox->setObjectName(QStringLiteral("RepartoComboBox"));
    RepartoComboBox->addItems({QStringLiteral("Logar\u00edtmico"), QStringLiteral("Lineal")});
    SalidaComboBox = Lista("SalidaComboBox", this, 1, TConfigES::NumSalAna);
    AmplitudEdit = CajaNumero("AmplitudEdit", this, 8, true);
    OffsetEdit = CajaNumero("OffsetEdit", this, 8, true);
    ReferenciaComboBox = Lista("ReferenciaComboBox", this, 1, TConfigES::NumEntAna);
    RangoReferenciaComboBox = Rangos("RangoReferenciaComboBox", this);
    RespuestaComboBox = Lista("RespuestaComboBox", this, 1, TConfigES::NumEntAna);
    RangoRespuestaComboBox = Rangos("RangoRespuestaComboBox", this);
    EstabilizacionEdit = CajaNumero("EstabilizacionEdit", this, 6, true);

    LDesde = Etiqueta("LDesde", QString(), this);
    LHasta = Etiqueta("LHasta", QString(), this);
    LPuntos = Etiqueta("LPuntos", QString(), this);
    LReparto = Etiqueta("LReparto", QString(), this);
    LSalida = Etiqueta("LSalida", QString(), this);
    LAmplitud = Etiqueta("LAmplitud", QString(), this);
    LOffset = Etiqueta("LOffset", QString(), this);
    LReferencia = Etiqueta("LReferencia", QString(), this);
    LRangoReferencia = Etiqueta("LRangoReferencia", QString(), this);
    LRespuesta = Etiqueta("LRespuesta", QString(), this);
    LRangoRespuesta = Etiqueta("LRangoRespuesta", QString(), this);
    LEstabilizacion = Etiqueta("LEstabilizacion", QString(), this);
    const std::pair<QLabel*, QWidget*> pares[] = {
        {LDesde, DesdeEdit},           {LHasta, HastaEdit},
        {LPuntos, PuntosEdit},         {LReparto, RepartoComboBox},
        {LSalida, SalidaComboBox},     {LAmplitud, AmplitudEdit},
        {LOffset, OffsetEdit},         {LReferencia, ReferenciaComboBox},
        {LRangoReferencia, RangoReferenciaComboBox}, {LRespuesta, RespuestaComboBox},
        {LRangoRespuesta, RangoRespuestaComboBox},   {LEstabilizacion, EstabilizacionEdit}};
    auto* ajustes = new QGridLayout;
    int fila = 0;
    for (const auto& [etiqueta, caja] : pares) {
        etiqueta->setBuddy(caja);
        ajustes->addWidget(etiqueta, fila, 0);
        ajustes->addWidget(caja, fila, 1);
        ++fila;
    }
    ajustes->setColumnStretch(1, 1);

    LabelAviso = Etiqueta("LabelAviso", QString(), this);
    LabelAviso->setWordWrap(true);
    LabelAviso->setStyleSheet(QStringLiteral("color: #b00000"));
    IniciarBtn = Boton("IniciarBtn", QString(), this);
    CancelarBtn = Boton("CancelarBtn", QString(), this);
    CancelarBtn->setEnabled(false);
    LPunto = Etiqueta("LPunto", QString(), this);
    LPunto->setWordWrap(true);
    PBPunto = new QProgressBar(this);
    PBPunto->setObjectName(QStringLiteral("PBPunto"));
    LTotal = Etiqueta("LTotal", QString(), this);
    PBTotal = new QProgressBar(this);
    PBTotal->setObjectName(QStringLiteral("PBTotal"));
    for (QProgressBar* b : {PBPunto, PBTotal}) {
        b->setRange(0, 1000);
        b->setValue(0);
        b->setTextVisible(false);
    }
    LPunto->setBuddy(PBPunto);
    LTotal->setBuddy(PBTotal);
    LCortes = Etiqueta("LCortes", QString(), this);
    LCortes->setWordWrap(true);
    LCortes->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    LCursor = Etiqueta("LCursor", QString(), this);
    LCursor->setWordWrap(true);
    LMarcas = Etiqueta("LMarcas", QString(), this);
    LMarcas->setWordWrap(true);

    AbrirBtn = Boton("AbrirBtn", QString(), this);
    GuardarBtn = Boton("GuardarBtn", QString(), this);
    CsvBtn = Boton("CsvBtn", QString(), this);
    ImagenBtn = Boton("ImagenBtn", QString(), this);
    ImprimirBtn = Boton("ImprimirBtn", QString(), this);
    CapturaBtn = Boton("CapturaBtn", QString(), this);
    CapturaBtn->setCheckable(true);
    CapturaBtn->setEnabled(false);

    GBode = new TGraficaBode(Textos(), this);
    GCaptura = new TGraficaCaptura(Textos(), this);
    Vistas = new QStackedWidget(this);
    Vistas->setObjectName(QStringLiteral("Vistas"));
    Vistas->addWidget(GBode);
    Vistas->addWidget(GCaptura);
    Vistas->setMinimumSize(420, 320);

    auto* marcha = new QHBoxLayout;
    marcha->addWidget(IniciarBtn);
    marcha->addWidget(CancelarBtn);
    auto* ficheros = new QGridLayout;
    ficheros->addWidget(AbrirBtn, 0, 0);
    ficheros->addWidget(GuardarBtn, 0, 1);
    ficheros->addWidget(CsvBtn, 1, 0);
    ficheros->addWidget(ImagenBtn, 1, 1);
    ficheros->addWidget(ImprimirBtn, 2, 0);
    ficheros->addWidget(CapturaBtn, 2, 1);

    auto* izquierda = new QVBoxLayout;
    izquierda->addLayout(ajustes);
    izquierda->addWidget(LabelAviso);
    izquierda->addLayout(marcha);
    izquierda->addWidget(LPunto);
    izquierda->addWidget(PBPunto);
    izquierda->addWidget(LTotal);
    izquierda->addWidget(PBTotal);
    izquierda->addSpacing(8);
    izquierda->addWidget(LCortes);
    izquierda->addWidget(LCursor);
    izquierda->addWidget(LMarcas);
    izquierda->addStretch(1);
    izquierda->addLayout(ficheros);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelAjustes"));
    panel->setLayout(izquierda);
    panel->setFixedWidth(330);
    auto* capa = new QHBoxLayout(this);
    capa->addWidget(panel);
    capa->addWidget(Vistas, 1);

    connect(IniciarBtn, &QPushButton::clicked, this, &TfrmRespuestaFrecuencia::IniciarBtnClick);
    connect(CancelarBtn, &QPushButton::clicked, this, &TfrmRespuestaFrecuencia::CancelarBtnClick);
    connect(AbrirBtn, &QPushButton::clicked, this, &TfrmRespuestaFrecuencia::AbrirBtnClick);
    connect(GuardarBtn, &QPushButton::clicked, this, &TfrmRespuestaFrecuencia::GuardarBtnClick);
    connect(CsvBtn, &QPushButton::clicked, this, &TfrmRespuestaFrecuencia::CsvBtnClick);
    connect(ImagenBtn, &QPushButton::clicked, this, &TfrmRespuestaFrecuencia::ImagenBtnClick);
    connect(ImprimirBtn, &QPushButton::clicked, this, &TfrmRespuestaFrecuencia::ImprimirBtnClick);
    connect(CapturaBtn, &QPushButton::clicked, this, &TfrmRespuestaFrecuencia::CapturaBtnClick);
    connect(GBode, &TGraficaBode::CursorMovido, this, &TfrmRespuestaFrecuencia::MostrarCursor);
    for (QLineEdit* e : {DesdeEdit, HastaEdit, PuntosEdit, AmplitudEdit, OffsetEdit, EstabilizacionEdit})
        connect(e, &QLineEdit::textChanged, this, &TfrmRespuestaFrecuencia::Avisar);
    for (QComboBox* c : {RepartoComboBox, SalidaComboBox, ReferenciaComboBox, RangoReferenciaComboBox,
                         RespuestaComboBox, RangoRespuestaComboBox})
        connect(c, qOverload<int>(&QComboBox::currentIndexChanged), this, &TfrmRespuestaFrecuencia::Avisar);
    if (TServicioSAD* s = SAD())
        connect(s, &TServicioSAD::Avance, this, &TfrmRespuestaFrecuencia::MostrarAvance);

    TAjustesBarrido a;
    // The circuit's output usually goes to the input after the reference's.
    MostrarAjustes(a);
    resultado_.Ajustes = a;
    Mostrar();
}

TfrmRespuestaFrecuencia::~TfrmRespuestaFrecuencia() = default;

TServicioSAD* TfrmRespuestaFrecuencia::SAD() const
{
    return principal_.Estado().Enlace();
}

void TfrmRespuestaFrecuencia::TextosAplicados()
{
    TTextos& t = Textos();
    setWindowTitle(t.BuscarTexto(TextoBarrido::Titulo));
    const std::pair<QLabel*, int> rotulos[] = {
        {LDesde, kTextoDesde},         {LHasta, kTextoHasta},         {LPuntos, kTextoPuntos},
        {LReparto, kTextoReparto},     {LSalida, kTextoSalida},       {LAmplitud, kTextoAmplitud},
        {LOffset, kTextoOffset},       {LReferencia, kTextoReferencia}, {LRangoReferencia, kTextoRango},
        {LRespuesta, kTextoRespuesta}, {LRangoRespuesta, kTextoRango}, {LEstabilizacion, kTextoEstabilizacion}};
    for (const auto& [l, clave] : rotulos)
        l->setText(t.BuscarTexto(clave));
    const QStringList repartos = t.BuscarTexto(kTextoRepartos).split(QLatin1Char('|'));
    for (int i = 0; i < std::min<int>(RepartoComboBox->count(), int(repartos.size())); ++i)
        RepartoComboBox->setItemText(i, repartos[i]);
    IniciarBtn->setText(t.BuscarTexto(kTextoIniciar));
    CancelarBtn->setText(t.BuscarTexto(kTextoCancelar));
    const QStringList botones = t.BuscarTexto(kTextoBotones).split(QLatin1Char('|'));
    QPushButton* const lista[] = {AbrirBtn, GuardarBtn, CsvBtn, ImagenBtn, ImprimirBtn, CapturaBtn};
    for (int i = 0; i < 6; ++i)
        lista[i]->setText(botones.value(i, lista[i]->objectName()));
    Avisar();
    Mostrar();
}

void TfrmRespuestaFrecuencia::AlMostrar()
{
    // Over the document area, clear of the main window's menus and toolbars.
    const QWidget& area = principal_.AreaVentanas();
    if (area.isVisible()) {
        const QRect dentro(area.mapToGlobal(QPoint(0, 0)), area.size());
        const QSize marco = frameGeometry().size() - size();
        resize(std::min(width(), std::max(minimumWidth(), dentro.width() - marco.width())),
               std::min(height(), std::max(minimumHeight(), dentro.height() - marco.height())));
        move(dentro.topLeft());
    }
}

void TfrmRespuestaFrecuencia::done(int r)
{
    // Closing stops the sweep; the window goes once the point on its way is back.
    if (barriendo_)
        CancelarBtnClick();
    TFormulario::done(r);
}

std::optional<TAjustesBarrido> TfrmRespuestaFrecuencia::LeerAjustes(int* clave, QWidget** foco) const
{
    TAjustesBarrido a;
    auto real = [&](QLineEdit* e, double& v) {
        const auto x = LeerReal(e->text());
        if (!x) {
            if (clave)
                *clave = e == AmplitudEdit || e == OffsetEdit ? TextoBarrido::Amplitud : TextoBarrido::FrecuenciasMal;
            if (foco)
                *foco = e;
            return false;
        }
        v = *x;
        return true;
    };
    double puntos = 0;
    if (!real(DesdeEdit, a.Desde) || !real(HastaEdit, a.Hasta) || !real(PuntosEdit, puntos)
        || !real(AmplitudEdit, a.Amplitud) || !real(OffsetEdit, a.Offset) || !real(EstabilizacionEdit, a.Estabilizacion))
        return std::nullopt;
    a.Puntos = int(std::clamp(puntos, -1.0, 1e6));
    a.Reparto = RepartoComboBox->currentIndex() == 1 ? TReparto::Lineal : TReparto::Logaritmico;
    a.Salida = SalidaComboBox->currentData().toInt();
    a.Referencia = ReferenciaComboBox->currentData().toInt();
    a.Respuesta = RespuestaComboBox->currentData().toInt();
    a.RangoReferencia = RangoReferenciaComboBox->currentData().toInt();
    a.RangoRespuesta = RangoRespuestaComboBox->currentData().toInt();
    a.DesfaseGruposUs = resultado_.Ajustes.DesfaseGruposUs;
    return a;
}

void TfrmRespuestaFrecuencia::MostrarAjustes(const TAjustesBarrido& a)
{
    const QSignalBlocker b1(DesdeEdit), b2(HastaEdit), b3(PuntosEdit), b4(AmplitudEdit), b5(OffsetEdit),
        b6(EstabilizacionEdit), b7(RepartoComboBox), b8(SalidaComboBox), b9(ReferenciaComboBox),
        b10(RespuestaComboBox), b11(RangoReferenciaComboBox), b12(RangoRespuestaComboBox);
    DesdeEdit->setText(TextoNumero(a.Desde));
    HastaEdit->setText(TextoNumero(a.Hasta));
    PuntosEdit->setText(QString::number(a.Puntos));
    AmplitudEdit->setText(TextoNumero(a.Amplitud));
    OffsetEdit->setText(TextoNumero(a.Offset));
    EstabilizacionEdit->setText(TextoNumero(a.Estabilizacion));
    RepartoComboBox->setCurrentIndex(a.Reparto == TReparto::Lineal ? 1 : 0);
    SalidaComboBox->setCurrentIndex(SalidaComboBox->findData(a.Salida));
    ReferenciaComboBox->setCurrentIndex(ReferenciaComboBox->findData(a.Referencia));
    RespuestaComboBox->setCurrentIndex(RespuestaComboBox->findData(a.Respuesta));
    RangoReferenciaComboBox->setCurrentIndex(RangoReferenciaComboBox->findData(a.RangoReferencia));
    RangoRespuestaComboBox->setCurrentIndex(RangoRespuestaComboBox->findData(a.RangoRespuesta));
    Avisar();
}

void TfrmRespuestaFrecuencia::Avisar()
{
    if (barriendo_)
        return;
    int clave = 0;
    const std::optional<TAjustesBarrido> a = LeerAjustes(&clave);
    if (a)
        clave = ComprobarAjustes(*a);
    if (clave != 0) {
        LabelAviso->setText(Textos().BuscarTexto(clave));
        LTotal->clear();
        return;
    }
    TTextos& t = Textos();
    const TPlanBarrido plan = PlanificarBarrido(*a, t);
    QString aviso;
    if (plan.PrimerImposible >= 0) {
        const TPuntoPlan& p = plan.Puntos[std::size_t(plan.PrimerImposible)];
        aviso = t.BuscarTexto(p.Clave) + QStringLiteral(" (") + TextoFrecuencia(p.Nominal, t) + QLatin1Char(')');
    } else if (plan.PuntosEscasos > 0) {
        double f = 0;
        for (const TPuntoPlan& p : plan.Puntos)
            if (p.MuestrasPorPeriodo() <= plan.MinMuestrasPorPeriodo)
                f = p.Frecuencia;
        aviso = t.BuscarTexto(TextoBarrido::PocasMuestras)
                    .arg(plan.PuntosEscasos)
                    .arg(FormatoFijo(plan.MinMuestrasPorPeriodo, 1), FormatoGeneral(f, 6));
    }
    LabelAviso->setText(aviso);
    // What a sweep of these settings would take; nothing once they have been measured.
    if (resultado_.Puntos.empty() || !(*a == resultado_.Ajustes))
        LTotal->setText(t.BuscarTexto(kTextoQuedan).arg(qint64(std::ceil(plan.SegundosEstimados()))));
    else
        LTotal->clear();
}

void TfrmRespuestaFrecuencia::EnMarcha(bool on)
{
    barriendo_ = on;
    for (QWidget* w : std::initializer_list<QWidget*>{
             DesdeEdit, HastaEdit, PuntosEdit, AmplitudEdit, OffsetEdit, EstabilizacionEdit, RepartoComboBox,
             SalidaComboBox, ReferenciaComboBox, RangoReferenciaComboBox, RespuestaComboBox, RangoRespuestaComboBox,
             IniciarBtn, AbrirBtn})
        w->setEnabled(!on);
    CancelarBtn->setEnabled(on);
    if (!on) {
        punto_.reset();
        Avisar();
    }
}

void TfrmRespuestaFrecuencia::Aviso(int clave, const QString& detalle)
{
    QString t = Textos().BuscarTexto(clave);
    if (!detalle.isEmpty())
        t += QLatin1Char(' ') + detalle;
    Interaccion().MostrarAviso(t, Botones::Aceptar);
}

TTarea TfrmRespuestaFrecuencia::IniciarBtnClick()
{
    if (barriendo_)
        co_return;
    int clave = 0;
    QWidget* foco = nullptr;
    const std::optional<TAjustesBarrido> a = LeerAjustes(&clave, &foco);
    if (a)
        clave = ComprobarAjustes(*a);
    if (clave != 0) {
        Aviso(clave);
        if (foco)
            foco->setFocus();
        co_return;
    }
    TEstadoPrograma& e = principal_.Estado();
    TServicioSAD* sad = SAD();
    if (!sad || e.Ocupado())
        co_return;
    auto barrido = std::make_unique<TBarridoSAD>(*a, Textos(), principal_.Contexto().CarpetaPrograma);
    if (const int i = barrido->Plan().PrimerImposible; i >= 0) {
        const TPuntoPlan& p = barrido->Plan().Puntos[std::size_t(i)];
        Aviso(p.Clave, QStringLiteral("(") + TextoFrecuencia(p.Nominal, Textos()) + QLatin1Char(')'));
        co_return;
    }
    TEnCurso curso(*this);
    TOrdenSAD orden(principal_);
    barrido_ = std::move(barrido);
    cancelado_ = false;
    captura_.reset();
    resultado_ = barrido_->Resultado();
    EnMarcha(true);
    Mostrar();
    reloj_.start();

    // The unit answers, or the person goes on without it.
    for (;;) {
        if (co_await sad->LeerVersion())
            break;
        const int r = Interaccion().PreguntarPresencia();
        if (r == Respuesta::Ignorar)
            break;
        if (r != Respuesta::Reintentar || cancelado_) {
            EnMarcha(false);
            co_return;
        }
    }
    while (!cancelado_) {
        std::shared_ptr<TPuntoSAD> p = barrido_->Siguiente();
        if (!p)
            break;
        punto_ = p;
        MostrarAvance({});
        const qint64 inicio = reloj_.elapsed();
        // Named before it is awaited (no converted temporary inside co_await).
        std::shared_ptr<TConversacion> conversacion = p;
        TConversacion::TPaso paso = co_await sad->Hablar(conversacion);
        if (paso == TConversacion::TPaso::Decidir) {
            TTextos& t = Textos();
            const int estado = p->EstadoUnidad();
            const int pregunta = estado == SadProgramada   ? kTextoEstado1
                                 : estado == SadCapturando ? kTextoEstado2
                                                           : (sad->Info().CapturaLeida ? kTextoLeidaSeBorrara : kTextoDatosSinLeer);
            const int r = cancelado_ ? int(Respuesta::Cancelar)
                                     : Interaccion().MostrarPregunta(t.BuscarTexto(pregunta) + QLatin1Char(' ')
                                                                         + t.BuscarTexto(kTextoContinuar),
                                                                     Botones::SiNoCancelar);
            paso = co_await sad->Responder(conversacion, r);
        }
        punto_.reset();
        if (paso == TConversacion::TPaso::Terminada) {
            barrido_->Anotar(*p, double(reloj_.elapsed() - inicio) / 1000);
            resultado_ = barrido_->Resultado();
            captura_ = p->Captura();
            Mostrar();
            continue;
        }
        if (paso == TConversacion::TPaso::Fallida)
            Aviso(p->ClaveFallo() != 0 ? p->ClaveFallo() : 135);
        break;
    }
    EnMarcha(false);
    Mostrar();
}

void TfrmRespuestaFrecuencia::CancelarBtnClick()
{
    if (!barriendo_)
        return;
    cancelado_ = true;
    CancelarBtn->setEnabled(false);
    if (TServicioSAD* s = SAD())
        s->Cancelar();
}

void TfrmRespuestaFrecuencia::MostrarAvance(const TConversacion::TAvance& a)
{
    if (!barriendo_ || !barrido_ || !punto_)
        return;
    TTextos& t = Textos();
    const double parte = a.esperados > 0 ? std::clamp(double(a.recibidos) / double(a.esperados), 0.0, 1.0) : 0.0;
    PBPunto->setValue(int(std::lround(parte * 1000)));
    const int total = std::max(1, barrido_->Total());
    PBTotal->setValue(int(std::lround((barrido_->Hechos() + parte) * 1000 / total)));
    LPunto->setText(t.BuscarTexto(kTextoPunto)
                        .arg(barrido_->Hechos() + 1)
                        .arg(barrido_->Total())
                        .arg(FormatoGeneral(punto_->Plan().Frecuencia, 6)));
    LTotal->setText(t.BuscarTexto(kTextoQuedan).arg(qint64(std::ceil(barrido_->SegundosRestantes(parte)))));
}

void TfrmRespuestaFrecuencia::PonerResultado(const TResultadoBarrido& r)
{
    resultado_ = r;
    captura_.reset();
    MostrarAjustes(r.Ajustes);
    Mostrar();
}

void TfrmRespuestaFrecuencia::Mostrar()
{
    TTextos& t = Textos();
    GBode->Cargar(resultado_);
    const QStringList cortes = GBode->TextosCortes();
    const bool hay = !resultado_.Puntos.empty();
    LCortes->setText(cortes.isEmpty() ? (hay && !barriendo_ ? t.BuscarTexto(kTextoSinCorte) : QString())
                                      : cortes.join(QLatin1Char('\n')));
    int marcados = 0;
    std::array<int, NumMarcas> porMarca{};
    for (const TPuntoBarrido& p : resultado_.Puntos)
        if (!p.Valida()) {
            ++marcados;
            ++porMarca[std::size_t(p.Marca)];
        }
    QString marcas;
    if (marcados > 0) {
        const QStringList nombres = t.BuscarTexto(TextoBarrido::Marcas).split(QLatin1Char('|'));
        QStringList partes;
        for (int m = 1; m < NumMarcas; ++m)
            if (porMarca[std::size_t(m)] > 0)
                partes << QStringLiteral("%1 (%2)").arg(nombres.value(m)).arg(porMarca[std::size_t(m)]);
        marcas = t.BuscarTexto(kTextoSinMedida).arg(marcados) + QStringLiteral(": ") + partes.join(QStringLiteral(", "));
    }
    LMarcas->setText(marcas);
    MostrarCursor(GBode->Cursor());
    for (QWidget* w : {GuardarBtn, CsvBtn, ImagenBtn, ImprimirBtn})
        w->setEnabled(hay);
    CapturaBtn->setEnabled(captura_.has_value());
    if (captura_) {
        const QStringList nombres = {LReferencia->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')),
                                     LRespuesta->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')),
                                     LSalida->text().remove(QLatin1Char('&')).remove(QLatin1Char(':'))};
        GCaptura->Cargar(captura_->Referencia, captura_->Respuesta, captura_->Salida, captura_->Periodo,
                         captura_->Desde, captura_->Medidas, nombres);
    } else {
        CapturaBtn->setChecked(false);
    }
    Vistas->setCurrentWidget(CapturaBtn->isChecked() ? static_cast<QWidget*>(GCaptura) : GBode);
    if (!barriendo_) {
        PBPunto->setValue(hay ? 1000 : 0);
        const bool completo = hay && barrido_ && barrido_->Terminado();
        PBTotal->setValue(completo ? 1000 : PBTotal->value());
        LPunto->clear();
    }
}

void TfrmRespuestaFrecuencia::MostrarCursor(int punto)
{
    if (punto < 0 || punto >= int(resultado_.Puntos.size())) {
        LCursor->clear();
        return;
    }
    const TPuntoBarrido& p = resultado_.Puntos[std::size_t(punto)];
    LCursor->setText(Textos().BuscarTexto(kTextoCursor) + QLatin1Char(' ')
                     + TGraficaBode::TextoLectura({p.Frecuencia, p.GananciaDB, p.FaseGrados}, Textos()));
}

QString TfrmRespuestaFrecuencia::Filtro(int clave) const
{
    return Textos().BuscarTexto(clave);
}

void TfrmRespuestaFrecuencia::AbrirBtnClick()
{
    if (barriendo_)
        return;
    const TContextoPrograma& c = principal_.Contexto();
    const QString ruta = c.Dialogos.AbrirFichero(Filtro(kTextoFiltroBarrido), AbrirBtn->text().remove(QLatin1Char('&')),
                                                 QStringLiteral("*.qvf"));
    if (ruta.isEmpty())
        return;
    try {
        barrido_.reset();
        PonerResultado(AbrirFicheroBarrido(ruta));
    } catch (const EErrorModelo& e) {
        Interaccion().MostrarError(Textos().BuscarTexto(e.Clave() != 0 ? e.Clave() : TextoBarrido::FicheroMal)
                                       + QLatin1Char(' ') + QDir::toNativeSeparators(ruta),
                                   Botones::Aceptar);
    }
}

void TfrmRespuestaFrecuencia::GuardarBtnClick()
{
    const TContextoPrograma& c = principal_.Contexto();
    const QString ruta = c.Dialogos.GuardarFichero(Filtro(kTextoFiltroBarrido), GuardarBtn->text().remove(QLatin1Char('&')),
                                                   QStringLiteral("*.qvf"), QStringLiteral("qvf"));
    if (ruta.isEmpty())
        return;
    if (!DestinoReemplazable(ruta) || !GuardarFicheroBarrido(ruta, resultado_))
        Interaccion().MostrarError(Textos().BuscarTexto(DestinoReemplazable(ruta) ? kTextoNoGuardado : kTextoNoEsFichero)
                                       + QLatin1Char(' ') + QDir::toNativeSeparators(ruta),
                                   Botones::Aceptar);
}

void TfrmRespuestaFrecuencia::CsvBtnClick()
{
    const TContextoPrograma& c = principal_.Contexto();
    const QString ruta = c.Dialogos.GuardarFichero(Filtro(kTextoFiltroCsv), CsvBtn->text().remove(QLatin1Char('&')),
                                                   QStringLiteral("*.csv"), QStringLiteral("csv"));
    if (ruta.isEmpty())
        return;
    if (!DestinoReemplazable(ruta) || !EscribirSeguro(ruta, CsvBarrido(resultado_)))
        Interaccion().MostrarError(Textos().BuscarTexto(DestinoReemplazable(ruta) ? kTextoNoExportado : kTextoNoEsFichero)
                                       + QLatin1Char(' ') + QDir::toNativeSeparators(ruta),
                                   Botones::Aceptar);
}

void TfrmRespuestaFrecuencia::ImagenBtnClick()
{
    const TContextoPrograma& c = principal_.Contexto();
    const QString ruta = c.Dialogos.GuardarFichero(Filtro(kTextoFiltroImagen) + QLatin1Char('|') + Filtro(kTextoFiltroWmf),
                                                   ImagenBtn->text().remove(QLatin1Char('&')), QStringLiteral("*.png"),
                                                   QStringLiteral("png"));
    if (ruta.isEmpty())
        return;
    TFormatoImagen formato = FormatoDeFichero(ruta);
    if (formato == TFormatoImagen::Desconocido)
        formato = TFormatoImagen::PNG;
    bool escrito = false;
    {
        TCursorOcupado cursor(Interaccion());
        escrito = GuardarImagen(ruta, formato, GBode->size(), PintorGrafica(*GBode));
    }
    if (!escrito)
        Interaccion().MostrarError(Textos().BuscarTexto(kTextoImagenNoGuardada) + QLatin1Char(' ')
                                       + QDir::toNativeSeparators(ruta),
                                   Botones::Aceptar);
}

void TfrmRespuestaFrecuencia::ImprimirBtnClick()
{
    const TContextoPrograma& c = principal_.Contexto();
    QPrinter impresora(QPrinter::HighResolution);
    if (!PrepararImpresora(impresora, c, this, false))
        return;
    bool impreso = false;
    {
        TCursorOcupado cursor(Interaccion());
        impreso = ImprimirBarrido(impresora, *this, *GBode, resultado_, Textos());
    }
    if (!impreso)
        Interaccion().MostrarError(Textos().BuscarTexto(kTextoNoImpreso), Botones::Aceptar);
}

void TfrmRespuestaFrecuencia::CapturaBtnClick()
{
    Vistas->setCurrentWidget(CapturaBtn->isChecked() && captura_ ? static_cast<QWidget*>(GCaptura) : GBode);
}

void AbrirRespuestaFrecuencia(IPrincipal& principal)
{
    TfrmRespuestaFrecuencia ventana(principal, &principal.Ventana());
    ventana.Ejecutar();
}

} // namespace qv
