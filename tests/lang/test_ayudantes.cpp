// The shared test helpers: the modal stand-in and acting on controls by name. Every
// dialog and window test relies on them, so their promises are checked here.
#include "common/controles.h"
#include "common/modal_prueba.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QIntValidator>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace qv::test {
namespace {

// A dialog with one control of each kind the helpers handle.
struct Dialogo {
    QDialog d;
    QLineEdit* edit = new QLineEdit(&d);
    QSpinBox* spin = new QSpinBox(&d);
    QCheckBox* check = new QCheckBox(&d);
    QComboBox* combo = new QComboBox(&d);
    QListWidget* lista = new QListWidget(&d);
    QPushButton* ok = new QPushButton(&d);
    QPushButton* oculto = new QPushButton(&d);
    QPushButton* inactivo = new QPushButton(&d);

    explicit Dialogo(const char* nombre = "frmPrueba")
    {
        d.setObjectName(QLatin1String(nombre));
        auto* capa = new QVBoxLayout(&d);
        const std::pair<QWidget*, const char*> controles[] = {
            {edit, "Edit1"}, {spin, "SpinEdit1"}, {check, "CheckBox1"}, {combo, "ComboBox1"},
            {lista, "ListBox1"}, {ok, "OKBtn"}, {oculto, "Oculto"}, {inactivo, "Inactivo"}};
        for (const auto& [w, n] : controles) {
            w->setObjectName(QLatin1String(n));
            capa->addWidget(w);
        }
        edit->setValidator(new QIntValidator(0, 99, edit));
        spin->setRange(0, 50);
        combo->addItems({QStringLiteral("segundos"), QStringLiteral("milisegundos")});
        lista->addItems({QStringLiteral("Uno"), QStringLiteral("Dos"), QStringLiteral("Tres")});
        oculto->hide();
        inactivo->setEnabled(false);
        QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    }
};

TEST(ModalPrueba, HandlersByNameOnceEachThenTheGeneralOneThenReject)
{
    TModalPrueba modal;
    QStringList orden;
    modal.Cuando(QStringLiteral("frmA"), [&](QDialog& d) {
        EXPECT_TRUE(d.isVisible()); // shown, so its texts are applied as on screen
        orden << QStringLiteral("A1");
        d.accept();
    });
    modal.Cuando(QStringLiteral("frmA"), [&](QDialog& d) {
        orden << QStringLiteral("A2");
        d.done(7);
    });
    Dialogo a("frmA"), b("frmB");
    EXPECT_EQ(modal.Pendientes(), 2);
    EXPECT_EQ(modal.Ejecutar(b.d), QDialog::Rejected); // no handler at all
    EXPECT_EQ(modal.Ejecutar(a.d), QDialog::Accepted);
    EXPECT_EQ(modal.Ejecutar(a.d), 7);
    modal.accion = [&](QDialog&) { orden << QStringLiteral("general"); }; // leaves it open
    EXPECT_EQ(modal.Ejecutar(a.d), QDialog::Rejected);
    EXPECT_FALSE(a.d.isVisible());
    EXPECT_EQ(orden, (QStringList{"A1", "A2", "general"}));
    EXPECT_EQ(modal.vistos, (QStringList{"frmB", "frmA", "frmA", "frmA"}));
    EXPECT_EQ(modal.Pendientes(), 0);
}

TEST(Controles, TypingGoesThroughKeysAndReplacesTheText)
{
    Dialogo f;
    f.edit->setText(QStringLiteral("5"));
    EXPECT_TRUE(Escribir(f.d, "Edit1", QStringLiteral("1a2")));
    EXPECT_EQ(f.edit->text(), QStringLiteral("12")); // the validator refused the letter
    EXPECT_TRUE(Escribir(f.d, "Edit1", QStringLiteral("123")));
    EXPECT_EQ(f.edit->text(), QStringLiteral("12")); // nor a third digit past 99
    EXPECT_TRUE(Escribir(f.d, "Edit1", QString()));
    EXPECT_TRUE(f.edit->text().isEmpty());

    int cambios = 0;
    QObject::connect(f.spin, &QSpinBox::valueChanged, [&](int) { ++cambios; });
    EXPECT_TRUE(Escribir(f.d, "SpinEdit1", QStringLiteral("42")));
    EXPECT_EQ(f.spin->value(), 42);
    EXPECT_GE(cambios, 1);
}

TEST(Controles, TickChooseAndPress)
{
    Dialogo f;
    f.d.show();
    EXPECT_TRUE(Marcar(f.d, "CheckBox1"));
    EXPECT_TRUE(f.check->isChecked());
    EXPECT_TRUE(Marcar(f.d, "CheckBox1", false));
    EXPECT_FALSE(f.check->isChecked());

    QString activado;
    QObject::connect(f.combo, &QComboBox::textActivated, [&](const QString& t) { activado = t; });
    EXPECT_TRUE(Elegir(f.d, "ComboBox1", QStringLiteral("milisegundos")));
    EXPECT_EQ(f.combo->currentIndex(), 1);
    EXPECT_EQ(activado, QStringLiteral("milisegundos"));

    EXPECT_TRUE(Elegir(f.d, "ListBox1", QStringLiteral("Dos")));
    EXPECT_EQ(f.lista->currentRow(), 1);

    EXPECT_TRUE(Pulsar(f.d, "OKBtn"));
    EXPECT_EQ(f.d.result(), QDialog::Accepted);
}

TEST(Controles, AMissingHiddenOrDisabledControlFailsTheTest)
{
    Dialogo f;
    EXPECT_NONFATAL_FAILURE(Pulsar(f.d, "NoExiste"), "no control NoExiste");
    EXPECT_NONFATAL_FAILURE(Pulsar(f.d, "Oculto"), "Oculto is hidden");
    EXPECT_NONFATAL_FAILURE(Pulsar(f.d, "Inactivo"), "Inactivo is disabled");
    EXPECT_NONFATAL_FAILURE(Escribir(f.d, "OKBtn", QStringLiteral("1")), "OKBtn takes no typing");
    EXPECT_NONFATAL_FAILURE(Elegir(f.d, "ComboBox1", QStringLiteral("horas")), "no entry horas");
    EXPECT_NONFATAL_FAILURE(Marcar(f.d, "Edit1"), "Edit1 is a QLineEdit");
    EXPECT_EQ(f.d.result(), 0);
}

} // namespace
} // namespace qv::test
