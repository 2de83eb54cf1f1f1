// Help: every help number the program uses has its page, the pages are well formed and
// linked, the help window shows pages (or says a page is missing) and navigates, and F1,
// the help buttons and "Temas de Ayuda" ask for the right numbers.
#include "principal_prueba.h"

#include "app/aplicacion.h"
#include "app/api/registro_formularios.h"
#include "app/ayuda.h"
#include "app/formularios_programa.h"
#include "common/principal_prueba.h"
#include "lang/idioma.h"
#include "lang/ui/formulario.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <QToolButton>

#include <algorithm>

#include <map>
#include <set>

namespace qv::test {
namespace {

const QString kCarpetaDatos = QStringLiteral(QV_SOURCE_DIR "/data");
const QString kCarpetaAyuda = kCarpetaDatos + QStringLiteral("/help");
constexpr int kIndice = 255;

QString RutaPagina(int n)
{
    return kCarpetaAyuda + QStringLiteral("/%1.html").arg(n);
}

QString LeerUtf8(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// The page numbers a page links to, in order.
std::vector<int> Enlaces(const QString& html)
{
    static const QRegularExpression enlace(QStringLiteral("href=\"(\\d+)\\.html(#[\\w-]*)?\""));
    std::vector<int> r;
    for (auto m = enlace.globalMatch(html); m.hasNext();)
        r.push_back(m.next().captured(1).toInt());
    return r;
}

// Help number -> where it was found.
using TNumeros = std::map<int, QString>;

void NumerosDe(const QObject& raiz, const QString& donde, TNumeros& numeros)
{
    auto anotar = [&](const QObject* o) {
        if (const int n = o->property(kPropiedadAyuda).toInt(); n > 0)
            numeros.emplace(n, donde + QLatin1Char(':') + o->objectName());
    };
    anotar(&raiz);
    // The actions of menus and toolbars are children too, and so is each menu's own action.
    for (const QObject* o : raiz.findChildren<QObject*>())
        anotar(o);
}

// Help numbers written in the sources: the help argument of the form constructors and
// the numbers given to controls. A literal, or a constant defined in the same file, its
// header or (for Class::NAME) the header of that class. Arguments that are parameters
// are passed on from elsewhere and reach the forms checked at run time.
TNumeros NumerosDelCodigo()
{
    const QString raiz = QStringLiteral(QV_SOURCE_DIR "/src");
    std::map<QString, QString> fuentes; // path -> text
    for (QDirIterator it(raiz, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString ruta = it.next();
        QFile f(ruta);
        if (f.open(QIODevice::ReadOnly))
            fuentes[ruta] = QString::fromLatin1(f.readAll());
    }

    auto valorEn = [](const QString& texto, const QString& nombre) {
        const QRegularExpression def(QStringLiteral("\\b%1\\s*=\\s*(\\d+)\\b").arg(QRegularExpression::escape(nombre)));
        const auto m = def.match(texto);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    auto resolver = [&](const QString& ruta, QString arg) {
        arg = arg.trimmed();
        static const QRegularExpression literal(QStringLiteral("^\\d+$"));
        static const QRegularExpression nombre(QStringLiteral("^(?:(\\w+)::)?(\\w+)$"));
        if (literal.match(arg).hasMatch())
            return arg.toInt();
        const auto m = nombre.match(arg);
        if (!m.hasMatch())
            return -1;
        const QString clase = m.captured(1), ident = m.captured(2);
        if (clase.isEmpty()) {
            QString cabecera = ruta;
            cabecera.replace(QRegularExpression(QStringLiteral("\\.cpp$")), QStringLiteral(".h"));
            for (const QString& r : {ruta, cabecera})
                if (auto it = fuentes.find(r); it != fuentes.end())
                    if (const int v = valorEn(it->second, ident); v >= 0)
                        return v;
            return -1;
        }
        const QRegularExpression declara(QStringLiteral("\\bclass\\s+%1\\b").arg(clase));
        for (const auto& [r, texto] : fuentes)
            if (texto.contains(declara))
                if (const int v = valorEn(texto, ident); v >= 0)
                    return v;
        return -1;
    };

    TNumeros numeros;
    // TFormulario(contexto, form, help, parent) and TVentanaFormulario(...): the third argument.
    static const QRegularExpression constructor(QStringLiteral("\\bT(?:Ventana)?Formulario\\s*\\("));
    static const QRegularExpression propiedad(QStringLiteral("setProperty\\s*\\(\\s*kPropiedadAyuda\\s*,\\s*([\\w:]+)\\s*\\)"));
    static const QRegularExpression mostrar(QStringLiteral("MostrarAyuda\\s*\\(\\s*(\\d+)\\s*\\)"));
    for (const auto& [ruta, texto] : fuentes) {
        const QString donde = QDir(QStringLiteral(QV_SOURCE_DIR)).relativeFilePath(ruta);
        for (auto m = constructor.globalMatch(texto); m.hasNext();) {
            const auto c = m.next();
            // The argument list up to its closing parenthesis, split at the top level.
            QStringList args;
            QString actual;
            int nivel = 0;
            for (qsizetype i = c.capturedEnd(); i < texto.size(); ++i) {
                const QChar ch = texto[i];
                if (ch == QLatin1Char('(')) {
                    ++nivel;
                } else if (ch == QLatin1Char(')')) {
                    if (nivel-- == 0) {
                        args << actual;
                        break;
                    }
                } else if (ch == QLatin1Char(',') && nivel == 0) {
                    args << actual;
                    actual.clear();
                    continue;
                }
                actual += ch;
            }
            if (args.size() >= 3)
                if (const int n = resolver(ruta, args[2]); n > 0)
                    numeros.emplace(n, donde);
        }
        for (const QRegularExpression* re : {&propiedad, &mostrar})
            for (auto m = re->globalMatch(texto); m.hasNext();)
                if (const int n = resolver(ruta, m.next().captured(1)); n > 0)
                    numeros.emplace(n, donde);
    }
    return numeros;
}

TEST(PaginasAyuda, CadaNumeroQueUsaElProgramaTieneSuPagina)
{
    TNumeros numeros;
    {
        // The main window: itself, its actions, menus and the help window.
        TModalPrueba modal;
        TPuestoPrueba puesto;
        TAplicacion app(kCarpetaDatos, modal, puesto);
        app.Principal.show();
        NumerosDe(app.Principal, QStringLiteral("frmPrincipal"), numeros);
    }
    EXPECT_TRUE(numeros.count(kIndice));
    EXPECT_TRUE(numeros.count(150)); // "A&brir"
    EXPECT_TRUE(numeros.count(129)); // "Programar Captacion", a submenu

    // Every registered form and all its controls.
    TPrincipalPrueba principal;
    TRegistroFormularios registro;
    RegistrarFormulariosPrograma(registro);
    for (const TFormularioRegistrado& f : registro.Formularios()) {
        std::unique_ptr<QWidget> w = f.Crear(principal);
        ASSERT_NE(w, nullptr) << f.Clase.toStdString();
        NumerosDe(*w, f.Clase, numeros);
    }
    EXPECT_TRUE(numeros.count(169)); // the window that chooses signals from a file

    const TNumeros delCodigo = NumerosDelCodigo();
    EXPECT_TRUE(delCodigo.count(169)); // the scan sees the constructors
    numeros.insert(delCodigo.begin(), delCodigo.end());

    for (const auto& [n, donde] : numeros)
        EXPECT_TRUE(QFileInfo(RutaPagina(n)).isFile()) << "no page " << n << ".html for " << donde.toStdString();
}

TEST(PaginasAyuda, BienFormadasYEnlazadasDesdeElIndice)
{
    const QStringList paginas = QDir(kCarpetaAyuda).entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GT(paginas.size(), 30);
    static const QRegularExpression nombre(QStringLiteral("^(\\d+)\\.html$"));
    static const QRegularExpression titulo(QStringLiteral("<title>([^<]+)</title>"));
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    static const QRegularExpression interno(QStringLiteral("^(\\d+\\.html)?(#[\\w-]+)?$"));
    std::set<int> existentes;
    for (const QString& p : paginas) {
        const auto m = nombre.match(p);
        ASSERT_TRUE(m.hasMatch()) << p.toStdString();
        existentes.insert(m.captured(1).toInt());
    }

    for (const QString& p : paginas) {
        SCOPED_TRACE(p.toStdString());
        QFile f(kCarpetaAyuda + QLatin1Char('/') + p);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString html = utf8(bytes);
        EXPECT_FALSE(utf8.hasError()) << "not UTF-8";
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">"))) << "no charset";
        EXPECT_TRUE(titulo.match(html).hasMatch()) << "no title";
        EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
        for (auto h = href.globalMatch(html); h.hasNext();) {
            const QString destino = h.next().captured(1);
            EXPECT_TRUE(interno.match(destino).hasMatch()) << "link out of the help: " << destino.toStdString();
        }
        const std::vector<int> enlaces = Enlaces(html);
        for (int n : enlaces)
            EXPECT_TRUE(existentes.count(n)) << "broken link to " << n;
        if (p != QStringLiteral("255.html")) {
            EXPECT_NE(std::find(enlaces.begin(), enlaces.end(), kIndice), enlaces.end()) << "no way back to the index";
        }
    }

    // The index reaches every page.
    const std::vector<int> desdeIndice = Enlaces(LeerUtf8(RutaPagina(kIndice)));
    const std::set<int> alcanzadas(desdeIndice.begin(), desdeIndice.end());
    for (int n : existentes) {
        if (n != kIndice) {
            EXPECT_TRUE(alcanzadas.count(n)) << "the index does not link " << n;
        }
    }
}

// The help window with the shipped pages and the Spanish texts.
class VentanaAyuda : public ::testing::Test {
protected:
    VentanaAyuda() { idioma.setIdiomaFile(kCarpetaDatos + QStringLiteral("/idioma.lng")); }
    TLanguage idioma;

