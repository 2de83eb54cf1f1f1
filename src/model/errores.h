#pragma once

#include <QString>
#include <stdexcept>

namespace qv {

// Errors raised by the model. File readers raise on malformed input and their
// callers show a numbered text; `clave` carries that text's number when the
// raiser knows it (0 otherwise, the caller then chooses).
class EErrorModelo : public std::runtime_error {
public:
    explicit EErrorModelo(const QString& mensaje, int clave = 0)
        : std::runtime_error(mensaje.toStdString()), clave_(clave) {}
    int Clave() const { return clave_; }

private:
    int clave_;
};

// Malformed number or record text.
class EErrorFormato : public EErrorModelo {
public:
    using EErrorModelo::EErrorModelo;
};

// A waveform or operation with no defined value (a ramp of time 0 at its start,
// an overflow): raised instead of letting a NaN reach the unit, a signal or a file.
class EErrorCalculo : public EErrorModelo {
public:
    using EErrorModelo::EErrorModelo;
};

} // namespace qv
