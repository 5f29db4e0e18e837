#include "material/Material.h"

void Material::bind()
{
    for (const auto& state : states)
        state->prepare();
    for (const auto& state : states)
        state->apply();
}

void Material::unbind()
{
    for (const auto& state : states)
        state->restore();
}
