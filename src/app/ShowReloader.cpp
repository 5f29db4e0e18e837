#include "app/ShowReloader.h"

#include "app/ShowLoading.h"
#include "core/PBuffer.h"
#include "core/RestingGLState.h"
#include "core/ShowValues.h"
#include "platform/Clock.h"
#include "scenegraph/CameraManager.h"

ShowReloader::Result ShowReloader::reload(float time, PBuffer* pbuffer, const std::vector<Problem>& standing)
{
    Result result;
    const std::uint64_t began = platform::performanceCounter();
    const ShowManagers previous = ShowManagers::current();
    const show::ShowState previousState = show::ShowState::save();
    {
        ProblemCollector collector(false);
        auto fresh = std::make_unique<ShowWorld>(); // constructing it makes it current
        // Cameras made by the new show get the window's viewport, as after a resize.
        if (previous.cameras && CameraManager::instance) {
            CameraManager::instance->viewportWidth = previous.cameras->viewportWidth;
            CameraManager::instance->viewportHeight = previous.cameras->viewportHeight;
        }
        show::ShowState::resetForStart(time);
        applyRestingGLState();
        showloading::setUpManagers();
        // The render target starts empty, as at a fresh start (feedback scenes read it back).
        if (pbuffer && pbuffer->created()) {
            const int width = pbuffer->width(), height = pbuffer->height(), samples = pbuffer->samples();
            pbuffer->destroy();
            pbuffer->create(width, height, samples);
        }
        result.loaded = showloading::loadScripts();
        result.problems = collector.problems();
        result.losesMore = result.loaded && problems::losesMore(result.problems, standing);
        if (!result.loaded || result.losesMore) {
            showloading::tearDown();
            previous.makeCurrent();
            previousState.restore();
            applyRestingGLState();
        } else {
            // The previous show gives its references back to its own managers.
            const ShowManagers next = fresh->managers();
            previous.makeCurrent();
            showloading::tearDown();
            next.makeCurrent();
            world_ = std::move(fresh);
        }
    }
    result.milliseconds =
        double(platform::performanceCounter() - began) * 1000.0 / double(platform::performanceFrequency());
    return result;
}