    // Follows the first link of the page shown, with the keyboard as a person would.
    static void SeguirPrimerEnlace(TfrmAyuda& w)
    {
        w.Navegador->setFocus();
        QTest::keyClick(w.Navegador, Qt::Key_Tab);
        QTest::keyClick(w.Navegador, Qt::Key_Return);
    }
};

TEST_F(VentanaAyuda, MuestraLaPaginaDelNumero)
{
    TfrmAyuda w(idioma, kCarpetaAyuda);
    w.MostrarAyuda(150);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.NumeroActual(), 150);
    EXPECT_EQ(w.windowTitle(), idioma.BuscarTexto(1200));
    EXPECT_EQ(w.BtnIndice->text(), idioma.BuscarTexto(1161));
    // The page's own title, accents included: the charset was honoured.
    const auto t = QRegularExpression(QStringLiteral("<title>([^<]+)</title>")).match(LeerUtf8(RutaPagina(150)));
    ASSERT_TRUE(t.hasMatch());
    EXPECT_EQ(w.Navegador->documentTitle(), t.captured(1));

    // The same window serves the next request; 0 (no number) is the index.
    w.MostrarAyuda(0);
    EXPECT_EQ(w.NumeroActual(), kIndice);
}

TEST_F(VentanaAyuda, LosEnlacesYLaHistoriaNavegan)
{
    TfrmAyuda w(idioma, kCarpetaAyuda);
    QApplication::setActiveWindow(&w);
    w.MostrarAyuda(kIndice);
    const std::vector<int> enlaces = Enlaces(LeerUtf8(RutaPagina(kIndice)));
    ASSERT_FALSE(enlaces.empty());
    EXPECT_FALSE(w.BtnAtras->isEnabled());

    SeguirPrimerEnlace(w);
    EXPECT_EQ(w.NumeroActual(), enlaces.front());
    ASSERT_TRUE(w.BtnAtras->isEnabled());
    w.BtnAtras->click();
    EXPECT_EQ(w.NumeroActual(), kIndice);
    ASSERT_TRUE(w.BtnAdelante->isEnabled());
    w.BtnAdelante->click();
    EXPECT_EQ(w.NumeroActual(), enlaces.front());
    w.BtnIndice->click();
    EXPECT_EQ(w.NumeroActual(), kIndice);
}

TEST_F(VentanaAyuda, SinPaginaLoDiceYLlevaAlIndice)
{
    TfrmAyuda w(idioma, kCarpetaAyuda);
    QApplication::setActiveWindow(&w);
    ASSERT_FALSE(QFileInfo::exists(RutaPagina(998)));
    w.MostrarAyuda(998);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.NumeroActual(), 998);
    const QString esperado = idioma.BuscarTexto(1203).arg(998);
    ASSERT_TRUE(esperado.contains(QStringLiteral("998")));
    EXPECT_TRUE(w.Navegador->toPlainText().contains(esperado)) << w.Navegador->toPlainText().toStdString();

