#pragma once

#include "link/reloj.h"

#include <functional>
#include <vector>

namespace qv::test {

// Virtual time for every test: Tick reads it, Dormir advances it, records the sleep and
// lets a test act meanwhile (a simulated unit answering while the program sleeps).
// Nothing waits on real time.
class TRelojFalso : public TReloj {
public:
    qint64 ahora = 0;
    std::vector<int> suenos;
    std::function<void(int)> alDormir;

    qint64 Tick() override { return ahora; }
    void Dormir(int ms) override
    {
        suenos.push_back(ms);
        ahora += ms;
        if (alDormir)
            alDormir(ms);
    }
};

} // namespace qv::test
