// The channel panels of the two configuration windows: the ZD801 one with a panel per
// port and rotated titles, the ZD800M one with a single panel of lines 1 to 8.
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "channels/menu_es.h"
#include "lang/textos.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// A panel title written from bottom to top.
class TEtiquetaGirada : public QLabel {
public:
    TEtiquetaGirada(const char* nombre, const QString& texto, QWidget* padre) : QLabel(texto, padre)
    {
        setObjectName(QLatin1String(nombre));
    }
    QSize sizeHint() const override
    {
        const QSize s = QLabel::sizeHint();
        return {s.height(), s.width()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.translate(0, height());
        p.rotate(-90);
        style()->drawItemText(&p, QRect(0, 0, height(), width()), Qt::AlignCenter, palette(), isEnabled(), text(),
                              foregroundRole());
    }
};

QFrame* Marco(const QString& nombre, QWidget* padre)
{
    auto* f = new QFrame(padre);
    f->setObjectName(nombre);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QLabel* Letra(const QString& letra, QWidget* padre)
{
    auto* l = new QLabel(letra, padre);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

// ---- ZD801 ----------------------------------------------------------------------------

TfrmMenuES::TfrmMenuES(IPrincipal& principal, QWidget* parent) : TMenuESBase(principal, "frmMenuES", parent)
{
    setWindowTitle(QStringLiteral("Configuraci\u00f3n de E/S - ZD801"));
    auto* paneles = new QWidget(this);
    paneles->setObjectName(QStringLiteral("Paneles"));

    // A port's panel: its rotated title(s), its letter, one row per channel (button,
    // check box) and, for an analog input pair, the "Dif." box.
    struct TTitulo {
        const char* nombre;
        const char* texto;
    };
    auto panel = [&](const QString& letra, std::initializer_list<TTitulo> titulos, int primero, int cuantos,
                     int par) {
        QFrame* f = Marco(QStringLiteral("Panel") + letra, paneles);
        auto* fila = new QHBoxLayout(f);
        fila->setContentsMargins(4, 4, 6, 4);
        fila->setSpacing(2);
        for (const TTitulo& t : titulos)
            fila->addWidget(new TEtiquetaGirada(t.nombre, QString::fromUtf8(t.texto), f));
        auto* rejilla = new QGridLayout;
        rejilla->setVerticalSpacing(1);
        rejilla->addWidget(Letra(letra, f), 0, 0, 1, 2);
        for (int i = 0; i < cuantos; ++i) {
            rejilla->addWidget(CrearBotonCanal(primero + i, f), 2 * i + 1, 0);
            rejilla->addWidget(CrearCheckCanal(primero + i, QString::number(i + 1), f), 2 * i + 1, 1);
            rejilla->addWidget(CrearNombreCanal(primero + i, f), 2 * i + 2, 0, 1, 2);
        }
        if (par > 0)
            rejilla->addWidget(CrearDiferencial(par, f), 2 * cuantos + 1, 0, 1, 2);
        rejilla->setRowStretch(2 * cuantos + 2, 1);
        fila->addLayout(rejilla);
        return f;
    };

    QFrame* a = panel(QStringLiteral("A"), {{"LTitulo1", "Entradas digitales 1-8 "}}, CanalES::EntDig + 1, 8, 0);
    QFrame* b = panel(QStringLiteral("B"), {{"LTitulo2", "Entradas digitales 9-16 "}}, CanalES::EntDig + 9, 8, 0);
    QFrame* c = panel(QStringLiteral("C"), {{"LTitulo5", "Entradas"}, {"LTitulo6", "anal\u00f3gicas 1-2 "}},
                      CanalES::EntAna + 1, 2, 1);
    QFrame* d = panel(QStringLiteral("D"), {{"LTitulo7", "Entradas"}, {"LTitulo8", "anal\u00f3gicas 3-4 "}},
                      CanalES::EntAna + 3, 2, 2);
    QFrame* e = panel(QStringLiteral("E"), {{"LTitulo9", "Entradas"}, {"LTitulo10", "anal\u00f3gicas 5-6 "}},
                      CanalES::EntAna + 5, 2, 3);
    QFrame* f = panel(QStringLiteral("F"), {{"LTitulo11", "Entradas"}, {"LTitulo12", "anal\u00f3gicas 7-8 "}},
                      CanalES::EntAna + 7, 2, 4);
    QFrame* w = panel(QStringLiteral("W"), {{"LTitulo3", "Salidas digitales 1-8"}}, CanalES::SalDig + 1, 8, 0);
    QFrame* x = panel(QStringLiteral("X"), {{"LTitulo4", "Salidas digitales 9-16"}}, CanalES::SalDig + 9, 8, 0);
    QFrame* y = panel(QStringLiteral("Y"), {{"LTitulo13", "Salidas"}, {"LTitulo14", "anal\u00f3gicas 1-2"}},
                      CanalES::SalAna + 1, 2, 0);
    QFrame* z = panel(QStringLiteral("Z"), {{"LTitulo15", "Salidas"}, {"LTitulo16", "anal\u00f3gicas 3-4"}},
                      CanalES::SalAna + 3, 2, 0);

    auto* analogicas = new QGridLayout;
    analogicas->addWidget(c, 0, 0);
    analogicas->addWidget(d, 0, 1);
    analogicas->addWidget(e, 1, 0);
    analogicas->addWidget(f, 1, 1);
    auto* salidasAna = new QVBoxLayout;
    salidasAna->addWidget(y);
    salidasAna->addWidget(z);
    salidasAna->addStretch(1);

    auto* separador = new QFrame(paneles);
    separador->setFrameShape(QFrame::VLine);
    separador->setFrameShadow(QFrame::Sunken);

    auto* todo = new QHBoxLayout(paneles);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->addWidget(a);
    todo->addWidget(b);
    todo->addLayout(analogicas);
    todo->addWidget(separador);
    todo->addWidget(w);
    todo->addWidget(x);
    todo->addLayout(salidasAna);

    Montar(paneles);
}

void TfrmMenuES::AlMostrar()
{
    TMenuESBase::AlMostrar();
    // Below the main window's toolbar, centred on it.
    const QRect principal = principal_.Ventana().window()->frameGeometry();
    move(principal.left() + std::max(0, (principal.width() - frameGeometry().width()) / 2), principal.top() + 77);
}

// ---- ZD800M ---------------------------------------------------------------------------

namespace {

// Column headers of the ZD800M panel (keys of form 2 after the panel titles).
constexpr int kTextoEntDig = 2035;
constexpr int kTextoEntAna = 2036;
constexpr int kTextoSalDig = 2037;
constexpr int kTextoSalAna = 2038;
constexpr int kClaveColumnas[4] = {kTextoEntDig, kTextoEntAna, kTextoSalDig, kTextoSalAna};

} // namespace

TfrmMenuES2::TfrmMenuES2(IPrincipal& principal, QWidget* parent) : TMenuESBase(principal, "frmMenuES2", parent)
{
    setWindowTitle(QStringLiteral("Entradas/Salidas ZD800-M"));
    QFrame* panel = Marco(QStringLiteral("PanelZD800M"), this);
    auto* columna = new QVBoxLayout(panel);
    auto* modelo = new QLabel(QStringLiteral("ZD800 - M"), panel);
    modelo->setObjectName(QStringLiteral("LabelModelo"));
    modelo->setAlignment(Qt::AlignCenter);
    QFont fuente = modelo->font();
    fuente.setBold(true);
    fuente.setPointSizeF(fuente.pointSizeF() * 1.3);
    modelo->setFont(fuente);
    columna->addWidget(modelo);

    auto* rejilla = new QGridLayout;
    rejilla->setHorizontalSpacing(6);
    rejilla->setVerticalSpacing(1);
    columna->addLayout(rejilla);
    static const char* const cabeceras[4] = {"Entradas digitales", "Entradas anal\u00f3gicas", "Salidas digitales",
                                             "Salidas anal\u00f3gicas"};
    // Each group takes three grid columns: button, check box, and the "Dif." box of
    // an analog pair; a blank column separates the groups.
    for (int g = 0; g < 4; ++g) {
        columnas_[g] = Letra(QString::fromUtf8(cabeceras[g]), panel);
        columnas_[g]->setObjectName(QStringLiteral("LabelColumna%1").arg(g + 1));
        rejilla->addWidget(columnas_[g], 0, g * 4, 1, 3);
        if (g > 0)
            rejilla->setColumnMinimumWidth(g * 4 - 1, 18);
    }
    // Line i of a group takes grid rows 2i - 1 (button, check box) and 2i (its name).
    auto fila = [&](int grupo, int linea, int canal, const QString& texto) {
        rejilla->addWidget(CrearBotonCanal(canal, panel), 2 * linea - 1, grupo * 4);
        rejilla->addWidget(CrearCheckCanal(canal, texto, panel), 2 * linea - 1, grupo * 4 + 1);
        rejilla->addWidget(CrearNombreCanal(canal, panel), 2 * linea, grupo * 4, 1, 2);
    };
    for (int i = 1; i <= 8; ++i)
        fila(0, i, CanalES::EntDig + i, QStringLiteral("A%1").arg(i));
    static const char pares[4] = {'C', 'D', 'E', 'F'};
    for (int i = 1; i <= 8; ++i) {
        const int par = (i + 1) / 2;
        fila(1, i, CanalES::EntAna + i, QStringLiteral("%1%2").arg(QLatin1Char(pares[par - 1])).arg(2 - i % 2));
        if (i % 2 == 1)
            rejilla->addWidget(CrearDiferencial(par, panel), 2 * i - 1, 6);
    }
    for (int i = 1; i <= 8; ++i)
        fila(2, i, CanalES::SalDig + i, QStringLiteral("W%1").arg(i));
    for (int i = 1; i <= 4; ++i)
        fila(3, i, CanalES::SalAna + i, QStringLiteral("%1%2").arg(QLatin1Char(i <= 2 ? 'Y' : 'Z')).arg(2 - i % 2));
    rejilla->setRowStretch(17, 1);

    Montar(panel);
}

void TfrmMenuES2::TextosAplicados()
{
    TMenuESBase::TextosAplicados();
    for (int g = 0; g < 4; ++g)
        columnas_[g]->setText(Textos().LeerTexto(kClaveColumnas[g]));
}

// ---- choice of the variant ------------------------------------------------------------

std::unique_ptr<TMenuESBase> CrearMenuES(IPrincipal& principal, QWidget* parent)
{
    if (principal.Estado().ModeloM)
        return std::make_unique<TfrmMenuES2>(principal, parent);
    return std::make_unique<TfrmMenuES>(principal, parent);
}

} // namespace qv
