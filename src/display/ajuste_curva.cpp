#include "display/ajuste_curva.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <map>

namespace qv {

namespace {

constexpr int kTextoTitulo = 564;
constexpr int kTextoModelo = 565;
constexpr int kTextoModelos = 566;
constexpr int kTextoSenal = 567;
constexpr int kTextoTramo = 568;
constexpr int kTextoTramos = 569;
constexpr int kTextoExpresion = 570;
constexpr int kTextoIniciales = 571;
constexpr int kTextoResiduo = 572;
constexpr int kTextoAjustar = 573;
constexpr int kTextoColumnas = 574;
constexpr int kTextoCerrar = 575;
constexpr int kTextoNoConverge = 576;
constexpr int kTextoIndeterminado = 577;
constexpr int kTextoExpresionMala = 578;
constexpr int kTextoOrigen = 579;
constexpr int kTextoPocasMuestras = 586;
constexpr int kTextoEcuacion = 587;
constexpr int kTextoEstadisticas = 589;
constexpr int kTextoCopiar = 436;

// Part `i` of a text of choices separated by "|"; `otro` when the text has no such part.
QString Parte(TTextos& t, int clave, int i, const QString& otro)
{
    const QStringList partes = t.BuscarTexto(clave).split(QLatin1Char('|'));
    return partes.size() > i && !partes[i].isEmpty() ? partes[i] : otro;
}

QTableWidgetItem* Celda(const QString& texto, bool editable = false)
{
    auto* c = new QTableWidgetItem(texto);
    if (!editable)
        c->setFlags(c->flags() & ~Qt::ItemIsEditable);
    return c;
}

} // namespace

TfrmAjusteCurva::TfrmAjusteCurva(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 0, parent), principal_(principal)
{
    setObjectName(QStringLiteral("frmAjusteCurva"));
    LModelo = Etiqueta("LModelo", QString(), this);
    CBModelo = new QComboBox(this);
    CBModelo->setObjectName(QStringLiteral("CBModelo"));
    for (int i = 0; i < NumModelosAjuste; ++i)
        CBModelo->addItem(ClaveModelo(TModeloAjuste(i)), i);
    LModelo->setBuddy(CBModelo);
    LSenal = Etiqueta("LSenal", QString(), this);
    CBSenal = new QComboBox(this);
    CBSenal->setObjectName(QStringLiteral("CBSenal"));
    LSenal->setBuddy(CBSenal);
    LTramo = Etiqueta("LTramo", QString(), this);
    CBTramo = new QComboBox(this);
    CBTramo->setObjectName(QStringLiteral("CBTramo"));
    CBTramo->addItems({QString(), QString()});
    LTramo->setBuddy(CBTramo);
    LExpresion = Etiqueta("LExpresion", QString(), this);
    EdExpresion = new QLineEdit(this);
    EdExpresion->setObjectName(QStringLiteral("EdExpresion"));
    EdExpresion->setMinimumWidth(280);
    LExpresion->setBuddy(EdExpresion);
    LIniciales = Etiqueta("LIniciales", QString(), this);
    TablaIniciales = new QTableWidget(0, 2, this);
    TablaIniciales->setObjectName(QStringLiteral("TablaIniciales"));
    TablaIniciales->verticalHeader()->hide();
    TablaIniciales->horizontalHeader()->setStretchLastSection(true);
    TablaIniciales->setMaximumHeight(110);
    LIniciales->setBuddy(TablaIniciales);
    CBResiduo = new QCheckBox(this);
    CBResiduo->setObjectName(QStringLiteral("CBResiduo"));
    BtnAjustar = Boton("BtnAjustar", QString(), this);
    BtnAjustar->setDefault(true);

    LEcuacion = Etiqueta("LEcuacion", QString(), this);
    LREcuacion = Etiqueta("LREcuacion", QString(), this);
    LREcuacion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LREcuacion->setWordWrap(true);
    TablaResultados = new QTableWidget(0, 3, this);
    TablaResultados->setObjectName(QStringLiteral("TablaResultados"));
    TablaResultados->verticalHeader()->hide();
    TablaResultados->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TablaResultados->setMinimumHeight(170);
    LEcuacion->setBuddy(TablaResultados);
    BtnCopiar = Boton("BtnCopiar", QString(), this);

    auto* rejilla = new QGridLayout;
    int fila = 0;
    for (auto [l, w] : {std::pair<QLabel*, QWidget*>{LModelo, CBModelo}, {LSenal, CBSenal}, {LTramo, CBTramo},
                        {LExpresion, EdExpresion}, {LIniciales, TablaIniciales}}) {
        rejilla->addWidget(l, fila, 0, Qt::AlignLeft | Qt::AlignTop);
        rejilla->addWidget(w, fila++, 1);
    }
    rejilla->addWidget(CBResiduo, fila++, 1);
    auto* ajustar = new QHBoxLayout;
    ajustar->addStretch(1);
    ajustar->addWidget(BtnAjustar);
    auto* copiar = new QHBoxLayout;
    copiar->addStretch(1);
    copiar->addWidget(BtnCopiar);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(rejilla);
    columna->addLayout(ajustar);
    columna->addWidget(LEcuacion);
    columna->addWidget(LREcuacion);
    columna->addWidget(TablaResultados, 1);
    columna->addLayout(copiar);
    columna->addLayout(CrearBotones(BtnCancelar, "OKBtn", "BtnCerrar"));

    connect(CBModelo, &QComboBox::currentIndexChanged, this, &TfrmAjusteCurva::ModeloCambiado);
    connect(EdExpresion, &QLineEdit::textChanged, this, &TfrmAjusteCurva::ExpresionCambiada);
    connect(BtnAjustar, &QPushButton::clicked, this, &TfrmAjusteCurva::BtnAjustarClick);
    connect(BtnCopiar, &QPushButton::clicked, this, &TfrmAjusteCurva::BtnCopiarClick);
    BtnCopiar->setEnabled(false);
    ModeloCambiado();
    resize(460, 560);
}

void TfrmAjusteCurva::TextosAplicados()
{
    TTextos& t = Textos();
    setWindowTitle(t.BuscarTexto(kTextoTitulo));
    LModelo->setText(t.BuscarTexto(kTextoModelo));
    for (int i = 0; i < NumModelosAjuste; ++i)
        CBModelo->setItemText(i, Parte(t, kTextoModelos, i, ClaveModelo(TModeloAjuste(i))));
    LSenal->setText(t.BuscarTexto(kTextoSenal));
    LTramo->setText(t.BuscarTexto(kTextoTramo));
    CBTramo->setItemText(0, Parte(t, kTextoTramos, 0, QStringLiteral("1")));
    CBTramo->setItemText(1, Parte(t, kTextoTramos, 1, QStringLiteral("2")));
    LExpresion->setText(t.BuscarTexto(kTextoExpresion));
    LIniciales->setText(t.BuscarTexto(kTextoIniciales));
    CBResiduo->setText(t.BuscarTexto(kTextoResiduo));
    BtnAjustar->setText(t.BuscarTexto(kTextoAjustar));
    LEcuacion->setText(t.BuscarTexto(kTextoEcuacion));
    BtnCopiar->setText(t.BuscarTexto(kTextoCopiar));
    if (BotonCancelar())
        BotonCancelar()->setText(t.BuscarTexto(kTextoCerrar));
    const QStringList columnas = {Parte(t, kTextoColumnas, 0, QStringLiteral("1")),
                                  Parte(t, kTextoColumnas, 1, QStringLiteral("2")),
                                  Parte(t, kTextoColumnas, 2, QStringLiteral("3"))};
    TablaResultados->setHorizontalHeaderLabels(columnas);
    TablaIniciales->setHorizontalHeaderLabels(columnas.mid(0, 2));
}

void TfrmAjusteCurva::Inicializar(const QStringList& senales, TTramo entreCursores,
                                  std::function<void(const QStringList&)> anadidas)
{
    entreCursores_ = entreCursores;
    anadidas_ = std::move(anadidas);
    CBSenal->clear();
    CBSenal->addItems(senales);
    // "Entre los cursores" only when both are placed.
    const bool hayCursores = entreCursores.hasta >= 0;
    if (auto* m = qobject_cast<QStandardItemModel*>(CBTramo->model()))
        m->item(0)->setEnabled(hayCursores);
    CBTramo->setCurrentIndex(hayCursores ? 0 : 1);
    BtnAjustar->setEnabled(!senales.isEmpty());
}

TCjtSenales* TfrmAjusteCurva::Senales() const
{
    return principal_.Estado().Senales();
}

TModeloAjuste TfrmAjusteCurva::Modelo() const
{
    return TModeloAjuste(std::clamp(CBModelo->currentData().toInt(), 0, NumModelosAjuste - 1));
}

void TfrmAjusteCurva::ModeloCambiado()
{
    // Built-in models start from the program's own estimates: nothing to type.
    const bool formula = Modelo() == TModeloAjuste::Expresion;
    EdExpresion->setEnabled(formula);
    TablaIniciales->setEnabled(formula);
}

void TfrmAjusteCurva::ExpresionCambiada()
{
    QStringList parametros;
    try {
        const QString texto = EdExpresion->text();
        parametros = TExpresion(EcuacionModelo(TModeloAjuste::Expresion, texto).mid(4), {QStringLiteral("t")}, true)
                         .Parametros();
    } catch (const TExpresion::EError&) {
        return; // half typed: the rows stay until it reads again
    }
    std::map<QString, QString> tecleados;
    for (int i = 0; i < TablaIniciales->rowCount(); ++i)
        if (TablaIniciales->item(i, 0) && TablaIniciales->item(i, 1))
            tecleados[TablaIniciales->item(i, 0)->text()] = TablaIniciales->item(i, 1)->text();
    TablaIniciales->setRowCount(int(parametros.size()));
    for (int i = 0; i < int(parametros.size()); ++i) {
        const QString& p = parametros[i];
        TablaIniciales->setItem(i, 0, Celda(p));
        TablaIniciales->setItem(i, 1, Celda(tecleados.count(p) ? tecleados[p] : QStringLiteral("1"), true));
    }
}

bool TfrmAjusteCurva::LeerIniciales(std::vector<double>& valores)
{
    valores.clear();
    for (int i = 0; i < TablaIniciales->rowCount(); ++i) {
        const QTableWidgetItem* c = TablaIniciales->item(i, 1);
        const std::optional<double> v = c ? LeerReal(c->text()) : std::optional<double>(1.0);
        if (!v || !std::isfinite(*v)) {
            Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoExpresionMala) + QLatin1Char(' ') + c->text(),
                                       Botones::Aceptar);
            TablaIniciales->setCurrentCell(i, 1);
            TablaIniciales->setFocus();
            return false;
        }
        valores.push_back(*v);
    }
    return true;
}

