// One counted reference to a texture of the texture manager, as an effect holds it: looked up by
// name, given back on replacement, release and destruction.
#pragma once
#include <string>

class Texture;

class HeldTexture {
public:
    HeldTexture() = default;
    ~HeldTexture() { release(); }
    HeldTexture(const HeldTexture&) = delete;
    HeldTexture& operator=(const HeldTexture&) = delete;

    // Looks `name` up among the loaded textures (alias or name) and holds what is found, giving
    // back any texture held before; empty when nothing of that name is loaded.
    void find(const std::string& name);
    // Gives the reference back to the manager (which unloads a texture no one else holds).
    void release();

    // Binds on texture unit 0; false when nothing is held or the texture has no GL object.
    bool bind() const;
    void unbind() const;

    Texture* get() const { return texture_; }
    explicit operator bool() const { return texture_ != nullptr; }
    // The held texture's name, "" when empty.
    std::string name() const;

private:
    Texture* texture_ = nullptr;
};
