#pragma once

#include "lang/ui/ayuda.h"

#include <vector>

namespace qv::test {

// Help that records the numbers asked for instead of showing pages.
class TAyudaPrueba : public TAyuda {
public:
    std::vector<int> pedidas;
    void MostrarAyuda(int numero) override { pedidas.push_back(numero); }
};

} // namespace qv::test
