// Every form of the program against its table of language texts, with the real
// language file: each entry finds its control and the control shows the text. The
// main window is checked on its own (test_aplicacion.cpp).
#include "app/api/registro_formularios.h"
#include "app/formularios_programa.h"
#include "common/principal_prueba.h"
#include "lang/idioma.h"
#include "lang/ui/textos_formularios.h"

#include <QDialog>
#include <QLabel>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

namespace qv::test {
namespace {

const QString kIdioma = QStringLiteral(QV_SOURCE_DIR "/data/idioma.lng");

// Forms that have a table of texts but no class yet. A new form registers itself and
// takes its number out of here.
const std::set<int> kPorConstruir = {
};

// Controls of a shared table that one of its forms lacks by design: the analog and
// digital signal windows share form 37 and name their pop-up's zoom entries apart.
const std::map<QString, std::set<QString>> kAusentes = {
    {QStringLiteral("TfrmVisualizaSenales"), {QStringLiteral("ZoomP"), QStringLiteral("ZoomM")}},
    {QStringLiteral("TfrmSenalesDigitales"), {QStringLiteral("Zoom1"), QStringLiteral("Zoom2"), QStringLiteral("Espectro2")}},
};

// Keys a form overwrites after its table on purpose (a caption composed at run time);
// their controls are only checked to exist.
const std::set<int> kReemplazadas = {
    14000, // TfrmDatos: its caption is text 14003
    2005,  // LabelNum: followed by the number of captures made
    26002, // MuesLabel: followed by the sampling frequency
    5000, // TfrmProgRetardo: text 228 (immediate) or 229 (delayed)
};

constexpr int kPrincipal = 1;

TRegistroFormularios Registro()
{
    TRegistroFormularios r;
    RegistrarFormulariosPrograma(r);
    return r;
}

TEST(Formularios, CadaTextoDeCadaFormularioLlegaASuControl)
{
    TLanguage idioma;
    idioma.setIdiomaFile(kIdioma);
    TPrincipalPrueba principal(&idioma);
    const TRegistroFormularios registro = Registro();
    ASSERT_FALSE(registro.Formularios().empty());

    for (const TFormularioRegistrado& f : registro.Formularios()) {
        SCOPED_TRACE(f.Clase.toStdString());
        std::unique_ptr<QWidget> w = f.Crear(principal);
        ASSERT_NE(w, nullptr);
        // The modal stand-in and the tests find a form by its object name.
        EXPECT_FALSE(w->objectName().isEmpty());
        w->show();

        // Two entries may give the same property of the same control; the last one wins.
        const auto& tabla = TablaFormulario(f.Numero);
        std::map<std::pair<QObject*, QByteArray>, int> ultima;
        for (const TTextoControl& t : tabla) {
            if (auto a = kAusentes.find(f.Clase); a != kAusentes.end() && a->second.count(QLatin1String(t.objeto)))
                continue;
            const TDestinoTexto d = DestinoTexto(*w, t);
            EXPECT_NE(d.objeto, nullptr) << "form " << f.Numero << " has no control " << t.objeto;
            if (d.objeto)
                ultima[{d.objeto, d.propiedad}] = t.clave;
        }
        for (const auto& [destino, clave] : ultima) {
            const QString esperado = idioma.BuscarTexto(clave);
            EXPECT_NE(esperado, TLanguage::Nada) << clave;
            if (kReemplazadas.count(clave) == 0) {
                EXPECT_EQ(destino.first->property(destino.second.constData()).toString(), esperado)
                    << "key " << clave << " on " << destino.first->objectName().toStdString() << "."
                    << destino.second.constData();
            }
        }
        w->hide();
    }
}

TEST(Formularios, CadaTablaTieneSuFormularioOEstaPorConstruir)
{
    const TRegistroFormularios registro = Registro();
    std::set<int> registrados;
    std::set<QString> clases;
    for (const TFormularioRegistrado& f : registro.Formularios()) {
        registrados.insert(f.Numero);
        EXPECT_TRUE(clases.insert(f.Clase).second) << "registered twice: " << f.Clase.toStdString();
        EXPECT_TRUE(f.Numero == 0 || !TablaFormulario(f.Numero).empty())
            << f.Clase.toStdString() << " names form " << f.Numero << ", which has no table";
        EXPECT_EQ(kPorConstruir.count(f.Numero), 0u)
            << f.Clase.toStdString() << " is built: take " << f.Numero << " out of the list";
    }
    for (int n : FormulariosConTabla()) {
        if (n == kPrincipal)
            continue;
        EXPECT_TRUE(registrados.count(n) || kPorConstruir.count(n)) << "form " << n << " has a table and no form";
    }
    for (int n : kPorConstruir)
        EXPECT_FALSE(TablaFormulario(n).empty()) << "form " << n << " has no table";
}

// Two forms as a library would register them: a child window built from the main
// window, a dialog built from the form context.
class TVentanaPrueba : public TVentanaFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 6;
    TVentanaPrueba(IPrincipal& p, QWidget* padre) : TVentanaFormulario(p.Contexto().Formulario, Numero, 0, padre)
    {
        setObjectName(QStringLiteral("frmVentanaPrueba"));
        (new QLabel(this))->setObjectName(QStringLiteral("Label1"));
    }
};

class TDialogoPrueba : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 42;
    TDialogoPrueba(const TContextoFormulario& c, QWidget* padre) : TFormulario(c, Numero, 0, padre) {}
};

TEST(Formularios, RegistroPorClase)
{
    TPrincipalPrueba principal;
    TRegistroFormularios registro;
    registro.Registrar<TVentanaPrueba>();
    registro.Registrar<TDialogoPrueba>();
    ASSERT_EQ(registro.Formularios().size(), 2u);
    EXPECT_EQ(registro.Formularios()[0].Numero, 6);
    EXPECT_EQ(registro.Formularios()[0].Clase, QStringLiteral("TVentanaPrueba"));
    EXPECT_EQ(registro.Formularios()[1].Clase, QStringLiteral("TDialogoPrueba"));

    // The child window stands alone, so showing it applies its texts.
    std::unique_ptr<QWidget> ventana = registro.Formularios()[0].Crear(principal);
    EXPECT_EQ(ventana->parentWidget(), nullptr);
    ventana->show();
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("T6000"));
    EXPECT_EQ(ventana->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("T6001"));

    std::unique_ptr<QWidget> dialogo = registro.Formularios()[1].Crear(principal);
    EXPECT_EQ(dialogo->parentWidget(), &principal.ventana);
    EXPECT_TRUE(dialogo->isWindow());
}

} // namespace
} // namespace qv::test

#include "test_formularios.moc"
