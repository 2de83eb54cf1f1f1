#include "channels/activacion_salidas.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "channels/campos.h"
#include "channels/generadores_analogicos.h"
#include "channels/generadores_digitales.h"
#include "channels/tablas_generador.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/generadores.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kTextoActiva = 108;
constexpr int kTextoSinGenerador = 109;
constexpr int kLargoNombre = 8;
// Modal result of a window that hands over to a generator dialog.
constexpr int kPideGenerador = 2;

} // namespace

TVentanaSalida::TVentanaSalida(IPrincipal& principal, TConfigES& trabajo, TCanal canal, int formulario, int ayuda,
                               const char* nombre, const char* nombreEtiqueta, const QString& etiqueta,
                               const std::vector<TBotonGenerador>& botones, TClaseGenerador porDefecto,
                               QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, formulario, ayuda, parent), principal_(principal),
      trabajo_(trabajo), canal_(canal), porDefecto_(porDefecto)
{
    setObjectName(QLatin1String(nombre));
    Edit1 = NuevaCaja("Edit1", TFiltro::Nombre, this);
    Edit1->setMaxLength(kLargoNombre);
    Edit1->setText(NombreActual(trabajo, canal));
    QLabel* rotulo = NuevaEtiqueta(nombreEtiqueta, etiqueta, this, Edit1);

    auto* rejilla = new QGridLayout;
    int i = 0;
    for (const TBotonGenerador& b : botones) {
        auto* boton = new QPushButton(QString::fromUtf8(b.texto), this);
        boton->setObjectName(QLatin1String(b.nombre));
        boton->setAutoDefault(false);
        boton->setMinimumWidth(120);
        const TClaseGenerador clase = b.clase;
        connect(boton, &QPushButton::clicked, this, [this, clase] { GeneradorClick(clase); });
        rejilla->addWidget(boton, i / 2, i % 2);
        botones_.emplace_back(boton, clase);
        ++i;
    }
    DestroyButton = new QPushButton(QStringLiteral("Eliminar generador"), this);
    DestroyButton->setObjectName(QStringLiteral("DestroyButton"));
    DestroyButton->setAutoDefault(false);
    connect(DestroyButton, &QPushButton::clicked, this, &TVentanaSalida::DestroyButtonClick);

    auto* nombreFila = new QHBoxLayout;
    nombreFila->addWidget(rotulo);
    nombreFila->addWidget(Edit1);
    Edit1->setFixedWidth(Edit1->fontMetrics().horizontalAdvance(QLatin1Char('W')) * kLargoNombre + 12);
    nombreFila->addStretch(1);

    auto* borrar = new QHBoxLayout;
    borrar->addStretch(1);
    borrar->addWidget(DestroyButton);

    QHBoxLayout* fila = CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OkBtn", "CancelBtn", "BtnHelp");
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(nombreFila);
    columna->addSpacing(6);
    columna->addLayout(rejilla);
    columna->addLayout(borrar);
    columna->addSpacing(6);
    columna->addLayout(fila);

    QWidget* anterior = Edit1;
    for (auto& [b, c] : botones_) {
        setTabOrder(anterior, b);
        anterior = b;
    }
    for (QWidget* w : {static_cast<QWidget*>(DestroyButton), static_cast<QWidget*>(BotonAceptar()),
                       static_cast<QWidget*>(BotonCancelar()), static_cast<QWidget*>(BotonAyuda())}) {
        setTabOrder(anterior, w);
        anterior = w;
    }
    Edit1->setFocus();
}

const TGenerador* TVentanaSalida::Generador() const
{
    if (canal_.tipo == TCanal::Tipo::SalAna)
        return trabajo_.SalAna(canal_.indice).Generador.get();
    return trabajo_.SalDig(canal_.indice).Generador.get();
}

bool TVentanaSalida::Activo() const
{
    if (canal_.tipo == TCanal::Tipo::SalAna)
        return trabajo_.SalAna(canal_.indice).Activo;
    return trabajo_.SalDig(canal_.indice).Activo;
}

void TVentanaSalida::QuitarGenerador()
{
    if (canal_.tipo == TCanal::Tipo::SalAna)
        trabajo_.SalAna(canal_.indice).Generador.reset();
    else
        trabajo_.SalDig(canal_.indice).Generador.reset();
}

// Every generator button in bold; the one of the present generator's kind also
// underlined. The buttons follow whether there is a generator to accept or delete.
void TVentanaSalida::MarcarBotones()
{
    const TGenerador* g = Generador();
    std::optional<TClaseGenerador> marcada;
    if (g) {
        marcada = porDefecto_;
        for (auto& [b, c] : botones_)
            if (c == g->Clase())
                marcada = c;
    }
    for (auto& [b, c] : botones_) {
        QFont f = b->font();
        f.setBold(true);
        f.setUnderline(marcada && *marcada == c);
        b->setFont(f);
    }
    BotonAceptar()->setEnabled(g != nullptr);
    DestroyButton->setEnabled(g != nullptr && !Activo());
}