void TfrmAjusteCurva::BtnAjustarClick()
{
    TCjtSenales* set = Senales();
    const TSenalAna* datos = set ? set->BuscarAna(CBSenal->currentText()) : nullptr;
    if (!datos)
        return;
    TPeticionAjuste peticion;
    peticion.Modelo = Modelo();
    if (peticion.Modelo == TModeloAjuste::Expresion) {
        peticion.Expresion = EdExpresion->text();
        ExpresionCambiada();
        if (!LeerIniciales(peticion.Iniciales))
            return;
    }
    const TTramo tramo = CBTramo->currentIndex() == 0 ? entreCursores_ : TTramo{};
    const TResultadoAjuste r = AjustarSenal(peticion, *datos, tramo);
    ultimo_ = r;
    senalUltima_ = datos->Nombre();
    if (!r.Converge()) {
        MostrarFallo(r);
        return;
    }
    MostrarResultado(r);
    const QStringList nuevas = AnadirAlConjunto(r, *datos);
    if (!nuevas.isEmpty()) {
        principal_.Estado().MarcarModificado();
        if (anadidas_)
            anadidas_(nuevas);
    }
}

QStringList TfrmAjusteCurva::AnadirAlConjunto(const TResultadoAjuste& r, const TSenalAna& datos)
{
    TCjtSenales& set = *Senales();
    const QString origen = datos.Nombre();
    // The set's name check may rename, replace or refuse each one.
    QStringList nuevas;
    auto ajustada = SenalAjustada(r, datos, NombreAjuste(r.Modelo, origen));
    std::unique_ptr<TSenalAna> residuo;
    if (CBResiduo->isChecked())
        residuo = SenalResiduo(r, datos, NombreResiduo(r.Modelo, origen));
    if (set.AnadirAna(std::move(ajustada))) {
        const QString nombre = set.Ana(0)->Nombre();
        std::erase_if(set.Ajustes, [&](const TRegistroAjuste& g) { return g.Senal == nombre; });
        set.Ajustes.push_back(RegistroDe(r, nombre, origen));
        nuevas << nombre;
    }
    if (residuo && set.AnadirAna(std::move(residuo)))
        nuevas << set.Ana(0)->Nombre();
    return nuevas;
}

