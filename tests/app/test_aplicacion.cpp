// The program as it starts: the composition root with the real language file, the
// main window's texts, the about box, the splash, the number locale and "&Salir".
#include "principal_prueba.h"

#include "app/aplicacion.h"
#include "app/splash.h"
#include "lang/idioma.h"
#include "lang/ui/textos_formularios.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPointer>
#include <QStatusTipEvent>
#include <clocale>
#include <cstring>

namespace qv::test {
namespace {

const QString kCarpetaDatos = QStringLiteral(QV_SOURCE_DIR "/data");

class Aplicacion : public ::testing::Test {
protected:
    TModalPrueba modal;
    TPuestoPrueba puesto;
};

TEST_F(Aplicacion, TextosDelFormularioUnoEnLaVentana)
{
    TAplicacion app(kCarpetaDatos, modal, puesto);
    app.Principal.show();
    TLanguage idioma;
    idioma.setIdiomaFile(kCarpetaDatos + QStringLiteral("/idioma.lng"));

    // Every entry of the window's texts (its form table and the captions of the command
    // table) names a control of the window and gave it its text. A tool button shows
    // its command's action, which holds the caption as its icon text.
    const auto tabla = app.Principal.TablaTextos();
    ASSERT_GT(tabla.size(), TablaFormulario(1).size());
    for (const TTextoControl& t : tabla) {
        const TDestinoTexto d = DestinoTexto(app.Principal, t);
        ASSERT_NE(d.objeto, nullptr) << t.objeto;
        const QString esperado = idioma.BuscarTexto(t.clave);
        EXPECT_NE(esperado, TLanguage::Nada) << t.clave;
        EXPECT_EQ(d.objeto->property(d.propiedad.constData()).toString(), esperado) << t.objeto << " " << t.propiedad;
    }

    // Every command of the menus is named in the table, so none misses its text.
    QSet<QString> nombres;
    for (const TTextoControl& t : tabla)
        nombres.insert(QLatin1String(t.objeto));
    std::function<void(QMenu*)> recorrer = [&](QMenu* m) {
        EXPECT_TRUE(nombres.contains(m->objectName())) << m->objectName().toStdString();
        for (QAction* a : m->actions()) {
            if (a->isSeparator())
                continue;
            if (a->menu())
                recorrer(a->menu());
            else
                EXPECT_TRUE(nombres.contains(a->objectName())) << a->text().toStdString();
        }
    };
    for (QAction* a : app.Principal.menuBar()->actions())
        recorrer(a->menu());

    EXPECT_EQ(app.Principal.windowTitle(), QStringLiteral("QUORVANE"));
    auto texto = [&](const char* n) {
        QAction* a = app.Principal.findChild<QAction*>(QLatin1String(n));
        return a ? a->text() : QString();
    };
    EXPECT_EQ(texto("Abrir1"), QStringLiteral("A&brir"));
    EXPECT_EQ(texto("Inmediata"), QStringLiteral("Inmediata "));
    EXPECT_EQ(texto("VentanaDigital1"), QStringLiteral("Nueva Ventana Digital"));
    EXPECT_EQ(texto("Salir1"), QStringLiteral("&Salir"));
    EXPECT_EQ(app.Principal.findChild<QMenu*>(QStringLiteral("Ayuda1"))->title(), QStringLiteral("Ay&uda"));
    EXPECT_EQ(app.Principal.findChild<QMenu*>(QStringLiteral("Configuracion1"))->title(),
              QString::fromUtf8("Con&figuración"));
}

TEST_F(Aplicacion, AcercaDeConSusTextos)
{
    TAplicacion app(kCarpetaDatos, modal, puesto);
    app.Principal.show();
    QString version, comentario;
    modal.Cuando(QStringLiteral("AboutBox"), [&](QDialog& d) {
        version = d.findChild<QLabel*>(QStringLiteral("Version"))->text();
        comentario = d.findChild<QLabel*>(QStringLiteral("Comments"))->text();
        Pulsar(d, "OKButton");
    });
    app.Principal.findChild<QAction*>(QStringLiteral("Acercade"))->trigger();
    EXPECT_EQ(modal.vistos, QStringList({"AboutBox"}));
    EXPECT_EQ(version, QStringLiteral("V 4.0"));
    EXPECT_EQ(comentario, QString::fromUtf8("Sistema de Adquisición de Datos"));
}

TEST_F(Aplicacion, SalirCierraLaVentanaYLiberaElEstado)
{
    TAplicacion app(kCarpetaDatos, modal, puesto);
    app.Principal.show();
    ASSERT_NE(app.Principal.Estado().Enlace(), nullptr);
    app.Principal.findChild<QAction*>(QStringLiteral("Salir1"))->trigger();
    EXPECT_FALSE(app.Principal.isVisible());
    EXPECT_TRUE(app.Principal.Estado().Cerrando);
    EXPECT_EQ(app.Principal.Estado().Enlace(), nullptr);
    EXPECT_TRUE(modal.vistos.isEmpty());
}

TEST_F(Aplicacion, LaPistaVaAlPanelDeEstado)
{
    TAplicacion app(kCarpetaDatos, modal, puesto);
    app.Principal.show();
    QStatusTipEvent pista(QStringLiteral("Abrir fichero"));
    QCoreApplication::sendEvent(&app.Principal, &pista);
    EXPECT_EQ(app.Principal.findChild<QLabel*>(QStringLiteral("PE"))->text(), QStringLiteral("Abrir fichero"));
    // The icon panels stay in place: no temporary message replaced them.
    EXPECT_FALSE(app.Principal.findChild<QLabel*>(QStringLiteral("I_Mono"))->isHidden());
    EXPECT_TRUE(app.Principal.findChild<QWidget*>(QStringLiteral("PE"))->isVisible());
}

TEST_F(Aplicacion, DemoDesdeLaLineaDeOrdenesYDialogoEnEjemplos)
{
    TAplicacion app(kCarpetaDatos, modal, puesto);
    app.Principal.show();
    // A user who has opened nothing yet is offered the demo's folder.
    QString inicio;
    modal.Cuando(QStringLiteral("DialogoAbrir"),
                  [&](QDialog& d) { inicio = static_cast<QFileDialog&>(d).directory().absolutePath(); });
    app.Principal.findChild<QAction*>(QStringLiteral("Abrir1"))->trigger();
    EXPECT_EQ(inicio, QFileInfo(kCarpetaDatos + QStringLiteral("/ejemplos")).canonicalFilePath());

    // The demo named on the command line opens as "Abrir" opens it, with its windows.
    const QString demo = kCarpetaDatos + QStringLiteral("/ejemplos/demo.qvn");
    app.AbrirArgumentos({QStringLiteral("quorvane"), demo});
    EXPECT_EQ(app.Principal.windowTitle(), QStringLiteral("QUORVANE - demo.qvn"));
    EXPECT_EQ(app.Principal.Estado().FicheroAbierto, demo);
    ASSERT_TRUE(app.Principal.Estado().HayConjunto());
    const QList<QMdiSubWindow*> hijas = app.Principal.AreaVentanas().subWindowList();
    ASSERT_FALSE(hijas.isEmpty());
    for (QMdiSubWindow* h : hijas) {
        EXPECT_TRUE(h->isVisible());
        EXPECT_EQ(h->windowTitle(), demo);
    }
    EXPECT_EQ(modal.vistos, QStringList{QStringLiteral("DialogoAbrir")});
}

TEST(Argumentos, FicheroDeLaLineaDeOrdenes)
{
    const QString aqui = QDir::currentPath();
    EXPECT_EQ(FicheroDeArgumentos({QStringLiteral("quorvane")}), QString());
    EXPECT_EQ(FicheroDeArgumentos({QStringLiteral("quorvane"), QStringLiteral("-x"), QStringLiteral("a.qvn"),
                                   QStringLiteral("b.qvn")}),
              aqui + QStringLiteral("/a.qvn"));
    EXPECT_EQ(FicheroDeArgumentos({QStringLiteral("quorvane"), QStringLiteral("--"), QStringLiteral("-raro.cfg")}),
              aqui + QStringLiteral("/-raro.cfg"));
    EXPECT_EQ(FicheroDeArgumentos({QStringLiteral("quorvane"), QStringLiteral("file:///tmp/a%20b.qvn")}),
              QStringLiteral("/tmp/a b.qvn"));
}

TEST(Splash, SeMuestraYSeVaSola)
{
    QPointer<TfrmSplash> s = new TfrmSplash;
    EXPECT_EQ(s->size(), QSize(393, 225));
    EXPECT_TRUE(s->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(s->windowFlags() & Qt::WindowStaysOnTopHint);
    s->show();
    EXPECT_TRUE(s->Temporizador().isActive());
    EXPECT_TRUE(s->Temporizador().isSingleShot());
    EXPECT_EQ(s->Temporizador().interval(), 2000);
    s->Timer1Timer();
    EXPECT_FALSE(s->Temporizador().isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(s.isNull());
}

TEST(Proceso, PuntoDecimalEnTodo)
{
    // As QCoreApplication leaves it on Unix: the numeric locale from the environment.
    std::setlocale(LC_NUMERIC, "C.utf8");
    const QLocale anterior;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    PrepararProceso();
    EXPECT_EQ(QLocale().toString(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(QStringLiteral("%L1").arg(1234.5), QStringLiteral("1234.5"));
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Quorvane"));
    QLocale::setDefault(anterior);
}

} // namespace
} // namespace qv::test
