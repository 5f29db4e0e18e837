// One counted reference to a material of the material library, as an effect holds it: looked up
// by name, given back on replacement, release and destruction.
#pragma once
#include <string>

class Material;

class HeldMaterial {
public:
    HeldMaterial() = default;
    ~HeldMaterial() { release(); }
    HeldMaterial(const HeldMaterial&) = delete;
    HeldMaterial& operator=(const HeldMaterial&) = delete;

    // Looks `name` up in the material library and holds what is found, giving back any material
    // held before; empty when no material has that name.
    void find(const std::string& name);
    // Gives the reference back to the library.
    void release();

    // Apply and restore the material's states; nothing when empty, so the caller draws plain.
    void bind() const;
    void unbind() const;

    Material* get() const { return material_; }
    explicit operator bool() const { return material_ != nullptr; }

private:
    Material* material_ = nullptr;
};
