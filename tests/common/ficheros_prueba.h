#pragma once

// Real files in a temporary folder: signal files written through the model, read back
// as bytes or as names.

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/config_es.h"
#include "model/escritura_segura.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace qv::test {

class TFicherosPrueba {
public:
    TFicherosPrueba(TTextos& textos, TInteraccion& interaccion) : textos_(textos), interaccion_(interaccion) {}

    QTemporaryDir dir;

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
        TCjtSenales s(textos_, interaccion_);
        for (const QString& n : ana) {
            auto a = std::make_unique<TSenalAna>(textos_, n, false, nullptr, nullptr, 1,
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
        TFicheroConfig fc(textos_, interaccion_, QStringLiteral("."));
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
        TCjtSenales s(textos_, interaccion_);
        LeerFichero(s, Bytes(ruta));
        return s.NombresAna() + s.NombresDig();
    }

private:
    TTextos& textos_;
    TInteraccion& interaccion_;
};

} // namespace qv::test
