// The named, reference-counted base of textures and materials; the owning manager deletes.
#pragma once
#include <string>

class NamedResource {
public:
    NamedResource() = default;
    explicit NamedResource(std::string name) : name(std::move(name)) {}
    virtual ~NamedResource() = default;

    NamedResource(const NamedResource&) = delete;
    NamedResource& operator=(const NamedResource&) = delete;

    // Counting only: neither call deletes the object, which is the owning manager's business.
    void addRef() { ++refCount; }
    void releaseRef() { --refCount; }
    int references() const { return refCount; }

    // The identity under which the object was loaded (for a texture: the file name as requested,
    // without search path).
    std::string name;

protected:
    int refCount = 0;
};
