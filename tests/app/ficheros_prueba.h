#pragma once

#include "principal_prueba.h"

#include "app/api/dialogos_archivo.h"
#include "model/escritura_segura.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"

#include <QTemporaryDir>
#include <deque>

namespace qv::test {

// File dialogs answered from queues; an empty queue is a cancelled dialog.
class TDialogosGuion : public TDialogosArchivo {
public:
    struct Llamada {
        bool guardar;
        QString filtro, titulo, inicial, extension;
    };
    std::deque<QString> abrir, guardar;
    std::vector<Llamada> llamadas;

    QString AbrirFichero(const QString& f, const QString& t, const QString& i) override
    {
        llamadas.push_back({false, f, t, i, {}});
        return Sacar(abrir);
    }
    QString GuardarFichero(const QString& f, const QString& t, const QString& i, const QString& e) override
    {
        llamadas.push_back({true, f, t, i, e});
        return Sacar(guardar);
    }

private:
    static QString Sacar(std::deque<QString>& q)
    {
        if (q.empty())
            return {};
        QString r = q.front();
        q.pop_front();
        return r;
    }
};

// The main window with scripted file dialogs and real files in a temporary folder.
class ArchivosPrueba : public PrincipalPrueba {
protected:
    TDialogosGuion dialogos;
    QTemporaryDir dir;

    TfrmPrincipal& CrearConDialogos()
    {
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj,
                                                  QStringLiteral("."), &dialogos);
        ventana->show();
        return *ventana;
    }

    QString Ruta(const QString& nombre) const { return dir.filePath(nombre); }

    // A configuration of 4 samples of 1 ms, or of `periodo` ms.
    static TConfigES Config(double periodo = 1)
    {
        TConfigES c;
        c.NumMuestras = 4;
        c.Periodo = periodo;
        c.UnidadPeriodo = Unidad::Mili;
        c.TiempoAnalisis = 4 * periodo;
        c.UnidadAnalisis = Unidad::Mili;
        c.EntAna(1).Activo = true;
        return c;
    }

    // Analog signals named `ana` (samples base, base+1, ...) and digital ones named
    // `dig`, written as a signal file with `config`.
    QString EscribirFicheroSenales(const QString& nombre, const QStringList& ana, const QStringList& dig = {},
                                   const TConfigES& config = Config(), float base = 0)
    {
        TCjtSenales s(textos, interaccion);
        for (const QString& n : ana) {
            auto a = std::make_unique<TSenalAna>(textos, n, false, nullptr, nullptr, 1,
                                                 config.PeriodoSegundos(), 4);
            for (int i = 0; i < 4; ++i)
                a->PonerMuestra(i, base + float(i));
            s.AnadirAna(std::move(a));
        }
        for (const QString& n : dig) {
            auto d = std::make_unique<TSenalDig>(n, false, nullptr, nullptr, 1, config.PeriodoSegundos(), 4);
            d->PonerMuestra(1, 1);
            s.AnadirDig(std::move(d));
        }
        s.Comentario = {QStringLiteral("ensayo")};
        TFicheroConfig fc(textos, interaccion, QStringLiteral("."));
        const QString ruta = Ruta(nombre);
        TOperaciones ops;
        GuardarFicheroSenales(ruta, fc, config, ops, s);
        return ruta;
    }

    static QByteArray Bytes(const QString& ruta)
    {
        QByteArray d;
        LeerFicheroEntero(ruta, d);
        return d;
    }

    // The names in a signal file, read back through a fresh set.
    QStringList NombresEnFichero(const QString& ruta)
    {
        TCjtSenales s(textos, interaccion);
        LeerFichero(s, Bytes(ruta));
        return s.NombresAna() + s.NombresDig();
    }

    QStringList Textos() const { return interaccion.Textos(); }
};

} // namespace qv::test
