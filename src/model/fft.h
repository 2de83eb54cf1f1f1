#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace qv {

class TSenalAna;

// FFTW's planner is one for the whole process and not reentrant: every plan is made and
// destroyed under this lock (the filter runs on the device thread after a read-back, the
// spectrum on the window thread). Running a plan needs no lock.
std::mutex& CerrojoPlanesFFTW();

// The frequency filter of the operations. Transform plans and their buffers are
// made once per size and kept for the life of the object (the program state owns
// one), so repeated filtering of captures of one size costs only the transforms.
// Not for use from several threads at once.
class TFFT {
public:
    TFFT();
    ~TFFT();
    TFFT(const TFFT&) = delete;
    TFFT& operator=(const TFFT&) = delete;

    // Filters the signal in place. tipoFiltro: 0 high-pass, 1 low-pass, 2 band-pass,
    // 3 band-stop (other values leave every bin). The signal is padded with zeros to
    // N, the next power of two; the cut bins are N x frecuencia / referencia as
    // unsigned 16-bit values (0 when not computable). A signal of fewer than 2
    // samples cannot be transformed, and a result beyond single precision is refused:
    // EErrorCalculo, the signal untouched.
    void FiltrarFFT(TSenalAna& senal, int tipoFiltro, double frecBaja, double frecAlta, double referencia);

    // Whether bin i of a transform of size n is set to zero by the filter.
    static bool BinAnulado(int tipoFiltro, std::int64_t i, std::int64_t n, std::int64_t kL, std::int64_t kH);
    // N x frecuencia / referencia as the filter takes it.
    static std::uint16_t IndiceCorte(std::int64_t n, double frecuencia, double referencia);

private:
    struct TPlan;
    TPlan& Plan(int n);
    std::map<int, std::unique_ptr<TPlan>> planes_;
};

} // namespace qv
