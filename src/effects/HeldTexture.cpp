#include "effects/HeldTexture.h"

#include "texture/TextureManager.h"
#include "script/ProblemSink.h"

void HeldTexture::find(const std::string& name)
{
    TextureManager* manager = TextureManager::instance;
    Texture* found = manager ? manager->find(name) : nullptr;
    if (!found)
        problems::reportHere(name.empty() ? std::string("this line names no texture in double quotes")
                                          : "no script defines the texture " + problems::quoted(name));
    release();
    texture_ = found;
}

void HeldTexture::release()
{
    if (!texture_)
        return;
    if (TextureManager::instance) {
        TextureManager::instance->release(texture_);
    } else {
        // The manager is gone and has destroyed its textures with it; nothing to give back.
        texture_ = nullptr;
    }
}

bool HeldTexture::bind() const { return texture_ && texture_->bind(GL_TEXTURE0_ARB); }

void HeldTexture::unbind() const
{
    if (texture_)
        texture_->unbind(GL_TEXTURE0_ARB);
}

std::string HeldTexture::name() const { return texture_ ? texture_->name : std::string(); }
