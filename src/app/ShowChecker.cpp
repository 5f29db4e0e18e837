#include "app/ShowChecker.h"

#include "app/ShowLoading.h"
#include "core/ExtensionRegistry.h"
#include "core/PBuffer.h"
#include "core/RestingGLState.h"
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "effects/SceneEffect.h"
#include "effects/TextEffect.h"
#include "platform/HeadlessContext.h"
#include "platform/Paths.h"

#include <cstring>
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

    showloading::releaseLoadingPicture(showloading::loadLoadingPicture());
    showloading::loadScripts();
    notes_ = showloading::notes();
    EffectLoader::readShowEnd(showloading::kTimelineFile); // a malformed "ShowEnd" line is a problem
    checkWindows();
    checkTextViews();
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

void ShowChecker::checkTextViews() const
{
    const EffectTimeline* timeline = EffectTimeline::instance;
    if (!timeline)
        return;
    for (const auto& text : timeline->pending()) {
        if (!dynamic_cast<const TextEffect*>(text.get()))
            continue;
        bool viewed = false;
        for (const auto& other : timeline->pending())
            viewed = viewed || (dynamic_cast<const SceneEffect*>(other.get()) && other->layer <= text->layer && other->start < text->end &&
                                text->start < other->end);
        if (!viewed)
            problems::report(text->origin, text->originLine,
                             "the Text effect " + problems::quoted(text->name) +
                                 " has no Scene effect on a lower layer during its window, so it draws in no view "
                                 "and nothing shows");
    }
}

void ShowChecker::checkFixedFiles()
{
    const std::string music = showloading::kMusicFile;
    std::FILE* file = platform::openFile(music, "rb");
    if (!file) {
        problems::report(music, 0,
                         platform::fileExists(music) ? "the music cannot be read: start-up stops with \"Unable to load sample\""
                                                     : "the music is missing: start-up stops with \"Unable to load sample\"");
        return;
    }
    unsigned char head[3] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    // An MP3 file opens with an ID3 tag or the sync bits of its first frame.
    const bool tagged = got == 3 && std::memcmp(head, "ID3", 3) == 0;
    const bool framed = got >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
    if (got == 0)
        problems::report(music, 0, "the music file is empty: start-up stops with \"Unable to load sample\"");
    else if (!tagged && !framed)
        problems::report(music, 0, "the music file is not an MP3 file: start-up stops with \"Unable to load sample\"");
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
