#include "app/ShowChecker.h"

#include "app/ShowLoading.h"
#include "core/ExtensionRegistry.h"
#include "core/PBuffer.h"
#include "core/RestingGLState.h"
#include "effects/EffectTimeline.h"
#include "platform/HeadlessContext.h"
#include "platform/Paths.h"

#include <memory>

namespace {

std::string seconds(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}
} // namespace

std::vector<Problem> ShowChecker::run(std::string& contextError)
{
    platform::HeadlessContext context;
    if (!context.create(640, 480, 32, 8)) {
        contextError = context.error();
        return {};
    }
    ProblemCollector collector(true);
    std::string missing;
    if (!initExtensions(kRequiredExtensions, &missing))
        problems::report("", 0, "the GL driver lacks " + missing + "; the show cannot start here");
    applyRestingGLState();
    showloading::setUpManagers();
    std::unique_ptr<PBuffer> pbuffer(createPBuffer());
    const int size = renderTargetSize(480, renderTargetLimit());
    if (!pbuffer || !pbuffer->create(size, size))
        problems::report("", 0, "OPENGL ERROR: UNABLE TO INITIATE PBUFFER");
    PBuffer* const previousBuffer = PBuffer::instance;
    PBuffer::instance = pbuffer.get();

    showloading::loadScripts();
    checkWindows();
    checkFixedFiles();

    showloading::tearDown();
    if (pbuffer)
        pbuffer->destroy();
    PBuffer::instance = previousBuffer;
    return collector.problems();
}

void ShowChecker::checkWindows() const
{
    const EffectTimeline* timeline = EffectTimeline::instance;
    if (!timeline)
        return;
    for (const auto& effect : timeline->pending()) {
        const std::string what = "the effect " + problems::quoted(effect->name);
        if (effect->start > effect->end)
            problems::report(effect->origin, effect->originLine,
                             what + " starts at " + seconds(effect->start) + " s, after its end at " +
                                 seconds(effect->end) + " s: it is never shown");
        else if (effect->start > endTime_)
            problems::report(effect->origin, effect->originLine,
                             what + " starts at " + seconds(effect->start) + " s, after the show ends at " +
                                 seconds(endTime_) + " s: it is never shown");
    }
}

void ShowChecker::checkFixedFiles()
{
    if (!platform::fileExists(showloading::kMusicFile))
        problems::report(showloading::kMusicFile, 0, "the music is missing: start-up stops with \"Unable to load sample\"");
}

int ShowChecker::print(const std::vector<Problem>& found, std::FILE* out)
{
    for (const Problem& problem : found)
        std::fprintf(out, "%s\n", problems::format(problem).c_str());
    if (found.empty())
        std::fprintf(out, "The show checks clean: no problems found.\n");
    else
        std::fprintf(out, "%zu problem%s found.\n", found.size(), found.size() == 1 ? "" : "s");
    return found.empty() ? 0 : 1;
}
