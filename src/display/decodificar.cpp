#include "display/decodificar.h"

#include "lang/interaccion.h"
#include "lang/textos.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr int kTextoTitulo = 591;
constexpr int kTextoDecodificacion = 592;
constexpr int kTextoNueva = 593;
constexpr int kTextoQuitar = 594;
constexpr int kTextoDecodificador = 595;
constexpr int kTextoCanales = 596;
constexpr int kTextoOpciones = 597;
constexpr int kTextoSinAsignar = 598;
constexpr int kTextoApilar = 599;
constexpr int kTextoNinguno = 600;
constexpr int kTextoOpcionesDe = 601;

QComboBox* Lista(const QString& nombre, QWidget* padre)
{
    auto* c = new QComboBox(padre);
    c->setObjectName(nombre);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(16);
    return c;
}

QLabel* Rotulo(const QString& nombre, const QString& texto, QWidget* padre, QWidget* companero)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(nombre);
    l->setTextFormat(Qt::PlainText);
    l->setBuddy(companero);
    return l;
}

// A signal whose name is the channel's, or starts with it ("SDA", "SDA1"), is the one
// offered first for it.
int Propuesta(const QStringList& senales, const TCanalDecodificador& c)
{
    for (const QString& clave : {c.Id, c.Nombre})
        for (int i = 0; i < senales.size(); ++i)
            if (senales[i].compare(clave, Qt::CaseInsensitive) == 0)
                return i;
    for (const QString& clave : {c.Id, c.Nombre})
        for (int i = 0; i < senales.size(); ++i)
            if (clave.size() >= 2 && senales[i].startsWith(clave, Qt::CaseInsensitive))
                return i;
    return -1;
}

} // namespace

TfrmDecodificar::TfrmDecodificar(const TContextoFormulario& contexto, TCatalogoCompartido catalogo, QWidget* parent)
    : TFormulario(contexto, 0, 0, parent), catalogo_(std::move(catalogo))
{
    setObjectName(QStringLiteral("frmDecodificar"));
    resize(560, 620);

    CBDecodificacion = Lista(QStringLiteral("CBDecodificacion"), this);
    LDecodificacion = Rotulo(QStringLiteral("LDecodificacion"), QString(), this, CBDecodificacion);
    BtnQuitar = Boton("BtnQuitar", QString(), this);
    CBDecodificador = Lista(QStringLiteral("CBDecodificador"), this);
    CBDecodificador->setMaxVisibleItems(20);
    LDecodificador = Rotulo(QStringLiteral("LDecodificador"), QString(), this, CBDecodificador);
    if (catalogo_)
        for (const TInfoDecodificador& i : *catalogo_)
            if (i.LeeMuestras())
                CBDecodificador->addItem(i.Nombre + QStringLiteral(" - ") + i.NombreLargo, i.Id);

    auto* contenido = new QWidget;
    GBCanales = new QGroupBox(contenido);
    GBCanales->setObjectName(QStringLiteral("GBCanales"));
    formaCanales_ = new QFormLayout(GBCanales);
    GBOpciones = new QGroupBox(contenido);
    GBOpciones->setObjectName(QStringLiteral("GBOpciones"));
    formaOpciones_ = new QFormLayout(GBOpciones);
    CBApilado = Lista(QStringLiteral("CBApilado"), contenido);
    LApilado = Rotulo(QStringLiteral("LApilado"), QString(), contenido, CBApilado);
    GBOpcionesApilado = new QGroupBox(contenido);
    GBOpcionesApilado->setObjectName(QStringLiteral("GBOpcionesApilado"));
    formaApilado_ = new QFormLayout(GBOpcionesApilado);
    auto* filaApilado = new QHBoxLayout;
    filaApilado->addWidget(LApilado);
    filaApilado->addWidget(CBApilado, 1);
    auto* columnaContenido = new QVBoxLayout(contenido);
    columnaContenido->addWidget(GBCanales);
    columnaContenido->addWidget(GBOpciones);
    columnaContenido->addLayout(filaApilado);
    columnaContenido->addWidget(GBOpcionesApilado);
    columnaContenido->addStretch(1);
    auto* desplazable = new QScrollArea(this);
    desplazable->setObjectName(QStringLiteral("SAOpciones"));
    desplazable->setWidgetResizable(true);
    desplazable->setFrameShape(QFrame::NoFrame);
    desplazable->setWidget(contenido);

    auto* rejilla = new QGridLayout;
    rejilla->addWidget(LDecodificacion, 0, 0);
    rejilla->addWidget(CBDecodificacion, 0, 1);
    rejilla->addWidget(BtnQuitar, 0, 2);
    rejilla->addWidget(LDecodificador, 1, 0);
    rejilla->addWidget(CBDecodificador, 1, 1, 1, 2);
    rejilla->setColumnStretch(1, 1);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(rejilla);
    columna->addWidget(desplazable, 1);
    columna->addLayout(CrearBotones(BtnAceptar | BtnCancelar));

    connect(CBDecodificacion, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (llenando_ || i < 0)
            return;
        Guardar();
        MostrarDecodificacion(i);
    });
    connect(CBDecodificador, &QComboBox::currentIndexChanged, this, [this] {
        if (!llenando_)
            DecodificadorElegido();
    });
    connect(CBApilado, &QComboBox::currentIndexChanged, this, [this] {
        if (!llenando_)
            ApiladoElegido();
    });
    connect(BtnQuitar, &QPushButton::clicked, this, &TfrmDecodificar::Quitar);
}

