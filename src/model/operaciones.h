#pragma once

#include "model/operacion.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace qv {

class TCjtSenales;
class TConfigES;
class TFFT;
class TInteraccion;
class TLectorCampos;
class TTextos;

// The operations list of a configuration: analog and digital operations in the
// order they were defined. A value: copies are independent lists.
class TOperaciones {
public:
    std::vector<TOperacion> ListaOpAna;
    std::vector<TOperacion> ListaOpDig;
    // The configuration window's "Activar Operaciones"; not kept in files.
    bool Activas = true;

    void AnadirOpAna(const TOperacion& op) { ListaOpAna.push_back(op); }
    void AnadirOpDig(const TOperacion& op) { ListaOpDig.push_back(op); }
    // An analog or digital operation has this result name.
    bool ExisteResultado(const QString& nombre) const;
    // Remove the first operation of the list with this result name; false when none.
    bool BorrarOpAna(const QString& nombre);
    bool BorrarOpDig(const QString& nombre);

    // The operations part of a configuration file: the number of analog operations,
    // their records, the number of digital operations, their records (CR LF lines).
    QByteArray Escribir() const;
    // Reads that part, appending to the lists; EErrorFormato on malformed text (the
    // operations read so far stay).
    void Leer(TLectorCampos& lector);

    // Recomputes the operations on the signals of a new capture and adds their
    // results to `senales`. Operations whose operand channels have no signal are
    // left out; an operand that vanishes or a quotient that fails stops the rest.
    // Errors show text 183.
    void Recalcular(TCjtSenales& senales, const TConfigES& config, TFFT& fft, TInteraccion& interaccion,
                    TTextos& textos) const;
};

// One operation record, ending with "$" (no line end).
QByteArray RegistroOperacion(const TOperacion& op);
// Reads one record; `analogica` tells the list it belongs to. Digital records keep
// channel operands and no filter whatever their flags say. EErrorFormato on bad text.
TOperacion LeerRegistroOperacion(TLectorCampos& lector, bool analogica);

} // namespace qv