void TfrmAjusteCurva::MostrarFallo(const TResultadoAjuste& r)
{
    TablaResultados->setRowCount(0);
    BtnCopiar->setEnabled(false);
    QString texto;
    switch (r.Fallo) {
    case TFalloAjuste::Expresion:
        texto = Textos().BuscarTexto(kTextoExpresionMala) + QLatin1Char(' ') +
                (r.FragmentoError.isEmpty() ? QString() : r.FragmentoError + QLatin1Char(' ')) +
                QStringLiteral("(%1)").arg(r.PosicionError + 1);
        EdExpresion->setFocus();
        EdExpresion->setCursorPosition(std::max(0, r.PosicionError));
        break;
    case TFalloAjuste::PocasMuestras:
        texto = Textos().BuscarTexto(kTextoPocasMuestras);
        break;
    case TFalloAjuste::Indeterminado:
        texto = Textos().BuscarTexto(kTextoIndeterminado);
        break;
    default:
        texto = Textos().BuscarTexto(kTextoNoConverge);
        break;
    }
    LREcuacion->setText(texto);
    Interaccion().MostrarAviso(texto, Botones::Aceptar);
}

void TfrmAjusteCurva::MostrarResultado(const TResultadoAjuste& r)
{
    TTextos& t = Textos();
    LREcuacion->setText(EcuacionModelo(r.Modelo, r.Expresion) + QStringLiteral("     (") + t.BuscarTexto(kTextoOrigen) +
                        QLatin1Char(' ') + FormatoGeneral(r.Origen(), 6) + QStringLiteral(" s)"));
    const int n = int(r.Parametros.size());
    TablaResultados->setRowCount(n + 2);
    for (int i = 0; i < n; ++i) {
        const TParametroAjuste& p = r.Parametros[std::size_t(i)];
        TablaResultados->setItem(i, 0, Celda(p.Nombre));
        TablaResultados->setItem(i, 1, Celda(FormatoGeneral(p.Valor, 6)));
        TablaResultados->setItem(i, 2, Celda(FormatoGeneral(p.Error, 3)));
    }
    TablaResultados->setItem(n, 0, Celda(Parte(t, kTextoEstadisticas, 0, QStringLiteral("R2"))));
    TablaResultados->setItem(n, 1, Celda(FormatoGeneral(r.R2, 6)));
    TablaResultados->setItem(n, 2, Celda(QString()));
    TablaResultados->setItem(n + 1, 0, Celda(Parte(t, kTextoEstadisticas, 1, QStringLiteral("RMS"))));
    TablaResultados->setItem(n + 1, 1, Celda(FormatoGeneral(r.Rms, 6)));
    TablaResultados->setItem(n + 1, 2, Celda(QString()));
    BtnCopiar->setEnabled(true);
}