void TfrmDecodificar::Inicializar(std::vector<TDecodificacion> lista, const QStringList& senales)
{
    lista_ = std::move(lista);
    senales_ = senales;
    nueva_ = {};
    nueva_.Decodificador = QStringLiteral("uart");
    LlenarDecodificaciones(0);
}

void TfrmDecodificar::TextosAplicados()
{
    setWindowTitle(Textos().BuscarTexto(kTextoTitulo));
    LDecodificacion->setText(Textos().BuscarTexto(kTextoDecodificacion));
    BtnQuitar->setText(Textos().BuscarTexto(kTextoQuitar));
    LDecodificador->setText(Textos().BuscarTexto(kTextoDecodificador));
    GBCanales->setTitle(Textos().BuscarTexto(kTextoCanales));
    GBOpciones->setTitle(Textos().BuscarTexto(kTextoOpciones));
    LApilado->setText(Textos().BuscarTexto(kTextoApilar));
    if (CBDecodificacion->count() > 0)
        CBDecodificacion->setItemText(CBDecodificacion->count() - 1, Textos().BuscarTexto(kTextoNueva));
    if (CBApilado->count() > 0)
        CBApilado->setItemText(0, Textos().BuscarTexto(kTextoNinguno));
    for (const TEditor& e : canales_)
        e.lista->setItemText(0, Textos().BuscarTexto(kTextoSinAsignar));
    GBOpcionesApilado->setTitle(
        Textos().BuscarTexto(kTextoOpcionesDe).replace(QStringLiteral("%1"), CBApilado->currentText()));
}

// ---- which decoding ------------------------------------------------------------------------

void TfrmDecodificar::LlenarDecodificaciones(int actual)
{
    llenando_ = true;
    CBDecodificacion->clear();
    for (const TDecodificacion& d : lista_)
        CBDecodificacion->addItem(d.Descripcion());
    CBDecodificacion->addItem(Textos().BuscarTexto(kTextoNueva));
    actual = std::clamp(actual, 0, int(lista_.size()));
    CBDecodificacion->setCurrentIndex(actual);
    llenando_ = false;
    MostrarDecodificacion(actual);
}

