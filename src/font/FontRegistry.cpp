#include "font/FontRegistry.h"

FontRegistry* FontRegistry::instance = nullptr;

FontRegistry::FontRegistry() { instance = this; }

FontRegistry::~FontRegistry()
{
    if (instance == this)
        instance = nullptr;
}

void FontRegistry::add(std::unique_ptr<DisplayListFont> font)
{
    if (font)
        fonts_.push_back(std::move(font));
}

const DisplayListFont* FontRegistry::find(const std::string& name) const
{
    for (const auto& font : fonts_) {
        if (font->name == name)
            return font.get();
    }
    return nullptr;
}