QString TfrmAjusteCurva::TextoTabla() const
{
    if (!ultimo_ || !ultimo_->Converge())
        return {};
    const TResultadoAjuste& r = *ultimo_;
    TTextos& t = Textos();
    QString s = senalUltima_ + QLatin1Char('\t') + EcuacionModelo(r.Modelo, r.Expresion) + QLatin1Char('\n');
    s += t.BuscarTexto(kTextoOrigen) + QLatin1Char('\t') + FormatoGeneral(r.Origen()) + QStringLiteral(" s\n");
    s += t.BuscarTexto(kTextoColumnas).replace(QLatin1Char('|'), QLatin1Char('\t')) + QLatin1Char('\n');
    // Full precision: the numbers go on to a spreadsheet, not to the eye.
    for (const TParametroAjuste& p : r.Parametros)
        s += p.Nombre + QLatin1Char('\t') + FormatoGeneral(p.Valor) + QLatin1Char('\t') + FormatoGeneral(p.Error) +
             QLatin1Char('\n');
    s += Parte(t, kTextoEstadisticas, 0, QStringLiteral("R2")) + QLatin1Char('\t') + FormatoGeneral(r.R2) +
         QLatin1Char('\n');
    s += Parte(t, kTextoEstadisticas, 1, QStringLiteral("RMS")) + QLatin1Char('\t') + FormatoGeneral(r.Rms) +
         QLatin1Char('\n');
    return s;
}

void TfrmAjusteCurva::BtnCopiarClick()
{
    if (QClipboard* c = QGuiApplication::clipboard())
        c->setText(TextoTabla());
}

} // namespace qv