void TfrmDecodificar::MostrarDecodificacion(int indice)
{
    actual_ = indice;
    const TDecodificacion& d = indice < int(lista_.size()) ? lista_[std::size_t(indice)] : nueva_;
    BtnQuitar->setEnabled(indice < int(lista_.size()));
    llenando_ = true;
    int i = CBDecodificador->findData(d.Decodificador);
    if (i < 0 && !d.Decodificador.isEmpty()) {
        // A decoder the library does not have (a file from elsewhere) keeps its name.
        CBDecodificador->addItem(d.Decodificador, d.Decodificador);
        i = CBDecodificador->count() - 1;
    }
    CBDecodificador->setCurrentIndex(std::max(0, i));
    llenando_ = false;
    DecodificadorElegido();
}

void TfrmDecodificar::Guardar()
{
    if (actual_ < 0)
        return;
    const TDecodificacion d = Leida();
    if (actual_ < int(lista_.size())) {
        lista_[std::size_t(actual_)] = d;
        const bool antes = llenando_;
        llenando_ = true;
        CBDecodificacion->setItemText(actual_, d.Descripcion());
        llenando_ = antes;
    } else {
        nueva_ = d;
    }
}

void TfrmDecodificar::Quitar()
{
    if (actual_ < 0 || actual_ >= int(lista_.size()))
        return;
    lista_.erase(lista_.begin() + actual_);
    const int siguiente = actual_;
    actual_ = -1; // nothing to keep of the one removed
    LlenarDecodificaciones(siguiente);
}

// ---- the decoder and its settings --------------------------------------------------------

void TfrmDecodificar::Vaciar(QFormLayout& forma, std::vector<TEditor>& editores)
{
    while (forma.rowCount() > 0)
        forma.removeRow(0);
    editores.clear();
}

std::vector<TfrmDecodificar::TEditor> TfrmDecodificar::CrearOpciones(QFormLayout& forma, QWidget& padre,
                                                                   const TInfoDecodificador& info,
                                                                   const std::vector<TAjusteDecod>& valores,
                                                                   const char* prefijo)
{
    std::vector<TEditor> editores;
    for (const TOpcionDecodificador& o : info.Opciones) {
        TEditor e;
        e.id = o.Id;
        e.opcion = &o;
        QString valor = o.Defecto;
        for (const TAjusteDecod& a : valores)
            if (a.Id == o.Id)
                valor = a.Valor;
        QWidget* caja = nullptr;
        if (!o.Valores.isEmpty()) {
            e.lista = Lista(QStringLiteral("CB%1_%2").arg(QLatin1String(prefijo), o.Id), &padre);
            e.lista->addItems(o.Valores);
            int i = e.lista->findText(valor);
            if (i < 0) {
                e.lista->addItem(valor); // kept as it came, refused on "Aceptar"
                i = e.lista->count() - 1;
            }
            e.lista->setCurrentIndex(i);
            caja = e.lista;
        } else {
            e.caja = new QLineEdit(valor, &padre);
            e.caja->setObjectName(QStringLiteral("Ed%1_%2").arg(QLatin1String(prefijo), o.Id));
            caja = e.caja;
        }
        caja->setToolTip(o.Descripcion);
        e.rotulo = Rotulo(QStringLiteral("L%1_%2").arg(QLatin1String(prefijo), o.Id), o.Descripcion + QLatin1Char(':'),
                          &padre, caja);
        forma.addRow(e.rotulo, caja);
        editores.push_back(e);
    }
    return editores;
}

