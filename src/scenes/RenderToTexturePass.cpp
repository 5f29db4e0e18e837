#include "scenes/RenderToTexturePass.h"

#include "core/GL.h"
#include "core/PBuffer.h"

bool RenderToTexturePass::begin(PBuffer& pbuffer, bool clearColour)
{
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (!pbuffer.beginRender(pbuffer.width(), pbuffer.height()))
        return false;
    glClear(clearColour ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_DEPTH_BUFFER_BIT);
    return true;
}

bool RenderToTexturePass::end(PBuffer& pbuffer)
{
    if (!pbuffer.endRender(viewport[2], viewport[3]))
        return false;
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    return true;
}