void TVentanaSalida::AlMostrar()
{
    MarcarBotones();
}

bool TVentanaSalida::BuenNombre()
{
    const QString nombre = Edit1->text();
    TInteraccion& i = Interaccion();
    if (nombre.isEmpty())
        return Avisar(i, Textos(), clave::NombreVacio, Edit1);
    if (const int texto = ComprobarNombreCanal(principal_.Estado(), trabajo_, canal_, nombre))
        return Avisar(i, Textos(), texto, Edit1);
    return true;
}

bool TVentanaSalida::Validar()
{
    if (!Generador())
        return Avisar(Interaccion(), Textos(), kTextoSinGenerador, nullptr);
    if (!BuenNombre())
        return false;
    aceptado_ = true;
    return true;
}

void TVentanaSalida::GeneradorClick(TClaseGenerador clase)
{
    if (!BuenNombre())
        return;
    pedido_ = clase;
    done(kPideGenerador);
}

void TVentanaSalida::DestroyButtonClick()
{
    if (Activo()) {
        Avisar(Interaccion(), Textos(), kTextoActiva, nullptr);
    } else if (Generador()) {
        QuitarGenerador();
        MarcarBotones();
    }
    aceptado_ = true;
    accept();
}

bool TVentanaSalida::Activar()
{
    aceptado_ = false;
    for (;;) {
        pedido_.reset();
        Ejecutar();
        if (!pedido_)
            break;
        // The window stays out of sight while the generator dialog runs.
        std::unique_ptr<TDialogoGenerador> dialogo = CrearDialogo(*pedido_, parentWidget());
        if (dialogo->Ejecutar() == QDialog::Accepted) {
            aceptado_ = true;
            break;
        }
    }
    if (aceptado_ && Generador()) {
        if (canal_.tipo == TCanal::Tipo::SalAna)
            trabajo_.SalAna(canal_.indice).Nombre = Edit1->text();
        else
            trabajo_.SalDig(canal_.indice).Nombre = Edit1->text();
    }
    return aceptado_;
}

// ---- the two windows --------------------------------------------------------------

TfrmActiveSA::TfrmActiveSA(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* parent)
    : TVentanaSalida(principal, trabajo, {TCanal::Tipo::SalAna, indice}, Numero, 58, "frmActiveSA", "Label2",
                     QStringLiteral("Nombre de la Salida Anal\u00f3gica :"),
                     {{"EscalonBtn", "Escalon", TClaseGenerador::Escalon},
                      {"SenoButton", "Seno", TClaseGenerador::Seno},
                      {"RampaButton", "Rampa", TClaseGenerador::Rampa},
                      {"TablaButton", "Tabla Anal\u00f3gica", TClaseGenerador::TablaAnalogica}},
                     TClaseGenerador::Seno, parent)
{
    setWindowTitle(QStringLiteral("Activaci\u00f3n de Salida Analogica"));
}

std::unique_ptr<TDialogoGenerador> TfrmActiveSA::CrearDialogo(TClaseGenerador clase, QWidget* padre)
{
    const int i = canal_.indice;
    switch (clase) {
    case TClaseGenerador::Escalon: return std::make_unique<TfrmGenEscalon>(principal_, trabajo_, i, padre);
    case TClaseGenerador::Rampa: return std::make_unique<TfrmGenRampa>(principal_, trabajo_, i, padre);
    case TClaseGenerador::TablaAnalogica: return std::make_unique<TfrmGridAna>(principal_, trabajo_, i, padre);
    default: return std::make_unique<TfrmGenSeno>(principal_, trabajo_, i, padre);
    }
}

TfrmActiveSD::TfrmActiveSD(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* parent)
    : TVentanaSalida(principal, trabajo, {TCanal::Tipo::SalDig, indice}, Numero, 49, "frmActiveSD", "Label3",
                     QStringLiteral("Nombre de salida digital "),
                     {{"TablaDigitalButton", "Tabla Digital", TClaseGenerador::TablaDigital},
                      {"TrenButton", "Tren", TClaseGenerador::Tren},
                      {"PulsoBtn", "Pulso", TClaseGenerador::Pulso}},
                     TClaseGenerador::Tren, parent)
{
    setWindowTitle(QStringLiteral("Activaci\u00f3n de Salida Dgital"));
}

std::unique_ptr<TDialogoGenerador> TfrmActiveSD::CrearDialogo(TClaseGenerador clase, QWidget* padre)
{
    const int i = canal_.indice;
    switch (clase) {
    case TClaseGenerador::Pulso: return std::make_unique<TfrmGenPulso>(principal_, trabajo_, i, padre);
    case TClaseGenerador::TablaDigital: return std::make_unique<TfrmGridDigi>(principal_, trabajo_, i, padre);
    default: return std::make_unique<TfrmGenTren>(principal_, trabajo_, i, padre);
    }
}

} // namespace qv