void TfrmDecodificar::DecodificadorElegido()
{
    Vaciar(*formaCanales_, canales_);
    Vaciar(*formaOpciones_, opciones_);
    const QString id = CBDecodificador->currentData().toString();
    const TInfoDecodificador* info = catalogo_ ? BuscarDecodificador(*catalogo_, id) : nullptr;
    const TDecodificacion& mostrada = actual_ >= 0 && actual_ < int(lista_.size()) ? lista_[std::size_t(actual_)] : nueva_;
    // The settings shown are those of the decoding when it has this decoder.
    const bool propia = mostrada.Decodificador == id;
    const bool nueva = actual_ >= int(lista_.size());
    llenando_ = true;
    CBApilado->clear();
    CBApilado->addItem(Textos().BuscarTexto(kTextoNinguno), QString());
    if (info) {
        for (const TCanalDecodificador& c : info->Canales) {
            TEditor e;
            e.id = c.Id;
            e.lista = Lista(QStringLiteral("CBCanal_%1").arg(c.Id), GBCanales);
            e.lista->addItem(Textos().BuscarTexto(kTextoSinAsignar));
            e.lista->addItems(senales_);
            const QString senal = propia ? mostrada.SenalDe(c.Id) : QString();
            int i = senal.isEmpty() ? -1 : int(senales_.indexOf(senal));
            if (i < 0 && !senal.isEmpty()) {
                e.lista->addItem(senal); // not in the window: refused on "Aceptar"
                i = int(senales_.size());
            }
            if (i < 0 && nueva && (c.Obligatorio || c.Id == QLatin1String("rx")))
                i = Propuesta(senales_, c);
            e.lista->setCurrentIndex(i + 1);
            e.lista->setToolTip(c.Descripcion);
            e.rotulo = Rotulo(QStringLiteral("LCanal_%1").arg(c.Id), c.Nombre + QLatin1Char(':'), GBCanales, e.lista);
            formaCanales_->addRow(e.rotulo, e.lista);
            canales_.push_back(e);
        }
        opciones_ = CrearOpciones(*formaOpciones_, *GBOpciones, *info, propia ? mostrada.Opciones : std::vector<TAjusteDecod>{},
                                  "Opcion");
        for (const TInfoDecodificador* a : Apilables(*catalogo_, *info))
            CBApilado->addItem(a->Nombre + QStringLiteral(" - ") + a->NombreLargo, a->Id);
        if (propia && !mostrada.Apilados.empty())
            CBApilado->setCurrentIndex(std::max(0, CBApilado->findData(mostrada.Apilados.front().Decodificador)));
    }
    GBOpciones->setVisible(!opciones_.empty());
    LApilado->setVisible(CBApilado->count() > 1);
    CBApilado->setVisible(CBApilado->count() > 1);
    llenando_ = false;
    ApiladoElegido();
}

void TfrmDecodificar::ApiladoElegido()
{
    Vaciar(*formaApilado_, opcionesApilado_);
    const QString id = CBApilado->currentData().toString();
    const TInfoDecodificador* info = catalogo_ && !id.isEmpty() ? BuscarDecodificador(*catalogo_, id) : nullptr;
    if (info) {
        const TDecodificacion& mostrada =
            actual_ >= 0 && actual_ < int(lista_.size()) ? lista_[std::size_t(actual_)] : nueva_;
        std::vector<TAjusteDecod> valores;
        if (!mostrada.Apilados.empty() && mostrada.Apilados.front().Decodificador == id)
            valores = mostrada.Apilados.front().Opciones;
        opcionesApilado_ = CrearOpciones(*formaApilado_, *GBOpcionesApilado, *info, valores, "OpcionApilado");
    }
    GBOpcionesApilado->setTitle(
        Textos().BuscarTexto(kTextoOpcionesDe).replace(QStringLiteral("%1"), info ? info->Nombre : QString()));
    GBOpcionesApilado->setVisible(!opcionesApilado_.empty());
}

std::vector<TAjusteDecod> TfrmDecodificar::Valores(const std::vector<TEditor>& editores)
{
    std::vector<TAjusteDecod> r;
    for (const TEditor& e : editores) {
        const QString v = e.lista ? e.lista->currentText() : e.caja->text().trimmed();
        // Only what differs from the library's default is kept.
        if (e.opcion && v != e.opcion->Defecto)
            r.push_back({e.id, v});
    }
    return r;
}

TDecodificacion TfrmDecodificar::Leida() const
{
    TDecodificacion d;
    d.Decodificador = CBDecodificador->currentData().toString();
    for (const TEditor& e : canales_)
        if (e.lista->currentIndex() > 0)
            d.Canales.push_back({e.id, e.lista->currentText()});
    d.Opciones = Valores(opciones_);
    const QString apilado = CBApilado->currentData().toString();
    if (!apilado.isEmpty())
        d.Apilados.push_back({apilado, Valores(opcionesApilado_)});
    return d;
}