    SeguirPrimerEnlace(w);
    EXPECT_EQ(w.NumeroActual(), kIndice);
}

// Whether a window is blocked by a modal dialog, as Qt tells it.
class TBloqueos : public QObject {
public:
    bool bloqueada = false;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::WindowBlocked)
            bloqueada = true;
        else if (e->type() == QEvent::WindowUnblocked)
            bloqueada = false;
        return QObject::eventFilter(o, e);
    }
};

TEST_F(VentanaAyuda, DesdeUnDialogoModalSePuedeLeer)
{
    // Every dialog of the program is modal: help asked for from one must not be
    // blocked by it, or the student could neither scroll it nor follow its links.
    QWidget principal;
    principal.show();
    TfrmAyuda w(idioma, kCarpetaAyuda, &principal);
    TBloqueos bloqueos;
    w.installEventFilter(&bloqueos);
    w.MostrarAyuda(kIndice);
    QDialog dialogo(&principal);
    dialogo.setModal(true);
    dialogo.show();
    ASSERT_TRUE(bloqueos.bloqueada); // a modal dialog blocks the other windows
    w.MostrarAyuda(150);
    EXPECT_FALSE(bloqueos.bloqueada);
    EXPECT_EQ(w.NumeroActual(), 150);

    // Once the dialog is gone, help from the main window is not blocked either.
    dialogo.hide();
    w.MostrarAyuda(kIndice);
    EXPECT_FALSE(bloqueos.bloqueada);
}

