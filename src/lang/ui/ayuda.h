#pragma once

namespace qv {

// Context help by number: the help window shows the page of that number. Forms reach
// it through their context; where nobody can read help (tests, tools) it is absent.
class TAyuda {
public:
    virtual ~TAyuda() = default;
    virtual void MostrarAyuda(int numero) = 0;
};

} // namespace qv
