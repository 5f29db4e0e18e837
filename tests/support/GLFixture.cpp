#include "GLFixture.h"

#include "core/ExtensionRegistry.h"
#include "platform/HeadlessContext.h"

#include <cstdio>
#include <memory>

namespace testgl {
namespace {
std::unique_ptr<platform::HeadlessContext> g_context;
}

bool ensureContext(int width, int height)
{
    if (!g_context) {
        g_context = std::make_unique<platform::HeadlessContext>();
        if (!g_context->create(width, height, 32, 8)) {
            std::fprintf(stderr, "headless context: %s\n", g_context->error().c_str());
            g_context.reset();
            return false;
        }
        initExtensions(kLoggedExtensions);
        initExtensions(kRequiredExtensions);
    }
    return g_context->makeCurrent();
}

Rgba readPixel(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

std::vector<unsigned char> readPixels(int width, int height)
{
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void resetState()
{
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
}

} // namespace testgl