// The main window's help: the command, the button, F1 on the window and in its menus.
class AyudaPrincipal : public ::testing::Test {
protected:
    TModalPrueba modal;
    TPuestoPrueba puesto;
    TAplicacion app{kCarpetaDatos, modal, puesto};

    void SetUp() override
    {
        app.Principal.show();
        QApplication::setActiveWindow(&app.Principal);
    }
    TfrmAyuda& Ayuda() { return app.Principal.VentanaAyuda(); }
    QMenu* Menu(const char* nombre) { return app.Principal.findChild<QMenu*>(QLatin1String(nombre)); }
    QAction* Accion(const char* nombre) { return app.Principal.findChild<QAction*>(QLatin1String(nombre)); }

    // F1 with `accion` highlighted in the open menu: the page shown and whether the menu closed.
    int F1EnMenu(const char* menu, const char* accion)
    {
        Ayuda().hide();
        QMenu* m = Menu(menu);
        EXPECT_NE(m, nullptr) << menu;
        if (!m)
            return -1;
        m->popup(QPoint(10, 10));
        if (accion)
            m->setActiveAction(Accion(accion));
        QTest::keyClick(m, Qt::Key_F1);
        EXPECT_FALSE(m->isVisible()) << menu;
        EXPECT_TRUE(Ayuda().isVisible()) << menu;
        return Ayuda().NumeroActual();
    }
};

