#include "channels/dialogo_generador.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "channels/campos.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/formatos.h"
#include "model/generadores.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstring>

namespace qv {

namespace {
constexpr int kTextoRangoSalida = 325;
constexpr int kTextoFueraDeRango = 326;
constexpr int kTextoLlegaA = 327;
constexpr int kTextoRecortada = 328;
constexpr int kAnchoCaja = 90;
} // namespace

TDialogoGenerador::TDialogoGenerador(IPrincipal& principal, TConfigES& trabajo, int salida, const TDatos& datos,
                                     QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, datos.formulario, datos.ayuda, parent), principal_(principal),
      trabajo_(trabajo), salida_(salida), analogica_(datos.analogica)
{
    setObjectName(QLatin1String(datos.nombre));
    Campos = new QGridLayout;
    Campos->setHorizontalSpacing(8);
    RetardoEdit = NuevaCaja(datos.nombreRetardo, TFiltro::Entero, this);
    UnidadTEdit = NuevaCajaUnidades("UnidadTEdit", Textos(), this);
    if (datos.limpiar) {
        ClearBtn = new QPushButton(QStringLiteral("Limpiar"), this);
        ClearBtn->setObjectName(QStringLiteral("ClearBtn"));
        ClearBtn->setAutoDefault(false);
        connect(ClearBtn, &QPushButton::clicked, this, &TDialogoGenerador::ClearBtnClick);
    }
    Imagen = new TDibujoOnda(datos.forma, this);
    vaciables_.push_back(RetardoEdit);
}

const TGenerador* TDialogoGenerador::GeneradorDeClase(TClaseGenerador clase) const
{
    const TGenerador* g = analogica_ ? static_cast<const TGenerador*>(trabajo_.SalAna(salida_).Generador.get())
                                     : static_cast<const TGenerador*>(trabajo_.SalDig(salida_).Generador.get());
    return g && g->Clase() == clase ? g : nullptr;
}

float TDialogoGenerador::Parametro(const TGenerador& g, const char* nombre)
{
    for (const TParametroGenerador& p : g.Parametros())
        if (std::strcmp(p.nombre, nombre) == 0)
            return p.valor;
    return 0;
}

void TDialogoGenerador::MostrarRetardo(const TGenerador* g, int unidadNueva)
{
    if (!g) {
        UnidadTEdit->setCurrentIndex(unidadNueva);
        return;
    }
    const int unidad = std::min<int>(g->UnidadRetardo, Unidad::Segundo);
    const double escala = unidad == Unidad::Micro ? 1e6 : unidad == Unidad::Mili ? 1e3 : 1;
    RetardoEdit->setText(QString::number(std::llround(double(g->Retardo) * escala)));
    UnidadTEdit->setCurrentIndex(unidad);
}

QString TDialogoGenerador::PalabraUnidad(const QComboBox& unidad) const
{
    return Textos().BuscarTexto(193 + std::max(unidad.currentIndex(), 0));
}

float TDialogoGenerador::Segundos(double valor, const QComboBox& unidad)
{
    return float(ASegundos(valor, std::max(unidad.currentIndex(), 0)));
}

void TDialogoGenerador::Vaciables(std::initializer_list<QLineEdit*> cajas)
{
    vaciables_.insert(vaciables_.end(), cajas.begin(), cajas.end());
}

void TDialogoGenerador::ClearBtnClick()
{
    for (QLineEdit* c : vaciables_)
        c->clear();
    RetardoEdit->setFocus();
}

bool TDialogoGenerador::Aviso(int texto, QWidget* foco)
{
    return Avisar(Interaccion(), Textos(), texto, foco);
}

bool TDialogoGenerador::AlgunaVacia(std::initializer_list<const QLineEdit*> cajas) const
{
    for (const QLineEdit* c : cajas)
        if (c->text().isEmpty())
            return true;
    return false;
}

std::optional<long long> TDialogoGenerador::Entero(QLineEdit& caja)
{
    return EnteroDeCaja(caja, Interaccion(), Textos());
}

std::optional<double> TDialogoGenerador::Real(QLineEdit& caja)
{
    return RealDeCaja(caja, Interaccion(), Textos());
}

std::optional<float> TDialogoGenerador::Float(QLineEdit& caja)
{
    return FloatDeCaja(caja, Interaccion(), Textos());
}

std::optional<float> TDialogoGenerador::RetardoEntero()
{
    const std::optional<long long> r = Entero(*RetardoEdit);
    if (!r)
        return std::nullopt;
    if (*r > RetardoMaximo || *r < 0) {
        Aviso(clave::RetardoGrande, RetardoEdit);
        return std::nullopt;
    }
    return Segundos(double(*r), *UnidadTEdit);
}

bool TDialogoGenerador::NivelesEnSalida(const TGenAnalogico& g, bool recortable, QWidget* foco)
{
    const TPicos picos = g.Picos();
    if (DentroDeSalida(picos))
        return true;
    TTextos& t = Textos();
    if (recortable) {
        const QString pregunta = t.BuscarTexto(kTextoFueraDeRango) + QLatin1Char(' ') + t.BuscarTexto(kTextoLlegaA)
                                 + QLatin1Char(' ') + FormatoFijo(picos.Mayor(), 2) + QStringLiteral("\u00a0V ")
                                 + t.BuscarTexto(kTextoRecortada);
        if (Interaccion().MostrarPregunta(pregunta, Botones::AceptarCancelar) == Respuesta::Aceptar)
            return true;
    } else {
        Interaccion().MostrarAviso(t.BuscarTexto(clave::Amplitud) + QLatin1Char(' ') + t.BuscarTexto(kTextoRangoSalida),
                                   Botones::Aceptar);
    }
    if (foco)
        foco->setFocus();
    return false;
}

void TDialogoGenerador::Guardar(std::unique_ptr<TGenAnalogico> g)
{
    tipoGuardado_ = g ? g->Tipo() : QString();
    trabajo_.SalAna(salida_).Generador = std::move(g);
}

void TDialogoGenerador::Guardar(std::unique_ptr<TGenDigital> g)
{
    tipoGuardado_ = g ? g->Tipo() : QString();
    trabajo_.SalDig(salida_).Generador = std::move(g);
}

void TDialogoGenerador::QuitarGenerador()
{
    if (analogica_)
        Guardar(std::unique_ptr<TGenAnalogico>());
    else
        Guardar(std::unique_ptr<TGenDigital>());
}

void TDialogoGenerador::Fila(int fila, QLabel* etiqueta, QLineEdit* caja, QWidget* unidad, QWidget* combo)
{
    caja->setFixedWidth(kAnchoCaja);
    Campos->addWidget(etiqueta, fila, 0);
    Campos->addWidget(caja, fila, 1);
    if (unidad)
        Campos->addWidget(unidad, fila, 2);
    if (combo)
        Campos->addWidget(combo, fila, 3);
}

void TDialogoGenerador::Montar(std::initializer_list<int> leyenda)
{
    auto* dibujo = new QVBoxLayout;
    if (tituloImagen_)
        dibujo->addWidget(tituloImagen_);
    dibujo->addWidget(Imagen, 1);
    int n = 0;
    for (int clave : leyenda) {
        const QByteArray nombre = "Leyenda" + QByteArray::number(++n);
        auto* l = NuevaEtiqueta(nombre.constData(), QString(), this);
        dibujo->addWidget(l);
        leyenda_.emplace_back(l, clave);
    }

    auto* arriba = new QHBoxLayout;
    auto* izquierda = new QVBoxLayout;
    izquierda->addLayout(Campos);
    if (nota_) {
        izquierda->addSpacing(6);
        izquierda->addWidget(nota_);
    }
    izquierda->addStretch(1);
    arriba->addLayout(izquierda, 0);
    arriba->addSpacing(12);
    arriba->addLayout(dibujo, 1);

    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp");
    if (ClearBtn)
        botones->insertWidget(botones->count() - 2, ClearBtn);
    for (QPushButton* b : {BotonAceptar(), BotonCancelar(), ClearBtn, BotonAyuda()})
        if (b)
            b->setMinimumWidth(85);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(arriba);
    columna->addSpacing(6);
    columna->addLayout(botones);

    // Keyboard order: the boxes as they are laid out, then the buttons.
    QWidget* anterior = nullptr;
    for (int fila = 0; fila < Campos->rowCount(); ++fila)
        for (int col = 0; col < Campos->columnCount(); ++col) {
            QLayoutItem* it = Campos->itemAtPosition(fila, col);
            QWidget* w = it ? it->widget() : nullptr;
            if (!w || w->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel*>(w))
                continue;
            if (anterior)
                setTabOrder(anterior, w);
            anterior = w;
        }
    for (QPushButton* b : {BotonAceptar(), BotonCancelar(), ClearBtn, BotonAyuda()}) {
        if (!b)
            continue;
        if (anterior)
            setTabOrder(anterior, b);
        anterior = b;
    }
    RetardoEdit->setFocus();
}

void TDialogoGenerador::TextosAplicados()
{
    for (const auto& [etiqueta, clave] : leyenda_)
        etiqueta->setText(Textos().LeerTexto(clave));
}

} // namespace qv
