// A named, counted list of render states applied in order around the drawing that uses it.
#pragma once
#include "material/RenderState.h"
#include "texture/NamedResource.h"

#include <memory>
#include <string>
#include <vector>

class Material : public NamedResource {
public:
    Material() = default;
    explicit Material(std::string name) : NamedResource(std::move(name)) {}

    // apply() of every state, in list order.
    void bind();
    // restore() of every state, in the same order (not reversed).
    void unbind();

    // Appends a state; the material owns it. Returns it for filling.
    template <class T>
    T& addState(std::unique_ptr<T> state)
    {
        T& result = *state;
        states.push_back(std::move(state));
        return result;
    }

    // In script order; a block kind may appear more than once.
    std::vector<std::unique_ptr<RenderState>> states;
};