TEST_F(AyudaPrincipal, TemasDeAyudaYElBotonAyudaAbrenElIndice)
{
    ASSERT_FALSE(Ayuda().isVisible());
    Accion("Temasdeayuda1")->trigger();
    EXPECT_TRUE(Ayuda().isVisible());
    EXPECT_EQ(Ayuda().NumeroActual(), kIndice);

    Ayuda().MostrarAyuda(150);
    auto* boton = app.Principal.findChild<QToolButton*>(QStringLiteral("SpBtnAyuda"));
    ASSERT_NE(boton, nullptr);
    boton->click();
    EXPECT_EQ(Ayuda().NumeroActual(), kIndice);
    // One window for the whole run.
    EXPECT_EQ(app.Principal.findChildren<TfrmAyuda*>().size(), 1);
}

TEST_F(AyudaPrincipal, F1EnLaVentanaYEnSusMenus)
{
    app.Principal.setFocus();
    QTest::keyClick(&app.Principal, Qt::Key_F1);
    EXPECT_TRUE(Ayuda().isVisible());
    EXPECT_EQ(Ayuda().NumeroActual(), kIndice);

    EXPECT_EQ(F1EnMenu("Archivo1", "Abrir1"), 150);
    EXPECT_EQ(F1EnMenu("Archivo1", "Salir1"), 248);
    EXPECT_EQ(F1EnMenu("Configuracion1", "CargarConfES1"), 9);
    EXPECT_EQ(F1EnMenu("Trigger1", "digital1"), 137);
    // A submenu's entry without its own number, or no entry: the submenu's number.
    EXPECT_EQ(F1EnMenu("ProgramarCaptacion1", nullptr), 129);
    EXPECT_EQ(F1EnMenu("Trigger1", nullptr), 129);
    // Neither the item nor its menu has one: the main window's page.
    EXPECT_EQ(F1EnMenu("Configuracion1", "OpcionesQUORVANE"), kIndice);
    EXPECT_EQ(F1EnMenu("Ayuda1", "Temasdeayuda1"), 249);
}

TEST(AyudaFormularios, F1YElBotonDeAyudaPidenElNumeroDelControl)
{
    TPrincipalPrueba principal;
    TRegistroFormularios registro;
    RegistrarFormulariosPrograma(registro);
    int probados = 0;
    for (const TFormularioRegistrado& f : registro.Formularios()) {
        std::unique_ptr<QWidget> w = f.Crear(principal);
        const int numero = w->property(kPropiedadAyuda).toInt();
        if (numero <= 0)
            continue;
        SCOPED_TRACE(f.Clase.toStdString());
        ++probados;
        w->show();
        QApplication::setActiveWindow(w.get());

        // F1 on a focused control without a number of its own: the form's number.
        QWidget* control = nullptr;
        for (QWidget* c : w->findChildren<QWidget*>())
            if (c->focusPolicy() != Qt::NoFocus && c->isVisible() && c->isEnabled()
                && c->property(kPropiedadAyuda).toInt() == 0) {
                control = c;
                break;
            }
        ASSERT_NE(control, nullptr);
        control->setFocus();
        principal.ayuda.pedidas.clear();
        QTest::keyClick(control, Qt::Key_F1);
        EXPECT_EQ(principal.ayuda.pedidas, std::vector<int>{numero});

        // A control with its own number gives that one.
        control->setProperty(kPropiedadAyuda, 997);
        QTest::keyClick(control, Qt::Key_F1);
        EXPECT_EQ(principal.ayuda.pedidas.back(), 997);
        control->setProperty(kPropiedadAyuda, QVariant());

        // The help button asks for the form's number.
        for (const char* nombre : {"HelpBtn", "BtnHelp"})
            if (auto* b = w->findChild<QAbstractButton*>(QLatin1String(nombre))) {
                principal.ayuda.pedidas.clear();
                b->click();
                EXPECT_EQ(principal.ayuda.pedidas, std::vector<int>{numero});
            }
    }
    EXPECT_GT(probados, 0);
}

} // namespace
} // namespace qv::test
