// The by-name registry of display-list fonts that text effects look their font up in.
#pragma once
#include "font/DisplayListFont.h"

#include <memory>
#include <string>
#include <vector>

class FontRegistry {
public:
    FontRegistry();
    ~FontRegistry();
    FontRegistry(const FontRegistry&) = delete;
    FontRegistry& operator=(const FontRegistry&) = delete;

    static FontRegistry* instance;

    // Registers a font; the registry owns it.
    void add(std::unique_ptr<DisplayListFont> font);
    // The first font whose name equals `name` byte for byte, or none.
    const DisplayListFont* find(const std::string& name) const;
    // Destroys every font (with its display lists: call while the GL context is current).
    void clear() { fonts_.clear(); }
    std::size_t size() const { return fonts_.size(); }

private:
    std::vector<std::unique_ptr<DisplayListFont>> fonts_;
};