TFalloDecod TfrmDecodificar::Comprobar(const TDecodificacion& d, QString& caja) const
{
    const TInfoDecodificador* info = catalogo_ ? BuscarDecodificador(*catalogo_, d.Decodificador) : nullptr;
    caja = QStringLiteral("CBDecodificador");
    if (!info)
        return {clave_decod::kTextoDesconocido, {d.Decodificador}};
    for (const TCanalDecodificador& c : info->Canales) {
        caja = QStringLiteral("CBCanal_") + c.Id;
        const QString senal = d.SenalDe(c.Id);
        if (c.Obligatorio && senal.isEmpty())
            return {clave_decod::kTextoSinCanal, {c.Nombre, info->Id}};
        if (!senal.isEmpty() && !senales_.contains(senal))
            return {clave_decod::kTextoSinSenal, {senal}};
    }
    if (d.Canales.empty()) {
        caja = info->Canales.empty() ? QString() : QStringLiteral("CBCanal_") + info->Canales.front().Id;
        return {clave_decod::kTextoSinCanal, {info->Canales.empty() ? QString() : info->Canales.front().Nombre, info->Id}};
    }
    caja.clear();
    if (d.Senales().size() > MaxCanalesDecod)
        return {clave_decod::kTextoDemasiadosCanales, {QString::number(MaxCanalesDecod)}};
    const auto opciones = [&](const TInfoDecodificador& i, const std::vector<TAjusteDecod>& valores,
                              const QString& prefijo) -> TFalloDecod {
        for (const TAjusteDecod& a : valores) {
            const TOpcionDecodificador* o = i.Opcion(a.Id);
            caja = (o && !o->Valores.isEmpty() ? QStringLiteral("CB") : QStringLiteral("Ed")) + prefijo + a.Id;
            if (!o || !ValorValido(*o, a.Valor))
                return {clave_decod::kTextoOpcionNoValida, {o ? o->Descripcion : a.Id, a.Valor}};
        }
        caja.clear();
        return {};
    };
    if (TFalloDecod f = opciones(*info, d.Opciones, QStringLiteral("Opcion_")))
        return f;
    for (const TCapaDecod& a : d.Apilados) {
        const TInfoDecodificador* i = BuscarDecodificador(*catalogo_, a.Decodificador);
        caja = QStringLiteral("CBApilado");
        if (!i)
            return {clave_decod::kTextoDesconocido, {a.Decodificador}};
        if (TFalloDecod f = opciones(*i, a.Opciones, QStringLiteral("OpcionApilado_")))
            return f;
    }
    return {};
}

bool TfrmDecodificar::Validar()
{
    Guardar();
    // The decoding shown first, then the others; the first that fails is shown with its
    // box to mend.
    const int n = int(lista_.size());
    std::vector<int> orden{actual_};
    for (int k = 0; k <= n; ++k)
        if (k != actual_)
            orden.push_back(k);
    for (int k : orden) {
        const bool nueva = k == n;
        const TDecodificacion& d = nueva ? nueva_ : lista_[std::size_t(k)];
        if (nueva && d.Canales.empty())
            continue; // a new decoding without signals is none
        QString nombre;
        const TFalloDecod f = Comprobar(d, nombre);
        if (!f)
            continue;
        if (k != actual_) {
            llenando_ = true;
            CBDecodificacion->setCurrentIndex(k);
            llenando_ = false;
            MostrarDecodificacion(k);
        }
        Interaccion().MostrarAviso(TextoFallo(f, Textos()), Botones::Aceptar);
        if (QWidget* caja = nombre.isEmpty() ? nullptr : findChild<QWidget*>(nombre)) {
            caja->setVisible(true); // a box made just now is shown on the next pass
            caja->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }
    if (!nueva_.Canales.empty())
        lista_.push_back(nueva_);
    return true;
}

} // namespace qv
